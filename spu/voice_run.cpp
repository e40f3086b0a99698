// A voice rendered over a run of frames. Between the ends of blocks (and the rare steps of volume
// sweeps) the work per tick is a short loop: interpolate, apply the envelope and volumes, move the
// pitch counter; the envelope only does its own work at its steps. Ticks on which a block may end go
// through Voice::tick, so the samples are the same as ticking one frame at a time.
#include <algorithm>

#include "spu/voice.h"

namespace kestrel::spu {

int Voice::ticksBeforeBlockEnd(const VoiceRun& run) const {
  int ticks = std::min(left.quietTicks(), right.quietTicks());
  // Until the pitch counter can reach the end of the block; a modulated step is at most the maximum.
  const std::uint32_t step = run.modulator ? kMaxPitchStep : PitchStep(pitch);
  if (step != 0) ticks = std::min(ticks, static_cast<int>((kBlockCounterSpan - 1 - counter) / step));
  return ticks;
}

template <bool kNoise, bool kModulated>
void Voice::renderSpan(VoiceRun& run, int first, int count) {
  // Locals throughout: stores through the output pointers could alias members and fields of `run`,
  // which would make the compiler reload them on every frame.
  const int end = first + count;
  const std::uint16_t pitchRegister = pitch;
  const std::uint32_t fixedStep = PitchStep(pitch);
  const int* modulator = run.modulator;
  int* outputs = run.output;
  std::uint32_t position = counter;
  if (adsr.phase == AdsrPhase::Off && adsr.level() == 0) {
    // Silent for good: nothing to hear or to add, but the pitch counter still runs.
    std::fill(outputs + first, outputs + end, 0);
    if (!kModulated) position += static_cast<std::uint32_t>(count) * fixedStep;
    for (int i = first; kModulated && i < end; ++i) position += ModulatedPitchStep(pitchRegister, modulator[i]);
  } else {
    const int leftLevel = left.level(), rightLevel = right.level();
    const std::int16_t* blockSamples = samples.data();
    const std::int16_t* noise = run.noise;
    int* sumLeft = run.left;
    int* sumRight = run.right;
    // The envelope's counter catches up at its steps only: until then its level holds.
    int level = adsr.level();
    int envelopeSynced = first;
    int envelopeStep = first + adsr.quietTicks(adsrBits);
    for (int i = first; i < end; ++i) {
      const int raw = kNoise ? noise[i] : Interpolate(blockSamples, position);
      const int out = (raw * level) >> 15;
      outputs[i] = out;
      sumLeft[i] += (out * leftLevel) >> 15;
      sumRight[i] += (out * rightLevel) >> 15;
      position += kModulated ? ModulatedPitchStep(pitchRegister, modulator[i]) : fixedStep;
      if (i == envelopeStep) {
        adsr.skipTicks(i - envelopeSynced);
        adsr.tick(adsrBits);
        envelopeSynced = i + 1;
        level = adsr.level();
        envelopeStep = i + 1 + adsr.quietTicks(adsrBits);
      }
    }
    adsr.skipTicks(end - envelopeSynced);
  }
  counter = position;
  output = outputs[end - 1];
  left.skipTicks(count);
  right.skipTicks(count);
}

void Voice::render(VoiceRun& run) {
  for (int i = 0; i < run.frames;) {
    const int span = std::min(ticksBeforeBlockEnd(run), run.frames - i);
    if (span > 0) {
      if (run.noise) {
        if (run.modulator) renderSpan<true, true>(run, i, span);
        else renderSpan<true, false>(run, i, span);
      } else {
        if (run.modulator) renderSpan<false, true>(run, i, span);
        else renderSpan<false, false>(run, i, span);
      }
      i += span;
      if (i == run.frames) break;
    }
    // The block may end on this tick, or a sweep step.
    VoiceTickInput in;
    in.ram = run.ram;
    in.noiseMode = run.noise != nullptr;
    in.noise = run.noise ? run.noise[i] : 0;
    in.pitchModulated = run.modulator != nullptr;
    in.previousVoiceOutput = run.modulator ? run.modulator[i] : 0;
    const VoiceTickOutput out = tick(in);
    run.output[i] = output;
    run.left[i] += out.left;
    run.right[i] += out.right;
    run.reachedLoopEnd |= out.reachedLoopEnd;
    if (out.loadedBlock && run.unsafe.covers(currentAddress, i)) {
      run.readUnsafeBlock = true;
      return;
    }
    ++i;
  }
}

}  // namespace kestrel::spu
