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

}  // namespace kestrel::spu
