#pragma once
// The decoder's progress bar: 100 steps of 10 on a range of 0 to 1000.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrel {

struct DecodeProgress {
  int stepCounter = 0;
  int barPosition = 0;  // 0..1000
  std::string label = "0 %";
};

// After a chunk: steps the bar when the elapsed time is a whole second that has passed the
// next step's share of the limit. True when it stepped.
bool AdvanceDecodeProgress(DecodeProgress& progress, std::uint64_t elapsedMs, std::int64_t limitSeconds);

// "%3d %%" of a value.
std::string ProgressLabel(int value);

}  // namespace kestrel
