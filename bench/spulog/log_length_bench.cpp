// How fast the list's length reader is: plain logs should cost a seek and a read, gzip
// logs the inflation of the state image and little more. zlib's own inflate of the same
// bytes is measured beside it as the limit.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "abi/spu_registers.h"
#include "spulog/log_length.h"
#include "spulog/log_writer.h"

namespace {

constexpr int kLogsPerKind = 64;

// Logs whose sound RAM is half filled with sample-like noise, as real logs are, so the
// compressed ones are not just runs of zeros.
struct LogFolder {
  LogFolder() {
    folder = std::filesystem::temp_directory_path() / ("kestrel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<std::uint8_t> ram(kestrel::kSoundRamSize / 2);
    std::uint32_t s = 12345;
    for (auto& b : ram) b = static_cast<std::uint8_t>((s = s * 1103515245 + 12345) >> 24);
    for (int i = 0; i < kLogsPerKind; ++i) {
      kestrel::SpuLogWriter writer(i % 2 == 0 ? kestrel::LogFileType::New : kestrel::LogFileType::Old);
      writer.SetSoundRam(0x1000, ram);
      writer.SetTotalLength(44100 * 60);
      for (std::uint32_t t = 0; t < 2000; ++t) writer.AddRegisterWrite(t * 100, kestrel::spu_reg::VoiceVolumeLeft(0), 1);
      const std::string name = std::to_string(i);
      plain.push_back((folder / (name + ".spu")).string());
      packed.push_back((folder / (name + ".spu.gz")).string());
      (void)writer.WriteFile(plain.back(), false);
      (void)writer.WriteFile(packed.back(), true);
    }
  }
  ~LogFolder() { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
  std::vector<std::string> plain;
  std::vector<std::string> packed;
};

LogFolder& Logs() {
  static LogFolder logs;
  return logs;
}

void ReadLengths(benchmark::State& state, const std::vector<std::string>& paths) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kestrel::ReadLogLength(paths[i++ % paths.size()]));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_LengthOfPlainLog(benchmark::State& state) { ReadLengths(state, Logs().plain); }
void BM_LengthOfGzipLog(benchmark::State& state) { ReadLengths(state, Logs().packed); }

// The limit for a gzip log: inflating the bytes up to the length field, straight from memory.
void BM_ZlibInflateOfTheSameBytes(benchmark::State& state) {
  std::ifstream in(Logs().packed[0], std::ios::binary);
  const std::vector<unsigned char> packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<unsigned char> out(kestrel::kDiscriminatorOffset + 16);
  for (auto _ : state) {
    z_stream s{};
    inflateInit2(&s, 15 + 16);
    s.next_in = const_cast<unsigned char*>(packed.data());
    s.avail_in = static_cast<uInt>(packed.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    inflate(&s, Z_SYNC_FLUSH);
    benchmark::DoNotOptimize(out.data());
    inflateEnd(&s);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK(BM_LengthOfPlainLog);
BENCHMARK(BM_LengthOfGzipLog);
BENCHMARK(BM_ZlibInflateOfTheSameBytes);

}  // namespace

BENCHMARK_MAIN();
