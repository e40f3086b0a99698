#include "spu/cd_input.h"

#include <cstring>

namespace kestrel::spu {
namespace {

constexpr int kOutputRate = 44100;

std::int16_t ReadS16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | (p[1] << 8)); }
std::int32_t ReadS32(const std::uint8_t* p) {
  std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
  return static_cast<std::int32_t>(v);
}

std::int16_t Lerp(int a, int b, std::uint32_t fraction) {
  return static_cast<std::int16_t>(a + (((b - a) * static_cast<int>(fraction >> 1)) >> 15));
}

}  // namespace

std::size_t CdInput::pushCdda(const std::uint8_t* pcm, std::size_t bytes) {
  std::size_t queued = 0;
  for (std::size_t i = 0; i + 4 <= bytes; i += 4)
    queued += push({ReadS16(pcm + i), ReadS16(pcm + i + 2)}) ? 1 : 0;
  return queued;
}

std::size_t CdInput::pushXa(const std::uint8_t* block) {
  const std::int32_t frequency = ReadS32(block);
  const bool stereo = ReadS32(block + 8) != 0;
  const std::int32_t count = ReadS32(block + 12);
  const int channels = stereo ? 2 : 1;
  // The header comes from a log: the sample count is bounded by division, never by a product
  // that a huge count could overflow.
  if (frequency < 1000 || frequency > 4 * kOutputRate || count <= 0 || count > kXaMaxSamples / channels) return 0;
  const std::uint8_t* samples = block + 32;

  auto frameAt = [&](std::int32_t i) -> StereoFrame {
    if (i < 0) return lastXaFrame;
    const std::int16_t left = ReadS16(samples + 2 * (i * channels));
    return {left, stereo ? ReadS16(samples + 2 * (i * channels + 1)) : left};
  };

  // Linear interpolation from the block's rate to 44.1 kHz; the position carries into the next block.
  const std::uint32_t step = static_cast<std::uint32_t>((std::uint64_t{static_cast<std::uint32_t>(frequency)} << 16) / kOutputRate);
  const std::uint64_t end = std::uint64_t{static_cast<std::uint32_t>(count)} << 16;
  std::uint64_t position = xaPhase;
  std::size_t queued = 0;
  for (; position < end; position += step) {
    const auto index = static_cast<std::int32_t>(position >> 16);
    const auto fraction = static_cast<std::uint32_t>(position & 0xFFFF);
    const StereoFrame a = frameAt(index - 1), b = frameAt(index);
    queued += push({Lerp(a.left, b.left, fraction), Lerp(a.right, b.right, fraction)}) ? 1 : 0;
  }
  xaPhase = static_cast<std::uint32_t>(position - end);
  lastXaFrame = frameAt(count - 1);
  return queued;
}

}  // namespace kestrel::spu
