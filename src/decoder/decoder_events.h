#pragma once
// Brings the plugin up to a log time while a log is rendered offline.

#include <atomic>
#include <cstdint>
#include <optional>

#include "mixer/channel_mixer.h"
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
  // Voice volumes written from now on go through `mixer` (a stems pass mutes voices with it).
  void RouteVolumesThrough(ChannelMixer* mixer) { mixer_ = mixer; }
  // The voices the log has keyed on so far, bit v for voice v.
  std::uint32_t KeyedOnVoices() const { return keyedOn_; }

 private:
  friend void ReplayDecoderEvents(DecoderEventStream& stream, const SpuPluginApi& api,
                                  const DecodingEvent& switches, std::uint32_t target);
  void ReadAhead();
  void WriteRegister(const SpuPluginApi& api, std::uint32_t address, std::uint16_t value);

  LogEventReader& reader_;
  LogFileType type_;
  std::uint32_t recordCount_;
  std::uint32_t nextRecord_ = 0;
  std::optional<std::uint32_t> nextTime_;
  const std::atomic<bool>* keepGoing_;
  LogEvent event_;
  ChannelMixer* mixer_ = nullptr;
  std::uint32_t keyedOn_ = 0;
};

// Old format: every record before `target` goes to SPUwriteRegister, unchecked and
// unswitched. New format: every event up to and including `target`, by the switches.
void ReplayDecoderEvents(DecoderEventStream& stream, const SpuPluginApi& api, const DecodingEvent& switches,
                         std::uint32_t target);

}  // namespace kestrel
