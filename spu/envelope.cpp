#include "spu/envelope.h"

#include <algorithm>

namespace kestrel::spu {

EnvelopeRate EnvelopeRate::Make(int shift, int stepValue, bool exponential, bool decreasing, bool phaseNegative) {
  EnvelopeRate rate;
  rate.exponential = exponential;
  rate.decreasing = decreasing;
  rate.phaseNegative = phaseNegative;
  rate.shift = shift;
  int step = 7 - stepValue;
  if (decreasing != phaseNegative) step = ~step;  // +7,+6,+5,+4 become -8,-7,-6,-5
  rate.step = step * (1 << std::max(0, 11 - shift));
  rate.counterIncrement = 0x8000 >> std::max(0, shift - 11);
  // The all-ones rate never steps; every other rate steps at least once per 32768 ticks.
  if ((stepValue | (shift << 2)) != 0x7F) rate.counterIncrement = std::max(rate.counterIncrement, 1);
  return rate;
}

void Envelope::tick(const EnvelopeRate& rate) {
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
