// The vector kernels of the sample loops against their plain forms, which the golden renders pin down.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "spu/half_band.h"
#include "spu/sample_math.h"
#include "spu/tables.h"

namespace kestrel::spu {
namespace {

TEST(SpuSampleMath, WeightedSumsMatchThePlainSumForEveryGaussianRow) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> anySample(-0x8000, 0x7FFF);
  const std::array<std::int16_t, 4> extremes[] = {
      {-0x8000, -0x8000, -0x8000, -0x8000}, {0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF}, {-0x8000, 0x7FFF, -1, 1}, {}};
  for (const GaussWeights& w : kGaussWeights) {
    for (const auto& s : extremes) EXPECT_EQ(WeightedSum4(w.data(), s.data()), WeightedSum4Plain(w.data(), s.data()));
    for (int trial = 0; trial < 64; ++trial) {
      std::array<std::int16_t, 4> s{};
      for (auto& v : s) v = static_cast<std::int16_t>(anySample(random));
      ASSERT_EQ(WeightedSum4(w.data(), s.data()), WeightedSum4Plain(w.data(), s.data()));
    }
  }
}

TEST(SpuSampleMath, ScaledValuesAddUpAsThePlainLoopForAnyCountAndVolume) {
  std::mt19937 random(13);
  std::uniform_int_distribution<int> any16(-0x8000, 0x7FFF);
  for (int trial = 0; trial < 100; ++trial) {
    std::array<int, 64> values{}, left{}, right{};
    for (auto& v : values) v = trial == 0 ? -0x8000 : any16(random);
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = right[i] = any16(random) * 24;  // earlier voices' sums
    auto plainLeft = left, plainRight = right;
    const int leftVolume = trial == 0 ? -0x8000 : any16(random), rightVolume = trial == 0 ? 0x7FFF : any16(random);
    const int count = trial % 65;  // whole vectors, a tail, or nothing
    AddScaled(values.data(), count, leftVolume, rightVolume, left.data(), right.data());
    AddScaledPlain(values.data(), count, leftVolume, rightVolume, plainLeft.data(), plainRight.data());
    ASSERT_EQ(left, plainLeft);
    ASSERT_EQ(right, plainRight);
  }
}

// The last stage of the chunk mix and the capture writes clamp sums of any size: loud voices, full
// CD input and reverb at once must clip exactly as the plain code does.
TEST(SpuSampleMath, ChunkOutputAndCaptureClampAsThePlainLoopDo) {
  std::mt19937 random(19);
  std::uniform_int_distribution<int> any16(-0x8000, 0x7FFF), anySum(-24 * 0x8000, 24 * 0x7FFF);
  for (int trial = 0; trial < 200; ++trial) {
    std::array<std::array<int, 64>, 10> lanes{};  // voices, reverb voices, wet, CD, main: left then right
    for (std::size_t k = 0; k < lanes.size(); ++k)
      for (auto& v : lanes[k]) v = k % 5 < 2 ? anySum(random) : (trial % 4 == 0 ? (trial % 8 ? 0x7FFF : -0x8000) : any16(random));
    const ChannelMix left{lanes[0].data(), lanes[1].data(), lanes[2].data(), lanes[3].data(), lanes[4].data()};
    const ChannelMix right{lanes[5].data(), lanes[6].data(), lanes[7].data(), lanes[8].data(), lanes[9].data()};
    const int count = trial % 65, voicesMask = trial % 3 == 0 ? 0 : -1;
    std::array<std::int16_t, 128> fast{}, plain{};
    MixToOutput(left, right, voicesMask, fast.data(), count);
    MixToOutputPlain(left, right, voicesMask, plain.data(), count);
    ASSERT_EQ(fast, plain);

    std::array<std::uint8_t, 128> fastBytes{}, plainBytes{};
    StoreSaturated16(lanes[0].data(), count, fastBytes.data());
    StoreSaturated16Plain(lanes[0].data(), count, plainBytes.data());
    ASSERT_EQ(fastBytes, plainBytes);
  }
}

TEST(SpuSampleMath, InterpolatedRunsMatchThePlainLoopForAnyStepLevelsAndLength) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> any16(-0x8000, 0x7FFF), step(0, 0x4000), length(0, 28);
  std::array<std::int16_t, 31> samples{};  // as a voice holds them: three old samples, then a block
  for (int trial = 0; trial < 300; ++trial) {
    for (auto& v : samples) v = static_cast<std::int16_t>(trial % 3 == 0 ? (trial % 2 ? 0x7FFF : -0x8000) : any16(random));
    const int n = length(random);
    const std::uint32_t s = static_cast<std::uint32_t>(step(random));
    // Any start from which the run stays inside the block.
    const std::uint32_t last = (28u << 12) - 1, room = n > 1 ? s * static_cast<std::uint32_t>(n - 1) : 0;
    if (room > last) continue;
    const std::uint32_t counter = std::uniform_int_distribution<std::uint32_t>(0, last - room)(random);
    std::array<int, 28> levels{}, fast{}, plain{}, fastLeft{}, fastRight{};
    for (auto& level : levels) level = trial % 5 == 0 ? -0x8000 : any16(random);
    for (std::size_t i = 0; i < fastLeft.size(); ++i) fastLeft[i] = fastRight[i] = any16(random) * 24;  // earlier voices
    auto plainLeft = fastLeft, plainRight = fastRight;
    const int leftVolume = trial % 7 == 0 ? -0x8000 : any16(random), rightVolume = any16(random);
    // With the share of the mix added or without.
    const VoiceShare fastShare{leftVolume, rightVolume, fastLeft.data(), fastRight.data()};
    const VoiceShare plainShare{leftVolume, rightVolume, plainLeft.data(), plainRight.data()};
    const bool add = trial % 2 == 0;
    // Levels per frame, or one level throughout.
    const RunLevels runLevels = trial % 4 < 2 ? RunLevels{levels.data(), 0} : RunLevels{nullptr, levels[0]};
    ASSERT_EQ(InterpolateRun(samples.data(), counter, s, runLevels, fast.data(), n, add ? &fastShare : nullptr),
              InterpolateRunPlain(samples.data(), counter, s, runLevels, plain.data(), n, add ? &plainShare : nullptr));
    ASSERT_EQ(fast, plain);
    ASSERT_EQ(fastLeft, plainLeft);
    ASSERT_EQ(fastRight, plainRight);
  }
}

// The reverb's half-band filter over a batch: down at every other sample, up at every one, for any
// count (whole vector groups, tails, nothing) and at full scale, where the sums are largest.
TEST(SpuSampleMath, HalfBandRunsMatchThePlainFilter) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> any16(-0x8000, 0x7FFF);
  for (int trial = 0; trial < 60; ++trial) {
    std::array<std::int16_t, 40 + 2 * 33> samples{};
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const int extreme = (i / 2 + static_cast<std::size_t>(trial)) % 2 ? 0x7FFF : -0x8000;  // signs against the taps'
      samples[i] = static_cast<std::int16_t>(trial < 2 ? extreme : any16(random));
    }
    const int count = trial % 34;
    std::array<int, 33> vector{}, plain{};
    HalfBandDownRun(samples.data() + 40, count, vector.data());
    HalfBandDownRunPlain(samples.data() + 40, count, plain.data());
    ASSERT_EQ(vector, plain) << "down, " << count;
    HalfBandUpRun(samples.data() + 20, count, vector.data());
    HalfBandUpRunPlain(samples.data() + 20, count, plain.data());
    ASSERT_EQ(vector, plain) << "up, " << count;
  }
}

}  // namespace
}  // namespace kestrel::spu
