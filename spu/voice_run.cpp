// A voice rendered over a run of frames. Most ticks change nothing but counters: the envelope and the
// sweeps have not reached their next step and the block goes on. Such quiet stretches run in a tight
// loop with the levels held in registers; every other tick goes through Voice::tick, so the samples
// are the same as ticking one frame at a time.
#include <algorithm>

#include "spu/voice.h"

namespace kestrel::spu {

int Voice::quietTicks(const VoiceRun& run) const {
  int ticks = std::min({adsr.quietTicks(adsrBits), left.quietTicks(), right.quietTicks()});
  // Until the pitch counter can reach the end of the block; a modulated step is at most the maximum.
  const std::uint32_t step = run.modulator ? kMaxPitchStep : PitchStep(pitch);
  if (step != 0) ticks = std::min(ticks, static_cast<int>((kBlockCounterSpan - 1 - counter) / step));
  return ticks;
}

template <bool kNoise, bool kModulated>
void Voice::renderQuiet(VoiceRun& run, int first, int count) {
  // Locals throughout: stores through the output pointers could alias members and fields of `run`,
  // which would make the compiler reload them on every frame.
  const int end = first + count;
  const int level = adsr.level();
  const std::uint16_t pitchRegister = pitch;
  const std::uint32_t fixedStep = PitchStep(pitch);
  const int* modulator = run.modulator;
  int* outputs = run.output;
  std::uint32_t position = counter;
  if (level == 0) {
    // Silent: nothing to hear or to add, but the pitch counter still runs.
    std::fill(outputs + first, outputs + end, 0);
    if (!kModulated) position += static_cast<std::uint32_t>(count) * fixedStep;
    for (int i = first; kModulated && i < end; ++i) position += ModulatedPitchStep(pitchRegister, modulator[i]);
  } else {
    const int leftLevel = left.level(), rightLevel = right.level();
    const std::int16_t* blockSamples = samples.data();
    const std::int16_t* noise = run.noise;
    int* sumLeft = run.left;
    int* sumRight = run.right;
    for (int i = first; i < end; ++i) {
      const int raw = kNoise ? noise[i] : Interpolate(blockSamples, position);
      const int out = (raw * level) >> 15;
      outputs[i] = out;
      sumLeft[i] += (out * leftLevel) >> 15;
      sumRight[i] += (out * rightLevel) >> 15;
      position += kModulated ? ModulatedPitchStep(pitchRegister, modulator[i]) : fixedStep;
    }
  }
  counter = position;
  output = outputs[end - 1];
  adsr.skipTicks(count);
  left.skipTicks(count);
  right.skipTicks(count);
}

void Voice::render(VoiceRun& run) {
  for (int i = 0; i < run.frames;) {
    const int quiet = std::min(quietTicks(run), run.frames - i);
    if (quiet > 0) {
      if (run.noise) {
        if (run.modulator) renderQuiet<true, true>(run, i, quiet);
        else renderQuiet<true, false>(run, i, quiet);
      } else {
        if (run.modulator) renderQuiet<false, true>(run, i, quiet);
        else renderQuiet<false, false>(run, i, quiet);
      }
      i += quiet;
      if (i == run.frames) break;
    }
    // Something steps or the block ends on this tick.
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
