#include "spulog/log_events.h"

#include <algorithm>
#include <cstdio>

#include "platform/console_log.h"

namespace kestrel {
namespace {

// Payloads are read in steps of this size, so a corrupt count cannot make us allocate
// more than the file really holds.
constexpr std::uint64_t kPayloadStep = 64 * 1024;

std::string Format(const char* format, unsigned long value) {
  char line[96];
  std::snprintf(line, sizeof line, format, value);
  return line;
}

}  // namespace

std::optional<std::string> InvalidEventLine(const LogEvent& event) {
  switch (event.kind) {
    case LogEventKind::RegisterWrite:
      if (IsValidRegisterWrite(event.address)) return std::nullopt;
      return Format("Write to Invalid SPU Register: %08lx\n", event.address);
    case LogEventKind::RegisterRead:
      if (IsValidRegisterRead(event.address)) return std::nullopt;
      return Format("* Warning : Write to Invalid SPU Register: %08lx\n", event.address);
    case LogEventKind::InvalidCode:
      return Format("Invalid LogEventCode: %02lx\n", event.code);
    default:
      return std::nullopt;
  }
}

std::optional<std::uint32_t> LogEventReader::ReadTime() {
  if (ended_) return std::nullopt;
  std::uint32_t time = 0;
  if (!file_.ReadU32(time)) {
    ended_ = true;
    return std::nullopt;
  }
  return time;
}

bool LogEventReader::Next(LogEvent& event) {
  const auto time = ReadTime();
  return time && ReadBody(*time, event);
}

bool LogEventReader::SeekTo(std::int64_t position) {
  ended_ = !file_.SeekTo(position);
  return !ended_;
}

bool LogEventReader::Truncated(std::uint32_t time) {
  ended_ = true;
  ConsoleLog::Writef("* Warning : SPU File ends inside the event at %u; the rest is ignored.\n", time);
  return false;
}

bool LogEventReader::ReadPayload(std::vector<std::uint8_t>& data, std::uint64_t bytes) {
  data.clear();
  while (data.size() < bytes) {
    const std::size_t have = data.size();
    const auto step = static_cast<std::size_t>(std::min(kPayloadStep, bytes - have));
    data.resize(have + step);
    if (file_.Read(data.data() + have, step) != step) return false;
  }
  return true;
}

bool LogEventReader::ReadBody(std::uint32_t time, LogEvent& event) {
  event.time = time;
  event.address = 0;
  event.value = 0;
  event.count = 0;
  event.data.clear();

  if (type_ == LogFileType::Old) {
    std::uint32_t value = 0;
    event.kind = LogEventKind::RegisterWrite;
    event.code = 0;
    if (!file_.ReadU32(event.address) || !file_.ReadU32(value)) return Truncated(time);
    event.value = static_cast<std::uint16_t>(value);
    return true;
  }

  if (!file_.ReadU8(event.code)) return Truncated(time);
  switch (static_cast<LogEventCode>(event.code)) {
    case LogEventCode::RegisterWrite:
      event.kind = LogEventKind::RegisterWrite;
      if (!file_.ReadU32(event.address) || !file_.ReadU16(event.value)) return Truncated(time);
      return true;
    case LogEventCode::RegisterRead:
      event.kind = LogEventKind::RegisterRead;
      if (!file_.ReadU32(event.address)) return Truncated(time);
      return true;
    case LogEventCode::DmaWrite:
      event.kind = LogEventKind::DmaWrite;
      // A transfer beyond the whole sound RAM can only be corruption: it is not read.
      if (!file_.ReadU32(event.count) || event.count > kMaxDmaWords || !ReadPayload(event.data, 2ull * event.count)) {
        return Truncated(time);
      }
      return true;
    case LogEventCode::DmaRead:
      event.kind = LogEventKind::DmaRead;
      // No data follows; a count beyond the whole sound RAM can only be corruption.
      if (!file_.ReadU32(event.count) || event.count > kMaxDmaWords) return Truncated(time);
      return true;
    case LogEventCode::XaBlock:
      event.kind = LogEventKind::XaBlock;
      if (!ReadPayload(event.data, kXaBlockSize)) return Truncated(time);
      return true;
    case LogEventCode::CdAudio: {
      event.kind = LogEventKind::CdAudio;
      if (!file_.ReadU32(event.count) || event.count > kMaxCdAudioBytes) return Truncated(time);
      // The stream holds B / 2 * 2 bytes; the plugin is told B, so pad an odd B with a zero
      // byte that it may read.
      if (!ReadPayload(event.data, event.count / 2 * 2)) return Truncated(time);
      event.data.resize(event.count, 0);
      return true;
    }
    default:
      event.kind = LogEventKind::InvalidCode;
      return true;
  }
}

}  // namespace kestrel
