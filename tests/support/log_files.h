#pragma once
// Small helpers that turn test logs into files.

#include <string>
#include <vector>

#include "spulog/log_writer.h"
#include "support/temp_folder.h"

namespace kestrel::test {

// Writes `writer`'s log as `name` in `folder`, gzip-compressed when `gzip`.
std::string WriteLog(const TempFolder& folder, const std::string& name, const SpuLogWriter& writer,
                     bool gzip = false);

// gzip-compresses bytes in memory.
std::vector<std::uint8_t> Gzip(const std::vector<std::uint8_t>& bytes);

// An old-format log with one register write at `time`.
SpuLogWriter OneRecordOldLog(std::uint32_t time);

}  // namespace kestrel::test
