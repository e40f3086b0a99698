#pragma once
// Small SPU logs for tests, made with the format writer.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/temp_folder.h"

namespace kestrel::test {

struct TestLog {
  std::uint32_t samples = 441000;  // 10 seconds
  bool gzip = false;
  bool withHeader = false;
  std::string_view gameTitle = {};
  std::string_view musicTitle = {};
  std::string_view copyright = {};
};

// Writes a new-format log named `name` into `folder` and returns its path.
std::string WriteTestLog(const TempFolder& folder, std::string_view name, const TestLog& log = {});

}  // namespace kestrel::test
