#pragma once
// What the emulator's thread hands the writer thread: the start of a recording, one event, its end.

#include <cstdint>
#include <vector>

#include "spulog/log_format.h"

namespace kestrel::recorder {

struct RecordItem {
  enum class Kind : std::uint8_t { Begin, Event, End };
  Kind kind = Kind::Event;
  LogEventCode code = LogEventCode::RegisterWrite;
  std::uint32_t time = 0;    // samples from the start; End: the recording's length
  std::uint32_t address = 0;
  std::uint16_t value = 0;
  std::uint32_t count = 0;   // DMA read: words
  std::vector<std::uint8_t> bytes;   // Begin: the state image; XA block; CD audio
  std::vector<std::uint16_t> words;  // DMA write

  std::size_t Size() const { return sizeof(RecordItem) + bytes.size() + 2 * words.size(); }
};

}  // namespace kestrel::recorder
