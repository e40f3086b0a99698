#include "recorder/real_plugin.h"

#include <filesystem>
#include <initializer_list>
#include <utility>

namespace kestrel::recorder {
namespace {

using Entry = std::pair<const void*, const char*>;
#define KESTREL_ENTRY(name) Entry{reinterpret_cast<const void*>(api.name), #name}

// The names of the entries that are null, ", "-separated.
std::string Lacking(std::initializer_list<Entry> entries) {
  std::string missing;
  for (const auto& [entry, name] : entries) {
    if (entry == nullptr) missing += (missing.empty() ? "" : ", ") + std::string(name);
  }
  return missing;
}

// Without these a host cannot start the plugin, feed it or restore a state into it.
std::string MissingRequired(const SpuPluginApi& api) {
  return Lacking({KESTREL_ENTRY(SPUinit), KESTREL_ENTRY(SPUshutdown), KESTREL_ENTRY(SPUwriteRegister),
                  KESTREL_ENTRY(SPUfreeze)});
}

std::string MissingOptional(const SpuPluginApi& api) {
  return Lacking({KESTREL_ENTRY(SPUopen), KESTREL_ENTRY(SPUclose), KESTREL_ENTRY(SPUreadRegister),
                  KESTREL_ENTRY(SPUwriteDMAMem), KESTREL_ENTRY(SPUreadDMAMem), KESTREL_ENTRY(SPUplayADPCMchannel),
                  KESTREL_ENTRY(SPUplayCDDAchannel), KESTREL_ENTRY(SPUasync), KESTREL_ENTRY(SPUrender),
                  KESTREL_ENTRY(SPUconfigure), KESTREL_ENTRY(SPUabout), KESTREL_ENTRY(SPUtest),
                  KESTREL_ENTRY(PSEgetLibName), KESTREL_ENTRY(PSEgetLibVersion)});
}
#undef KESTREL_ENTRY

}  // namespace

std::variant<RealPlugin, std::string> LoadRealPlugin(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return "the real plugin " + path + " does not exist";
  RealPlugin real;
  real.library = DynamicLibrary::Open(path);
  if (!real.library.IsLoaded()) return "the real plugin " + path + " cannot be loaded: " + real.library.Error();
  if (real.library.Symbol(kRecorderMarkerSymbol) != nullptr) {
    return "the real plugin " + path + " is a recorder; a recorder cannot record through itself";
  }
  real.api = BindSpuPluginApi(real.library);
  if (real.api.PSEgetLibType != nullptr && real.api.PSEgetLibType() != kSpuPluginType) {
    return "the real plugin " + path + " is no SPU plugin";
  }
  if (const std::string missing = MissingRequired(real.api); !missing.empty()) {
    return "the real plugin " + path + " lacks " + missing;
  }
  real.missing = MissingOptional(real.api);
  return real;
}

}  // namespace kestrel::recorder
