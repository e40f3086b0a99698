#include "adpcm_encoder.h"
#include "spu/adpcm.h"
#include "spu/decoded_block_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "spu_fixture.h"

namespace kestrel::spu {
namespace {

std::vector<std::int16_t> DecodeAll(const std::vector<std::uint8_t>& adpcm) {
  std::vector<std::int16_t> out(adpcm.size() / kAdpcmBlockBytes * kAdpcmSamplesPerBlock);
  AdpcmHistory history;
  for (std::size_t b = 0; b * kAdpcmBlockBytes < adpcm.size(); ++b)
    DecodeAdpcmBlock(adpcm.data() + b * kAdpcmBlockBytes, history, out.data() + b * kAdpcmSamplesPerBlock);
  return out;
}

double SignalToNoiseDb(const std::vector<std::int16_t>& reference, const std::vector<std::int16_t>& decoded) {
  double signal = 0, noise = 0;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    signal += double(reference[i]) * reference[i];
    noise += double(decoded[i] - reference[i]) * (decoded[i] - reference[i]);
  }
  return 10 * std::log10(signal / std::max(noise, 1.0));
}

TEST(Adpcm, RoundTripKeepsTonesAndChordsClean) {
  const auto tone = testing::SineCycles(100, 441, 20000);  // 441 Hz for a second
  const auto decodedTone = DecodeAll(logsynth::EncodeAdpcm(tone));
  ASSERT_GE(decodedTone.size(), tone.size());
  EXPECT_GT(SignalToNoiseDb(tone, decodedTone), 40.0);

  auto chord = testing::SineCycles(180, 49, 9000);  // 245, 350 and 3675 Hz for 0.2 s
  const auto fifth = testing::SineCycles(126, 70, 9000);
  const auto high = testing::SineCycles(12, 735, 5000);
  for (std::size_t i = 0; i < chord.size(); ++i) chord[i] = static_cast<std::int16_t>(chord[i] + fifth[i] + high[i]);
  EXPECT_GT(SignalToNoiseDb(chord, DecodeAll(logsynth::EncodeAdpcm(chord))), 30.0);
}

TEST(Adpcm, FullScaleSquareSaturatesInsteadOfWrapping) {
  std::vector<std::int16_t> square(560);
  for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 50) % 2 ? -32768 : 32767;
  const auto decoded = DecodeAll(logsynth::EncodeAdpcm(square));
  for (std::size_t i = 0; i < square.size(); ++i) {
    // Away from the edges every decoded sample keeps the sign of the input.
    if (i % 50 > 3) {
      EXPECT_EQ(decoded[i] < 0, square[i] < 0) << "sample " << i;
    }
  }
}

TEST(Adpcm, PadsToWholeBlocksAndSetsLoopFlags) {
  EXPECT_EQ(logsynth::EncodeAdpcm({}).size(), 16u);
  const std::vector<std::int16_t> pcm(29, 1000);  // one sample into the second block
  const auto oneShot = logsynth::EncodeAdpcm(pcm);
  ASSERT_EQ(oneShot.size(), 32u);
  EXPECT_EQ(oneShot[1], 0);
  EXPECT_EQ(oneShot[17], kAdpcmLoopEnd);

  std::vector<std::int16_t> longer(28 * 5, 500);
  const auto looped = logsynth::EncodeAdpcm(longer, 28 * 2 + 3);
  ASSERT_EQ(looped.size(), 80u);
  EXPECT_EQ(looped[1], 0);
  EXPECT_EQ(looped[2 * 16 + 1], kAdpcmLoopStart);
  EXPECT_EQ(looped[4 * 16 + 1], kAdpcmLoopEnd | kAdpcmLoopRepeat);

  const auto loopWhole = logsynth::EncodeAdpcm(std::vector<std::int16_t>(28, 7), 0);
  ASSERT_EQ(loopWhole.size(), 16u);
  EXPECT_EQ(loopWhole[1], kAdpcmLoopStart | kAdpcmLoopEnd | kAdpcmLoopRepeat);
  // A loop point past the end loops the last block rather than writing past the data.
  EXPECT_EQ(logsynth::EncodeAdpcm(longer, 100000)[4 * 16 + 1], kAdpcmLoopStart | kAdpcmLoopEnd | kAdpcmLoopRepeat);
}

// The cache must answer exactly as the decoder, whether it hits, misses or evicts: a small pool of
// blocks and histories, drawn at random, revisits entries and collides in the table.
TEST(Adpcm, CachedDecodingMatchesTheDecoder) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  std::vector<std::array<std::uint8_t, kAdpcmBlockBytes>> blocks(600);
  for (auto& block : blocks)
    for (auto& byte : block) byte = static_cast<std::uint8_t>(next() >> 24);
  blocks[0] = {};  // silence from a zero history: what an unused table entry looks like
  const AdpcmHistory histories[] = {{0, 0}, {-3000, 2500}, {32767, -32768}, {100, 100}};

  DecodedBlockCache cache;
  for (int i = 0; i < 20000; ++i) {
    const auto& block = blocks[next() % (i < 10 ? 1 : blocks.size())];
    const AdpcmHistory start = histories[(next() >> 8) % std::size(histories)];
    AdpcmHistory expectedHistory = start, cachedHistory = start;
    std::int16_t expected[kAdpcmSamplesPerBlock], cached[kAdpcmSamplesPerBlock];
    DecodeAdpcmBlock(block.data(), expectedHistory, expected);
    cache.decode(block.data(), cachedHistory, cached);
    ASSERT_TRUE(std::equal(expected, expected + kAdpcmSamplesPerBlock, cached)) << "round " << i;
    ASSERT_EQ(cachedHistory.old, expectedHistory.old);
    ASSERT_EQ(cachedHistory.older, expectedHistory.older);
  }
}

}  // namespace
}  // namespace kestrel::spu
