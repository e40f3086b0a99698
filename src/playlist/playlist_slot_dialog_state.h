#pragma once
// The five playlist slots as the program holds them (paths and the Import PlayList menu's
// item titles) and the "PlayList Slot" dialog that edits them.

#include <array>
#include <string>

#include "playlist/playlist_slots.h"

namespace kestrel {

struct PlaylistFileChooser;

// Menu items "Empty Slot #1" .. "Empty Slot #5" (slot k is 40023 + k).
inline constexpr int kFirstSlotCommand = 40024;

class PlaylistSlotDialogState {
 public:
  // Reads the five paths from config.ini and titles the menu items (main window set-up).
  explicit PlaylistSlotDialogState(std::string configPath);

  // The slots in use: what a slot import plays and what the menu items say. After a
  // config.ini write that failed they are still the values the user gave.
  const SlotPaths& Slots() const { return slots_; }
  const std::array<std::string, kSlotCount>& Titles() const { return titles_; }
  // The playlist path of slot 1..5 (empty for an empty slot or another number).
  std::string SlotPath(int slot) const;
  // Reads each slot's playlist title again.
  void RefreshTitles();

  // The dialog: "Slot[1] :" .. "Slot[5] :" fields, each with "..." (the playlist chooser).
  SlotPaths fields;
  void Open();  // fills the fields from config.ini
  void SetField(int slot, std::string text);
  // What each row's "..." shows: the playlist chooser, in the list folder beside config.ini.
  PlaylistFileChooser PlaylistChooser() const;
  // The chooser of row `slot` returned a file.
  void FileChosen(int slot, const std::string& path) { SetField(slot, path); }
  // OK: stores all five fields, titles the menu items and says "PlayList Slot Saved."; a
  // config.ini that cannot be written is reported on the console and in a warning, and the
  // program goes on with the new slots in memory. The dialog then closes.
  void Ok();
  // Cancel and the close button change nothing.

 private:
  std::string configPath_;
  SlotPaths slots_;
  std::array<std::string, kSlotCount> titles_;
};

}  // namespace kestrel
