#include "playlist/playlist_slots.h"

#include "platform/ini_file.h"
#include "playlist/playlist_file.h"

namespace kestrel {
namespace {

constexpr std::size_t kSlotPathLimit = 259;

}  // namespace

std::string SlotKey(int slot) { return "PlayListPath[" + std::to_string(slot) + "]"; }

std::string EmptySlotTitle(int slot) { return "Empty Slot #" + std::to_string(slot); }

SlotPaths ReadSlotPaths(const std::string& configPath) {
  const IniDocument ini = IniFile(configPath).Read();
  SlotPaths paths;
  for (int k = 1; k <= kSlotCount; ++k) paths[static_cast<std::size_t>(k - 1)] = ini.GetString(kSlotSection, SlotKey(k));
  return paths;
}

std::string ReadSlotPath(const std::string& configPath, int slot) {
  if (slot < 1 || slot > kSlotCount) return {};
  return IniFile(configPath).ReadString(kSlotSection, SlotKey(slot));
}

WriteResult WriteSlotPaths(const std::string& configPath, const SlotPaths& paths) {
  return IniFile(configPath).Edit([&paths](IniDocument& ini) {
    for (int k = 1; k <= kSlotCount; ++k) {
      const std::string& path = paths[static_cast<std::size_t>(k - 1)];
      ini.Set(kSlotSection, SlotKey(k), path.substr(0, kSlotPathLimit));
    }
  });
}

std::array<std::string, kSlotCount> ReadSlotTitles(const std::string& configPath) {
  return SlotTitles(ReadSlotPaths(configPath));
}

std::array<std::string, kSlotCount> SlotTitles(const SlotPaths& paths) {
  std::array<std::string, kSlotCount> titles;
  for (int k = 1; k <= kSlotCount; ++k) {
    const std::string& path = paths[static_cast<std::size_t>(k - 1)];
    titles[static_cast<std::size_t>(k - 1)] =
        path.empty() ? EmptySlotTitle(k) : IniFile(path).ReadString(kPlaylistSection, "ListTitle", EmptySlotTitle(k));
  }
  return titles;
}

}  // namespace kestrel
