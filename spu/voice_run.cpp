// A voice rendered over a run of frames. Between the ends of blocks (and the rare steps of volume
// sweeps) the work per tick is a short loop: interpolate, apply the envelope and volumes, move the
// pitch counter; the envelope only does its own work at its steps. Ticks on which a block may end go
// through Voice::tick, so the samples are the same as ticking one frame at a time.
#include <algorithm>

#include "spu/voice_run.h"

namespace kestrel::spu {

int Voice::ticksBeforeBlockEnd(const VoiceRun& run) const {
  int ticks = std::min(left.quietTicks(), right.quietTicks());
  // Until the pitch counter can reach the end of the block; a modulated step is at most the maximum.
  const std::uint32_t step = run.modulator ? kMaxPitchStep : PitchStep(pitch);
  if (step != 0) ticks = std::min(ticks, static_cast<int>((kBlockCounterSpan - 1 - counter) / step));
  // Nor a tick that acts on the block's end flags (only an end flag does anything there).
  if (!blockEndHandled && (blockFlags & kAdpcmLoopEnd)) {
    if (counter >= kBlockEndCounter) return 0;
    if (step != 0) ticks = std::min(ticks, static_cast<int>((kBlockEndCounter - 1 - counter) / step) + 1);
  }
  return ticks;
}

namespace {

// What the frames of a span share. Passed by value: as a local copy nothing can alias it, so the
// compiler keeps it in registers while storing through the pointers.
struct SpanFrames {
  const std::int16_t* samples;
  const std::int16_t* noise;
  const int* modulator;
  int* outputs;
  std::uint16_t pitch;
  std::uint32_t fixedStep;
};

// Frames [first, end) at one envelope level: the per-sample work proper, up to the sample after the
// envelope (the volumes come after, see Voice::render). Returns the pitch counter.
template <bool kNoise, bool kModulated>
std::uint32_t RenderFrames(SpanFrames f, int first, int end, int level, std::uint32_t position) {
  for (int i = first; i < end; ++i) {
    const int raw = kNoise ? f.noise[i] : Interpolate(f.samples, position);
    const int out = (raw * level) >> 15;
    f.outputs[i] = out;
    position += kModulated ? ModulatedPitchStep(f.pitch, f.modulator[i]) : f.fixedStep;
  }
  return position;
}

}  // namespace

template <bool kNoise, bool kModulated>
void Voice::renderSpan(VoiceRun& run, int first, int count) {
  const int end = first + count;
  const SpanFrames frames{samples.data(), run.noise, run.modulator, run.output, pitch, PitchStep(pitch)};
  std::uint32_t position = counter;
  if (silentForGood()) {
    // Nothing to hear or to add, but the pitch counter still runs.
    std::fill(run.output + first, run.output + end, 0);
    if (!kModulated) position += static_cast<std::uint32_t>(count) * frames.fixedStep;
    for (int i = first; kModulated && i < end; ++i) position += ModulatedPitchStep(pitch, run.modulator[i]);
  } else {
    // The envelope's level holds between its steps; its counter catches up at each step.
    int synced = first;
    for (int i = first; i < end;) {
      const int stepAt = i + adsr.quietTicks(adsrBits);
      const int stop = std::min(end, stepAt + 1);
      position = RenderFrames<kNoise, kModulated>(frames, i, stop, adsr.level(), position);
      if (stop == stepAt + 1) {
        adsr.skipTicks(stepAt - synced);
        adsr.tick(adsrBits);
        synced = stop;
      }
      i = stop;
    }
    adsr.skipTicks(end - synced);
  }
  counter = position;
  output = run.output[end - 1];
  left.skipTicks(count);
  right.skipTicks(count);
}

// The volumes are applied to the samples after the envelope in a second pass. With fixed volumes that
// pass covers the whole run at once in vector form; its 16-bit lanes hold every sample because an
// envelope that starts at or above zero stays there. Otherwise (sweeps, a negative level written to
// ENVX) each span and tick adds its own share with the levels of its time.
void Voice::render(VoiceRun& run) {
  const bool volumesAfterRun = !left.setting.sweep() && !right.setting.sweep() && adsr.level() >= 0;
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
      // A span ends before a sweep's step, so the levels now are those of the whole span.
      if (!volumesAfterRun)
        AddScaledPlain(run.output + i, span, left.level(), right.level(), run.left + i, run.right + i);
      i += span;
      if (i == run.frames) break;
    }
    // The block may end on this tick, or a sweep step.
    VoiceTickInput in;
    in.ram = run.ram;
    in.blocks = run.blocks;
    in.noiseMode = run.noise != nullptr;
    in.noise = run.noise ? run.noise[i] : 0;
    in.pitchModulated = run.modulator != nullptr;
    in.previousVoiceOutput = run.modulator ? run.modulator[i] : 0;
    in.irqUnit = run.irqUnit;
    const VoiceTickOutput out = tick(in);
    run.output[i] = output;
    if (!volumesAfterRun) {
      run.left[i] += out.left;
      run.right[i] += out.right;
    }
    run.reachedLoopEnd |= out.reachedLoopEnd;
    run.touchedIrqUnit |= out.touchedIrqUnit;
    if (out.loadedBlock && run.unsafe.covers(currentAddress, i)) {
      run.readUnsafeBlock = true;
      return;
    }
    ++i;
  }
  if (volumesAfterRun) AddScaled(run.output, run.frames, left.level(), right.level(), run.left, run.right);
}

}  // namespace kestrel::spu
