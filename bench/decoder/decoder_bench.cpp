// The decoder's share of time inside the plugin's SPUrender: a whole decode against the
// time SPUrender took. Uses the reference plugin when it is built, else the timing plugin
// with a stand-in amount of mixing work per frame.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "bench_logs.h"
#include "decoder/decode_job.h"
#include "plugin/dynamic_library.h"
#include "plugin/freeze_block.h"
#include "plugin/spu_plugin_api.h"

namespace kestrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

// 24 voices of interpolation and envelope, roughly, per frame.
constexpr int kStandInWorkPerFrame = 24 * 4;

double DirectRenderSeconds(const std::string& pluginPath, std::uint64_t chunks) {
  DynamicLibrary library = DynamicLibrary::Open(pluginPath);
  const SpuPluginApi api = BindSpuPluginApi(library);
  auto block = MakeFreezeBlock();
  api.SPUinit();
  api.SPUfreeze(0, block.get());
  std::uint8_t chunk[128];
  const auto start = Clock::now();
  for (std::uint64_t i = 0; i < chunks; ++i) api.SPUrender(chunk, 128);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  api.SPUshutdown();
  return seconds;
}

void DecoderRenderShare(benchmark::State& state) {
  bool reference = false;
  const std::string plugin = BenchPluginPath(reference);
  DynamicLibrary hold = DynamicLibrary::Open(plugin);
  const double seconds = 120;
  const std::string log = WriteBenchLog(seconds);
  const std::string out = log + ".wav";
  for (auto _ : state) {
    if (!reference) hold.Entry<void (*)(int)>("TimingPluginReset")(kStandInWorkPerFrame);
    DecodeRequest request;
    request.pluginPath = plugin;
    request.logPath = log;
    request.outputPath = out;
    DecodeJob::Shared job;
    job.decoding = true;
    const auto start = Clock::now();
    DecodeThread(job, request);
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    // The timing plugin times its own SPUrender; the reference plugin is timed by making
    // the same calls directly.
    const std::uint64_t chunks = (static_cast<std::uint64_t>(seconds) * 44100 + 1000) / 32 + 2;
    const double render = reference ? DirectRenderSeconds(plugin, chunks)
                                    : static_cast<double>(hold.Entry<std::int64_t (*)()>("TimingPluginRenderNs")()) * 1e-9;
    state.SetIterationTime(total);
    state.counters["render_share_percent"] = 100.0 * render / total;
    state.counters["reference_plugin"] = reference ? 1 : 0;
    state.counters["x_real_time"] = seconds / total;
    state.counters["outside_render_ns_per_chunk"] = (total - render) * 1e9 / static_cast<double>(chunks);
  }
  std::remove(out.c_str());
}
BENCHMARK(DecoderRenderShare)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel::bench

BENCHMARK_MAIN();
