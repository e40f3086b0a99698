#pragma once
// The ADSR generator of one voice: attack, decay, sustain and release phases over one Envelope.

#include <cstdint>

#include "spu/envelope.h"
#include "abi/spu_registers.h"

namespace kestrel::spu {

enum class AdsrPhase : std::uint8_t { Off, Attack, Decay, Sustain, Release };

struct Adsr {
  AdsrPhase phase = AdsrPhase::Off;
  Envelope envelope;
  EnvelopeRate rate;

  // Key on: the level restarts from zero in attack.
  void keyOn(spu_reg::AdsrBits bits);
  // Key off: release from the present level.
  void keyOff(spu_reg::AdsrBits bits);
  // The end of a one-shot sample: release with the level forced to zero.
  void mute(spu_reg::AdsrBits bits);
  // New ADSR register values take effect in the present phase.
  void settingsChanged(spu_reg::AdsrBits bits) { enter(phase, bits); }
  // One 44.1 kHz tick.
  void tick(spu_reg::AdsrBits bits);
  // `ticks` ticks, with the level of each into levels[0, ticks) (written four at a time: room for
  // three more). Returns whether any of them is not zero.
  bool run(spu_reg::AdsrBits bits, int ticks, int* levels);

  int level() const { return envelope.level; }

  // Ticks from now that would leave level and phase unchanged (only the step counter moves), and
  // skipping that many at once.
  int quietTicks(spu_reg::AdsrBits bits) const;
  void skipTicks(int ticks) {
    if (phase != AdsrPhase::Off) envelope.skipTicks(rate, ticks);
  }

 private:
  void enter(AdsrPhase next, spu_reg::AdsrBits bits);
  void endPhaseIfDone(spu_reg::AdsrBits bits);
};

// Inline: it runs for every voice on every sample.
inline void Adsr::tick(spu_reg::AdsrBits bits) {
  if (phase == AdsrPhase::Off) return;
  envelope.tick(rate);
  endPhaseIfDone(bits);
}

inline void Adsr::endPhaseIfDone(spu_reg::AdsrBits bits) {
  switch (phase) {
    case AdsrPhase::Attack:
      if (envelope.level >= 0x7FFF) enter(AdsrPhase::Decay, bits);
      break;
    case AdsrPhase::Decay:
      if (envelope.level < bits.sustainLevel()) enter(AdsrPhase::Sustain, bits);
      break;
    case AdsrPhase::Release:
      if (envelope.level <= 0) {
        envelope.level = 0;
        phase = AdsrPhase::Off;
      }
      break;
    default:
      break;
  }
}

inline int Adsr::quietTicks(spu_reg::AdsrBits bits) const {
  // A phase ends at the next tick when its end condition already holds (after an ENVX or ADSR write).
  switch (phase) {
    case AdsrPhase::Off:
      return Envelope::kNeverSteps;
    case AdsrPhase::Attack:
      if (envelope.level >= 0x7FFF) return 0;
      break;
    case AdsrPhase::Decay:
      if (envelope.level < bits.sustainLevel()) return 0;
      break;
    case AdsrPhase::Release:
      if (envelope.level <= 0) return 0;
      break;
    case AdsrPhase::Sustain:
      break;
  }
  return envelope.ticksBeforeStep(rate);
}

}  // namespace kestrel::spu
