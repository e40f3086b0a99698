// The player's own cost and timing, measured with a plugin that does nothing.
//   EngineOverhead: seconds of log per second of wall time with the limiter off.
//   LimiterCpu: the process's CPU use while a log plays in real time.
//   RealTimeTiming: how far the render position strays from the wall clock, and how late
//   each event reaches the plugin after it falls due (KESTREL_BENCH_SECONDS, default 60),
//   at priority 3 (normal) and 6 (time critical).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "bench_logs.h"
#include "plugin/dynamic_library.h"
#include "platform/thread_priority.h"
#include "player/player_thread.h"
#include "spulog/log_format.h"

namespace kestrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

class TimingPlugin {
 public:
  TimingPlugin() : library_(DynamicLibrary::Open(TimingPluginPath())) {}
  void Reset(int renderWork = 0) const { library_.Entry<void (*)(int)>("TimingPluginReset")(renderWork); }
  template <typename T>
  std::vector<T> Read(const char* count, const char* data) const {
    const std::size_t n = library_.Entry<std::size_t (*)()>(count)();
    const T* p = library_.Entry<const T* (*)()>(data)();
    return std::vector<T>(p, p + n);
  }
  std::int64_t Start() const { return library_.Entry<std::int64_t (*)()>("TimingPluginStart")(); }

 private:
  DynamicLibrary library_;
};

PlayerOutcome Play(const std::string& log, bool limiter, ThreadPriority priority = ThreadPriority::Normal) {
  static PlayerState state;
  state.limiter = limiter;
  state.playerPriority = priority;
  SetCurrentThreadPriority(priority);
  state.running = true;
  PlayerSetup setup;
  setup.pluginPath = TimingPluginPath();
  setup.logPath = log;
  return RunPlayer(state, setup);
}

void EngineOverhead(benchmark::State& state) {
  const double seconds = 600;
  const std::string log = WriteBenchLog(seconds);
  TimingPlugin plugin;
  for (auto _ : state) {
    plugin.Reset();
    const auto start = Clock::now();
    Play(log, false);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(wall);
    state.counters["log_s_per_wall_s"] = seconds / wall;
  }
}
BENCHMARK(EngineOverhead)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void LimiterCpu(benchmark::State& state) {
  const double seconds = 5;
  const std::string log = WriteBenchLog(seconds);
  TimingPlugin plugin;
  for (auto _ : state) {
    plugin.Reset();
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    Play(log, true);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(wall);
    state.counters["cpu_percent_of_a_core"] = 100.0 * (CpuSeconds() - cpuBefore) / wall;
  }
}
BENCHMARK(LimiterCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void RealTimeTiming(benchmark::State& state) {
  const char* env = std::getenv("KESTREL_BENCH_SECONDS");
  const double seconds = env != nullptr ? std::atof(env) : 60.0;
  constexpr std::uint32_t kSpacing = 441;  // an event every 10 ms
  const std::string log = WriteBenchLog(seconds, kSpacing);
  TimingPlugin plugin;
  for (auto _ : state) {
    plugin.Reset();
    Play(log, true, static_cast<ThreadPriority>(state.range(0)));
    SetCurrentThreadPriority(ThreadPriority::Normal);
    const std::int64_t start = plugin.Start();
    // Drift: rendered time against the wall clock at each SPUasync call (768 cycles a sample).
    const auto asyncNs = plugin.Read<std::int64_t>("TimingPluginAsyncCount", "TimingPluginAsyncNs");
    const auto cycles = plugin.Read<std::uint64_t>("TimingPluginAsyncCount", "TimingPluginAsyncCycles");
    std::vector<double> drift;
    for (std::size_t i = 0; i < asyncNs.size(); ++i) {
      const double renderedMs = static_cast<double>(cycles[i]) / 768.0 / kSampleRate * 1000.0;
      const double wallMs = static_cast<double>(asyncNs[i] - start) / 1e6;
      drift.push_back(std::abs(renderedMs - wallMs));
    }
    // Lateness: arrival against the moment the event fell due.
    const auto eventNs = plugin.Read<std::int64_t>("TimingPluginEventCount", "TimingPluginEventNs");
    const auto values = plugin.Read<std::uint16_t>("TimingPluginEventCount", "TimingPluginEventValues");
    std::vector<double> late;
    for (std::size_t i = 0; i < eventNs.size(); ++i) {
      const double dueMs = static_cast<double>(values[i]) * kSpacing / kSampleRate * 1000.0;
      late.push_back(static_cast<double>(eventNs[i] - start) / 1e6 - dueMs);
    }
    state.SetIterationTime(seconds);
    state.counters["drift_ms_p50"] = Percentile(drift, 0.5);
    state.counters["drift_ms_p99"] = Percentile(drift, 0.99);
    state.counters["drift_ms_max"] = Percentile(drift, 1.0);
    state.counters["late_ms_p50"] = Percentile(late, 0.5);
    state.counters["late_ms_p99"] = Percentile(late, 0.99);
    state.counters["late_ms_max"] = Percentile(late, 1.0);
    state.counters["events"] = static_cast<double>(late.size());
  }
}
// At the default priority and at the highest the player offers (SCHED_FIFO when allowed).
BENCHMARK(RealTimeTiming)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("priority")
    ->Arg(static_cast<int>(ThreadPriority::Normal))
    ->Arg(static_cast<int>(ThreadPriority::TimeCritical));

}  // namespace
}  // namespace kestrel::bench

BENCHMARK_MAIN();
