#pragma once
// What the main window itself shows: menu and toolbar states (keyed by command number),
// the status bar's three fields and the page shown (the slot items' titles are the slot
// dialog's).

#include <array>
#include <string>

#include "platform/control_states.h"

namespace kestrel {

inline constexpr const char* kIdleTimeText = "Time : --:--.- / --:--.-";
inline constexpr int kPageCount = 6;

struct MainWindowState {
  MainWindowState();

  ControlStates menu;
  ControlStates toolbar;
  std::array<std::string, 3> statusFields = {kIdleTimeText, "File :", "Tempo :"};
  int shownPage = 0;  // tab index, 0 "SPU File List" .. 5 "Misc Option"

  // Tab change: shows that page; anything outside 0..5 changes nothing.
  void ShowMainPage(int tab);
};

// The tooltip of a toolbar button: its string resource number and text ({0, ""} for none).
struct ToolTip {
  int resource;
  const char* text;
};
ToolTip ToolTipOf(int toolbarCommand);

}  // namespace kestrel
