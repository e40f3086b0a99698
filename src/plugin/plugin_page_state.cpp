#include "plugin/plugin_page_state.h"

#include <algorithm>

#include "platform/message_port.h"
#include "plugin/bound_plugin.h"
#include "plugin/dynamic_library.h"
#include "plugin/spu_plugin_api.h"

namespace kestrel {
namespace {

const std::string& Column(const PluginRow& row, int column) {
  switch (column) {
    case 1: return row.support;
    case 2: return row.fileName;
    default: return row.info;
  }
}

// Calls one of the plugin's own dialogs on the plugin library at `path`.
template <typename Entry>
void CallPluginDialog(const std::optional<std::string>& path, Entry SpuPluginApi::*entry) {
  if (!path) return;
  BoundPlugin plugin;
  // Waiting here would freeze the window until the playback or decode ends.
  if (!plugin.TryLock()) {
    MessagePort::Show("The plugin is in use by the player or the decoder; try again when it has stopped.",
                      "Warning", MessageIcon::Exclamation);
    return;
  }
  if (!plugin.Bind(*path)) return;  // passed over in silence, as a library that has gone
  if (const Entry call = plugin.Api().*entry; call != nullptr) call();
}

}  // namespace

PluginPageState::PluginPageState(std::string startupFolder) : startupFolder_(std::move(startupFolder)) {}

void PluginPageState::ScanPlugins() {
  rows_ = kestrel::ScanPlugins(PluginFolder(startupFolder_));
  selected_ = -1;
}

void PluginPageState::ApplyStoredSelection(int storedRow) {
  SelectRow(storedRow);
  ShowSelectedPluginInfo();
}

void PluginPageState::SelectRow(int row) {
  selected_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

void PluginPageState::ClickRow(int row) {
  SelectRow(row);
  if (!playing_ && !decoding_) ShowSelectedPluginInfo();
}

void PluginPageState::DoubleClickRow(int row) {
  SelectRow(row);
  if (playing_ || decoding_) return;
  ShowSelectedPluginInfo();
  ConfigurePlugin();
}

void PluginPageState::SortRows(int column, SortDirection direction) {
  const std::optional<std::uint32_t> item =
      selected_ >= 0 ? std::optional(rows_[static_cast<std::size_t>(selected_)].itemNumber) : std::nullopt;
  std::stable_sort(rows_.begin(), rows_.end(), [&](const PluginRow& a, const PluginRow& b) {
    return CompareListItems(Column(a, column), Column(b, column), direction) < 0;
  });
  if (!item) return;
  const auto at = std::find_if(rows_.begin(), rows_.end(), [&](const PluginRow& r) { return r.itemNumber == *item; });
  selected_ = static_cast<int>(at - rows_.begin());
}

bool PluginPageState::ShowSelectedPluginInfo() {
  const std::optional<std::string> selectedPath = SelectedPluginPath();
  if (!selectedPath) return false;
  // Names and versions only: no plugin state is touched, so the plugin lock is not needed.
  const DynamicLibrary library = DynamicLibrary::Open(*selectedPath);
  if (!library.IsLoaded()) return false;
  const SpuPluginApi api = BindSpuPluginApi(library);
  if (api.PSEgetLibName == nullptr || api.PSEgetLibType == nullptr || api.PSEgetLibVersion == nullptr ||
      api.PSEgetLibType() != kSpuPluginType) {
    return false;
  }
  const char* libraryName = api.PSEgetLibName();
  const unsigned long libraryVersion = api.PSEgetLibVersion();
  name = libraryName != nullptr ? libraryName : "";
  version = FormatPluginVersion(libraryVersion);
  path = *selectedPath;
  info = FormatPluginInfo(libraryName, libraryVersion);
  return true;
}

void PluginPageState::ConfigurePlugin() { CallPluginDialog(SelectedPluginPath(), &SpuPluginApi::SPUconfigure); }
void PluginPageState::AboutPlugin() { CallPluginDialog(SelectedPluginPath(), &SpuPluginApi::SPUabout); }
void PluginPageState::TestPlugin() { CallPluginDialog(SelectedPluginPath(), &SpuPluginApi::SPUtest); }

ContextMenu PluginPageState::Menu() const {
  using namespace plugin_page;
  return {{"&Configure", kMenuConfigure, controls.Enabled(kConfigure)},
          {"&About", kMenuAbout, true},
          {"&Test", kMenuTest, true}};
}

bool PluginPageState::Command(int id) {
  using namespace plugin_page;
  if (id == kConfigure || id == kMenuConfigure) {
    if (controls.Enabled(kConfigure)) ConfigurePlugin();
  } else if (id == kAbout || id == kMenuAbout) {
    AboutPlugin();
  } else if (id == kTest || id == kMenuTest) {
    TestPlugin();
  } else {
    return false;
  }
  return true;
}

void PluginPageState::SetPlaybackRunning(bool playing) {
  playing_ = playing;
  Greying();
}

void PluginPageState::SetDecodeRunning(bool decoding) {
  decoding_ = decoding;
  Greying();
}

void PluginPageState::Greying() { controls.SetEnabled(plugin_page::kConfigure, !playing_ && !decoding_); }

std::optional<std::string> PluginPageState::SelectedPluginPath() const {
  if (selected_ < 0) return std::nullopt;
  return PluginPath(PluginFolder(startupFolder_), rows_[static_cast<std::size_t>(selected_)].fileName);
}

}  // namespace kestrel
