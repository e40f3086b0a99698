#include "spulog/log_length.h"

#include <cstdio>

#include "spulog/spu_log_file.h"

namespace kestrel {

namespace {

std::optional<std::uint32_t> ReadDiscriminator(SpuLogFile& file) {
  // A first small read makes zlib decide plain or gzip, so that later seeks of a plain
  // file become lseeks instead of reading the 512 KB image through.
  std::uint8_t first = 0;
  std::uint32_t discriminator = 0;
  if (!file.ReadU8(first) || !file.SeekTo(kDiscriminatorOffset) || !file.ReadU32(discriminator)) {
    return std::nullopt;
  }
  return discriminator;
}

}  // namespace

std::optional<LogFileType> ReadLogFormat(const std::string& path) {
  auto file = SpuLogFile::Open(path);
  const std::optional<std::uint32_t> discriminator = file ? ReadDiscriminator(*file) : std::nullopt;
  if (!discriminator) return std::nullopt;
  return *discriminator == kOldFormatMarker ? LogFileType::Old : LogFileType::New;
}

std::optional<LogLength> ReadLogLength(const std::string& path) {
  auto file = SpuLogFile::Open(path);
  if (!file) return std::nullopt;
  const std::optional<std::uint32_t> discriminator = ReadDiscriminator(*file);
  if (!discriminator) return std::nullopt;
  if (*discriminator != kOldFormatMarker) return LogLength{LogFileType::New, *discriminator};

  std::uint32_t count = 0;
  if (!file->ReadU32(count)) return std::nullopt;
  if (count == 0) return LogLength{LogFileType::Old, 0};  // no record to take a time from
  std::uint32_t lastTime = 0;
  const auto lastRecord = static_cast<std::int64_t>(kOldRecordSize) * (count - 1);
  if (!file->CanReach(kOldFirstEventOffset + lastRecord) || !file->Skip(lastRecord) ||
      !file->ReadU32(lastTime)) {
    return std::nullopt;
  }
  return LogLength{LogFileType::Old, lastTime};
}

std::string FormatLogLength(std::uint32_t samples) {
  const unsigned minutes = samples / kSamplesPerMinute;
  const double seconds = (samples % kSamplesPerMinute) * (1.0 / kSampleRate);
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%04.1f", minutes, seconds);
  return text;
}

std::string FormatLogLength(const std::optional<LogLength>& length) {
  return length ? FormatLogLength(length->totalLength) : kUnknownLogLength;
}

std::string FormatPanelLength(std::uint32_t samples) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u : %02u", samples / kSamplesPerMinute,
                (samples % kSamplesPerMinute) / kSampleRate);
  return text;
}

}  // namespace kestrel
