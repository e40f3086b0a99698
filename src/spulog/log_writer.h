#pragma once
// Builds SPU logs in either format, for the log synthesizer and the tests.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spulog/log_format.h"

namespace kestrel {

class SpuLogWriter {
 public:
  explicit SpuLogWriter(LogFileType type);

  // State image.
  void SetSoundRam(std::size_t offset, std::span<const std::uint8_t> bytes);
  void SetRegister(std::uint32_t address, std::uint16_t value);
  // Writes the title block ("SPU\0" and the three fields, each cut to fit with its NUL).
  void SetHeader(std::string_view gameTitle, std::string_view musicTitle, std::string_view copyright);

  // New format: the stored total length. Old format: the length is the last record's time.
  void SetTotalLength(std::uint32_t samples) { totalLength_ = samples; }
  // Old format: store this count instead of the number of records (for broken files).
  void SetOldFormatCount(std::uint32_t count) { countOverride_ = count; }

  // Events. Only register writes exist in the old format.
  void AddRegisterWrite(std::uint32_t time, std::uint32_t address, std::uint16_t value);
  void AddRegisterRead(std::uint32_t time, std::uint32_t address);
  void AddDmaWrite(std::uint32_t time, std::span<const std::uint16_t> words);
  void AddDmaRead(std::uint32_t time, std::uint32_t words);
  void AddXaBlock(std::uint32_t time, std::span<const std::uint8_t> block);  // padded to 32,800 bytes
  void AddCdAudio(std::uint32_t time, std::span<const std::uint8_t> pcm);
  // Any bytes at the end of the stream, for logs that break the rules.
  void AddRawBytes(std::span<const std::uint8_t> bytes);
  void AddU32(std::uint32_t value);

  std::size_t RecordCount() const { return records_; }
  LogFileType Type() const { return type_; }

  // The whole file.
  std::vector<std::uint8_t> Bytes() const;
  // The file up to its first event (state image and discriminator), and the events added since
  // the last take: together they let a writer stream a long log to disk piece by piece.
  std::vector<std::uint8_t> HeadBytes() const;
  std::vector<std::uint8_t> TakeEventBytes();
  std::size_t PendingEventBytes() const { return events_.size(); }
  // Writes plain or gzip-compressed; an error text on failure.
  std::optional<std::string> WriteFile(const std::string& path, bool gzip) const;

 private:
  void AddU16(std::uint16_t value);
  void AddU8(std::uint8_t value) { events_.push_back(value); }
  void AddEventHead(std::uint32_t time, LogEventCode code);

  LogFileType type_;
  std::vector<std::uint8_t> state_;  // sound RAM and registers
  std::vector<std::uint8_t> events_;
  std::uint32_t totalLength_ = 0;
  std::uint32_t lastTime_ = 0;
  std::size_t records_ = 0;
  std::optional<std::uint32_t> countOverride_;
};

}  // namespace kestrel
