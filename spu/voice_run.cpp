// A voice rendered over a run of frames. Between the ends of blocks (and the rare steps of volume
// sweeps) the work per tick is a short loop: interpolate, apply the envelope and volumes, move the
// pitch counter; the envelope only does its own work at its steps. Ticks on which a block may end go
// through Voice::tick, so the samples are the same as ticking one frame at a time. Plain voices, the
// most, skip even that: see renderAtFixedPitch.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

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

// Frames [first, end) with the envelope's level of each: the per-sample work proper, up to the
// sample after the envelope (the volumes come after, see Voice::render). Returns the pitch counter.
template <bool kNoise, bool kModulated>
std::uint32_t RenderFrames(SpanFrames f, int first, int end, RunLevels levels, std::uint32_t position) {
  if constexpr (!kNoise && !kModulated) {
    return InterpolateRun(f.samples, position, f.fixedStep, levels, f.outputs + first, end - first);
  } else {
    for (int i = first; i < end; ++i) {
      const int raw = kNoise ? f.noise[i] : Interpolate(f.samples, position);
      f.outputs[i] = (raw * levels.at(i - first)) >> 15;
      position += kModulated ? ModulatedPitchStep(f.pitch, f.modulator[i]) : f.fixedStep;
    }
    return position;
  }
}

// Levels for a run, with room for writing them four at a time past its end (Adsr::run).
using LevelArray = std::array<int, kMaxRunFrames + 3>;

}  // namespace

// The envelope's level on each tick of a run, stepped as ticking would step it: it holds between its
// steps, and its counter catches up at each step. Bit t of `mutes`: an end without repeat silences
// the voice on tick t. `levels` (room for frames + 3) is written only when the level changes within
// the run. Inline, for the most runs: no step, or one on the last tick, which only the next run hears.
[[gnu::always_inline]] inline RunLevels Voice::envelopeLevels(int frames, std::uint64_t mutes, int* levels, bool& heard) {
  if (mutes == 0) {
    const int quiet = adsr.quietTicks(adsrBits);
    if (quiet >= frames - 1) {
      const int level = adsr.level();
      heard = level != 0;
      adsr.skipTicks(std::min(quiet, frames));
      if (quiet == frames - 1) adsr.tick(adsrBits);
      return {nullptr, level};
    }
  }
  return steppedEnvelopeLevels(frames, mutes, levels, heard);
}

RunLevels Voice::steppedEnvelopeLevels(int frames, std::uint64_t mutes, int* levels, bool& heard) {
  for (int i = 0; i < frames;) {
    if (mutes >> i & 1) adsr.mute(adsrBits);
    const std::uint64_t later = i + 1 < 64 ? mutes >> (i + 1) : 0;
    const int end = later ? i + 1 + std::countr_zero(later) : frames;
    heard |= adsr.run(adsrBits, end - i, levels + i);
    i = end;
  }
  return {levels, 0};
}

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
    // The envelope's levels first, then the samples, all at once.
    LevelArray levels;
    bool heard = false;
    const RunLevels runLevels = envelopeLevels(count, 0, levels.data(), heard);
    position = RenderFrames<kNoise, kModulated>(frames, first, end, runLevels, position);
  }
  counter = position;
  output = run.output[end - 1];
  left.skipTicks(count);
  right.skipTicks(count);
}

// The common case, a plain voice (no noise, no pitch modulation, no sweeps, a level at or above zero),
// over the whole run in three passes instead of spans between block ends. First the pitch counter
// alone, from block end to block end: the ends act on their flags and the blocks loaded go one after
// the other into a line of samples, where the counter runs on without wrapping (a block is a whole
// number of samples, so the interpolation reads the same four samples with the same weights). Then
// the envelope's level per frame, with the mutes of ends without repeat on their ticks. Then the
// samples and their volumes, all frames at once. False when the voice is not plain.
bool Voice::renderAtFixedPitch(VoiceRun& run) {
  if (run.frames <= 0 || run.noise || run.modulator || left.setting.sweep() || right.setting.sweep() || adsr.level() < 0)
    return false;
  const int frames = run.frames;
  const std::uint32_t step = PitchStep(pitch);
  byStep.use(step);
  const std::uint32_t start = counter;
  // At most 64 ticks of the largest step: 256 samples, ten blocks after the one playing.
  static_assert(kMaxRunFrames * kMaxPitchStep / kBlockCounterSpan + 1 <= 10);
  std::array<std::int16_t, 3 + 11 * kAdpcmSamplesPerBlock> line;
  // Copies of a fixed size, so the compiler makes them a few moves rather than a library call.
  std::memcpy(line.data(), samples.data(), sizeof samples);
  std::int16_t* lineEnd = line.data() + samples.size();
  std::uint64_t mutes = 0;  // bit t: an end without repeat silences the voice on tick t
  // From block to block: the tick on which the counter first stands at or past kBlockEndCounter acts on
  // the end flags, the one whose step reaches the end of the block loads the next.
  constexpr int kNever = kMaxRunFrames;
  for (int t = 0; t < frames;) {
    const int toLoad = step == 0 ? kNever : static_cast<int>(byStep.quotient(kBlockCounterSpan - 1 - counter));
    if (!blockEndHandled) {
      const int toEnd = counter >= kBlockEndCounter ? 0
                        : step == 0                 ? kNever
                                                    : static_cast<int>(byStep.quotient(kBlockEndCounter - counter + step - 1));
      if (toEnd <= toLoad && t + toEnd < frames) {
        blockEndHandled = true;
        if (blockFlags & kAdpcmLoopEnd) {
          run.reachedLoopEnd = true;
          if (!(blockFlags & kAdpcmLoopRepeat)) mutes |= std::uint64_t{1} << (t + toEnd);
        }
      }
    }
    if (t + toLoad >= frames) {
      counter += static_cast<std::uint32_t>(frames - t) * step;
      break;
    }
    t += toLoad;  // the tick that loads
    counter += static_cast<std::uint32_t>(toLoad + 1) * step - kBlockCounterSpan;
    nextBlock(run.ram, run.blocks, lineEnd);
    lineEnd += kAdpcmSamplesPerBlock;
    run.touchedIrqUnit |= blockCovers(run.irqUnit);
    if (run.unsafe.covers(currentAddress, t)) {
      run.readUnsafeBlock = true;
      return true;
    }
    ++t;
  }

  // The voice holds the newest block and the three samples before it, as ticking would have left them.
  // The block is copied back as it was copied in, in the same pieces: a read that straddles the
  // stores just made would wait for them to reach memory.
  if (lineEnd != line.data() + samples.size()) {
    const std::size_t older = samples.size() - kAdpcmSamplesPerBlock;
    std::memcpy(samples.data(), lineEnd - samples.size(), older * sizeof samples[0]);
    std::memcpy(samples.data() + older, lineEnd - kAdpcmSamplesPerBlock, kAdpcmSamplesPerBlock * sizeof samples[0]);
  }

  LevelArray levels;
  bool heard = false;
  const RunLevels runLevels = envelopeLevels(frames, mutes, levels.data(), heard);
  if (heard) {
    const VoiceShare share{left.level(), right.level(), run.left, run.right};
    InterpolateRun(line.data(), start, step, runLevels, run.output, frames, &share);
  } else {
    std::fill_n(run.output, frames, 0);
  }
  output = run.output[frames - 1];
  return true;
}

// The volumes are applied to the samples after the envelope in a second pass. With fixed volumes that
// pass covers the whole run at once in vector form; its 16-bit lanes hold every sample because an
// envelope that starts at or above zero stays there. Otherwise (sweeps, a negative level written to
// ENVX) each span and tick adds its own share with the levels of its time.
void Voice::renderInSpans(VoiceRun& run) {
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
