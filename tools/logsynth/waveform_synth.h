#pragma once
// Synthesised sounds: band-limited single cycles for tones, and one-shot drums.

#include <cstdint>
#include <vector>

#include "score.h"

namespace kestrel::logsynth {

// One period of a tonal waveform (Sine, Square, Saw, Triangle) in `length` samples, peak
// near 0.9 of full scale, with harmonics above `harmonics` left out so that it stays clean
// when played several octaves up.
std::vector<std::int16_t> SynthesiseCycle(Waveform waveform, int length, int harmonics);

// A one-shot (Noise, Kick, Snare, Hat) at 44,100 Hz; `seconds` 0 takes the sound's own length.
// The same sound every time: the noise comes from a fixed seed.
std::vector<std::int16_t> SynthesiseOneShot(Waveform waveform, double seconds);

bool IsTonal(Waveform waveform);

}  // namespace kestrel::logsynth
