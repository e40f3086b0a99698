#include "playlist/playlist_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/answer_scope.h"
#include "playlist/playlist_file.h"
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

TEST(PlaylistEditorTest, CreateChecksAsksAndWritesTheTitle) {
  TempFolder folder;
  std::optional<NewPlaylist> pending;
  {
    AnswerScope yes(MessageAnswer::Yes);
    EXPECT_EQ(CreatePlaylist(folder.Path(), "", "Title", pending), CreatePlaylistResult::MissingInfo);
    EXPECT_EQ(yes.shown, Texts{"Please input the new PlayList info."});
  }
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

TEST(PlaylistEditorTest, SaveBindsCreatesAndOverwrites) {
  TempFolder folder;
  PlaylistEditor editor = EditorWithRows({"a", "b"});
  AddAllRows(editor);
  AnswerScope yes(MessageAnswer::Yes);

  EXPECT_EQ(SavePlaylist(editor, [] { return false; }), SavePlaylistResult::Cancelled);
  EXPECT_TRUE(editor.currentPlaylistPath.empty());

  const auto dialog = [&] {
    return CreatePlaylist(folder.Path(), "new", "New One", editor.pendingNewPlaylist) == CreatePlaylistResult::Created;
  };
  ASSERT_EQ(SavePlaylist(editor, dialog), SavePlaylistResult::Saved);
  EXPECT_EQ(editor.currentPlaylistPath, folder.Path() + "/list/new.klt");
  EXPECT_EQ(editor.titleLabel, "New One");
  EXPECT_EQ(ReadPlaylist(editor.currentPlaylistPath).paths,
            (Texts{"/logs/a.spu", "/logs/b.spu"}));

  editor.playlist.Select(0);
  RemoveSelectedRow(editor);
  ASSERT_EQ(SavePlaylist(editor, {}), SavePlaylistResult::Saved);
  EXPECT_EQ(yes.shown.back(), "Overwrite an old PlayList, OK?");
  EXPECT_EQ(ReadPlaylist(editor.currentPlaylistPath).paths, Texts{"/logs/b.spu"});
  EXPECT_EQ(ReadPlaylist(editor.currentPlaylistPath).title, "New One");
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
  EXPECT_EQ(yes.shown.size(), 2u);
  EXPECT_EQ(ReadPlaylist(path).registeredNumber, 0);
}

}  // namespace
}  // namespace kestrel
