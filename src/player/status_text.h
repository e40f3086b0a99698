#pragma once
// The playing time as the status bar shows it.

#include <cstdint>
#include <string>

namespace kestrel {

// "Time : mm:ss.s / mm:ss.s" of a position and a total length in samples, the seconds cut
// (not rounded) to tenths.
std::string FormatPlayingTime(std::uint32_t position, std::uint32_t totalLength);

// The same while the position slider is dragged: the target, then the total length, the
// seconds rounded to tenths.
std::string FormatDragTime(std::uint32_t target, std::uint32_t totalLength);

}  // namespace kestrel
