#include "spu/adsr.h"

namespace kestrel::spu {

void Adsr::enter(AdsrPhase next, spu_reg::AdsrBits bits) {
  phase = next;
  switch (next) {
    case AdsrPhase::Attack:
      rate = EnvelopeRate::Make(bits.attackShift(), bits.attackStep(), bits.attackExponential(), false);
      break;
    case AdsrPhase::Decay:  // always exponential, step -8
      rate = EnvelopeRate::Make(bits.decayShift(), 0, true, true);
      break;
    case AdsrPhase::Sustain:
      rate = EnvelopeRate::Make(bits.sustainShift(), bits.sustainStep(), bits.sustainExponential(),
                                bits.sustainDecreasing());
      break;
    case AdsrPhase::Release:  // always decreasing, step -8
      rate = EnvelopeRate::Make(bits.releaseShift(), 0, bits.releaseExponential(), true);
      break;
    case AdsrPhase::Off:
      break;
  }
}

void Adsr::keyOn(spu_reg::AdsrBits bits) {
  envelope.reset(0);
  enter(AdsrPhase::Attack, bits);
}

void Adsr::keyOff(spu_reg::AdsrBits bits) {
  if (phase == AdsrPhase::Off) return;
  enter(AdsrPhase::Release, bits);
  // The release takes its first step on the first tick, however slow its rate: soon after a key off
  // from 7FFFh the console reads 7FF7h, where a step counter started from zero would still wait.
  envelope.primeStep();
}

void Adsr::mute(spu_reg::AdsrBits bits) {
  envelope.reset(0);
  enter(AdsrPhase::Release, bits);
}

}  // namespace kestrel::spu
