#include "spu/plugin_instance.h"

#include <algorithm>
#include <cstring>

namespace kestrel::spu {
namespace {
constexpr int kChunkFrames = 256;
}

void PluginInstance::advance(unsigned long cycles) {
  // Divided before adding, so that no count of cycles a host passes can wrap the sum.
  const unsigned long rest = cycleRemainder_ + cycles % kCyclesPerSample;
  unsigned long frames = cycles / kCyclesPerSample + rest / kCyclesPerSample;
  cycleRemainder_ = rest % kCyclesPerSample;
  scratch_.resize(2 * kChunkFrames);
  while (frames > 0) {
    const int chunk = static_cast<int>(std::min<unsigned long>(frames, kChunkFrames));
    spu_.render(scratch_.data(), chunk);
    output_.write(scratch_.data(), static_cast<std::size_t>(chunk));
    frames -= static_cast<unsigned long>(chunk);
  }
}

void PluginInstance::renderInto(void* out, int frames) {
  auto* bytes = static_cast<std::uint8_t*>(out);
  scratch_.resize(2 * kChunkFrames);
  while (frames > 0) {
    const int chunk = std::min(frames, kChunkFrames);
    spu_.render(scratch_.data(), chunk);
    std::memcpy(bytes, scratch_.data(), static_cast<std::size_t>(chunk) * 4);
    bytes += static_cast<std::size_t>(chunk) * 4;
    frames -= chunk;
  }
}

void PluginInstance::renderStemsInto(void* out, std::int16_t* tracks, int frames) {
  scratch_.resize(2 * static_cast<std::size_t>(frames));
  spu_.renderStems(scratch_.data(), tracks, frames);
  std::memcpy(out, scratch_.data(), static_cast<std::size_t>(frames) * 4);
}

std::unique_ptr<PluginInstance>& CurrentInstance() {
  static std::unique_ptr<PluginInstance> instance;
  return instance;
}

}  // namespace kestrel::spu
