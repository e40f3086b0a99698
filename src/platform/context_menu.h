#pragma once
// A list's context menu as data: what a front end shows when a list is right-clicked.
// Separators carry no command; command 0 only closes the menu.

#include <string>
#include <vector>

namespace kestrel {

inline constexpr int kSeparator = -1;
inline constexpr int kCloseMenuCommand = 0;

struct ContextMenuEntry {
  std::string caption;  // empty for a separator
  int command = kSeparator;
  bool enabled = true;

  bool IsSeparator() const { return command == kSeparator; }
};

using ContextMenu = std::vector<ContextMenuEntry>;

}  // namespace kestrel
