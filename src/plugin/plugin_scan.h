#pragma once
// Finding the SPU plugins of the plugins folder and describing each as a list row.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct PluginRow {
  std::string info;      // "SPU Plugin Info": "%s %d.%d"
  std::string support;   // "Support"
  std::string fileName;  // "File Name", without folder
  std::uint32_t itemNumber = 0;
};

// "%s %d.%d" of the name and bits 8-15 and 0-7 of the version (0x10203 -> "name 2.3").
std::string FormatPluginInfo(const char* name, unsigned long version);
// "%d.%d" of bits 8-15 and 0-7.
std::string FormatPluginVersion(unsigned long version);
// "Play & Decode", "Play Only", "Decode Only" or "-".
const char* PluginSupportText(bool hasRender, bool hasFreeze);

// Lists every library (*.so) in `pluginFolder` whose PSEgetLibType is 4, sorted
// ascending by the info text. A library that cannot be loaded is passed over.
std::vector<PluginRow> ScanPlugins(const std::string& pluginFolder);

// "<startupFolder>/plugins".
std::string PluginFolder(const std::string& startupFolder);

// "<pluginFolder>/<fileName>": where the player and the decoder load a row's library from.
std::string PluginPath(const std::string& pluginFolder, const std::string& fileName);

}  // namespace kestrel
