#pragma once
// Reads the event stream of a log, one event at a time, in file order.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "spulog/log_format.h"
#include "spulog/spu_log_file.h"

namespace kestrel {

enum class LogEventKind : std::uint8_t {
  RegisterWrite,
  RegisterRead,
  DmaWrite,
  DmaRead,
  XaBlock,
  CdAudio,
  InvalidCode,  // a new-format code above 5: no payload was consumed
};

struct LogEvent {
  std::uint32_t time = 0;
  LogEventKind kind = LogEventKind::RegisterWrite;
  std::uint8_t code = 0;        // the new-format code byte as read
  std::uint32_t address = 0;    // register write and read
  std::uint16_t value = 0;      // register write (old format: the low 16 bits)
  std::uint32_t count = 0;      // DMA: 16-bit words; CD audio: the byte count B as stored
  std::vector<std::uint8_t> data;  // DMA write words, the XA block, or B bytes of CD audio
};

// The console line that replay writes for an event the plugin must not receive,
// or nullopt for a valid event.
std::optional<std::string> InvalidEventLine(const LogEvent& event);

class LogEventReader {
 public:
  // `file` is positioned at the first event and outlives the reader.
  LogEventReader(SpuLogFile& file, LogFileType type) : file_(file), type_(type) {}

  // The next event's time; nullopt at the end of the stream.
  std::optional<std::uint32_t> ReadTime();
  // The rest of the event whose time was just read. False when the file ends inside it:
  // the stream ends there, with a console warning.
  bool ReadBody(std::uint32_t time, LogEvent& event);
  // Both steps.
  bool Next(LogEvent& event);

  // Back to `position` (a first-event position or one taken with Tell) to read on from there.
  bool SeekTo(std::int64_t position);
  std::int64_t Tell() const { return file_.Tell(); }
  bool Ended() const { return ended_; }

 private:
  bool ReadPayload(std::vector<std::uint8_t>& data, std::uint64_t bytes);
  bool Truncated(std::uint32_t time);

  SpuLogFile& file_;
  LogFileType type_;
  bool ended_ = false;
};

}  // namespace kestrel
