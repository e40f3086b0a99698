#include "spu/adpcm.h"

namespace kestrel::spu {

void DecodeAdpcmBlock(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out) {
  const int filter = AdpcmFilterOf(block[0]);
  const int shift = AdpcmShiftOf(block[0]);
  // A local history: stores to `out` could alias the caller's, forcing a reload on every sample.
  AdpcmHistory h = history;
  auto decode = [&](int nibble) {
    const std::int16_t sample = AdpcmReconstruct(nibble, shift, AdpcmPredict(h, filter));
    AdpcmPush(h, sample);
    return sample;
  };
  for (int i = 0; i < kAdpcmSamplesPerBlock; i += 2) {
    const std::uint8_t byte = block[2 + i / 2];
    out[i] = decode(byte & 0x0F);
    out[i + 1] = decode(byte >> 4);
  }
  history = h;
}

}  // namespace kestrel::spu
