#include "playlist/playlist_slot_dialog_state.h"

#include <filesystem>

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "playlist/playlist_editor_page_state.h"

namespace kestrel {

PlaylistSlotDialogState::PlaylistSlotDialogState(std::string configPath)
    : configPath_(std::move(configPath)), slots_(ReadSlotPaths(configPath_)) {
  RefreshTitles();
}

std::string PlaylistSlotDialogState::SlotPath(int slot) const {
  return slot >= 1 && slot <= kSlotCount ? slots_[static_cast<std::size_t>(slot - 1)] : std::string();
}

void PlaylistSlotDialogState::RefreshTitles() { titles_ = SlotTitles(slots_); }

void PlaylistSlotDialogState::Open() { fields = ReadSlotPaths(configPath_); }

void PlaylistSlotDialogState::SetField(int slot, std::string text) {
  if (slot >= 1 && slot <= kSlotCount) fields[static_cast<std::size_t>(slot - 1)] = std::move(text);
}

PlaylistFileChooser PlaylistSlotDialogState::PlaylistChooser() const {
  return MakePlaylistFileChooser(std::filesystem::path(configPath_).parent_path().string());
}

void PlaylistSlotDialogState::Ok() {
  const WriteResult written = WriteSlotPaths(configPath_, fields);
  slots_ = fields;
  RefreshTitles();
  if (written) {
    MessagePort::Show("PlayList Slot Saved.", "Info", MessageIcon::Information);
    return;
  }
  ConsoleLog::Writef("* Warning : config.ini can't be written: %s\n", written.failure.c_str());
  MessagePort::Show({"PlayList Slot can't be saved in config.ini; it is kept until the program ends.", "Warning",
                     MessageIcon::Exclamation, MessageButtons::Ok, written.failure});
}

}  // namespace kestrel
