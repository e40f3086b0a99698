#pragma once
// Small integer kernels of the sample loops, with SSE2 (baseline on x86-64, so no runtime dispatch)
// and a plain fallback for other machines. Both give the same integers: every product is formed in
// full 32 bits and shifted or summed exactly as the plain code does; sums of integers do not depend
// on their order. tests/spu/sample_math_test.cpp holds the two paths to each other.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestrel::spu {

// (Sum over i < 4 of w[i] * s[i]) >> 15: the Gaussian interpolation. The console adds the four
// products before its one shift; shifting each product on its own (as psx-spx, "4-Point Gaussian
// Interpolation", writes it) comes out up to 3 LSB low, which hardware captures do not show.
inline int WeightedSum4Plain(const std::int16_t* w, const std::int16_t* s) {
  return (w[0] * s[0] + w[1] * s[1] + w[2] * s[2] + w[3] * s[3]) >> 15;
}

// Sum over i < n of a[i] * b[i]; n is a multiple of 8 and the sum must fit 32 bits (the reverb's
// filter taps add up to less than BA00h in magnitude, so any 16-bit samples do).
inline int DotProductPlain(const std::int16_t* a, const std::int16_t* b, int n) {
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += a[i] * b[i];
  return sum;
}

// For i < n: left[i] += (values[i] * leftVolume) >> 15, and the same on the right (a voice's
// share of the mix). The vector form needs the values and volumes to fit 16 bits.
inline void AddScaledPlain(const int* values, int n, int leftVolume, int rightVolume, int* left, int* right) {
  for (int i = 0; i < n; ++i) {
    left[i] += (values[i] * leftVolume) >> 15;
    right[i] += (values[i] * rightVolume) >> 15;
  }
}

#if defined(__SSE2__)

namespace detail {
// sums[0..7] += (values * volume) >> 15 per lane, from full 32-bit products.
inline void AddShiftedProducts8(__m128i values, __m128i volume, int* sums) {
  const __m128i low = _mm_mullo_epi16(values, volume), high = _mm_mulhi_epi16(values, volume);
  __m128i* out = reinterpret_cast<__m128i*>(sums);
  _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), _mm_srai_epi32(_mm_unpacklo_epi16(low, high), 15)));
  _mm_storeu_si128(out + 1,
                   _mm_add_epi32(_mm_loadu_si128(out + 1), _mm_srai_epi32(_mm_unpackhi_epi16(low, high), 15)));
}
}  // namespace detail

inline void AddScaled(const int* values, int n, int leftVolume, int rightVolume, int* left, int* right) {
  const __m128i leftFactor = _mm_set1_epi16(static_cast<std::int16_t>(leftVolume));
  const __m128i rightFactor = _mm_set1_epi16(static_cast<std::int16_t>(rightVolume));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i* in = reinterpret_cast<const __m128i*>(values + i);
    const __m128i packed = _mm_packs_epi32(_mm_loadu_si128(in), _mm_loadu_si128(in + 1));  // exact: 16-bit values
    detail::AddShiftedProducts8(packed, leftFactor, left + i);
    detail::AddShiftedProducts8(packed, rightFactor, right + i);
  }
  AddScaledPlain(values + i, n - i, leftVolume, rightVolume, left + i, right + i);
}

inline int WeightedSum4(const std::int16_t* w, const std::int16_t* s) {
  const __m128i weights = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(w));
  const __m128i samples = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
  // Pairs of full 32-bit products, summed: w0*s0 + w1*s1 and w2*s2 + w3*s3 (the Gaussian weights
  // are far from the one pair, both -8000h, that overflows).
  const __m128i pairs = _mm_madd_epi16(weights, samples);
  return _mm_cvtsi128_si32(_mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, _MM_SHUFFLE(1, 0, 3, 1)))) >> 15;
}

inline int DotProduct(const std::int16_t* a, const std::int16_t* b, int n) {
  __m128i sum = _mm_setzero_si128();
  for (int i = 0; i < n; i += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    sum = _mm_add_epi32(sum, _mm_madd_epi16(x, y));  // pairs of 32-bit products, summed
  }
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(1, 0, 3, 2)));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(sum);
}

#else

inline int WeightedSum4(const std::int16_t* w, const std::int16_t* s) { return WeightedSum4Plain(w, s); }
inline int DotProduct(const std::int16_t* a, const std::int16_t* b, int n) { return DotProductPlain(a, b, n); }
inline void AddScaled(const int* values, int n, int leftVolume, int rightVolume, int* left, int* right) {
  AddScaledPlain(values, n, leftVolume, rightVolume, left, right);
}

#endif

}  // namespace kestrel::spu
