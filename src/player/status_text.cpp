#include "player/status_text.h"

#include <cstdio>

#include "spulog/log_format.h"

namespace kestrel {
namespace {

unsigned long Minutes(std::uint32_t samples) { return samples / kSamplesPerMinute; }
double Seconds(std::uint32_t samples) {
  return static_cast<double>(static_cast<std::uint64_t>(samples % kSamplesPerMinute) * 10 / kSampleRate) * 0.1;
}

double ExactSeconds(std::uint32_t samples) {
  return static_cast<double>(samples % kSamplesPerMinute) / kSampleRate;
}

}  // namespace

std::string FormatPlayingTime(std::uint32_t position, std::uint32_t totalLength) {
  char text[64];
  std::snprintf(text, sizeof text, "Time : %02lu:%04.1f / %02lu:%04.1f", Minutes(position), Seconds(position),
                Minutes(totalLength), Seconds(totalLength));
  return text;
}

std::string FormatDragTime(std::uint32_t target, std::uint32_t totalLength) {
  char text[64];
  std::snprintf(text, sizeof text, "Time : %02d:%04.1f / %02d:%04.1f", static_cast<int>(Minutes(target)),
                ExactSeconds(target), static_cast<int>(Minutes(totalLength)), ExactSeconds(totalLength));
  return text;
}

}  // namespace kestrel
