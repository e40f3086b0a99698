// What users render: `kestrel-spu decode`'s path (our plugin, the decoder's event replay, the
// WAV file) over the demo logs and the stress log, pinned to one core, as × real time; then the
// cost of SPUrender in the decoder's 32-frame calls against 4,096-frame calls on the stress log.
//   spu_log_bench [--repeat N] [LOG...]
//   spu_log_bench --calls FRAMES
// With logs given, only those are decoded (N times, best kept) and the call-size comparison is
// left out; `--repeat 1 LOG` under callgrind counts the instructions of one decode. `--calls`
// only renders the stress log in calls of FRAMES, once: under callgrind, the call size's cost.

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "decoder/decode_job.h"
#include "decoder/decoder_events.h"
#include "decoder/wav_header.h"
#include "mixer/register_path.h"
#include "platform/message_port.h"
#include "plugin/bound_plugin.h"
#include "spulog/log_format.h"
#include "spulog/log_loader.h"

namespace kestrel::bench {
namespace {

namespace fs = std::filesystem;

const std::string kPlugin = std::string(KESTREL_RUNTIME_DIR) + "/plugins/libkestrel_spu.so";

// CPU time of this thread (user and kernel, so the WAV writes count): on a shared machine it
// leaves out the time others hold the core, which wall time would add.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The decode and the plugin's calls stay on the core they start on.
void PinToThisCore() {
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(std::max(sched_getcpu(), 0), &one);
  if (sched_setaffinity(0, sizeof one, &one) != 0) std::perror("sched_setaffinity");
}

struct DecodeFigure {
  double seconds = 0;       // the best run's CPU time
  double audioSeconds = 0;  // what the WAV file holds
};

DecodeFigure Decode(const std::string& log, int repeat) {
  const std::string wav = (fs::temp_directory_path() / ("kestrel-spu-bench-" + fs::path(log).stem().string() + ".wav")).string();
  DecodeRequest request;
  request.pluginPath = kPlugin;
  request.logPath = log;
  request.allowCompressed = true;
  request.outputPath = wav;
  DecodeFigure figure;
  for (int i = 0; i < repeat; ++i) {
    DecodeJob::Shared job;
    job.decoding = true;
    const double start = ThreadSeconds();
    const DecodeOutcome outcome = DecodeThread(job, request);
    const double seconds = ThreadSeconds() - start;
    if (outcome != DecodeOutcome::Succeeded) throw std::runtime_error("decoding " + log + " did not succeed");
    if (i == 0 || seconds < figure.seconds) figure.seconds = seconds;
  }
  figure.audioSeconds = static_cast<double>((fs::file_size(wav) - kWavHeaderSize) / 4) / kSampleRate;
  fs::remove(wav);
  return figure;
}

// The decoder's loop without the WAV file, in calls of `chunkFrames`: SPUrender, then the
// events up to the time reached. Returns the seconds the whole log took.
double RenderInCalls(const std::string& log, int chunkFrames) {
  BoundPlugin plugin;
  if (!plugin.Bind(kPlugin)) throw std::runtime_error("can't load " + kPlugin + ": " + plugin.Error());
  LoadResult loaded = LoadSpuLog(log);
  auto* ready = std::get_if<LoadedLog>(&loaded);
  if (ready == nullptr) throw std::runtime_error("can't load " + log);
  const SpuPluginApi& api = plugin.Api();
  plugin.Init();
  api.SPUfreeze(0, ready->block.get());
  LogEventReader reader(ready->file, ready->type);
  DecoderEventStream events(reader, ready->type, ready->oldFormatCount);
  const DecodingEvent& switches = TheRegisterPath().decodingEvent;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(chunkFrames) * 4);
  const double start = ThreadSeconds();
  for (std::uint32_t frames = 0; frames < ready->totalLength;) {
    api.SPUrender(buffer.data(), static_cast<int>(buffer.size()));
    frames += static_cast<std::uint32_t>(chunkFrames);
    ReplayDecoderEvents(events, api, switches, frames);
  }
  return ThreadSeconds() - start;
}

int Run(int argc, char** argv) {
  int repeat = 3;
  std::vector<std::string> logs;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--calls") == 0 && i + 1 < argc) {
      const int frames = std::clamp(std::atoi(argv[++i]), 1, 1 << 16);
      std::printf("SPUrender over %s in %d-frame calls: %.3f s\n", fs::path(KESTREL_STRESS_LOG).filename().c_str(),
                  frames, RenderInCalls(KESTREL_STRESS_LOG, frames));
      return 0;
    } else {
      logs.emplace_back(argv[i]);
    }
  }
  const bool compareCalls = logs.empty();
  if (logs.empty()) {
    for (const auto& entry : fs::directory_iterator(std::string(KESTREL_RUNTIME_DIR) + "/demo"))
      if (entry.is_regular_file()) logs.push_back(entry.path().string());
    std::sort(logs.begin(), logs.end());
    logs.emplace_back(KESTREL_STRESS_LOG);
  }
  PinToThisCore();
  // Each decode ends with a message: only the ones about a failure are worth a line.
  MessagePort::SetHandler([](const Message& message) {
    if (message.icon != MessageIcon::Information) std::fprintf(stderr, "%s\n", TerminalText(message).c_str());
    return MessageAnswer::Ok;
  });
  std::printf("kestrel-spu decode's path, one core, CPU time, best of %d:\n", repeat);
  for (const auto& log : logs) {
    const DecodeFigure figure = Decode(log, repeat);
    std::printf("  %-22s %6.1f s of audio in %6.3f s: %7.1f x real time\n", fs::path(log).filename().c_str(),
                figure.audioSeconds, figure.seconds, figure.audioSeconds / figure.seconds);
  }
  if (!compareCalls) return 0;
  double small = 0, large = 0;
  for (int i = 0; i < repeat; ++i) {
    const double s = RenderInCalls(KESTREL_STRESS_LOG, 32), l = RenderInCalls(KESTREL_STRESS_LOG, 4096);
    small = i == 0 ? s : std::min(small, s);
    large = i == 0 ? l : std::min(large, l);
  }
  std::printf("SPUrender over %s: 32-frame calls %.3f s, 4096-frame calls %.3f s, overhead %+.1f %%\n",
              fs::path(KESTREL_STRESS_LOG).filename().c_str(), small, large, 100.0 * (small - large) / large);
  return 0;
}

}  // namespace
}  // namespace kestrel::bench

int main(int argc, char** argv) {
  try {
    return kestrel::bench::Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "spu_log_bench: %s\n", error.what());
    return 1;
  }
}
