// kestrel-spu scan: a folder's logs exactly as the SPU file list holds them after a scan.

#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/folder_argument.h"
#include "cli/file_list_output.h"
#include "library/file_detection_thread.h"

namespace kestrel::cli {

void AddScanCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("scan", "List the SPU logs of a folder as the file list shows them");
  auto folder = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  command->add_option("DIR", *folder, "Folder of .spu and .gz logs")->required();
  command->add_flag("--json", *json, "Print one JSON object");
  command->callback([folder, json, &status] {
    if (!CheckFolderArgument(*folder)) {
      status = 1;
      return;
    }
    SpuFileList list;
    FileDetectionThread().RunToEnd(list, *folder);
    PrintFileList(list, *json);
    status = 0;
  });
}

}  // namespace kestrel::cli
