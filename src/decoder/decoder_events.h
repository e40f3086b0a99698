#pragma once
// Brings the plugin up to a log time while a log is rendered offline.

#include <atomic>
#include <cstdint>
#include <optional>

#include "mixer/switches.h"
#include "plugin/spu_plugin_api.h"
#include "spulog/log_events.h"

namespace kestrel {

// Where the decoder stands in a log's event stream. The next event's time is read ahead
// and kept, so an event beyond the target is taken up by a later call.
class DecoderEventStream {
 public:
  // `reader` is at the first event. `recordCount`: the old format's record count N. While
  // `keepGoing` (when given) is false no further event is read: a log can hold millions of
  // events for one chunk, and an abort must not wait for them.
  DecoderEventStream(LogEventReader& reader, LogFileType type, std::uint32_t recordCount,
                     const std::atomic<bool>* keepGoing = nullptr);

  LogFileType Type() const { return type_; }

 private:
  friend void ReplayDecoderEvents(DecoderEventStream& stream, const SpuPluginApi& api,
                                  const DecodingEvent& switches, std::uint32_t target);
  void ReadAhead();

  LogEventReader& reader_;
  LogFileType type_;
  std::uint32_t recordCount_;
  std::uint32_t nextRecord_ = 0;
  std::optional<std::uint32_t> nextTime_;
  const std::atomic<bool>* keepGoing_;
  LogEvent event_;
};

// Old format: every record before `target` goes to SPUwriteRegister, unchecked and
// unswitched. New format: every event up to and including `target`, by the switches.
void ReplayDecoderEvents(DecoderEventStream& stream, const SpuPluginApi& api, const DecodingEvent& switches,
                         std::uint32_t target);

}  // namespace kestrel
