#include "library/file_list_page_state.h"

#include <iterator>

#include "library/column_sort_state.h"
#include "library/shuffle_file_list.h"

namespace kestrel {
namespace {

namespace id = file_list_id;

// The states a file-list menu entry is greyed in.
enum Grey : unsigned {
  kNever = 0,
  kWhilePlaying = 1u << 0,
  kWhileDecoding = 1u << 1,
  kWhileScanning = 1u << 2,
  kWhenStopped = 1u << 3,
  kWithoutSelection = 1u << 4,
  kWhileImporting = 1u << 5,  // a playlist import fills the list: its rows must not mix
};

struct MenuRule {
  const char* caption;
  int command;
  unsigned greyed;
};

constexpr unsigned kBusy = kWhilePlaying | kWhileDecoding | kWhileScanning;
constexpr unsigned kReorders = kBusy | kWhileImporting;

constexpr MenuRule kFileListMenu[] = {
    {"&Check All Items", id::kCheckAll, kWhileScanning},
    {"&UnCheck All Items", id::kUnCheckAll, kWhileScanning},
    {"&Refresh FileList", id::kRefresh, kReorders},
    {"&Shuffle FileList", id::kShuffle, kReorders},
    {"", kSeparator, kNever},
    {"Start Play", id::kStartPlay, kBusy},
    {"Stop Play", id::kStopPlay, kWhenStopped},
    {"", kSeparator, kNever},
    {"&Edit Header Information", id::kEditHeader, kWithoutSelection},
    {"", kSeparator, kNever},
    {"Close PopUp Menu (&X)", kCloseMenuCommand, kNever},
};

}  // namespace

FileListPageState::FileListPageState(BackgroundJob::Notify scanNotify) : scan_(std::move(scanNotify)) {
  UpdateControls();
}

void FileListPageState::SetActivity(const ProgramActivity& activity) {
  activity_ = activity;
  UpdateControls();
}

// Levels rather than events: a button is free only while nothing that it would disturb
// runs, whichever of them ended last.
void FileListPageState::UpdateControls() {
  const bool scanning = list.detecting;
  const bool reorderFree = !activity_.playing && !activity_.decoding && !activity_.loading && !scanning;
  controls.SetEnabled({id::kRefresh, id::kShuffle}, reorderFree);
  controls.SetEnabled({id::kCheckAll, id::kUnCheckAll}, !scanning);
}

bool FileListPageState::StartScan() {
  const bool started = scan_.Start(list, location);
  UpdateControls();
  return started;
}

bool FileListPageState::DrainScan(std::chrono::milliseconds wait) {
  if (!list.detecting) return false;
  const bool ended = scan_.Drain(list, wait);
  if (ended) UpdateControls();
  return ended;
}

void FileListPageState::ScanToEnd() {
  if (!StartScan()) return;
  while (!DrainScan(std::chrono::milliseconds(100))) {
  }
}

bool FileListPageState::Offered(int command) const {
  for (const ContextMenuEntry& entry : Menu()) {
    if (entry.command == command) return entry.enabled;
  }
  return false;
}

FileListAction FileListPageState::PageCommand(int command) {
  if (command == id::kBrowseFolder) return FileListAction::ChooseFolder;
  if (!Offered(command)) return FileListAction::None;
  switch (command) {
    case id::kCheckAll: CheckAll(); return FileListAction::None;
    case id::kUnCheckAll: UnCheckAll(); return FileListAction::None;
    case id::kRefresh: return Refresh() ? FileListAction::ScanStarted : FileListAction::None;
    case id::kShuffle:
      Shuffle();
      return FileListAction::PanelChanged;
    case id::kStartPlay:
      ShowSelectedFileInfo();
      return FileListAction::StartPlayback;
    case id::kStopPlay: return FileListAction::StopPlayback;
    case id::kEditHeader: return FileListAction::EditHeader;
    default: return FileListAction::None;
  }
}

void FileListPageState::FolderChosen(const std::string& folder) { location = folder; }

void FileListPageState::CheckAll() { CheckAllItems(list); }
void FileListPageState::UnCheckAll() { UnCheckAllItems(list); }

void FileListPageState::Shuffle() {
  ShuffleFileList(list);
  ShowSelectedFileInfo();
}

void FileListPageState::SetRowChecked(std::size_t row, bool checked) {
  if (row < list.entries.Size()) list.entries.At(row).checked = checked;
}

void FileListPageState::ClickColumn(int column) { SortByColumnClick(list.entries, column); }

bool FileListPageState::ClickRow(std::optional<std::size_t> row) {
  list.entries.Select(row);
  if (activity_.playing || activity_.decoding || activity_.loading || list.detecting) return false;
  return ShowSelectedFileInfo();
}

FileListAction FileListPageState::DoubleClickRow(std::optional<std::size_t> row) {
  list.entries.Select(row);
  if (!list.entries.Selected() || activity_.decoding || activity_.delayedRestart) return FileListAction::None;
  if (!activity_.playing) {
    return list.detecting || activity_.loading ? FileListAction::None : FileListAction::StartPlayback;
  }
  return activity_.startLock ? FileListAction::None : FileListAction::SwitchToRow;
}

ContextMenu FileListPageState::Menu() const {
  unsigned now = 0;
  if (activity_.playing) now |= kWhilePlaying;
  if (!activity_.playing) now |= kWhenStopped;
  if (activity_.decoding) now |= kWhileDecoding;
  if (list.detecting) now |= kWhileScanning;
  if (list.importing) now |= kWhileImporting;
  if (!list.entries.Selected()) now |= kWithoutSelection;
  ContextMenu menu;
  menu.reserve(std::size(kFileListMenu));
  for (const MenuRule& rule : kFileListMenu) {
    menu.push_back({rule.caption, rule.command, rule.command == kSeparator || (rule.greyed & now) == 0});
  }
  return menu;
}

bool FileListPageState::SelectNextEntry() {
  if (!kestrel::SelectNextEntry(list)) return false;
  ShowSelectedFileInfo();
  return true;
}

bool FileListPageState::SelectPreviousEntry() {
  if (!kestrel::SelectPreviousEntry(list)) return false;
  ShowSelectedFileInfo();
  return true;
}

bool FileListPageState::ShowSelectedFileInfo(const std::optional<std::string>& droppedPath) {
  return kestrel::ShowSelectedFileInfo(panel, list, droppedPath);
}

}  // namespace kestrel
