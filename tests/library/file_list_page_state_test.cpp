#include "library/file_list_page_state.h"

#include <gtest/gtest.h>

#include "support/log_files.h"

namespace kestrel {
namespace {

using test::TempFolder;
using test::WriteTestLog;
namespace id = file_list_id;

struct FileListPageTest : ::testing::Test {
  TempFolder folder;
  FileListPageState page;

  void SetUp() override {
    WriteTestLog(folder, "b.spu");
    WriteTestLog(folder, "a.spu", {.samples = 2646000});
    page.location = folder.Path();
    page.ScanToEnd();
  }
  void FinishScan() {
    while (page.Scanning()) page.DrainScan(std::chrono::milliseconds(50));
  }
  // Puts the page into a row's state; a scan is started and left running.
  void Enter(const ProgramActivity& activity, bool scanning, bool selected) {
    page.SetActivity(activity);
    if (scanning) {
      ASSERT_TRUE(page.StartScan());
      if (selected) page.list.entries.Append({"arrived", "", "", false, 0});  // as the scan hands rows over
    }
    page.list.entries.Select(selected ? std::optional<std::size_t>(0) : std::nullopt);
  }
  // The enabled entries of the menu, top to bottom, separators left out.
  std::vector<int> EnabledEntries() const {
    std::vector<int> enabled;
    for (const ContextMenuEntry& entry : page.Menu()) {
      if (!entry.IsSeparator() && entry.enabled) enabled.push_back(entry.command);
    }
    return enabled;
  }
};

TEST_F(FileListPageTest, TheMenuGreysItsEntriesByWhatRuns) {
  struct Row {
    const char* what;
    ProgramActivity activity;
    bool scanning;
    bool selected;
    std::vector<int> enabled;
  };
  const int close = kCloseMenuCommand;
  const std::vector<Row> rows = {
      {"idle, no row", {}, false, false,
       {id::kCheckAll, id::kUnCheckAll, id::kRefresh, id::kShuffle, id::kStartPlay, close}},
      {"idle, a row", {}, false, true,
       {id::kCheckAll, id::kUnCheckAll, id::kRefresh, id::kShuffle, id::kStartPlay, id::kEditHeader, close}},
      {"playing", {.playing = true}, false, true,
       {id::kCheckAll, id::kUnCheckAll, id::kStopPlay, id::kEditHeader, close}},
      {"decoding", {.decoding = true}, false, false, {id::kCheckAll, id::kUnCheckAll, close}},
      {"scanning", {}, true, true, {id::kEditHeader, close}},
      {"scanning, no row", {}, true, false, {close}},
      {"editor load", {.loading = true}, false, false,
       {id::kCheckAll, id::kUnCheckAll, id::kRefresh, id::kShuffle, id::kStartPlay, close}},
  };
  for (const Row& row : rows) {
    Enter(row.activity, row.scanning, row.selected);
    EXPECT_EQ(EnabledEntries(), row.enabled) << row.what;
    FinishScan();
  }

  // An entry the menu greys is refused when its command arrives all the same.
  Enter({.playing = true}, false, true);
  EXPECT_EQ(page.PageCommand(id::kStartPlay), FileListAction::None);
  EXPECT_EQ(page.PageCommand(id::kRefresh), FileListAction::None);
  EXPECT_EQ(page.PageCommand(id::kStopPlay), FileListAction::StopPlayback);
  Enter({}, false, false);
  EXPECT_EQ(page.PageCommand(id::kEditHeader), FileListAction::None);
  EXPECT_EQ(page.PageCommand(id::kStopPlay), FileListAction::None);
}

TEST_F(FileListPageTest, ClicksFollowWhatRuns) {
  struct Row {
    const char* what;
    ProgramActivity activity;
    bool scanning;
    bool clickShows;
    FileListAction doubleClick;
  };
  const std::vector<Row> rows = {
      {"idle", {}, false, true, FileListAction::StartPlayback},
      {"playing", {.playing = true}, false, false, FileListAction::SwitchToRow},
      {"playing, start lock", {.playing = true, .startLock = true}, false, false, FileListAction::None},
      {"playing, restart armed", {.playing = true, .delayedRestart = true}, false, false, FileListAction::None},
      {"restart armed", {.delayedRestart = true}, false, true, FileListAction::None},
      {"decoding", {.decoding = true}, false, false, FileListAction::None},
      {"loading", {.loading = true}, false, false, FileListAction::None},
      {"playing while loading", {.playing = true, .loading = true}, false, false, FileListAction::SwitchToRow},
      {"scanning", {}, true, false, FileListAction::None},
  };
  for (const Row& row : rows) {
    Enter(row.activity, row.scanning, false);
    if (!row.scanning) {  // a scan empties the list: there is no row to click
      page.panel = {};
      EXPECT_EQ(page.ClickRow(1), row.clickShows) << row.what;
      EXPECT_EQ(page.panel.fileName, row.clickShows ? "b" : "") << row.what;
      EXPECT_EQ(page.list.entries.Selected(), 1u) << row.what;  // the row is selected all the same
      EXPECT_EQ(page.DoubleClickRow(0), row.doubleClick) << row.what;
    } else {
      EXPECT_FALSE(page.ClickRow(std::nullopt));
      EXPECT_EQ(page.DoubleClickRow(std::nullopt), row.doubleClick);
    }
    EXPECT_EQ(page.DoubleClickRow(std::nullopt), FileListAction::None) << row.what;
    FinishScan();
  }
}

TEST_F(FileListPageTest, AScanGreysThePageButtonsUntilItEnds) {
  const std::vector<int> buttons = {id::kRefresh, id::kShuffle, id::kCheckAll, id::kUnCheckAll};
  const auto enabled = [&] {
    std::vector<bool> states;
    for (const int button : buttons) states.push_back(page.controls.Enabled(button));
    return states;
  };
  page.list.entries.At(0).checked = true;
  ASSERT_EQ(page.PageCommand(id::kRefresh), FileListAction::ScanStarted);
  EXPECT_EQ(page.list.statusText, kDetectingFilesText);
  EXPECT_EQ(page.CountLabel(), "0");
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(page.PageCommand(id::kRefresh), FileListAction::None);
  EXPECT_EQ(page.PageCommand(id::kBrowseFolder), FileListAction::ChooseFolder);  // "..." stays
  EXPECT_TRUE(page.controls.Enabled(id::kBrowseFolder));

  bool ended = false;
  while (!ended) ended = page.DrainScan(std::chrono::milliseconds(50));
  EXPECT_FALSE(page.DrainScan());  // the end is reported once
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(page.CountLabel(), "2");
  EXPECT_EQ(test::EntryNames(page.list.entries), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(page.list.statusText.empty());
  EXPECT_FALSE(page.list.entries.At(0).checked);

  // Playing, decoding or loading keep the list's order; the checks stay free.
  for (const ProgramActivity& busy :
       {ProgramActivity{.playing = true}, ProgramActivity{.decoding = true}, ProgramActivity{.loading = true}}) {
    page.SetActivity(busy);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));
  }
  page.SetActivity({});
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(FileListPageTest, PageCommandsOnTheRows) {
  page.FolderChosen(folder / "elsewhere");
  EXPECT_EQ(page.location, folder / "elsewhere");
  EXPECT_FALSE(page.Scanning());  // the user presses Refresh for that

  page.list.entries.Select(1);
  ASSERT_EQ(page.PageCommand(id::kStartPlay), FileListAction::StartPlayback);
  EXPECT_EQ(page.panel.path, folder / "b.spu");
  EXPECT_EQ(page.panel.statusFileText, "File : b");

  page.SetRowChecked(1, true);
  page.SetRowChecked(7, true);  // no such row
  EXPECT_EQ(page.PageCommand(id::kCheckAll), FileListAction::None);
  EXPECT_TRUE(page.list.entries.At(0).checked && page.list.entries.At(1).checked);
  page.PageCommand(id::kUnCheckAll);
  EXPECT_FALSE(page.list.entries.At(0).checked || page.list.entries.At(1).checked);

  page.list.entries.At(1).checked = true;
  ASSERT_EQ(page.PageCommand(id::kShuffle), FileListAction::PanelChanged);
  EXPECT_TRUE(page.list.entries.At(0).checked && page.list.entries.At(1).checked);
  EXPECT_EQ(page.list.entries.Selected(), 0u);
  EXPECT_EQ(page.panel.fileName, page.list.entries.At(0).name);

  page.list.entries.Select(0);
  EXPECT_TRUE(page.SelectNextEntry());
  EXPECT_EQ(page.panel.fileName, page.list.entries.At(1).name);
  EXPECT_FALSE(page.SelectNextEntry());
  EXPECT_EQ(page.list.entries.Selected(), 1u);
}

}  // namespace
}  // namespace kestrel
