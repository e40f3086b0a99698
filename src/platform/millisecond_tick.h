#pragma once
// The millisecond tick and sleep the player paces itself by.

#include <cstdint>

namespace kestrel {

// Milliseconds of a monotonic clock as an unsigned 32-bit count: differences are taken
// modulo 2^32, so they stay right across the wrap.
std::uint32_t MillisecondTick();
void SleepMilliseconds(std::uint32_t milliseconds);

}  // namespace kestrel
