#pragma once
// The plugin half of the "Plugin && Register" page: the plugin list, the "Selected Plugin
// Info" fields and the Configure, About and Test calls. The fields name the plugin that the
// player and the decoder load; the list's selection only names the one the buttons call.

#include <optional>
#include <string>
#include <vector>

#include "platform/compare_list_items.h"
#include "platform/context_menu.h"
#include "platform/control_states.h"
#include "plugin/plugin_scan.h"

namespace kestrel {

namespace plugin_page {
inline constexpr int kPluginList = 1010;
inline constexpr int kTest = 1007;
inline constexpr int kConfigure = 1005;
inline constexpr int kAbout = 1006;
inline constexpr int kName = 1009;
inline constexpr int kVersion = 1012;
inline constexpr int kPath = 1013;
// The list's context menu.
inline constexpr int kMenuConfigure = 2006;
inline constexpr int kMenuAbout = 2007;
inline constexpr int kMenuTest = 2008;
}  // namespace plugin_page

class PluginPageState {
 public:
  explicit PluginPageState(std::string startupFolder = ".");

  // Start-up: the SPU plugins of "<startup folder>/plugins", sorted by their info text.
  // The caller marks column 0 ascending in the shared sort table.
  void ScanPlugins();
  // Start-up selection: the stored row is selected and its info shown; an index that names
  // no row (-1 included) selects nothing and leaves the fields empty.
  void ApplyStoredSelection(int storedRow);

  // The list's selection moved (keyboard): no field changes. -1 selects nothing.
  void SelectRow(int row);
  // Clicks on a row: select it; only while neither playing nor decoding, show its info
  // (and, on a double click, call its configuration dialog).
  void ClickRow(int row);
  void DoubleClickRow(int row);
  // A header click: sorts in `direction`, which the program's shared sort table decides;
  // the selection stays with its plugin.
  void SortRows(int column, SortDirection direction);

  // Fills the fields from the selected row's library; true when they changed. A row whose
  // library no longer loads, or is no SPU plugin, changes nothing.
  bool ShowSelectedPluginInfo();

  // The selected row's SPUconfigure, SPUabout, SPUtest (not the "Path :" one's). Nothing
  // without a selection or for a library that does not load. While the player or the
  // decoder holds the plugin they say so instead of waiting for it.
  void ConfigurePlugin();
  void AboutPlugin();
  void TestPlugin();

  // The buttons and the list's context menu by command id; Configure is passed over while
  // it is greyed. False for an id that is none of them.
  bool Command(int id);

  // Greying: Configure (button and context menu) is off while a log plays or a decode runs.
  void SetPlaybackRunning(bool playing);
  void SetDecodeRunning(bool decoding);
  // The list's right-click menu, top to bottom; Configure follows its button's greying.
  ContextMenu Menu() const;

  const std::vector<PluginRow>& Rows() const { return rows_; }
  int SelectedRow() const { return selected_; }
  // What the exit save stores under SelectedSPUPlugin: the row, or -1.
  int SelectedSPUPlugin() const { return selected_; }
  // "<startup folder>/plugins/<File Name>" of the selected row; none without a selection.
  std::optional<std::string> SelectedPluginPath() const;

  // "Name :", "Version :", "Path :" (what the player and the decoder load).
  std::string name;
  std::string version;
  std::string path;
  // The shown plugin's "%s %d.%d", for the Wave Decode page's "Use PluginName :".
  std::string info;
  ControlStates controls;

 private:
  void Greying();

  std::string startupFolder_;
  std::vector<PluginRow> rows_;
  int selected_ = -1;
  bool playing_ = false;
  bool decoding_ = false;
};

}  // namespace kestrel
