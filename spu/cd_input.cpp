#include "spu/cd_input.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "spu/le16.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestrel::spu {
namespace {

constexpr int kOutputRate = 44100;
constexpr int kXaFullRate = 37800, kXaHalfRate = 18900;

// The CD controller's XA resampling from 37,800 to 44,100 Hz: for every six samples in, seven out,
// each a 29-point filter over the ring of the newest samples, newest first (psx-spx, "CDROM Format",
// CDROM XA Audio ADPCM Compression: 25-point Zigzag Interpolation, Table1..Table7).
constexpr std::array<std::array<std::int16_t, 29>, 7> kZigzag = {{
    {0x0000, 0x0000, 0x0000, 0x0000, 0x0000, -0x0002, 0x000A, -0x0022, 0x0041, -0x0054,
     0x0034, 0x0009, -0x010A, 0x0400, -0x0A78, 0x234C, 0x6794, -0x1780, 0x0BCD, -0x0623,
     0x0350, -0x016D, 0x006B, 0x000A, -0x0010, 0x0011, -0x0008, 0x0003, -0x0001},
    {0x0000, 0x0000, 0x0000, -0x0002, 0x0000, 0x0003, -0x0013, 0x003C, -0x004B, 0x00A2,
     -0x00E3, 0x0132, -0x0043, -0x0267, 0x0C9D, 0x74BB, -0x11B4, 0x09B8, -0x05BF, 0x0372,
     -0x01A8, 0x00A6, -0x001B, 0x0005, 0x0006, -0x0008, 0x0003, -0x0001, 0x0000},
    {0x0000, 0x0000, -0x0001, 0x0003, -0x0002, -0x0005, 0x001F, -0x004A, 0x00B3, -0x0192,
     0x02B1, -0x039E, 0x04F8, -0x05A6, 0x7939, -0x05A6, 0x04F8, -0x039E, 0x02B1, -0x0192,
     0x00B3, -0x004A, 0x001F, -0x0005, -0x0002, 0x0003, -0x0001, 0x0000, 0x0000},
    {0x0000, -0x0001, 0x0003, -0x0008, 0x0006, 0x0005, -0x001B, 0x00A6, -0x01A8, 0x0372,
     -0x05BF, 0x09B8, -0x11B4, 0x74BB, 0x0C9D, -0x0267, -0x0043, 0x0132, -0x00E3, 0x00A2,
     -0x004B, 0x003C, -0x0013, 0x0003, 0x0000, -0x0002, 0x0000, 0x0000, 0x0000},
    {-0x0001, 0x0003, -0x0008, 0x0011, -0x0010, 0x000A, 0x006B, -0x016D, 0x0350, -0x0623,
     0x0BCD, -0x1780, 0x6794, 0x234C, -0x0A78, 0x0400, -0x010A, 0x0009, 0x0034, -0x0054,
     0x0041, -0x0022, 0x000A, -0x0001, 0x0000, 0x0001, 0x0000, 0x0000, 0x0000},
    {0x0002, -0x0008, 0x0010, -0x0023, 0x002B, 0x001A, -0x00EB, 0x027B, -0x0548, 0x0AFA,
     -0x16FA, 0x53E0, 0x3C07, -0x1249, 0x080E, -0x0347, 0x015B, -0x0044, -0x0017, 0x0046,
     -0x0023, 0x0011, -0x0005, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {-0x0005, 0x0011, -0x0023, 0x0046, -0x0017, -0x0044, 0x015B, -0x0347, 0x080E, -0x1249,
     0x3C07, 0x53E0, -0x16FA, 0x0AFA, -0x0548, 0x027B, -0x00EB, 0x001A, 0x002B, -0x0023,
     0x0010, -0x0008, 0x0002, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
}};

// The tables oldest tap first, padded with zero taps to 32, to run along the ring's mirrored copy.
using ZigzagKernel = std::array<std::int16_t, 32>;
constexpr std::array<ZigzagKernel, 7> kZigzagOldestFirst = [] {
  std::array<ZigzagKernel, 7> kernels{};
  for (std::size_t t = 0; t < kZigzag.size(); ++t)
    for (std::size_t i = 0; i < 29; ++i) kernels[t][28 - i] = kZigzag[t][i];
  return kernels;
}();

// `oldest` is the 29th newest sample, the newest 28 follow it. Each product is divided by 8000h on its
// own, rounding towards zero, before the sum.
std::int16_t ZigzagInterpolate(const std::int16_t* oldest, const ZigzagKernel& kernel) {
  int sum = 0;
#if defined(__SSE2__)
  const __m128i roundUp = _mm_set1_epi32(0x7FFF);
  __m128i sums = _mm_setzero_si128();
  const auto addQuotients = [&](__m128i products) {  // (p + (p < 0 ? 7FFFh : 0)) >> 15
    const __m128i toZero = _mm_and_si128(_mm_srai_epi32(products, 31), roundUp);
    sums = _mm_add_epi32(sums, _mm_srai_epi32(_mm_add_epi32(products, toZero), 15));
  };
  for (int i = 0; i < 32; i += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(oldest + i));
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kernel.data() + i));
    const __m128i low = _mm_mullo_epi16(x, t), high = _mm_mulhi_epi16(x, t);
    addQuotients(_mm_unpacklo_epi16(low, high));
    addQuotients(_mm_unpackhi_epi16(low, high));
  }
  sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
  sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
  sum = _mm_cvtsi128_si32(sums);
#else
  for (int i = 0; i < 29; ++i) sum += oldest[i] * kernel[i] / 0x8000;
#endif
  return static_cast<std::int16_t>(std::clamp(sum, -0x8000, 0x7FFF));
}

std::int16_t ReadS16(const std::uint8_t* p) { return static_cast<std::int16_t>(LoadLe16(p)); }
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

std::size_t CdInput::pushZigzag(StereoFrame frame) {
  const int slot = xaRingPosition & 31;
  xaRing[0][slot] = xaRing[0][slot + 32] = frame.left;
  xaRing[1][slot] = xaRing[1][slot + 32] = frame.right;
  xaRingPosition = static_cast<std::uint8_t>((xaRingPosition + 1) & 31);
  if (--xaSixStep != 0) return 0;
  xaSixStep = 6;
  // The newest sample is at xaRingPosition - 1 + 32 in the second copy.
  const std::int16_t* left = xaRing[0].data() + xaRingPosition + 32 - 29;
  const std::int16_t* right = xaRing[1].data() + xaRingPosition + 32 - 29;
  std::size_t queued = 0;
  for (const auto& kernel : kZigzagOldestFirst)
    queued += push({ZigzagInterpolate(left, kernel), ZigzagInterpolate(right, kernel)}) ? 1 : 0;
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

  if (frequency == kXaFullRate || frequency == kXaHalfRate) {
    // 18,900 Hz reaches the filter with every sample twice (psx-spx gives no tables of its own).
    const int repeat = frequency == kXaHalfRate ? 2 : 1;
    std::size_t queued = 0;
    for (std::int32_t i = 0; i < count; ++i)
      for (int r = 0; r < repeat; ++r) queued += pushZigzag(frameAt(i));
    return queued;
  }

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
