#include "spu/decoded_block_cache.h"

#include <algorithm>
#include <cstring>

namespace kestrel::spu {

void DecodedBlockCache::decode(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out) {
  std::uint64_t low, high;
  std::uint32_t historyIn;
  std::memcpy(&low, block, 8);
  std::memcpy(&high, block + 8, 8);
  static_assert(sizeof(AdpcmHistory) == sizeof historyIn);
  std::memcpy(&historyIn, &history, sizeof historyIn);

  // Multiplicative hashing; the top bits are the best mixed.
  const std::uint64_t mixed = (low * 0x9E3779B97F4A7C15ull) ^ (high * 0xC2B2AE3D27D4EB4Full) ^
                              (std::uint64_t{historyIn} * 0x165667B19E3779F9ull);
  Entry& entry = entries_[mixed >> (64 - kIndexBits)];
  if (entry.low != low || entry.high != high || entry.historyIn != historyIn) {
    entry.low = low;
    entry.high = high;
    entry.historyIn = historyIn;
    entry.historyOut = history;
    DecodeAdpcmBlock(block, entry.historyOut, entry.samples.data());
  }
  history = entry.historyOut;
  std::memcpy(out, entry.samples.data(), sizeof entry.samples);  // a fixed size: moves, not a library call
}

}  // namespace kestrel::spu
