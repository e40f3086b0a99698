#include "app/main_window_state.h"

#include "app/command_ids.h"

namespace kestrel {

// The resource starts with all four play-mode marks and the console mark set.
MainWindowState::MainWindowState() {
  for (const int item : {cmd::kSingleMode, cmd::kRepeatMode, cmd::kChainMode, cmd::kRepeatChainMode,
                         cmd::kConsoleWindow}) {
    menu.SetChecked(item, true);
  }
}

void MainWindowState::ShowMainPage(int tab) {
  if (tab >= 0 && tab < kPageCount) shownPage = tab;
}

ToolTip ToolTipOf(int toolbarCommand) {
  switch (toolbarCommand) {
    case cmd::kToolStart: return {1, "Start Play"};
    case cmd::kToolStop: return {2, "Stop Play"};
    case cmd::kToolNext: return {3, "Next Music"};
    case cmd::kToolPrevious: return {4, "Previous Music"};
    case cmd::kToolImport: return {5, "Import PlayList"};
    case cmd::kToolVolume: return {6, "VolumeControl Panel"};
    case cmd::kToolPause: return {7, "Pause"};
    default: return {0, ""};
  }
}

}  // namespace kestrel
