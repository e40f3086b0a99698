#pragma once
// Options that play and decode share.

#include <CLI/CLI.hpp>

#include "platform/console_log.h"
#include "mixer/switches.h"

namespace kestrel::cli {

struct EventSwitchOptions {
  bool noRegisterWrite = false;
  bool noDmaWrite = false;
  bool noXa = false;
  bool noCdda = false;
};

// --no-reg-write, --no-dma-write, --no-xa, --no-cdda.
void AddEventSwitchOptions(CLI::App& command, EventSwitchOptions& options);
void ApplyEventSwitchOptions(const EventSwitchOptions& options, EventSwitches& switches);

// The console lines on standard output, for --console.
[[nodiscard]] ConsoleLog::Attachment AttachConsoleToStandardOutput();

}  // namespace kestrel::cli
