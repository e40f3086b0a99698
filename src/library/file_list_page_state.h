#pragma once
// The "SPU File List" page: the list with its checks and selection, the Location field, the
// count label, the "Selected File Info" panel, the status text of a running scan, the page
// buttons' states and what the list's clicks and context menu offer. The controller calls
// these on its own thread and carries out what belongs to playback, the header editor and
// the other pages.

#include <optional>
#include <string>

#include "library/file_detection_thread.h"
#include "library/selected_file_info.h"
#include "library/spu_file_list.h"
#include "platform/context_menu.h"
#include "platform/control_states.h"

namespace kestrel {

// Page controls and context menu commands (the buttons and their menu entries share ids).
namespace file_list_id {
inline constexpr int kRefresh = 1030;
inline constexpr int kShuffle = 1033;
inline constexpr int kCheckAll = 1034;
inline constexpr int kUnCheckAll = 1069;
inline constexpr int kBrowseFolder = 1042;  // "..." beside "Location :"
inline constexpr int kStartPlay = 2000;
inline constexpr int kStopPlay = 2001;
inline constexpr int kEditHeader = 2002;
}  // namespace file_list_id

inline constexpr const char* kSelectFolderTitle = "Select SPUFile Folder.";

// How the list looks: text colour, grid lines and the image tiled behind the rows. Fixed
// when the page is built at start-up; later option changes show from the next start.
struct FileListDesign {
  std::string backImagePath;  // a missing or unreadable file gives a plain background
  bool gridLines = false;
  int textRed = 255;
  int textGreen = 255;
  int textBlue = 255;

  bool operator==(const FileListDesign&) const = default;
};

// What the program is doing, as the controller knows it; the page adds its own scan.
struct ProgramActivity {
  bool playing = false;
  bool decoding = false;
  bool loading = false;         // a playlist load job runs
  bool delayedRestart = false;  // a restart is armed on the shell timer
  bool startLock = false;
};

// What the controller does after a page command or a row double-click.
enum class FileListAction {
  None,            // done here (or refused)
  ScanStarted,     // a Refresh began: grey the menu, toolbar and decode button
  ChooseFolder,    // open the folder chooser titled kSelectFolderTitle, then FolderChosen
  StartPlayback,   // the panel shows the row to play: start playback
  SwitchToRow,     // while playing: jump request, stop, grey the toolbar, ShowSelectedFileInfo, delayed restart
  StopPlayback,
  EditHeader,      // open the "Header Information Editor" over CurrentLogPath
  PanelChanged,    // the panel (and status field 1) show another log
};

class FileListPageState {
 public:
  // `scanNotify` is called on the scan thread when rows arrive: post DrainScan to the
  // controller's thread.
  explicit FileListPageState(BackgroundJob::Notify scanNotify = {});

  SpuFileList list;          // rows, checks, selection, count, "Detecting files..." text
  SelectedFilePanel panel;   // the "Selected File Info" fields, CurrentLogPath, status field 1
  std::string location;      // the "Location :" field (SPUFileFolder)
  ControlStates controls;    // 1030, 1033, 1034, 1069, 1042
  FileListDesign design;

  std::string CountLabel() const { return list.CountLabel(); }
  bool Scanning() const { return list.detecting; }

  // The controller's view of the program; re-derives the page buttons.
  void SetActivity(const ProgramActivity& activity);
  const ProgramActivity& Activity() const { return activity_; }

  // Scan of the Location folder (start-up and Refresh). False when refused because the
  // list is being filled.
  bool StartScan();
  // Applies what the scan handed over (the thread posted it). True when the scan ended
  // with this call: then the controller re-enables its menu and toolbar items.
  bool DrainScan(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  // Scans on the calling thread's behalf (tests, a front end without a loop).
  void ScanToEnd();

  // Buttons and context menu entries (1030, 1033, 1034, 1069, 1042, 2000, 2001, 2002, 0).
  // A command its control or entry does not offer now is refused (None).
  FileListAction PageCommand(int command);
  // The folder chooser's result; no scan starts until Refresh.
  void FolderChosen(const std::string& folder);

  // The operations behind the menu items as well (40018 .. 40021); no greying checked here.
  void CheckAll();
  void UnCheckAll();
  void Shuffle();  // unticks all, shuffles, selects row 0 and shows it
  bool Refresh() { return StartScan(); }

  // The user ticked or cleared one row's box.
  void SetRowChecked(std::size_t row, bool checked);
  // A column header click (the program-wide sort directions).
  void ClickColumn(int column);
  // A click on a row (nullopt: on no row). Selects it; shows it in the panel unless
  // playing, decoding, scanning or loading. True when the panel changed.
  bool ClickRow(std::optional<std::size_t> row);
  // A double-click on a row: selects it and says what follows (StartPlayback, SwitchToRow
  // or None); the panel is left to the controller's order of steps.
  FileListAction DoubleClickRow(std::optional<std::size_t> row);
  // The right-click menu, top to bottom, with each entry's state now.
  ContextMenu Menu() const;

  // Next / Back: moves the selection one row (no wrap-around) and shows it. True when it moved.
  bool SelectNextEntry();
  bool SelectPreviousEntry();
  // Fills the panel from the selected row, or from a dropped file when given. False when
  // there was nothing to show.
  bool ShowSelectedFileInfo(const std::optional<std::string>& droppedPath = std::nullopt);

 private:
  void UpdateControls();
  bool Offered(int command) const;

  ProgramActivity activity_;
  FileDetectionThread scan_;
};

}  // namespace kestrel
