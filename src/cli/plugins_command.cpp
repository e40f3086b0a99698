// kestrel-spu plugins: the SPU plugins of a folder, as the plugin page lists them.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/folder_argument.h"
#include "cli/json_output.h"
#include "plugin/plugin_scan.h"
#include "spulog/title_text.h"

namespace kestrel::cli {

void AddPluginsCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("plugins", "List the SPU plugins of a folder");
  auto folder = std::make_shared<std::string>("./plugins");
  auto json = std::make_shared<bool>(false);
  command->add_option("DIR", *folder, "Plugin folder")->capture_default_str();
  command->add_flag("--json", *json, "Print one JSON array");
  command->callback([folder, json, &status] {
    if (!CheckFolderArgument(*folder)) {
      status = 1;
      return;
    }
    const auto rows = ScanPlugins(*folder);
    if (*json) {
      PrintJson(PluginRowsToJson(rows));
    } else {
      std::printf("%-40s %-14s %s\n", "SPU Plugin Info", "Support", "File Name");
      for (const auto& row : rows) {
        std::printf("%-40s %-14s %s\n", TitleToUtf8(row.info).c_str(), row.support.c_str(),
                    TitleToUtf8(row.fileName).c_str());
      }
    }
    status = 0;
  });
}

}  // namespace kestrel::cli
