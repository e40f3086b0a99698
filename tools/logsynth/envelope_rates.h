#pragma once
// Turns envelope times in milliseconds into the SPU's ADSR register fields.

#include <cstdint>
#include <optional>

#include "score.h"

namespace kestrel::logsynth {

struct EnvelopeTimes {
  double attackMs = 5.0;
  double decayMs = 150.0;      // from full level down to the sustain level
  int sustainPercent = 80;     // of full level
  std::optional<double> fadeMs;  // sustain fades out over this time; held when absent
  double releaseMs = 200.0;    // after key off, down to about -60 dB
};

Envelope EnvelopeFromTimes(const EnvelopeTimes& times);

// The duration each phase of `envelope` takes, in samples at 44,100 Hz, by the rates the
// hardware documents: the attack to full level, the decay to the sustain level, the release
// from the sustain level to -60 dB.
struct EnvelopeDurations {
  double attack = 0;
  double decay = 0;
  double release = 0;
};
EnvelopeDurations DurationsOf(const Envelope& envelope);

}  // namespace kestrel::logsynth
