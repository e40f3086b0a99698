#pragma once
// The "Header Information Editor" dialog: the selected log's name and three titles, and
// Save, which is off (with the reason in the status text) for a log whose titles may not
// be written.

#include <optional>
#include <string>

#include "platform/control_states.h"
#include "spulog/header_editor.h"

namespace kestrel {

namespace header_dialog {
inline constexpr const char* kCaption = "Header Information Editor";
inline constexpr int kFileName = 1104;
inline constexpr int kGameTitle = 1070;
inline constexpr int kMusicTitle = 1067;
inline constexpr int kCopyright = 1068;
inline constexpr int kSave = 1;
inline constexpr int kCancel = 2;
inline constexpr int kStatusText = 1182;
}  // namespace header_dialog

class HeaderEditorDialogState {
 public:
  // Opening on the selected entry's name and path (the caller sets CurrentLogPath to it).
  void Open(const std::string& name, const std::string& path);
  // Opening with no entry selected: every field empty; Save does nothing.
  void OpenWithoutSelection();

  // An edit of one of the three title fields; false for another id.
  bool Edit(int id, std::string text);

  // Save: asks, then writes the titles. True when they were written and the dialog closes;
  // the caller then refreshes the file panel unless a log plays or a decode runs. False
  // (the dialog stays open) on No, without a selection, for a refused log or a failed write.
  bool Save();

  // The opened log's path; empty without a selection.
  std::string Path() const { return opened_ ? opened_->path : std::string(); }

  std::string fileName;
  std::string gameTitle;
  std::string musicTitle;
  std::string copyright;
  std::string statusText;
  ControlStates controls;

 private:
  std::optional<HeaderEditorFields> opened_;
};

}  // namespace kestrel
