#pragma once
// The reverb's half-band filter (kReverbFir) over a batch of ticks at once, as vertical sums: each
// vector lane is one output, so a product is formed once and no lanes are summed across. The plain
// and SSE2 forms give the same integers; tests/spu/sample_math_test.cpp holds them to each other.

#include <array>
#include <cstdint>

#include "spu/tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestrel::spu {

static_assert(kReverbFirCentre == 19 && kReverbFir.size() == 39);
// How far before the newest sample the run forms read.
inline constexpr int kHalfBandDownReach = 39;
inline constexpr int kHalfBandUpReach = 19;

// Down to 22,050 Hz, at one side's ticks (every other sample): out[j] is the filter over the 39
// samples up to newest[2 * j], shifted down by 15. Reads from newest - 39 on.
inline void HalfBandDownRunPlain(const std::int16_t* newest, int count, int* out) {
  for (int j = 0; j < count; ++j) {
    int sum = 0;
    for (int k = 0; k < static_cast<int>(kReverbFir.size()); ++k) sum += kReverbFir[k] * newest[2 * j - 38 + k];
    out[j] = sum >> 15;
  }
}

// Up to 44,100 Hz, the even output phase of zero-stuffed wet samples: only the even taps meet
// samples, tap 2t the sample 19 - t back. out[j] is their sum up to newest[j], shifted down by 14
// (doubled for the stuffed zeros). Reads from newest - 19 on.
inline void HalfBandUpRunPlain(const std::int16_t* newest, int count, int* out) {
  for (int j = 0; j < count; ++j) {
    int sum = 0;
    for (int t = 0; t < 20; ++t) sum += kReverbFir[2 * t] * newest[j - 19 + t];
    out[j] = sum >> 14;
  }
}

#if defined(__SSE2__)

namespace detail {
// Pairs of taps, the first in the low half, in all four 32-bit lanes: multiply-adds against pairs of
// samples. Built once, so the loops load each from memory.
struct alignas(16) TapPairs {
  std::int32_t lanes[4];
};
constexpr TapPairs PairOf(int first, int second) {
  const auto pair = static_cast<std::int32_t>(static_cast<std::uint16_t>(first) | (static_cast<std::uint32_t>(second) << 16));
  return {{pair, pair, pair, pair}};
}
constexpr int Tap(int k) { return k >= 0 && k < static_cast<int>(kReverbFir.size()) ? kReverbFir[k] : 0; }
// Down: taps k - 1 and k for even k.
inline constexpr auto kDownPairs = [] {
  std::array<TapPairs, 20> pairs{};
  for (int k = 0; k < 39; k += 2) pairs[k / 2] = PairOf(Tap(k - 1), Tap(k));
  return pairs;
}();
// Up: taps 2t and 2t + 2 for even t.
inline constexpr auto kUpPairs = [] {
  std::array<TapPairs, 10> pairs{};
  for (int t = 0; t < 20; t += 2) pairs[t / 2] = PairOf(kReverbFir[2 * t], kReverbFir[2 * t + 2]);
  return pairs;
}();
inline __m128i Load(const TapPairs& pairs) { return _mm_load_si128(reinterpret_cast<const __m128i*>(pairs.lanes)); }
inline __m128i Load8(const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
}  // namespace detail

// Four outputs at a time: lane q of a load from newest + 2q - 39 + k holds the samples that taps
// k - 1 and k meet for output q. Taps at even k - 1 are zero except beside the centre.
inline void HalfBandDownRun(const std::int16_t* newest, int count, int* out) {
  int j = 0;
  for (; j + 4 <= count; j += 4) {
    const std::int16_t* at = newest + 2 * j - 39;
    __m128i sum = _mm_setzero_si128();
#pragma GCC unroll 20
    for (int k = 0; k < 39; k += 2)
      sum = _mm_add_epi32(sum, _mm_madd_epi16(detail::Load8(at + k), detail::Load(detail::kDownPairs[k / 2])));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_srai_epi32(sum, 15));
  }
  HalfBandDownRunPlain(newest + 2 * j, count - j, out + j);
}

// Eight outputs at a time: loads from newest + j - 19 + t pair samples for the even outputs, one
// sample further for the odd ones; the two sets are interleaved at the end.
inline void HalfBandUpRun(const std::int16_t* newest, int count, int* out) {
  int j = 0;
  for (; j + 8 <= count; j += 8) {
    const std::int16_t* at = newest + j - 19;
    __m128i even = _mm_setzero_si128(), odd = _mm_setzero_si128();
#pragma GCC unroll 10
    for (int t = 0; t < 20; t += 2) {
      const __m128i taps = detail::Load(detail::kUpPairs[t / 2]);
      even = _mm_add_epi32(even, _mm_madd_epi16(detail::Load8(at + t), taps));
      odd = _mm_add_epi32(odd, _mm_madd_epi16(detail::Load8(at + t + 1), taps));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_srai_epi32(_mm_unpacklo_epi32(even, odd), 14));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j + 4), _mm_srai_epi32(_mm_unpackhi_epi32(even, odd), 14));
  }
  HalfBandUpRunPlain(newest + j, count - j, out + j);
}

#else

inline void HalfBandDownRun(const std::int16_t* newest, int count, int* out) { HalfBandDownRunPlain(newest, count, out); }
inline void HalfBandUpRun(const std::int16_t* newest, int count, int* out) { HalfBandUpRunPlain(newest, count, out); }

#endif

}  // namespace kestrel::spu
