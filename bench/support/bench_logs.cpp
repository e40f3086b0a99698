#include "bench_logs.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "spulog/log_writer.h"

namespace kestrel::bench {

std::string WriteBenchLog(double seconds, std::uint32_t eventSpacing) {
  SpuLogWriter log(LogFileType::New);
  const auto total = static_cast<std::uint32_t>(seconds * kSampleRate);
  log.SetTotalLength(total);
  const std::vector<std::uint16_t> sample(4096, 0x1234);
  log.AddDmaWrite(0, sample);
  std::uint16_t value = 0;
  for (std::uint32_t t = 0; t < total; t += eventSpacing, ++value) {
    log.AddRegisterWrite(t, 0x1F801C04, value);
    if (value % 8 == 0) {
      log.AddRegisterWrite(t, 0x1F801C00 + 16u * (value % 24), 0x3FFF);
      log.AddRegisterWrite(t, 0x1F801D88, static_cast<std::uint16_t>(1u << (value % 16)));
    }
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("kestrel-bench-" + std::to_string(seconds) + "-" + std::to_string(eventSpacing) + ".spu"))
                               .string();
  if (const auto error = log.WriteFile(path, false)) throw std::runtime_error(*error);
  return path;
}

std::string TimingPluginPath() { return KESTREL_TIMING_PLUGIN; }

std::string BenchPluginPath(bool& isReference) {
  const std::string reference = std::string(KESTREL_RUNTIME_DIR) + "/plugins/libkestrel_spu.so";
  isReference = std::filesystem::exists(reference);
  return isReference ? reference : TimingPluginPath();
}

}  // namespace kestrel::bench
