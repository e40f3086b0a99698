#include "bench_logs.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <vector>

#include "abi/spu_registers.h"
#include "spulog/log_format.h"
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
    log.AddRegisterWrite(t, spu_reg::VoicePitch(0), value);
    if (value % 8 == 0) {
      log.AddRegisterWrite(t, spu_reg::VoiceVolumeLeft(value % 24), 0x3FFF);
      log.AddRegisterWrite(t, spu_reg::kKeyOnLow, static_cast<std::uint16_t>(1u << (value % 16)));
    }
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("kestrel-bench-" + std::to_string(seconds) + "-" + std::to_string(eventSpacing) + ".spu"))
                               .string();
  if (const auto error = log.WriteFile(path, false)) throw std::runtime_error(*error);
  return path;
}

void WriteScanFolder(const std::string& folder, int count) {
  std::filesystem::create_directories(folder);
  SpuLogWriter writer(LogFileType::New);
  // Sound RAM full of sample-like noise, so that a gzip log inflates like a real one.
  std::vector<std::uint8_t> ram(kSoundRamSize);
  std::mt19937 random(7);
  for (auto& byte : ram) byte = static_cast<std::uint8_t>(random());
  writer.SetSoundRam(0, ram);
  writer.AddRegisterWrite(0, spu_reg::kMainVolumeLeft, 0x3FFF);
  std::vector<std::uint8_t> bytes = writer.Bytes();
  const auto tail = static_cast<std::size_t>(kDiscriminatorOffset);
  for (int i = 0; i < count; ++i) {
    const std::uint32_t length = kSampleRate * static_cast<std::uint32_t>(30 + i % 300);
    std::memcpy(bytes.data() + tail, &length, sizeof length);
    char name[64];
    std::snprintf(name, sizeof name, i % 4 == 0 ? "/log%04d.spu.gz" : "/log%04d.spu", i);
    const std::string path = folder + name;
    if (i % 4 == 0) {
      gzFile out = ::gzopen(path.c_str(), "wb1");
      if (!out) throw std::runtime_error("can't write " + path);
      ::gzwrite(out, bytes.data(), static_cast<unsigned>(bytes.size()));
      ::gzclose(out);
    } else {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0) throw std::runtime_error("can't write " + path);
      const auto written = ::pwrite(fd, bytes.data() + tail, bytes.size() - tail, static_cast<off_t>(tail));
      ::close(fd);
      if (written != static_cast<ssize_t>(bytes.size() - tail)) throw std::runtime_error("can't write " + path);
    }
  }
}

std::string TimingPluginPath() { return KESTREL_TIMING_PLUGIN; }

std::string BenchPluginPath(bool& isReference) {
  const std::string reference = std::string(KESTREL_RUNTIME_DIR) + "/plugins/libkestrel_spu.so";
  isReference = std::filesystem::exists(reference);
  return isReference ? reference : TimingPluginPath();
}

}  // namespace kestrel::bench
