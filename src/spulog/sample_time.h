#pragma once
// Times are unsigned 32-bit counts of samples. A time worked out in floating point (the
// tempo-scaled clock, a seek target) is brought into that range before it is converted,
// since a double beyond it has no integer value to convert to.

#include <cstdint>

namespace kestrel {

// Truncated toward zero; below 0 (and NaN) gives 0, beyond the range its last value.
constexpr std::uint32_t SampleTimeOf(double samples) {
  if (!(samples > 0.0)) return 0;
  if (samples >= static_cast<double>(UINT32_MAX)) return UINT32_MAX;
  return static_cast<std::uint32_t>(samples);
}

}  // namespace kestrel
