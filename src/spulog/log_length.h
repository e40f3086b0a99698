#pragma once
// The display readers of a log's length: quick, and without the loader's validity tests.

#include <cstdint>
#include <optional>
#include <string>

#include "spulog/log_format.h"

namespace kestrel {

struct LogLength {
  LogFileType type = LogFileType::New;
  std::uint32_t totalLength = 0;  // samples, as the file's bytes say
};

// Reads the format and total length; nullopt when the file cannot be opened or ends
// before the length, or when a compressed file's last record lies beyond the inflate
// budget of SpuLogFile::CanReach. Plain files are seeked, not read through.
std::optional<LogLength> ReadLogLength(const std::string& path);

// The format, whenever the discriminator can be read, even when the length cannot.
std::optional<LogFileType> ReadLogFormat(const std::string& path);

// "%02d:%04.1f": minutes, then seconds with one decimal (3000000 -> "01:08.0").
std::string FormatLogLength(std::uint32_t samples);
// What a list shows for a log whose length cannot be read.
inline constexpr const char* kUnknownLogLength = "--:--.-";
std::string FormatLogLength(const std::optional<LogLength>& length);

// "%02d : %02d": whole minutes and seconds, as the selected-file panel shows them.
std::string FormatPanelLength(std::uint32_t samples);

}  // namespace kestrel
