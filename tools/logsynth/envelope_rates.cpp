#include "envelope_rates.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "abi/spu_registers.h"

namespace kestrel::logsynth {
namespace {

constexpr double kSamplesPerMs = 44.1;
constexpr double kFullLevel = 32767.0;
constexpr double kSixtyDecibels = 6.907755;  // ln(1000)

// Level change per sample of a linear phase: the step (7 - s, or 8 for the fixed decay and
// release step) shifted left by 11 - shift, or applied once every 2^(shift - 11) samples.
double LinearRate(int shift, int stepMagnitude) {
  return stepMagnitude * std::ldexp(1.0, 11 - shift);
}

// An exponential decrease scales the step by level / 0x8000, so the level decays with this
// time constant (per sample).
double ExponentialDecayConstant(int shift, int stepMagnitude) {
  return LinearRate(shift, stepMagnitude) / 32768.0;
}

double SustainLevel(int field) { return (field + 1) * 2048.0; }

// The candidate whose duration is closest to `wanted` on a log scale.
template <typename Duration>
int Closest(int count, double wanted, Duration duration) {
  int best = 0;
  double bestError = std::numeric_limits<double>::max();
  const double target = std::max(wanted, 0.5);
  for (int i = 0; i < count; ++i) {
    const double error = std::abs(std::log(std::max(duration(i), 0.5) / target));
    if (error < bestError) {
      bestError = error;
      best = i;
    }
  }
  return best;
}

}  // namespace

Envelope EnvelopeFromTimes(const EnvelopeTimes& times) {
  // Attack: linear, rate = shift * 4 + step. Rate 0x7F never steps, so it is left out.
  const int attack = Closest(127, times.attackMs * kSamplesPerMs, [](int rate) {
    return kFullLevel / LinearRate(rate >> 2, 7 - (rate & 3));
  });
  const int sustainField = std::clamp(
      static_cast<int>(std::lround(times.sustainPercent * 16.0 / 100.0)) - 1, 0, 15);
  const double sustainLevel = SustainLevel(sustainField);
  // Decay: exponential, step -8, shift 0..15. Its first step comes before the level is
  // compared with the sustain level, so a full sustain takes the slowest decay, which
  // barely moves the level.
  const int decay = sustainField == 15 ? 15 : Closest(16, times.decayMs * kSamplesPerMs, [&](int shift) {
    return std::log(kFullLevel / sustainLevel) / ExponentialDecayConstant(shift, 8);
  });
  // Release: exponential, step -8, shift 0..30 (0x1F never steps).
  const int release = Closest(31, times.releaseMs * kSamplesPerMs, [](int shift) {
    return kSixtyDecibels / ExponentialDecayConstant(shift, 8);
  });

  // Linear attack; exponential release.
  spu_reg::AdsrBits bits;
  if (times.fadeMs) {
    // Exponential decrease, step -8 + s, to -60 dB.
    const int rate = Closest(127, *times.fadeMs * kSamplesPerMs, [](int r) {
      return kSixtyDecibels / ExponentialDecayConstant(r >> 2, 8 - (r & 3));
    });
    bits = spu_reg::AdsrBits::Make(false, attack, decay, sustainField, true, true, rate, true, release);
  } else {
    // Rate 0x7F with increase: the level never steps, so the note holds.
    bits = spu_reg::AdsrBits::Make(false, attack, decay, sustainField, false, false, 0x7F, true, release);
  }
  Envelope envelope;
  envelope.adsr1 = bits.low();
  envelope.adsr2 = bits.high();
  return envelope;
}

EnvelopeDurations DurationsOf(const Envelope& envelope) {
  const spu_reg::AdsrBits bits = spu_reg::AdsrBits{}.withLow(envelope.adsr1).withHigh(envelope.adsr2);
  const int attackRate = bits.attackRate();
  const int decayShift = bits.decayShift();
  const double sustainLevel = SustainLevel(bits.sustainLevelField());
  const int releaseShift = bits.releaseShift();
  EnvelopeDurations d;
  d.attack = kFullLevel / LinearRate(attackRate >> 2, 7 - (attackRate & 3));
  d.decay = std::log(kFullLevel / sustainLevel) / ExponentialDecayConstant(decayShift, 8);
  d.release = kSixtyDecibels / ExponentialDecayConstant(releaseShift, 8);
  return d;
}

}  // namespace kestrel::logsynth
