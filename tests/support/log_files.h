#pragma once
// Small helpers that turn test logs into files and read them back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/entry_list.h"
#include "spulog/log_events.h"
#include "spulog/log_loader.h"
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
// An empty new-format log of `total` samples.
SpuLogWriter NewFormatLog(std::uint32_t total);

// Every event of a loaded log, in file order.
std::vector<LogEvent> ReadAllEvents(LoadedLog& log);
// The name column of a list, top to bottom.
std::vector<std::string> EntryNames(const EntryList& list);

// A small new-format log of a given length, optionally with titles.
struct TestLog {
  std::uint32_t samples = 441000;  // 10 seconds
  bool gzip = false;
  bool withHeader = false;
  std::string_view gameTitle = {};
  std::string_view musicTitle = {};
  std::string_view copyright = {};
};
std::string WriteTestLog(const TempFolder& folder, std::string_view name, const TestLog& log = {});

}  // namespace kestrel::test
