#include "spu/adsr.h"

#include <algorithm>
#include <climits>

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

namespace {
// levels[first, stop) = level, four at a time (a few short stores beat a library fill of a short span).
void FillLevels(int* levels, int first, int stop, int level) {
  for (int i = first; i < stop; i += 4) levels[i] = levels[i + 1] = levels[i + 2] = levels[i + 3] = level;
}

// How a phase steps while its increment holds (Envelope::steadyIncrement): a linear rise or fall, or
// an exponential fall.
enum class SteadyKind { kLinearUp, kLinearDown, kExponentialDown };

// Steps of a phase that steps every `period` ticks from tick i on, its level filled in per tick, as
// Envelope::step would take them, until the run ends or the level meets the phase's end: at or above
// `upTo` (rising) or below `downTo` (falling). Returns the tick after the last step; `level` is the
// level after it.
template <SteadyKind kKind, bool kEveryTick>
int SteadySteps(int& level, int step, int period, int upTo, int downTo, int* levels, int i, int ticks, int& heard) {
  int at = level;
  while (i + (kEveryTick ? 1 : period) <= ticks) {
    if constexpr (kEveryTick) {
      levels[i++] = at;  // one store, not four
    } else {
      FillLevels(levels, i, i + period, at);
      i += period;
    }
    heard |= at;
    if constexpr (kKind == SteadyKind::kLinearUp) {
      at = std::clamp(at + step, -0x8000, 0x7FFF);
      if (at >= upTo) break;
    } else {
      at = std::max(at + (kKind == SteadyKind::kExponentialDown ? (step * at) >> 15 : step), 0);
      if (at < downTo) break;
    }
  }
  level = at;
  return i;
}

// The fastest rates step on every tick: a loop of their own, with no period to count.
template <SteadyKind kKind>
int SteadySteps(int& level, int step, int period, int upTo, int downTo, int* levels, int i, int ticks, int& heard) {
  if (period == 1) return SteadySteps<kKind, true>(level, step, 1, upTo, downTo, levels, i, ticks, heard);
  return SteadySteps<kKind, false>(level, step, period, upTo, downTo, levels, i, ticks, heard);
}
}  // namespace

bool Adsr::run(spu_reg::AdsrBits bits, int ticks, int* levels) {
  int heard = 0;
  for (int i = 0; i < ticks;) {
    const int quiet = quietTicks(bits);
    if (quiet >= ticks - i) {
      FillLevels(levels, i, ticks, level());
      heard |= level();
      skipTicks(ticks - i);
      break;
    }
    FillLevels(levels, i, i + quiet + 1, level());
    heard |= level();
    skipTicks(quiet);
    const AdsrPhase stepping = phase;
    tick(bits);
    i += quiet + 1;
    // Right after a step within a phase the counter is at zero and the phase's end is not reached,
    // so while the phase and its increment hold, each next step comes one period later: no need to
    // work out the quiet stretch again.
    if (envelope.counter != 0 || phase != stepping || !Envelope::steadyIncrement(rate)) continue;
    // The levels at which the phase ends (endPhaseIfDone); a sustain runs on.
    const int upTo = phase == AdsrPhase::Attack ? 0x7FFF : INT_MAX;
    const int downTo = phase == AdsrPhase::Decay ? bits.sustainLevel() : phase == AdsrPhase::Release ? 1 : INT_MIN;
    const int period = envelope.period(rate);
    if (!rate.decreasing)
      i = SteadySteps<SteadyKind::kLinearUp>(envelope.level, rate.step, period, upTo, downTo, levels, i, ticks, heard);
    else if (!rate.exponential)
      i = SteadySteps<SteadyKind::kLinearDown>(envelope.level, rate.step, period, upTo, downTo, levels, i, ticks, heard);
    else
      i = SteadySteps<SteadyKind::kExponentialDown>(envelope.level, rate.step, period, upTo, downTo, levels, i, ticks, heard);
    endPhaseIfDone(bits);
  }
  return heard != 0;
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
