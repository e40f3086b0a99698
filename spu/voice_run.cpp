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
  int* sumLeft;
  int* sumRight;
  std::uint16_t pitch;
  std::uint32_t fixedStep;
  int leftLevel, rightLevel;
};

// Frames [first, end) at one envelope level: the per-sample work proper. Returns the pitch counter.
template <bool kNoise, bool kModulated>
std::uint32_t RenderFrames(SpanFrames f, int first, int end, int level, std::uint32_t position) {
  for (int i = first; i < end; ++i) {
    const int raw = kNoise ? f.noise[i] : Interpolate(f.samples, position);
    const int out = (raw * level) >> 15;
    f.outputs[i] = out;
    f.sumLeft[i] += (out * f.leftLevel) >> 15;
    f.sumRight[i] += (out * f.rightLevel) >> 15;
    position += kModulated ? ModulatedPitchStep(f.pitch, f.modulator[i]) : f.fixedStep;
  }
  return position;
}

}  // namespace

template <bool kNoise, bool kModulated>
void Voice::renderSpan(VoiceRun& run, int first, int count) {
  const int end = first + count;
  const SpanFrames frames{samples.data(), run.noise, run.modulator, run.output, run.left, run.right,
                          pitch, PitchStep(pitch), left.level(), right.level()};
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
    in.blocks = run.blocks;
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
