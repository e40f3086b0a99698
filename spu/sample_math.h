#pragma once
// Small integer kernels of the sample loops, with SSE2 (baseline on x86-64, so no runtime dispatch)
// and a plain fallback for other machines. Both give the same integers: every product is formed in
// full 32 bits and shifted or summed exactly as the plain code does; sums of integers do not depend
// on their order. tests/spu/sample_math_test.cpp holds the two paths to each other.

#include <cstdint>

#include "spu/le16.h"
#include "spu/saturate.h"
#include "spu/tables.h"

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

// For i < n: left[i] += (values[i] * leftVolume) >> 15, and the same on the right (a voice's
// share of the mix). The vector form needs the values and volumes to fit 16 bits.
inline void AddScaledPlain(const int* values, int n, int leftVolume, int rightVolume, int* left, int* right) {
  for (int i = 0; i < n; ++i) {
    left[i] += (values[i] * leftVolume) >> 15;
    right[i] += (values[i] * rightVolume) >> 15;
  }
}

// For i < n: values[i], clamped to 16 bits, as the little-endian halfword at out + 2 * i.
inline void StoreSaturated16Plain(const int* values, int n, std::uint8_t* out) {
  for (int i = 0; i < n; ++i) {
    StoreLe16(out + 2 * i, static_cast<std::uint16_t>(Saturate16(values[i])));
  }
}

// For i < n: values[i] clamped to 16 bits.
inline void SaturateTo16Plain(const int* values, int n, std::int16_t* out) {
  for (int i = 0; i < n; ++i) out[i] = static_cast<std::int16_t>(Saturate16(values[i]));
}

// One channel of a chunk's last stage of mixing, per frame: the sums of the voices apart from and
// sent to the reverb, the reverb's and the CD input's shares after their volumes (16 bits each),
// and the main volume.
struct ChannelMix {
  const int* voices;
  const int* reverbVoices;
  const int* wet;
  const int* cd;
  const int* main;
  // The channel's output sample of frame i; voicesMask 0 silences the voices and reverb, -1 not.
  int at(int i, int voicesMask) const {
    const int heard = (Saturate16(voices[i] + reverbVoices[i]) + wet[i]) & voicesMask;
    return Saturate16((Saturate16(cd[i] + heard) * main[i]) >> 15);
  }
};
// For i < n: out[2 * i] and out[2 * i + 1], the left and right output samples of frame i.
inline void MixToOutputPlain(const ChannelMix& left, const ChannelMix& right, int voicesMask, std::int16_t* out, int n) {
  for (int i = 0; i < n; ++i) {
    out[2 * i] = static_cast<std::int16_t>(left.at(i, voicesMask));
    out[2 * i + 1] = static_cast<std::int16_t>(right.at(i, voicesMask));
  }
}

// A run of frames at one pitch step: for i < n, the Gaussian interpolation at the pitch counter
// (bits 12+: the sample, bits 4..11: the table row; `samples` as Interpolate reads them), times the
// envelope level of that frame (-8000h..7FFFh), >> 15, into out[i]. Returns the counter after the run.
// With `share`, each frame's share of the mix after the voice's volumes is added too, as AddScaled does.
struct VoiceShare {
  int leftVolume = 0, rightVolume = 0;
  int* left = nullptr;
  int* right = nullptr;
};
// The envelope's level per frame: one per frame, or (perFrame null) one level throughout, as most
// runs have it, which spares writing and reading it per frame.
struct RunLevels {
  const int* perFrame = nullptr;
  int steady = 0;
  int at(int i) const { return perFrame ? perFrame[i] : steady; }
  RunLevels from(int i) const { return {perFrame ? perFrame + i : nullptr, steady}; }
};
inline std::uint32_t InterpolateRunPlain(const std::int16_t* samples, std::uint32_t counter, std::uint32_t step,
                                         RunLevels levels, int* out, int n, const VoiceShare* share = nullptr) {
  for (int i = 0; i < n; ++i, counter += step)
    out[i] = (WeightedSum4Plain(kGaussWeights[(counter >> 4) & 0xFF].data(), samples + (counter >> 12)) * levels.at(i)) >> 15;
  if (share) AddScaledPlain(out, n, share->leftVolume, share->rightVolume, share->left, share->right);
  return counter;
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

namespace detail {
// Four frames per step. Each frame's weights and samples (four halfwords each) share a register half
// with another frame's, so one multiply-add forms the pair sums of two frames; the interpolated
// values fit 16 bits (the weights' magnitudes add up to less than 8000h), so one more multiply-add
// against (level, 0) lanes gives the full 32-bit products with the envelope, and the samples after
// the envelope fit 16 bits as well, for the volumes' multiply-adds.
template <bool kSteady>
std::uint32_t InterpolateRun(const std::int16_t* samples, std::uint32_t counter, std::uint32_t step, RunLevels levels,
                             int* out, int n, const VoiceShare* share) {
  const auto load4 = [](const std::int16_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); };
  const auto* const table = reinterpret_cast<const char*>(kGaussWeights.data());
  static_assert(sizeof(GaussWeights) == 16);
  const auto weights = [&](std::uint32_t c) { return load4(reinterpret_cast<const std::int16_t*>(table + (c & 0xFF0))); };
  const auto window = [&](std::uint32_t c) { return load4(samples + (c >> 12)); };
  const __m128i lowHalves = _mm_set1_epi32(0xFFFF);
  const __m128i leftVolume = _mm_set1_epi32(share ? share->leftVolume & 0xFFFF : 0);
  const __m128i rightVolume = _mm_set1_epi32(share ? share->rightVolume & 0xFFFF : 0);
  const __m128i steadyLevel = _mm_set1_epi32(levels.steady & 0xFFFF);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const std::uint32_t c0 = counter, c1 = c0 + step, c2 = c1 + step, c3 = c2 + step;
    counter = c3 + step;
    const __m128i pairs01 = _mm_madd_epi16(_mm_unpacklo_epi64(weights(c0), weights(c1)),
                                           _mm_unpacklo_epi64(window(c0), window(c1)));
    const __m128i pairs23 = _mm_madd_epi16(_mm_unpacklo_epi64(weights(c2), weights(c3)),
                                           _mm_unpacklo_epi64(window(c2), window(c3)));
    const __m128 a = _mm_castsi128_ps(pairs01), b = _mm_castsi128_ps(pairs23);
    const __m128i first = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i second = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    const __m128i raw = _mm_srai_epi32(_mm_add_epi32(first, second), 15);
    const __m128i level =
        kSteady ? steadyLevel : _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(levels.perFrame + i)), lowHalves);
    const __m128i enveloped = _mm_srai_epi32(_mm_madd_epi16(raw, level), 15);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), enveloped);
    if (share) {
      const auto add = [&](int* sums, __m128i volume) {
        __m128i* at = reinterpret_cast<__m128i*>(sums + i);
        _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), _mm_srai_epi32(_mm_madd_epi16(enveloped, volume), 15)));
      };
      add(share->left, leftVolume);
      add(share->right, rightVolume);
    }
  }
  if (i == n) return counter;  // runs are mostly whole vectors
  if (!share) return InterpolateRunPlain(samples, counter, step, levels.from(i), out + i, n - i);
  const VoiceShare tail{share->leftVolume, share->rightVolume, share->left + i, share->right + i};
  return InterpolateRunPlain(samples, counter, step, levels.from(i), out + i, n - i, &tail);
}
}  // namespace detail

inline std::uint32_t InterpolateRun(const std::int16_t* samples, std::uint32_t counter, std::uint32_t step,
                                    RunLevels levels, int* out, int n, const VoiceShare* share = nullptr) {
  return levels.perFrame ? detail::InterpolateRun<false>(samples, counter, step, levels, out, n, share)
                         : detail::InterpolateRun<true>(samples, counter, step, levels, out, n, share);
}

// Eight at a time: the signed saturating pack is the clamp.
inline void SaturateTo16(const int* values, int n, std::int16_t* out) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i* in = reinterpret_cast<const __m128i*>(values + i);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(_mm_loadu_si128(in), _mm_loadu_si128(in + 1)));
  }
  SaturateTo16Plain(values + i, n - i, out + i);
}

// Eight at a time: the signed saturating pack is the clamp (little-endian, as every SSE2 machine is).
inline void StoreSaturated16(const int* values, int n, std::uint8_t* out) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i* in = reinterpret_cast<const __m128i*>(values + i);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_packs_epi32(_mm_loadu_si128(in), _mm_loadu_si128(in + 1)));
  }
  StoreSaturated16Plain(values + i, n - i, out + 2 * i);
}

namespace detail {
inline __m128i Load4(const int* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
// Four lanes clamped to 16 bits, as 32-bit lanes.
inline __m128i Saturate16x4(__m128i v) {
  const __m128i packed = _mm_packs_epi32(v, v);
  return _mm_srai_epi32(_mm_unpacklo_epi16(packed, packed), 16);
}
// ChannelMix::at for frames i..i+3, as four 16-bit lanes in the low half. The product with the main
// volume comes whole from a multiply-add of (sample, 0) and (volume, 0) lanes: both fit 16 bits.
inline __m128i MixToOutput4(const ChannelMix& c, int i, __m128i voicesMask) {
  const __m128i dry = Saturate16x4(_mm_add_epi32(Load4(c.voices + i), Load4(c.reverbVoices + i)));
  const __m128i heard = _mm_and_si128(_mm_add_epi32(dry, Load4(c.wet + i)), voicesMask);
  const __m128i sum = _mm_add_epi32(Load4(c.cd + i), heard);
  const __m128i zero = _mm_setzero_si128();
  const __m128i sample = _mm_unpacklo_epi16(_mm_packs_epi32(sum, sum), zero);
  const __m128i volume = _mm_unpacklo_epi16(_mm_packs_epi32(Load4(c.main + i), zero), zero);
  const __m128i scaled = _mm_srai_epi32(_mm_madd_epi16(sample, volume), 15);
  return _mm_packs_epi32(scaled, scaled);
}
}  // namespace detail

inline void MixToOutput(const ChannelMix& left, const ChannelMix& right, int voicesMask, std::int16_t* out, int n) {
  const __m128i mask = _mm_set1_epi32(voicesMask);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i frames = _mm_unpacklo_epi16(detail::MixToOutput4(left, i, mask), detail::MixToOutput4(right, i, mask));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), frames);
  }
  const ChannelMix leftTail{left.voices + i, left.reverbVoices + i, left.wet + i, left.cd + i, left.main + i};
  const ChannelMix rightTail{right.voices + i, right.reverbVoices + i, right.wet + i, right.cd + i, right.main + i};
  MixToOutputPlain(leftTail, rightTail, voicesMask, out + 2 * i, n - i);
}

#else

inline int WeightedSum4(const std::int16_t* w, const std::int16_t* s) { return WeightedSum4Plain(w, s); }
inline std::uint32_t InterpolateRun(const std::int16_t* samples, std::uint32_t counter, std::uint32_t step,
                                    RunLevels levels, int* out, int n, const VoiceShare* share = nullptr) {
  return InterpolateRunPlain(samples, counter, step, levels, out, n, share);
}
inline void AddScaled(const int* values, int n, int leftVolume, int rightVolume, int* left, int* right) {
  AddScaledPlain(values, n, leftVolume, rightVolume, left, right);
}
inline void SaturateTo16(const int* values, int n, std::int16_t* out) { SaturateTo16Plain(values, n, out); }
inline void StoreSaturated16(const int* values, int n, std::uint8_t* out) { StoreSaturated16Plain(values, n, out); }
inline void MixToOutput(const ChannelMix& left, const ChannelMix& right, int voicesMask, std::int16_t* out, int n) {
  MixToOutputPlain(left, right, voicesMask, out, n);
}

#endif

}  // namespace kestrel::spu
