#pragma once
// The encoder of SPU-ADPCM the synthesizer, the tests and the benchmarks make their samples with;
// the plugin itself only decodes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::logsynth {

// Encodes PCM (padded with zeros to whole blocks) choosing the best filter (0-4) and shift per block.
// loopStartSample < 0: one-shot sound — the last block gets LoopEnd without Repeat (the voice stops).
// loopStartSample >= 0: the block holding it gets LoopStart and the last block LoopEnd|LoopRepeat, so the
// voice loops from that block. Empty input gives one silent block with those flags.
std::vector<std::uint8_t> EncodeAdpcm(std::span<const std::int16_t> pcm, int loopStartSample = -1);

// Number of 16-byte blocks EncodeAdpcm makes for `sampleCount` samples.
std::size_t AdpcmBlockCount(std::size_t sampleCount);

}  // namespace kestrel::logsynth
