#include "adpcm_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "spu/adpcm.h"

namespace kestrel::logsynth {
namespace {

constexpr int kFilterCount = 5;  // the filters an encoder may choose

struct EncodedBlock {
  std::array<std::uint8_t, spu::kAdpcmSamplesPerBlock> nibbles{};
  spu::AdpcmHistory history;
  std::int64_t error = 0;
};

// Encodes one block closed-loop (predicting from the decoder's own output) and measures its error.
EncodedBlock EncodeWith(const std::int16_t* pcm, spu::AdpcmHistory history, int filter, int shift,
                        std::int64_t giveUpAbove) {
  EncodedBlock result;
  const int step = 1 << (spu::kAdpcmMaxUsefulShift - shift);
  for (int i = 0; i < spu::kAdpcmSamplesPerBlock; ++i) {
    const int prediction = spu::AdpcmPredict(history, filter);
    const int residual = pcm[i] - prediction;
    // Round to nearest, ties away from zero.
    const int rounded = residual >= 0 ? (residual + step / 2) / step : -((-residual + step / 2) / step);
    const int nibble = std::clamp(rounded, -8, 7);
    const std::int16_t decoded = spu::AdpcmReconstruct(nibble, shift, prediction);
    const std::int64_t diff = decoded - pcm[i];
    result.error += diff * diff;
    if (result.error > giveUpAbove) return result;
    result.nibbles[i] = static_cast<std::uint8_t>(nibble & 0x0F);
    spu::AdpcmPush(history, decoded);
  }
  result.history = history;
  return result;
}

}  // namespace

std::size_t AdpcmBlockCount(std::size_t sampleCount) {
  return std::max<std::size_t>(1, (sampleCount + spu::kAdpcmSamplesPerBlock - 1) / spu::kAdpcmSamplesPerBlock);
}

std::vector<std::uint8_t> EncodeAdpcm(std::span<const std::int16_t> pcm, int loopStartSample) {
  const std::size_t blockCount = AdpcmBlockCount(pcm.size());
  std::vector<std::uint8_t> out(blockCount * spu::kAdpcmBlockBytes, 0);
  spu::AdpcmHistory history;
  std::array<std::int16_t, spu::kAdpcmSamplesPerBlock> padded{};
  for (std::size_t b = 0; b < blockCount; ++b) {
    const std::size_t first = b * spu::kAdpcmSamplesPerBlock;
    const std::size_t available = first < pcm.size() ? std::min<std::size_t>(spu::kAdpcmSamplesPerBlock, pcm.size() - first) : 0;
    padded.fill(0);
    if (available > 0) std::memcpy(padded.data(), pcm.data() + first, available * sizeof(std::int16_t));

    EncodedBlock best;
    best.error = std::numeric_limits<std::int64_t>::max();
    int bestFilter = 0, bestShift = 0;
    for (int filter = 0; filter < kFilterCount; ++filter) {
      for (int shift = 0; shift <= spu::kAdpcmMaxUsefulShift; ++shift) {
        EncodedBlock trial = EncodeWith(padded.data(), history, filter, shift, best.error);
        if (trial.error < best.error) {
          best = trial;
          bestFilter = filter;
          bestShift = shift;
        }
      }
    }
    history = best.history;

    std::uint8_t* block = out.data() + b * spu::kAdpcmBlockBytes;
    block[0] = static_cast<std::uint8_t>((bestFilter << 4) | bestShift);
    for (int i = 0; i < spu::kAdpcmSamplesPerBlock; i += 2)
      block[2 + i / 2] = static_cast<std::uint8_t>(best.nibbles[i] | (best.nibbles[i + 1] << 4));
  }

  const bool looped = loopStartSample >= 0;
  std::uint8_t* last = out.data() + (blockCount - 1) * spu::kAdpcmBlockBytes;
  last[1] |= looped ? (spu::kAdpcmLoopEnd | spu::kAdpcmLoopRepeat) : spu::kAdpcmLoopEnd;
  if (looped) {
    const std::size_t loopBlock = std::min(static_cast<std::size_t>(loopStartSample) / spu::kAdpcmSamplesPerBlock, blockCount - 1);
    out[loopBlock * spu::kAdpcmBlockBytes + 1] |= spu::kAdpcmLoopStart;
  }
  return out;
}

}  // namespace kestrel::logsynth
