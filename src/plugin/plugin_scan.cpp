#include "plugin/plugin_scan.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "platform/compare_list_items.h"
#include "platform/directory_listing.h"
#include "plugin/dynamic_library.h"
#include "plugin/spu_plugin_api.h"

namespace kestrel {
namespace {

// Grows with every row added in this run, so rows stay distinguishable when sorted.
std::atomic<std::uint32_t> nextItemNumber{0};

}  // namespace

std::string FormatPluginVersion(unsigned long version) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d", static_cast<int>((version >> 8) & 0xFF),
                static_cast<int>(version & 0xFF));
  return text;
}

std::string FormatPluginInfo(const char* name, unsigned long version) {
  return std::string(name != nullptr ? name : "") + " " + FormatPluginVersion(version);
}

const char* PluginSupportText(bool hasRender, bool hasFreeze) {
  if (hasRender && hasFreeze) return "Play & Decode";
  if (hasFreeze) return "Play Only";
  if (hasRender) return "Decode Only";
  return "-";
}

std::string PluginFolder(const std::string& startupFolder) { return startupFolder + "/plugins"; }

std::string PluginPath(const std::string& pluginFolder, const std::string& fileName) {
  return pluginFolder + "/" + fileName;
}

std::vector<PluginRow> ScanPlugins(const std::string& pluginFolder) {
  std::vector<PluginRow> rows;
  for (const std::string& fileName : ListFilesWithExtension(pluginFolder, ".so")) {
    const DynamicLibrary library = DynamicLibrary::Open(PluginPath(pluginFolder, fileName));
    if (!library.IsLoaded()) continue;  // one broken file must not hide the others
    const SpuPluginApi api = BindSpuPluginApi(library);
    if (api.PSEgetLibType == nullptr || api.PSEgetLibName == nullptr ||
        api.PSEgetLibVersion == nullptr || api.PSEgetLibType() != kSpuPluginType) {
      continue;
    }
    PluginRow row;
    row.info = FormatPluginInfo(api.PSEgetLibName(), api.PSEgetLibVersion());
    row.support = PluginSupportText(api.SPUrender != nullptr, api.SPUfreeze != nullptr);
    row.fileName = fileName;
    row.itemNumber = nextItemNumber++;
    rows.insert(rows.begin(), std::move(row));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const PluginRow& a, const PluginRow& b) {
    return CompareListItems(a.info, b.info, SortDirection::Ascending) < 0;
  });
  return rows;
}

}  // namespace kestrel
