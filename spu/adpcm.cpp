#include "spu/adpcm.h"

namespace kestrel::spu {
namespace {

// One filter's decode: with the coefficients known, the products are multiplies by constants, and
// the filters without prediction have no chain from sample to sample at all.
template <int kFilter>
void DecodeWithFilter(const std::uint8_t* block, int shift, AdpcmHistory& history, std::int16_t* out) {
  // A local history: stores to `out` could alias the caller's, forcing a reload on every sample.
  AdpcmHistory h = history;
  auto decode = [&](int nibble) {
    const std::int16_t sample = AdpcmReconstruct(nibble, shift, AdpcmPredict(h, kFilter));
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

}  // namespace

void DecodeAdpcmBlock(const std::uint8_t* block, AdpcmHistory& history, std::int16_t* out) {
  const int shift = AdpcmShiftOf(block[0]);
  // The reserved filters predict nothing, as filter 0.
  static_assert(kAdpcmPositive[kAdpcmReservedFilter] == kAdpcmPositive[0] && kAdpcmNegative[kAdpcmReservedFilter] == kAdpcmNegative[0]);
  switch (AdpcmFilterOf(block[0])) {
    case 0: return DecodeWithFilter<0>(block, shift, history, out);
    case 1: return DecodeWithFilter<1>(block, shift, history, out);
    case 2: return DecodeWithFilter<2>(block, shift, history, out);
    case 3: return DecodeWithFilter<3>(block, shift, history, out);
    case 4: return DecodeWithFilter<4>(block, shift, history, out);
    default: return DecodeWithFilter<0>(block, shift, history, out);
  }
}

}  // namespace kestrel::spu
