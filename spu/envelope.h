#pragma once
// The SPU's envelope stepper, shared by the ADSR generator and the volume sweeps
// (psx-spx, "Envelope Operation depending on Shift/Step/Mode/Direction").

#include <algorithm>
#include <bit>
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

// A level in -8000h..+7FFFh and its step counter. Between ticks the counter stays below 8000h: it is
// cleared at every step, and an increment is at most 8000h.
struct Envelope {
  int level = 0;
  int counter = 0;

  void reset(int startLevel = 0) {
    level = startLevel;
    counter = 0;
  }
  // The next tick steps (unless the rate never steps).
  void primeStep() { counter = 0x7FFF; }
  // One 44.1 kHz tick (inline: it runs for every voice on every sample).
  void tick(const EnvelopeRate& rate);
  // The step that ends a quiet stretch: the level moves and the counter starts again from zero.
  void step(const EnvelopeRate& rate);
  // The ticks from one step to the next while the increment holds (a power of two, not zero).
  int period(const EnvelopeRate& rate) const { return 0x8000 >> std::countr_zero(static_cast<unsigned>(counterIncrement(rate))); }
  // Whether the increment can change between steps: the exponential rise slows above 6000h.
  static bool steadyIncrement(const EnvelopeRate& rate) { return !rate.exponential || rate.decreasing; }

  // Until the next step the level stays put and the increment with it, so a run of ticks without a
  // step is a single addition: the renderers skip such runs instead of ticking through them.
  int ticksBeforeStep(const EnvelopeRate& rate) const {
    const int increment = counterIncrement(rate);
    const int room = 0x7FFF - counter;
    if (room < increment) return 0;
    // Every increment is a power of two, so the division is a shift.
    return increment == 0 ? kNeverSteps : room >> std::countr_zero(static_cast<unsigned>(increment));
  }
  // `ticks` at most ticksBeforeStep(rate).
  void skipTicks(const EnvelopeRate& rate, int ticks) { counter += ticks * counterIncrement(rate); }

  static constexpr int kNeverSteps = 1 << 30;

 private:
  bool slowedRise(const EnvelopeRate& rate) const { return rate.exponential && !rate.decreasing && level > 0x6000; }
  int counterIncrement(const EnvelopeRate& rate) const;
};

inline int Envelope::counterIncrement(const EnvelopeRate& rate) const {
  // "Exponential" increase is only a slower linear rise above 6000h: from shift 11 on by a slower counter.
  if (!slowedRise(rate) || rate.shift < 10) return rate.counterIncrement;
  return rate.counterIncrement >> (rate.shift >= 11 ? 2 : 1);
}

inline void Envelope::tick(const EnvelopeRate& rate) {
  counter += counterIncrement(rate);
  if (counter & 0x8000) step(rate);
}

inline void Envelope::step(const EnvelopeRate& rate) {
  counter = 0;
  int step = rate.step;
  if (slowedRise(rate)) {
    if (rate.shift < 10) step >>= 2;
    else if (rate.shift == 10) step >>= 1;
  } else if (rate.exponential && rate.decreasing) {
    step = (step * level) >> 15;
  }
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
