#pragma once
// The real SPU plugin the recorder stands in front of.

#include <string>
#include <variant>

#include "plugin/dynamic_library.h"
#include "plugin/spu_plugin_api.h"

namespace kestrel::recorder {

// Exported by every recorder build, so that a recorder never loads a recorder (itself or a copy)
// as its real plugin and calls round in a circle.
inline constexpr const char* kRecorderMarkerSymbol = "KestrelSpuRecorderMarker";

struct RealPlugin {
  DynamicLibrary library;
  SpuPluginApi api;
  std::string missing;  // optional entry points it lacks, ", "-separated; calls to them are passed over
};

// Loads and binds the plugin at `path`, or says why it cannot serve: no such file, a load error, not
// an SPU plugin, a recorder, or lacking an entry point the recorder cannot do without.
std::variant<RealPlugin, std::string> LoadRealPlugin(const std::string& path);

}  // namespace kestrel::recorder
