// Render speed of the SPU core alone (no plugin, log or WAV file) in the decoder's 32-frame steps,
// with 1, 8 and 24 looping voices (24 with reverb): how its cost grows with the voices. What users
// render is timed by spu_log_bench.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "busy_spu.h"
#include "spu/audio_output.h"
#include "spu/spu_state.h"

namespace {
using kestrel::spu::Spu;

constexpr int kFramesPerSecond = 44100;
constexpr int kStep = 32;

void BM_RenderOneSecond(benchmark::State& state) {
  Spu spu;
  kestrel::spu::bench::MakeBusy(spu, static_cast<int>(state.range(0)), state.range(1) != 0);
  std::int16_t buffer[2 * kStep];
  for (auto _ : state) {
    for (int done = 0; done < kFramesPerSecond; done += kStep) spu.render(buffer, kStep);
    benchmark::DoNotOptimize(buffer);
  }
  // Seconds of audio per second of CPU time.
  state.counters["x_realtime"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderOneSecond)
    ->ArgNames({"voices", "reverb"})
    ->Args({1, 0})
    ->Args({8, 0})
    ->Args({24, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  std::printf("SPU state: %zu bytes; output ring: %zu bytes\n", sizeof(kestrel::spu::SpuState),
              sizeof(kestrel::spu::AudioOutput));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
