#pragma once
// Clamping to 16 bits, the SPU's saturation everywhere from the ADPCM decoder to the mix.

namespace kestrel::spu {

// A test that is almost never true: cheaper in chains of dependent arithmetic (the ADPCM filters,
// the reverb, the mix) than the two conditional moves of std::clamp.
inline int Saturate16(int value) {
  if (static_cast<unsigned>(value + 0x8000) > 0xFFFF) [[unlikely]]
    return value < 0 ? -0x8000 : 0x7FFF;
  return value;
}

}  // namespace kestrel::spu
