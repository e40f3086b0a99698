#include <gtest/gtest.h>

#include <filesystem>

#include "platform/console_log.h"
#include "platform/ini_file.h"
#include "playlist/playlist_editor_page_state.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_slot_dialog_state.h"
#include "support/answer_scope.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using test::AnswerScope;
using test::EntryNames;
using test::TempFolder;
using test::WriteTestLog;
using Texts = std::vector<std::string>;
namespace id = playlist_id;

struct PlaylistPageTest : ::testing::Test {
  TempFolder folder;
  SpuFileList fileList;
  PlaylistEditorPageState page{fileList, folder.Path()};
  std::string playlist;

  void SetUp() override {
    std::filesystem::create_directory(folder / "logs");
    const std::string a = WriteTestLog(folder, "logs/a.spu");
    const std::string b = WriteTestLog(folder, "logs/b.spu");
    playlist = folder / "p.klt";
    ASSERT_TRUE(WritePlaylistTitle(playlist, "Evening"));
    ASSERT_TRUE(WritePlaylistRows(playlist, {b, a, b}));
    ASSERT_TRUE(page.OpenFolder(folder / "logs"));
    page.LoadToEnd();
  }
  std::vector<bool> Buttons() const {
    std::vector<bool> states;
    for (const int button : {id::kOpen, id::kLoadList, id::kClear, id::kSaveList, id::kAddAll}) {
      states.push_back(page.controls.Enabled(button));
    }
    return states;
  }
};

TEST_F(PlaylistPageTest, ALoadRunningHoldsTheEditorBack) {
  AnswerScope answers(MessageAnswer::Yes);
  page.AddAll();
  ASSERT_EQ(page.RegisteredCountLabel(), "2");
  page.SelectPlaylistRow(0);

  ASSERT_TRUE(page.LoadList(playlist));
  EXPECT_EQ(Buttons(), (std::vector<bool>(5, false)));
  EXPECT_FALSE(page.PlaylistMenu());
  EXPECT_FALSE(page.LoadListChooser());
  EXPECT_FALSE(page.OpenFolderOffered());
  EXPECT_FALSE(page.OpenFolder(folder / "logs"));
  EXPECT_FALSE(page.ImportSlot(3, playlist));
  // Nothing the user does to the rows reaches them while they are being replaced.
  page.DoubleClickLeftRow(0);
  page.DoubleClickPlaylistRow(0);
  page.PageCommand(id::kRemoveRow);
  page.AddAll();
  EXPECT_FALSE(page.Clear());
  EXPECT_EQ(page.SaveList(), PlaylistEditorPageState::SaveStep::Done);
  EXPECT_TRUE(answers.shown.empty());

  bool ended = false;
  while (!ended) ended = page.DrainLoad(std::chrono::milliseconds(50));
  EXPECT_FALSE(page.DrainLoad());
  EXPECT_EQ(Buttons(), (std::vector<bool>(5, true)));
  EXPECT_EQ(page.editor.titleLabel, "Evening");
  EXPECT_EQ(page.RegisteredCountLabel(), "3");
  EXPECT_EQ(EntryNames(page.editor.playlist), (Texts{"b", "a", "b"}));
  EXPECT_EQ(page.LoadListChooser()->initialPath, playlist);
  EXPECT_EQ(page.LoadListChooser()->folder, folder / "list");

  const std::optional<ContextMenu> menu = page.PlaylistMenu();
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->size(), 3u);
  EXPECT_EQ((*menu)[2].caption, "&Down to follow Line");
  page.SelectPlaylistRow(0);
  page.PageCommand(id::kRowDown);
  EXPECT_EQ(EntryNames(page.editor.playlist), (Texts{"a", "b", "b"}));
  page.SetDoubleClickAction(1);
  page.DoubleClickPlaylistRow(1);
  EXPECT_EQ(EntryNames(page.editor.playlist), (Texts{"b", "a", "b"}));
  page.SetDoubleClickAction(7);  // no such row of the drop-down: the action stays
  EXPECT_EQ(page.editor.doubleClickAction, DoubleClickAction::UpToAboveLine);
}

TEST_F(PlaylistPageTest, SavingUnboundGoesThroughTheNewPlaylistDialog) {
  AnswerScope answers(MessageAnswer::Yes);
  page.AddAll();
  ASSERT_EQ(page.SaveList(), PlaylistEditorPageState::SaveStep::OpenNewPlaylistDialog);
  EXPECT_EQ(page.newPlaylist.from, NewPlaylistFrom::SaveList);
  EXPECT_FALSE(page.NewPlaylistOk());  // empty fields: the dialog stays open
  EXPECT_EQ(answers.shown, Texts{"Please input the new PlayList info."});
  page.newPlaylist.fileName = "mine";
  page.newPlaylist.listTitle = "Mine";
  ASSERT_TRUE(page.NewPlaylistOk());
  EXPECT_EQ(page.editor.currentPlaylistPath, folder / "list/mine.klt");
  EXPECT_EQ(page.editor.titleLabel, "Mine");
  const PlaylistContents saved = ReadPlaylist(folder / "list/mine.klt");
  EXPECT_EQ(saved.title, "Mine");
  EXPECT_EQ(saved.paths, (Texts{folder / "logs/a.spu", folder / "logs/b.spu"}));

  // Bound now: the next save asks before overwriting and opens no dialog.
  page.SelectPlaylistRow(0);
  page.PageCommand(id::kRemoveRow);
  EXPECT_EQ(page.SaveList(), PlaylistEditorPageState::SaveStep::Done);
  EXPECT_EQ(answers.shown.back(), "Overwrite an old PlayList, OK?");
  const PlaylistContents overwritten = ReadPlaylist(folder / "list/mine.klt");
  EXPECT_EQ(overwritten.paths, (Texts{folder / "logs/b.spu"}));
  EXPECT_EQ(overwritten.title, "Mine");

  // From the menu the dialog only creates the file; the editor stays as it is.
  page.OpenNewPlaylistDialog(NewPlaylistFrom::Menu);
  page.newPlaylist.fileName = "other";
  page.newPlaylist.listTitle = "Other";
  ASSERT_TRUE(page.NewPlaylistOk());
  EXPECT_EQ(ReadPlaylist(folder / "list/other.klt").title, "Other");
  EXPECT_EQ(page.editor.currentPlaylistPath, folder / "list/mine.klt");
}

TEST_F(PlaylistPageTest, SlotsAreEditedImportedAndKeptWhenConfigCannotBeWritten) {
  AnswerScope answers(MessageAnswer::Yes);
  const std::string config = folder / "config.ini";
  ASSERT_TRUE(WriteSlotPaths(config, {"", "", playlist, "", ""}));
  PlaylistSlotDialogState slots(config);
  EXPECT_EQ(slots.Titles(), (std::array<std::string, 5>{"Empty Slot #1", "Empty Slot #2", "Evening",
                                                         "Empty Slot #4", "Empty Slot #5"}));
  slots.Open();
  EXPECT_EQ(slots.fields[2], playlist);
  EXPECT_EQ(std::filesystem::path(slots.PlaylistChooser().folder), folder / "list");
  EXPECT_EQ(slots.PlaylistChooser().title, "Select Kestrel SPU Player PlayList");
  slots.FileChosen(1, playlist);
  slots.SetField(3, "");
  slots.SetField(9, "ignored");
  slots.Ok();
  EXPECT_EQ(answers.shown, Texts{"PlayList Slot Saved."});
  EXPECT_EQ(ReadSlotPaths(config), (SlotPaths{playlist, "", "", "", ""}));
  EXPECT_EQ(slots.Titles()[0], "Evening");
  EXPECT_EQ(slots.Titles()[2], "Empty Slot #3");

  // An import plays the slot's playlist into the file list; slot 3 is now empty.
  ASSERT_TRUE(page.ImportSlot(3, slots.SlotPath(3)));
  page.LoadToEnd();
  EXPECT_TRUE(fileList.entries.Empty());
  ASSERT_TRUE(page.ImportSlot(1, slots.SlotPath(1)));
  page.LoadToEnd();
  EXPECT_EQ(EntryNames(fileList.entries), (Texts{"b", "a", "b"}));

  std::string console;
  const auto attachment = ConsoleLog::Attach([&console](std::string_view line) { console += line; });
  PlaylistSlotDialogState unwritable(folder / "missing/config.ini");
  unwritable.Open();
  unwritable.FileChosen(5, playlist);
  answers.shown.clear();
  unwritable.Ok();
  EXPECT_EQ(console.rfind("* Warning : config.ini can't be written: ", 0), 0u) << console;
  EXPECT_GT(console.size(), std::string("* Warning : config.ini can't be written: \n").size());
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_NE(answers.shown[0], "PlayList Slot Saved.");
  EXPECT_EQ(unwritable.SlotPath(5), playlist);  // the program goes on with what the user gave
  EXPECT_EQ(unwritable.Titles()[4], "Evening");
}

}  // namespace
}  // namespace kestrel
