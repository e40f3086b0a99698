#pragma once
// SPU-ADPCM: 16-byte blocks of 28 four-bit samples with a shift/filter byte and a flag byte.

#include <algorithm>
#include <cstdint>

#include "spu/saturate.h"
#include "spu/tables.h"

namespace kestrel::spu {

inline constexpr int kAdpcmSamplesPerBlock = 28;
inline constexpr int kAdpcmBlockBytes = 16;
// Block flag bits (byte 1 of a block).
inline constexpr std::uint8_t kAdpcmLoopEnd = 0x01, kAdpcmLoopRepeat = 0x02, kAdpcmLoopStart = 0x04;

struct AdpcmHistory {
  std::int16_t older = 0, old = 0;  // s[-2], s[-1]
};

// The decoder's arithmetic, shared with the encoder of the log synthesizer so that it predicts
// from exactly what a voice will play.
inline constexpr int kAdpcmReservedFilter = static_cast<int>(kAdpcmPositive.size()) - 1;
inline constexpr int kAdpcmMaxUsefulShift = 12;

// Bits 4..7 of the header. Filters 5..15 are reserved (psx-spx, "SPU ADPCM Samples"); the console
// gives them no prediction at all, so a block with one plays its bare nibbles (hardware captures:
// a short periodic pattern, not a growing one).
inline int AdpcmFilterOf(std::uint8_t header) { return std::min((header >> 4) & 0xF, kAdpcmReservedFilter); }

// Shift values 13..15 are reserved and act as shift 9 (psx-spx, "SPU ADPCM Samples").
inline int AdpcmShiftOf(std::uint8_t header) {
  const int shift = header & 0x0F;
  return shift > kAdpcmMaxUsefulShift ? 9 : shift;
}

inline std::int16_t AdpcmClamp(int value) { return static_cast<std::int16_t>(Saturate16(value)); }

// Each of the two products is divided by 64 on its own, rounding down, with no rounding term
// (psx-spx, "SPU ADPCM Samples"; hardware captures of filters 1, 2 and 4 follow this, not a rounded
// sum, which drifts from them block by block).
inline int AdpcmPredict(const AdpcmHistory& history, int filter) {
  return ((history.old * kAdpcmPositive[filter]) >> 6) + ((history.older * kAdpcmNegative[filter]) >> 6);
}

inline std::int16_t AdpcmReconstruct(int nibble, int shift, int prediction) {
  // The nibble sits in the top four bits of a 16-bit word and is shifted down arithmetically.
  const int expanded = static_cast<std::int16_t>(static_cast<std::uint16_t>(nibble << 12)) >> shift;
  return AdpcmClamp(expanded + prediction);
}

inline void AdpcmPush(AdpcmHistory& history, std::int16_t sample) {
  history.older = history.old;
  history.old = sample;
}

// Decodes one 16-byte block into 28 samples, updating the history.
void DecodeAdpcmBlock(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out);

}  // namespace kestrel::spu
