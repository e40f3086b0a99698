// How long the synthesizer takes to turn the demo scores into log bytes.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <variant>

#include "log_synth.h"
#include "score_parser.h"

namespace {

std::string ReadScore(const char* name) {
  std::ifstream in(std::string(KESTREL_DEMO_SCORES) + "/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void SynthesiseDemo(benchmark::State& state, const char* name) {
  const std::string text = ReadScore(name);
  double seconds = 0;
  for (auto _ : state) {
    auto parsed = kestrel::logsynth::ParseScore(text);
    auto built = kestrel::logsynth::SynthesiseLog(std::get<kestrel::logsynth::Score>(parsed), ".");
    const auto& log = std::get<kestrel::logsynth::SynthesisedLog>(built);
    benchmark::DoNotOptimize(log.writer.Bytes());
    seconds = log.totalLength / 44100.0;
  }
  state.counters["music_s"] = seconds;
}

void ParseOnly(benchmark::State& state) {
  const std::string text = ReadScore("night_drive.score");
  for (auto _ : state) benchmark::DoNotOptimize(kestrel::logsynth::ParseScore(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK_CAPTURE(SynthesiseDemo, night_drive, "night_drive.score")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SynthesiseDemo, harbour_lights_with_xa_and_cd, "harbour_lights.score")->Unit(benchmark::kMillisecond);
BENCHMARK(ParseOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
