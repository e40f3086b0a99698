#include "playlist/playlist_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/answer_scope.h"
#include "playlist/playlist_file.h"
#include "support/file_size_limit.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using test::AnswerScope;
using test::TempFolder;

PlaylistEditor EditorWithRows(std::initializer_list<const char*> names) {
  PlaylistEditor editor;
  for (const char* name : names) editor.left.Append({name, "00:01.0", std::string("/logs/") + name + ".spu", false, 0});
  editor.leftCount = static_cast<int>(editor.left.Size());
  return editor;
}

using test::EntryNames;
using Texts = std::vector<std::string>;

TEST(PlaylistEditorTest, AddingRows) {
  PlaylistEditor editor = EditorWithRows({"a", "b"});
  AddSelectedRow(editor);  // nothing selected
  EXPECT_EQ(editor.registeredCount, 0);
  editor.left.Select(1);
  AddSelectedRow(editor);
  AddAllRows(editor);
  EXPECT_EQ(EntryNames(editor.playlist), (Texts{"b", "a", "b"}));
  EXPECT_EQ(editor.registeredCount, 3);
}

TEST(PlaylistEditorTest, RemoveAndMoveKeepTheRowSelected) {
  PlaylistEditor editor = EditorWithRows({"a", "b", "c"});
  AddAllRows(editor);
  editor.playlist.Select(0);
  MoveSelectedRowUp(editor);
  EXPECT_EQ(EntryNames(editor.playlist), (Texts{"a", "b", "c"}));
  MoveSelectedRowDown(editor);
  EXPECT_EQ(EntryNames(editor.playlist), (Texts{"b", "a", "c"}));
  EXPECT_EQ(editor.playlist.Selected(), 1u);
  editor.playlist.Select(2);
  MoveSelectedRowDown(editor);
  EXPECT_EQ(editor.playlist.Selected(), 2u);

  editor.doubleClickAction = DoubleClickAction::RemoveFromList;
  DoubleClickPlaylistRow(editor);
  EXPECT_EQ(EntryNames(editor.playlist), (Texts{"b", "a"}));
  EXPECT_EQ(editor.playlist.Selected(), 1u);
  EXPECT_EQ(editor.registeredCount, 2);
  editor.playlist.Select(0);
  RemoveSelectedRow(editor);
  EXPECT_FALSE(editor.playlist.Selected());
}

TEST(PlaylistEditorTest, ClearAsksFirst) {
  PlaylistEditor editor = EditorWithRows({"a"});
  AddAllRows(editor);
  {
    AnswerScope no(MessageAnswer::No);
    EXPECT_FALSE(ClearPlaylist(editor));
    EXPECT_EQ(no.shown, Texts{"Clear the PlayList, OK?"});
  }
  EXPECT_EQ(editor.registeredCount, 1);
  AnswerScope yes(MessageAnswer::Yes);
  EXPECT_TRUE(ClearPlaylist(editor));
  EXPECT_EQ(editor.registeredCount, 0);
  EXPECT_TRUE(editor.playlist.Empty());
}

// Saving through the page binds, creates and overwrites; here what only the editor shows.
TEST(PlaylistEditorTest, CreateAsksAndWritesTheTitleAndACancelledSaveStaysUnbound) {
  TempFolder folder;
  PlaylistEditor editor = EditorWithRows({"a"});
  AddAllRows(editor);
  EXPECT_EQ(SavePlaylist(editor, [] { return false; }), SavePlaylistResult::Cancelled);
  EXPECT_TRUE(editor.currentPlaylistPath.empty());
  std::optional<NewPlaylist> pending;
  {
    AnswerScope no(MessageAnswer::No);
    EXPECT_EQ(CreatePlaylist(folder.Path(), "mine", "Mine", pending), CreatePlaylistResult::Declined);
    EXPECT_EQ(no.shown.at(0), "Create the new PlayList, OK?\n\nFileName -> mine\nListTitle -> Mine\n\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "list"));
  }
  AnswerScope yes(MessageAnswer::Yes);
  ASSERT_EQ(CreatePlaylist(folder.Path(), "mine", "Mine", pending), CreatePlaylistResult::Created);
  ASSERT_TRUE(pending);
  EXPECT_EQ(pending->path, folder.Path() + "/list/mine.klt");
  EXPECT_EQ(ReadPlaylist(pending->path).title, "Mine");
}

TEST(PlaylistEditorTest, AFailedSaveIsReportedAndTheFileKept) {
  TempFolder folder;
  const std::string path = folder.Write("ro.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=0\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  PlaylistEditor editor = EditorWithRows({"a"});
  AddAllRows(editor);
  editor.currentPlaylistPath = path;
  AnswerScope yes(MessageAnswer::Yes);
  EXPECT_EQ(SavePlaylist(editor, {}), SavePlaylistResult::WriteFailed);
  ASSERT_EQ(yes.shown.size(), 2u);
  EXPECT_EQ(yes.shown[1], "Cannot write the PlayList file: the file is read-only.\n\n" + path);
  EXPECT_EQ(ReadPlaylist(path).registeredNumber, 0);

  // A row the file could not give back is refused before anything is asked or written.
  editor.playlist.Append({"x", "", "/logs/x.spu ", false, 0});
  yes.shown.clear();
  EXPECT_EQ(SavePlaylist(editor, {}), SavePlaylistResult::Unstorable);
  EXPECT_EQ(yes.shown, Texts{"This row can't be saved in a PlayList: it begins or ends with a space.\n\n/logs/x.spu "});
}

// A new playlist's title and rows are one write: when it fails (here a file-size limit
// stands in for a full disk) no file is left with the title alone, and the editor stays
// unbound.
TEST(PlaylistEditorTest, AFailedFirstSaveLeavesNoHalfMadeFile) {
  TempFolder folder;
  PlaylistEditor editor;
  for (int i = 0; i < 200; ++i) editor.playlist.Append({"r", "", "/logs/" + std::string(200, 'r') + ".spu", false, 0});
  const auto dialog = [&] {
    return CreatePlaylist(folder.Path(), "big", "Big", editor.pendingNewPlaylist, NewPlaylistFrom::SaveList) ==
           CreatePlaylistResult::Created;
  };
  AnswerScope yes(MessageAnswer::Yes);
  {
    test::FileSizeLimit limit(4096);
    EXPECT_EQ(SavePlaylist(editor, dialog), SavePlaylistResult::WriteFailed);
  }
  EXPECT_EQ(yes.shown.back().rfind("Cannot write the PlayList file: the file would be too large.", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(folder / "list"));
  EXPECT_TRUE(editor.currentPlaylistPath.empty());
}

}  // namespace
}  // namespace kestrel
