#include "spu/adpcm.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "spu/tables.h"

namespace kestrel::spu {
namespace {

constexpr int kFilterCount = 5;  // the filters an encoder may choose
constexpr int kReservedFilter = static_cast<int>(kAdpcmPositive.size()) - 1;
constexpr int kMaxUsefulShift = 12;

// Bits 4..7 of the header. Filters 5..15 are reserved (psx-spx, "SPU ADPCM Samples"); the console
// gives them no prediction at all, so a block with one plays its bare nibbles (hardware captures:
// a short periodic pattern, not a growing one).
int FilterOf(std::uint8_t header) { return std::min((header >> 4) & 0xF, kReservedFilter); }

// Shift values 13..15 are reserved and act as shift 9 (psx-spx, "SPU ADPCM Samples").
int ShiftOf(std::uint8_t header) {
  const int shift = header & 0x0F;
  return shift > kMaxUsefulShift ? 9 : shift;
}

std::int16_t Clamp16(int value) {
  return static_cast<std::int16_t>(std::clamp(value, -0x8000, 0x7FFF));
}

// Each of the two products is divided by 64 on its own, rounding down, with no rounding term
// (psx-spx, "SPU ADPCM Samples"; hardware captures of filters 1, 2 and 4 follow this, not a rounded
// sum, which drifts from them block by block).
int Predict(const AdpcmHistory& history, int filter) {
  return ((history.old * kAdpcmPositive[filter]) >> 6) + ((history.older * kAdpcmNegative[filter]) >> 6);
}

std::int16_t Reconstruct(int nibble, int shift, int prediction) {
  // The nibble sits in the top four bits of a 16-bit word and is shifted down arithmetically.
  const int expanded = static_cast<std::int16_t>(static_cast<std::uint16_t>(nibble << 12)) >> shift;
  return Clamp16(expanded + prediction);
}

void Push(AdpcmHistory& history, std::int16_t sample) {
  history.older = history.old;
  history.old = sample;
}

struct EncodedBlock {
  std::array<std::uint8_t, kAdpcmSamplesPerBlock> nibbles{};
  AdpcmHistory history;
  std::int64_t error = 0;
};

// Encodes one block closed-loop (predicting from the decoder's own output) and measures its error.
EncodedBlock EncodeWith(const std::int16_t* pcm, AdpcmHistory history, int filter, int shift,
                        std::int64_t giveUpAbove) {
  EncodedBlock result;
  const int step = 1 << (kMaxUsefulShift - shift);
  for (int i = 0; i < kAdpcmSamplesPerBlock; ++i) {
    const int prediction = Predict(history, filter);
    const int residual = pcm[i] - prediction;
    // Round to nearest, ties away from zero.
    const int rounded = residual >= 0 ? (residual + step / 2) / step : -((-residual + step / 2) / step);
    const int nibble = std::clamp(rounded, -8, 7);
    const std::int16_t decoded = Reconstruct(nibble, shift, prediction);
    const std::int64_t diff = decoded - pcm[i];
    result.error += diff * diff;
    if (result.error > giveUpAbove) return result;
    result.nibbles[i] = static_cast<std::uint8_t>(nibble & 0x0F);
    Push(history, decoded);
  }
  result.history = history;
  return result;
}

}  // namespace

void DecodeAdpcmBlock(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out) {
  const int filter = FilterOf(block[0]);
  const int shift = ShiftOf(block[0]);
  // A local history: stores to `out` could alias the caller's, forcing a reload on every sample.
  AdpcmHistory h = history;
  auto decode = [&](int nibble) {
    const std::int16_t sample = Reconstruct(nibble, shift, Predict(h, filter));
    Push(h, sample);
    return sample;
  };
  for (int i = 0; i < kAdpcmSamplesPerBlock; i += 2) {
    const std::uint8_t byte = block[2 + i / 2];
    out[i] = decode(byte & 0x0F);
    out[i + 1] = decode(byte >> 4);
  }
  history = h;
}

std::size_t AdpcmBlockCount(std::size_t sampleCount) {
  return std::max<std::size_t>(1, (sampleCount + kAdpcmSamplesPerBlock - 1) / kAdpcmSamplesPerBlock);
}

std::vector<std::uint8_t> EncodeAdpcm(std::span<const std::int16_t> pcm, int loopStartSample) {
  const std::size_t blockCount = AdpcmBlockCount(pcm.size());
  std::vector<std::uint8_t> out(blockCount * kAdpcmBlockBytes, 0);
  AdpcmHistory history;
  std::array<std::int16_t, kAdpcmSamplesPerBlock> padded{};
  for (std::size_t b = 0; b < blockCount; ++b) {
    const std::size_t first = b * kAdpcmSamplesPerBlock;
    const std::size_t available = first < pcm.size() ? std::min<std::size_t>(kAdpcmSamplesPerBlock, pcm.size() - first) : 0;
    padded.fill(0);
    if (available > 0) std::memcpy(padded.data(), pcm.data() + first, available * sizeof(std::int16_t));

    EncodedBlock best;
    best.error = std::numeric_limits<std::int64_t>::max();
    int bestFilter = 0, bestShift = 0;
    for (int filter = 0; filter < kFilterCount; ++filter) {
      for (int shift = 0; shift <= kMaxUsefulShift; ++shift) {
        EncodedBlock trial = EncodeWith(padded.data(), history, filter, shift, best.error);
        if (trial.error < best.error) {
          best = trial;
          bestFilter = filter;
          bestShift = shift;
        }
      }
    }
    history = best.history;

    std::uint8_t* block = out.data() + b * kAdpcmBlockBytes;
    block[0] = static_cast<std::uint8_t>((bestFilter << 4) | bestShift);
    for (int i = 0; i < kAdpcmSamplesPerBlock; i += 2)
      block[2 + i / 2] = static_cast<std::uint8_t>(best.nibbles[i] | (best.nibbles[i + 1] << 4));
  }

  const bool looped = loopStartSample >= 0;
  std::uint8_t* last = out.data() + (blockCount - 1) * kAdpcmBlockBytes;
  last[1] |= looped ? (kAdpcmLoopEnd | kAdpcmLoopRepeat) : kAdpcmLoopEnd;
  if (looped) {
    const std::size_t loopBlock = std::min(static_cast<std::size_t>(loopStartSample) / kAdpcmSamplesPerBlock, blockCount - 1);
    out[loopBlock * kAdpcmBlockBytes + 1] |= kAdpcmLoopStart;
  }
  return out;
}

}  // namespace kestrel::spu
