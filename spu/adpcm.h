#pragma once
// SPU-ADPCM: 16-byte blocks of 28 four-bit samples with a shift/filter byte and a flag byte.

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::spu {

inline constexpr int kAdpcmSamplesPerBlock = 28;
inline constexpr int kAdpcmBlockBytes = 16;
// Block flag bits (byte 1 of a block).
inline constexpr std::uint8_t kAdpcmLoopEnd = 0x01, kAdpcmLoopRepeat = 0x02, kAdpcmLoopStart = 0x04;

struct AdpcmHistory {
  std::int16_t older = 0, old = 0;  // s[-2], s[-1]
};

// Decodes one 16-byte block into 28 samples, updating the history.
void DecodeAdpcmBlock(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out);

// Encodes PCM (padded with zeros to whole blocks) choosing the best filter (0-4) and shift per block.
// loopStartSample < 0: one-shot sound — the last block gets LoopEnd without Repeat (the voice stops).
// loopStartSample >= 0: the block holding it gets LoopStart and the last block LoopEnd|LoopRepeat, so the
// voice loops from that block. Empty input gives one silent block with those flags.
std::vector<std::uint8_t> EncodeAdpcm(std::span<const std::int16_t> pcm, int loopStartSample = -1);

// Number of 16-byte blocks EncodeAdpcm makes for `sampleCount` samples.
std::size_t AdpcmBlockCount(std::size_t sampleCount);

}  // namespace kestrel::spu
