#include "support/test_logs.h"

#include <stdexcept>

#include "spulog/log_writer.h"

namespace kestrel::test {

std::string WriteTestLog(const TempFolder& folder, std::string_view name, const TestLog& log) {
  SpuLogWriter writer(LogFileType::New);
  writer.SetTotalLength(log.samples);
  if (log.withHeader) writer.SetHeader(log.gameTitle, log.musicTitle, log.copyright);
  writer.AddRegisterWrite(0, 0x1F801D80, 0x3FFF);
  const std::string path = folder / name;
  if (const auto error = writer.WriteFile(path, log.gzip)) throw std::runtime_error(*error);
  return path;
}

}  // namespace kestrel::test
