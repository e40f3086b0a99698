#pragma once
// The ADSR generator of one voice: attack, decay, sustain and release phases over one Envelope.

#include <cstdint>

#include "spu/envelope.h"
#include "spu/registers.h"

namespace kestrel::spu {

enum class AdsrPhase : std::uint8_t { Off, Attack, Decay, Sustain, Release };

struct Adsr {
  AdsrPhase phase = AdsrPhase::Off;
  Envelope envelope;
  EnvelopeRate rate;

  // Key on: the level restarts from zero in attack.
  void keyOn(AdsrBits bits);
  // Key off: release from the present level.
  void keyOff(AdsrBits bits);
  // The end of a one-shot sample: release with the level forced to zero.
  void mute(AdsrBits bits);
  // New ADSR register values take effect in the present phase.
  void settingsChanged(AdsrBits bits) { enter(phase, bits); }
  // One 44.1 kHz tick.
  void tick(AdsrBits bits);

  int level() const { return envelope.level; }

 private:
  void enter(AdsrPhase next, AdsrBits bits);
};

}  // namespace kestrel::spu
