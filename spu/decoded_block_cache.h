#pragma once
// Decoded ADPCM blocks remembered by what decoding them depends on: the block's 16 bytes and the
// history carried in. Voices playing the same sample (chords, several voices on one instrument) and
// loops whose history has settled decode the same blocks over and over; each decode is a chain of
// 28 dependent multiply-adds, a lookup is a few compares.
#include <array>
#include <cstdint>

#include "spu/adpcm.h"

namespace kestrel::spu {

class DecodedBlockCache {
 public:
  // The same as DecodeAdpcmBlock.
  void decode(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out);

 private:
  // A zeroed entry is a true one: 16 zero bytes decoded from a zero history give zeros.
  struct Entry {
    std::uint64_t low = 0, high = 0;  // the block's bytes
    std::uint32_t historyIn = 0;
    AdpcmHistory historyOut;
    std::array<std::int16_t, kAdpcmSamplesPerBlock> samples{};
  };
  static constexpr int kIndexBits = 10;  // 1024 entries, about 82 KB
  std::array<Entry, 1u << kIndexBits> entries_{};
};

}  // namespace kestrel::spu
