#pragma once
// The events of a log before they are written: register writes, uploads and streams,
// ordered by time and, within one time, by phase.

#include <cstdint>
#include <vector>

namespace kestrel::logsynth {

// Order of events that fall on the same sample: notes end before new ones are set up,
// sound RAM is filled before a voice is started on it.
enum class Phase { KeyOff, Upload, VoiceSetup, KeyOn, Stream, Final };

struct ScriptEvent {
  enum class Kind { RegisterWrite, DmaWrite, XaBlock, CdAudio };
  std::uint32_t time = 0;
  Phase phase = Phase::VoiceSetup;
  Kind kind = Kind::RegisterWrite;
  std::uint32_t address = 0;
  std::uint16_t value = 0;
  std::vector<std::uint8_t> data;  // DMA bytes, XA block or CD audio PCM
};

class LogScript {
 public:
  void Write(std::uint32_t time, Phase phase, std::uint32_t address, std::uint16_t value) {
    events_.push_back({time, phase, ScriptEvent::Kind::RegisterWrite, address, value, {}});
  }
  void Add(ScriptEvent event) { events_.push_back(std::move(event)); }

  // The events in the order they go into the log.
  std::vector<ScriptEvent> Ordered() const;
  std::uint32_t EndTime() const;  // the latest event time, 0 for none

 private:
  std::vector<ScriptEvent> events_;
};

}  // namespace kestrel::logsynth
