#pragma once
// The noise generator shared by all voices in noise mode (psx-spx, "SPU Noise Generator").

#include <cstdint>

namespace kestrel::spu {

struct Noise {
  std::uint16_t level = 0;  // the output, read as a signed sample
  int timer = 0;

  // One 44.1 kHz tick at the clock set by SPUCNT: shift 0..15 (low..high), step 0..3 ("4,5,6,7").
  void tick(int shift, int step) {
    timer -= step + 4;
    if (timer >= 0) return;
    const int parity = ((level >> 15) ^ (level >> 12) ^ (level >> 11) ^ (level >> 10) ^ 1) & 1;
    level = static_cast<std::uint16_t>((level << 1) | parity);
    const int reload = 0x20000 >> shift;
    timer += reload;
    if (timer < 0) timer += reload;
  }
  std::int16_t sample() const { return static_cast<std::int16_t>(level); }
};

}  // namespace kestrel::spu
