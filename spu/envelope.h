#pragma once
// The SPU's envelope stepper, shared by the ADSR generator and the volume sweeps
// (psx-spx, "Envelope Operation depending on Shift/Step/Mode/Direction").

#include <algorithm>
#include <cstdint>

namespace kestrel::spu {

// One phase's settings, worked out once when the phase starts.
struct EnvelopeRate {
  int step = 0;              // signed level change per step, before the exponential adjustments
  int counterIncrement = 0;  // added every 44.1 kHz tick; a step happens when bit 15 is reached
  int shift = 0;
  bool exponential = false;
  bool decreasing = false;
  bool phaseNegative = false;

  // shift 0..31 (fast..slow), stepValue 0..3 ("+7,+6,+5,+4" or "-8,-7,-6,-5").
  static EnvelopeRate Make(int shift, int stepValue, bool exponential, bool decreasing, bool phaseNegative = false);
};

// A level in -8000h..+7FFFh and its step counter.
struct Envelope {
  int level = 0;
  int counter = 0;

  void reset(int startLevel = 0) {
    level = startLevel;
    counter = 0;
  }
  // One 44.1 kHz tick (inline: it runs for every voice on every sample).
  void tick(const EnvelopeRate& rate);
};

inline void Envelope::tick(const EnvelopeRate& rate) {
  int step = rate.step;
  int increment = rate.counterIncrement;
  if (rate.exponential && !rate.decreasing && level > 0x6000) {
    // "Exponential" increase is only a slower linear rise above 6000h.
    if (rate.shift < 10) {
      step >>= 2;
    } else if (rate.shift >= 11) {
      increment >>= 2;
    } else {
      step >>= 1;
      increment >>= 1;
    }
  } else if (rate.exponential && rate.decreasing) {
    step = (step * level) >> 15;
  }

  counter += increment;
  if (!(counter & 0x8000)) return;
  counter = 0;

  level += step;
  if (!rate.decreasing) {
    level = std::clamp(level, -0x8000, 0x7FFF);
  } else if (rate.phaseNegative) {
    level = std::clamp(level, -0x8000, 0);
  } else {
    level = std::max(level, 0);
  }
}

}  // namespace kestrel::spu
