#pragma once
// The five playlist slots of config.ini: a playlist file each, named in the Import
// PlayList menu by its title.

#include <array>
#include <string>

#include "platform/file_replace.h"

namespace kestrel {

inline constexpr const char* kSlotSection = "PlayList";
inline constexpr int kSlotCount = 5;
using SlotPaths = std::array<std::string, kSlotCount>;

std::string SlotKey(int slot);         // "PlayListPath[%d]", slot 1..5
std::string EmptySlotTitle(int slot);  // "Empty Slot #%d"

SlotPaths ReadSlotPaths(const std::string& configPath);
std::string ReadSlotPath(const std::string& configPath, int slot);  // empty for a bad slot number
// All five together, also the empty ones, each cut to 259 bytes; a failure says why.
WriteResult WriteSlotPaths(const std::string& configPath, const SlotPaths& paths);

// The ListTitle of each slot's playlist, or its "Empty Slot #k" text when the slot is
// empty or the file or key is missing. A present but empty title stays empty.
std::array<std::string, kSlotCount> SlotTitles(const SlotPaths& paths);
std::array<std::string, kSlotCount> ReadSlotTitles(const std::string& configPath);

}  // namespace kestrel
