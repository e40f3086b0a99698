#include "decoder/decode_progress.h"

#include <cstdio>

namespace kestrel {

bool AdvanceDecodeProgress(DecodeProgress& progress, std::uint64_t elapsedMs, std::int64_t limitSeconds) {
  if (elapsedMs % 1000 != 0 || progress.stepCounter >= 100) return false;
  const auto seconds = static_cast<std::int64_t>(elapsedMs / 1000);
  if (seconds * 10 <= limitSeconds * 10 / 100 * progress.stepCounter) return false;
  progress.barPosition += 10;
  progress.label = ProgressLabel(progress.stepCounter);
  ++progress.stepCounter;
  return true;
}

std::string ProgressLabel(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d %%", value);
  return text;
}

}  // namespace kestrel
