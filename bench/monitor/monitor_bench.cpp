// One analyzer frame from 24 voices whose envelopes move through attack, decay, sustain and
// release at different phases, with mixed mixer levels; the goal is under 50 us a frame.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "mixer/channel_mixer.h"
#include "monitor/level_analyzer.h"
#include "player/player_state.h"

namespace {

using kestrel::analyzer::kColumnCount;

// An envelope cycle of `period` frames: a fast attack, a decay to a sustain level, release.
std::uint16_t Envelope(int frame, int period, int phase) {
  const int t = (frame + phase) % period;
  const double x = static_cast<double>(t) / period;
  double level = 0;
  if (x < 0.05) {
    level = x / 0.05;
  } else if (x < 0.25) {
    level = 1.0 - 0.4 * (x - 0.05) / 0.2;
  } else if (x < 0.7) {
    level = 0.6;
  } else {
    level = 0.6 * std::exp(-8.0 * (x - 0.7));
  }
  return static_cast<std::uint16_t>(std::lround(level * 0x7FFF));
}

std::vector<kestrel::VoiceLevels> Frames() {
  std::vector<kestrel::VoiceLevels> frames(1024);
  for (int f = 0; f < static_cast<int>(frames.size()); ++f) {
    for (int c = 0; c < kColumnCount; ++c) {
      frames[f].envelope[c] = Envelope(f, 20 + 7 * c, 13 * c);
      frames[f].volume[c] = c % 5 == 4 ? 0 : 100 - 3 * c;  // some muted, the rest lowered
    }
  }
  return frames;
}

void ComposeLiveFrame(benchmark::State& state) {
  const std::vector<kestrel::VoiceLevels> frames = Frames();
  kestrel::LevelAnalyzer analyzer;
  const auto type = static_cast<kestrel::AnalyzerDrawType>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(analyzer.ComposeLive(frames[i++ % frames.size()], type, 0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ComposeLiveFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The whole refresh-tick work: reading the shared levels, composing, asking for more.
void RefreshTick(benchmark::State& state) {
  const std::vector<kestrel::VoiceLevels> frames = Frames();
  kestrel::PlayerState player;
  kestrel::ChannelMixer mixer;
  kestrel::LevelAnalyzer analyzer;
  std::size_t i = 0;
  for (auto _ : state) {
    const kestrel::VoiceLevels& levels = frames[i++ % frames.size()];
    for (int c = 0; c < kColumnCount; ++c) {  // what the player's sampling writes
      player.analyzerEnvelope[c].store(levels.envelope[c], std::memory_order_relaxed);
      mixer.level[c].store(levels.volume[c], std::memory_order_relaxed);
    }
    benchmark::DoNotOptimize(analyzer.RefreshTick(player, mixer, 0, 0));
  }
}
BENCHMARK(RefreshTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
