#pragma once
// One of the 24 voices: ADPCM playback from sound RAM with the pitch counter, Gaussian
// interpolation, the ADSR envelope and the left/right volumes.

#include <array>
#include <cstdint>

#include "spu/adpcm.h"
#include "spu/adsr.h"
#include "spu/decoded_block_cache.h"
#include "abi/spu_registers.h"
#include "spu/sample_math.h"
#include "spu/tables.h"
#include "spu/volume.h"

namespace kestrel::spu {

// Division by a pitch step (at most 4000h) of the pitch-counter spans within a block (below 2^18) as
// a multiply by a rounded-up reciprocal: exact there, as the error stays below 1 / step, and a few
// divisions per voice and render call would cost a fair part of the walk from block to block.
class StepDivider {
 public:
  void use(std::uint32_t step) {
    if (step == step_) return;
    step_ = step;
    reciprocal_ = step == 0 ? 0 : 0xFFFFFFFFull / step + 1;
  }
  std::uint32_t quotient(std::uint32_t span) const { return static_cast<std::uint32_t>((span * reciprocal_) >> 32); }

 private:
  std::uint32_t step_ = 0;
  std::uint64_t reciprocal_ = 0;
};

// What a voice needs from the rest of the SPU for one tick.
struct VoiceTickInput {
  const std::uint8_t* ram = nullptr;
  DecodedBlockCache* blocks = nullptr;  // null: decode every block afresh (the reference path)
  bool plainKernels = false;            // the scalar kernels instead of the vector ones (the reference path)
  std::int16_t noise = 0;
  bool noiseMode = false;
  bool pitchModulated = false;
  int previousVoiceOutput = 0;  // the voice below, this tick, after its envelope
  std::uint32_t irqUnit = spu_reg::kNoIrqUnit;
};

struct VoiceTickOutput {
  int left = 0;
  int right = 0;
  bool reachedLoopEnd = false;
  bool loadedBlock = false;
  bool touchedIrqUnit = false;  // the block playing or loaded lies on the IRQ address
};

struct VoiceRun;  // voice_run.h

struct Voice {
  // Registers as written (addresses in 8-byte units).
  Volume left, right;
  std::uint16_t pitch = 0;
  std::uint16_t startAddress = 0;
  std::uint16_t repeatAddress = 0;
  spu_reg::AdsrBits adsrBits;

  // Playback state.
  Adsr adsr;
  std::uint32_t currentAddress = 0;  // bytes, block-aligned
  std::uint32_t counter = 0;         // pitch counter: bits 12+ sample in block, bits 4..11 interpolation index
  AdpcmHistory history;
  std::array<std::int16_t, 3 + kAdpcmSamplesPerBlock> samples{};  // three samples of the previous block, then this one
  std::uint8_t blockFlags = 0;
  bool blockEndHandled = false;    // this block's end flags have been acted on (see kBlockEndCounter)
  bool keyedOn = false;            // silent and idle until the first key on (also after loading a state)
  bool repeatAddressSet = false;   // a written repeat address wins over loop-start flags until the next key on
  int output = 0;                  // this tick's sample after the envelope, before the volumes
  StepDivider byStep;              // for the step of the last run

  void keyOn(const std::uint8_t* ram, DecodedBlockCache* blocks);
  void keyOff() { adsr.keyOff(adsrBits); }
  void writeRepeatAddress(std::uint16_t value) {
    repeatAddress = value;
    repeatAddressSet = true;
  }
  void writeAdsr(std::uint32_t bits) {
    adsrBits.value = bits;
    adsr.settingsChanged(adsrBits);
  }

  // One 44.1 kHz tick of a keyed-on voice.
  VoiceTickOutput tick(const VoiceTickInput& in);
  // run.frames ticks of a keyed-on voice, giving the same samples as tick() (voice_run.cpp). Inline:
  // the call per voice and chunk goes straight to the plain voices' path, the most taken.
  void render(VoiceRun& run) {
    if (!renderAtFixedPitch(run)) renderInSpans(run);
  }
  void tickVolumes() {
    left.tick();
    right.tick();
  }
  // Whether the block being played covers the 8-byte unit `unit` of sound RAM.
  bool blockCovers(std::uint32_t unit) const { return readsHeaderAt(unit) || (currentAddress >> 3) + 1 == unit; }
  // A voice reads the header of the block it plays on every tick, so its first unit raises the IRQ
  // again at once after an acknowledge (psx-spx, "SPU Internal State Machine from SPU RAM Timing").
  bool readsHeaderAt(std::uint32_t unit) const { return (currentAddress >> 3) == unit; }
  // Silent until the next key on or ENVX write: the envelope is off at level zero.
  bool silentForGood() const { return adsr.phase == AdsrPhase::Off && adsr.level() == 0; }
  // False for a voice that was never keyed on and has no sweep: ticks leave it as it is.
  bool changesWhenTicked() const { return keyedOn || left.setting.sweep() || right.setting.sweep(); }
  // `ticks` ticks of a voice that is not keyed on: only sweeps move.
  void tickIdle(int ticks) {
    if (!left.setting.sweep() && !right.setting.sweep()) return;
    for (int i = 0; i < ticks; ++i) tickVolumes();
  }

 private:
  void loadBlock(const std::uint8_t* ram, DecodedBlockCache* blocks, std::int16_t* out);  // the samples to `out`
  void handleBlockEnd(bool noiseMode, VoiceTickOutput& out);
  void nextBlock(const std::uint8_t* ram, DecodedBlockCache* blocks);
  void nextBlock(const std::uint8_t* ram, DecodedBlockCache* blocks, std::int16_t* out);  // samples left as they are
  int ticksBeforeBlockEnd(const VoiceRun& run) const;  // nor a sweep's step
  RunLevels envelopeLevels(int frames, std::uint64_t mutes, int* levels, bool& heard);
  RunLevels steppedEnvelopeLevels(int frames, std::uint64_t mutes, int* levels, bool& heard);
  bool renderAtFixedPitch(VoiceRun& run);
  void renderInSpans(VoiceRun& run);
  template <bool kNoise, bool kModulated>
  void renderSpan(VoiceRun& run, int first, int count);
};

// The Gaussian interpolation of four samples around the pitch counter (bits 12+: the sample in the
// block, bits 4..11: the table position); `samples` holds three samples of the previous block first.
inline int Interpolate(const std::int16_t* samples, std::uint32_t counter) {
  const GaussWeights& w = kGaussWeights[(counter >> 4) & 0xFF];
  return WeightedSum4(w.data(), samples + (counter >> 12));  // oldest sample first
}
inline int InterpolatePlain(const std::int16_t* samples, std::uint32_t counter) {
  const GaussWeights& w = kGaussWeights[(counter >> 4) & 0xFF];
  return WeightedSum4Plain(w.data(), samples + (counter >> 12));
}

inline constexpr std::uint32_t kMaxPitchStep = 0x4000;
inline constexpr std::uint32_t kBlockCounterSpan = kAdpcmSamplesPerBlock << 12;  // a block in pitch-counter units
// The console decodes a few samples ahead of what it plays and acts on a block's end flags (ENDX, the
// mute of an end without repeat) when its decoder moves on to the next block: while the newest
// sample under the interpolation is sample 21 of the block, about 8 samples before the block has
// been heard to its end (hardware captures; the decoder refills once fewer than 11 decoded samples
// are left).
inline constexpr std::uint32_t kBlockEndCounter = 21u << 12;

// The pitch counter's step for one tick.
inline std::uint32_t PitchStep(std::uint16_t pitch) { return pitch < kMaxPitchStep ? pitch : kMaxPitchStep; }
inline std::uint32_t ModulatedPitchStep(std::uint16_t pitch, int previousVoiceOutput) {
  // The voice below scales the step by 0..1.99; pitches of 8000h and up are taken as negative
  // (psx-spx, "Pitch Counter").
  const int factor = previousVoiceOutput + 0x8000;
  const int signedStep = static_cast<std::int16_t>(pitch);
  return PitchStep(static_cast<std::uint16_t>((signedStep * factor) >> 15));
}

}  // namespace kestrel::spu
