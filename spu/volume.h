#pragma once
// A voice or main volume: a fixed level, or a sweep that moves the level with an Envelope.

#include <cstdint>

#include "spu/envelope.h"
#include "abi/spu_registers.h"

namespace kestrel::spu {

struct Volume {
  spu_reg::VolumeBits setting;  // the register as written
  Envelope current;    // the level in force, -8000h..+7FFFh
  EnvelopeRate sweepRate;

  void write(std::uint16_t value);
  // One 44.1 kHz tick: a sweep moves the level.
  void tick() {
    if (setting.sweep()) current.tick(sweepRate);
  }
  int level() const { return current.level; }
  // Ticks from now that leave the level unchanged, and skipping that many at once.
  int quietTicks() const { return setting.sweep() ? current.ticksBeforeStep(sweepRate) : Envelope::kNeverSteps; }
  void skipTicks(int ticks) {
    if (setting.sweep()) current.skipTicks(sweepRate, ticks);
  }
  // The 16-bit form of the level as the current-volume registers read it.
  std::uint16_t levelRegister() const { return static_cast<std::uint16_t>(current.level); }
};

}  // namespace kestrel::spu
