#pragma once
// The sound an instrument plays: synthesised or read from a WAV file, ready to encode.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "score.h"
#include "score_error.h"

namespace kestrel::logsynth {

struct InstrumentSample {
  std::vector<std::int16_t> pcm;
  int loopStart = -1;       // first sample of the loop, or -1 for a one-shot
  double sampleRate = 44100;
  double recordedHz = 0;    // the tone `pcm` sounds at its own rate
};

// Tones are one band-limited cycle of this many samples, repeated: a whole number of
// 28-sample ADPCM blocks, so that the loop starts and ends on a block.
inline constexpr int kCycleLength = 112;

// WAV paths are taken relative to `scoreFolder`.
std::variant<InstrumentSample, ScoreError> MakeInstrumentSample(const Instrument& instrument,
                                                                const std::string& scoreFolder);

}  // namespace kestrel::logsynth
