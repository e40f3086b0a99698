#pragma once
// Sends one new-format log event to a plugin. The player and the decoder differ only in how
// a register write travels (rescaled and filtered, or as it stands) and in which switches
// gate the streams, so both hand their register path in and share the rest.

#include <cstdint>

#include "plugin/spu_plugin_api.h"
#include "spulog/log_events.h"

namespace kestrel {

// Which of the gated events may reach the plugin now.
struct EventGate {
  bool dmaWrite = true;
  bool xa = true;
  bool cdda = true;
};

// Every kind but a register write, which the caller's own path delivers.
void DeliverNonRegisterEvent(const SpuPluginApi& api, LogEvent& event, const EventGate& gate);

template <typename WriteRegister>
void DeliverLogEvent(const SpuPluginApi& api, LogEvent& event, const EventGate& gate,
                     WriteRegister&& writeRegister) {
  if (event.kind == LogEventKind::RegisterWrite) {
    writeRegister(event.address, event.value);
  } else {
    DeliverNonRegisterEvent(api, event, gate);
  }
}

}  // namespace kestrel
