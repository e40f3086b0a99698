#include "cli/common_options.h"

#include <cstdio>

namespace kestrel::cli {

void AddEventSwitchOptions(CLI::App& command, EventSwitchOptions& options) {
  command.add_flag("--no-reg-write", options.noRegisterWrite, "Hold back the log's register writes");
  command.add_flag("--no-dma-write", options.noDmaWrite, "Hold back DMA writes to sound RAM");
  command.add_flag("--no-xa", options.noXa, "Hold back XA blocks");
  command.add_flag("--no-cdda", options.noCdda, "Hold back CD audio blocks");
}

void ApplyEventSwitchOptions(const EventSwitchOptions& options, EventSwitches& switches) {
  switches.registerWrite = !options.noRegisterWrite;
  switches.dmaWrite = !options.noDmaWrite;
  switches.xa = !options.noXa;
  switches.cdda = !options.noCdda;
}

ConsoleLog::Attachment AttachConsoleToStandardOutput() {
  return ConsoleLog::Attach([](std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  });
}

}  // namespace kestrel::cli
