// The Spu's 44.1 kHz output: voices, CD input, capture buffers, reverb and the main volume.
//
// Rendering goes in chunks of frames. The voices of a chunk are rendered one voice at a time into
// per-frame sums, then the chunk is mixed frame by frame. That order gives the same samples as
// ticking the whole SPU frame by frame because, within one render call, registers do not change and a
// voice depends on nothing from the same tick but the voice below it (pitch modulation), which is
// rendered first. The exception is a voice reading sound RAM that the mix writes meanwhile (capture
// buffers, reverb work area); such a chunk is rendered again frame by frame.
#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

#include "abi/spu_stems.h"
#include "spu/le16.h"
#include "spu/sample_math.h"
#include "spu/spu.h"
#include "spu/voice_run.h"

namespace kestrel::spu {
namespace {

constexpr int kChunkFrames = kMaxRunFrames;

int Scale(int sample, std::uint16_t volume) { return (sample * static_cast<std::int16_t>(volume)) >> 15; }

constexpr std::uint32_t kCaptureCdLeft = 0, kCaptureCdRight = spu_reg::kCaptureBufferBytes,
                        kCaptureVoice1 = 2 * spu_reg::kCaptureBufferBytes, kCaptureVoice3 = 3 * spu_reg::kCaptureBufferBytes;

void Store16(std::uint8_t* ram, std::uint32_t address, int value) {
  StoreLe16(ram + address, static_cast<std::uint16_t>(Saturate16(value)));
}

using FrameInts = std::array<int, kChunkFrames>;

// One chunk's voice sums per frame. Voices sent to the reverb and the others add up apart: the dry
// mix is the sum of both, the reverb input the first (integer sums, so the order does not matter).
// Only the chunk's frames are set: a chunk is often shorter than the arrays.
struct ChunkMix {
  FrameInts reverbLeft, reverbRight, otherLeft, otherRight;  // from zero
  std::array<FrameInts, spu_reg::kVoiceCount> outputs;       // each voice's sample after its envelope
  std::array<std::int16_t, kChunkFrames> noise;
  std::uint32_t lateVoices = 0;  // silent voices ticked frame by frame with the mix (see below)
};

// Each voice's share of a chunk after its volume, for a render that returns the sources apart
// (abi/spu_stems.h); `tracks` receives them, track t's frame i at tracks[t * stride + 2 * i].
struct ChunkStems {
  std::array<FrameInts, spu_reg::kVoiceCount> left{}, right{};
  std::int16_t* tracks = nullptr;
  int stride = 0;
};

// What stays fixed over one render call.
struct RenderSettings {
  spu_reg::ControlBits control;
  std::uint32_t pitchMod, noiseOn, reverbOn;
  std::uint32_t irqUnit, captureIrqUnit;
  UnsafeReads unsafe;
  const ReverbSetup& reverb;
  DecodedBlockCache* blocks;  // null on the reference path
  bool reference;

  RenderSettings(SpuState& s, DecodedBlockCache& blockCache, RenderPath path)
      : control(s.control()),
        pitchMod(s.voiceMask(spu_reg::kPitchModLow) & ~1u),  // voice 0 has no voice below it
        noiseOn(s.voiceMask(spu_reg::kNoiseModeLow)),
        reverbOn(s.voiceMask(spu_reg::kReverbModeLow)),
        irqUnit(s.irqUnit()),
        captureIrqUnit(s.captureIrqUnit()),
        reverb(s.reverb.setupFor(&s.registers[spu_reg::ImageIndex(spu_reg::kReverbFirst)], s.reg(spu_reg::kReverbBase))),
        blocks(path == RenderPath::kReference ? nullptr : &blockCache),
        reference(path == RenderPath::kReference) {
    if (control.reverbWrites()) unsafe.reverbStart = std::uint32_t{s.reg(spu_reg::kReverbBase)} * 8;
  }
};

// The generator runs whether a voice hears it or not; its samples are kept only for those that do.
void TickNoise(SpuState& s, const RenderSettings& settings, ChunkMix& mix, int frames) {
  const int shift = settings.control.noiseShift(), step = settings.control.noiseStep();
  for (int i = 0; i < frames; ++i) {
    s.noise.tick(shift, step);
    if (settings.noiseOn) mix.noise[i] = s.noise.sample();
  }
}

// Copies of voices taken before a chunk, to start over from. Raw bytes: a Voice is a plain value, and
// constructing 24 of them per chunk only to overwrite them would cost as much as the copies.
class VoiceBackup {
 public:
  static_assert(std::is_trivially_copyable_v<Voice>);
  void save(const Voice& voice, int v) { std::memcpy(bytes_[v], &voice, sizeof(Voice)); }
  void restore(Voice& voice, int v) const { std::memcpy(&voice, bytes_[v], sizeof(Voice)); }

 private:
  alignas(Voice) unsigned char bytes_[spu_reg::kVoiceCount][sizeof(Voice)];
};

// All voices over the chunk, one after the other. False when a voice read a block of unsafe memory;
// the voices and ENDX are then as they were before the chunk. A voice that is silent for good is
// different: its output is zero whatever it reads, so nothing else depends on it. Such a voice (an
// ended one-shot often sits on the capture buffers at address 0) is instead ticked frame by frame
// along with the mix, which reads memory in the plain order.
template <bool kStems>
bool RenderVoicesByVoice(SpuState& s, const RenderSettings& settings, ChunkMix& mix, int frames, ChunkStems* stems) {
  static constexpr FrameInts kSilence{};
  VoiceBackup backup;
  const std::uint32_t endFlagsBefore = s.endFlags;
  // What every voice's run shares, set once; each voice sets the rest and clears the outcome.
  VoiceRun run;
  run.frames = frames;
  run.ram = s.ram.data();
  run.blocks = settings.blocks;
  run.unsafe = settings.unsafe;
  run.irqUnit = settings.irqUnit;
  for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
    Voice& voice = s.voices[v];
    if (voice.changesWhenTicked()) backup.save(voice, v);
    FrameInts& output = mix.outputs[v];
    if (!voice.keyedOn) {  // never keyed on: silent, only a sweep can move
      voice.tickIdle(frames);
      if (v == 1 || v == 3) std::fill_n(output.begin(), frames, voice.output);  // the captured voices
      continue;
    }
    const std::uint32_t bit = 1u << v;
    const bool intoReverb = settings.reverbOn & bit;
    run.noise = (settings.noiseOn & bit) ? mix.noise.data() : nullptr;
    // Stored on every voice, not only the modulated ones: the render reads it at once, and a read that
    // straddled the two halves of an earlier store to it would wait for them to reach memory.
    const int* below = (settings.pitchMod & bit) ? (s.voices[v - 1].keyedOn ? mix.outputs[v - 1].data() : kSilence.data()) : nullptr;
    run.modulator = below;
    run.reachedLoopEnd = run.readUnsafeBlock = false;
    run.touchedIrqUnit = voice.readsHeaderAt(run.irqUnit);
    int* sumLeft = intoReverb ? mix.reverbLeft.data() : mix.otherLeft.data();
    int* sumRight = intoReverb ? mix.reverbRight.data() : mix.otherRight.data();
    if constexpr (kStems) {
      run.left = stems->left[v].data();
      run.right = stems->right[v].data();
    } else {
      run.left = sumLeft;
      run.right = sumRight;
    }
    run.output = output.data();
    const bool silent = voice.silentForGood();
    voice.render(run);
    if (run.readUnsafeBlock && silent) {
      backup.restore(voice, v);
      std::fill_n(output.begin(), frames, 0);
      if constexpr (kStems) stems->left[v] = stems->right[v] = FrameInts{};
      mix.lateVoices |= bit;
      continue;
    }
    if (run.readUnsafeBlock) {
      for (int restored = 0; restored <= v; ++restored)
        if (s.voices[restored].changesWhenTicked()) backup.restore(s.voices[restored], restored);
      s.endFlags = endFlagsBefore;
      return false;
    }
    if (run.reachedLoopEnd) s.endFlags |= bit;
    if (run.touchedIrqUnit) s.irqFlag = true;
    if constexpr (kStems) {
      for (int i = 0; i < frames; ++i) {
        sumLeft[i] += stems->left[v][i];
        sumRight[i] += stems->right[v][i];
      }
    }
  }
  return true;
}

VoiceTickInput TickInputAt(const SpuState& s, const RenderSettings& settings, const ChunkMix& mix, int frame) {
  VoiceTickInput in;
  in.ram = s.ram.data();
  in.blocks = settings.blocks;
  in.plainKernels = settings.reference;
  in.irqUnit = settings.irqUnit;
  in.noise = settings.noiseOn ? mix.noise[frame] : 0;  // kept only when a voice hears it
  return in;
}

// The silent voices left for the mix, on one frame; their output stays zero.
void TickLateVoices(SpuState& s, const RenderSettings& settings, const ChunkMix& mix, int frame) {
  VoiceTickInput in = TickInputAt(s, settings, mix, frame);
  for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
    const std::uint32_t bit = 1u << v;
    if (!(mix.lateVoices & bit)) continue;
    in.noiseMode = settings.noiseOn & bit;
    in.pitchModulated = settings.pitchMod & bit;
    in.previousVoiceOutput = (in.pitchModulated && s.voices[v - 1].keyedOn) ? mix.outputs[v - 1][frame] : 0;
    const VoiceTickOutput out = s.voices[v].tick(in);
    if (out.reachedLoopEnd) s.endFlags |= bit;
    if (out.touchedIrqUnit) s.irqFlag = true;
  }
}

// All voices for one frame: the plain order, for chunks whose voices read what the mix writes.
template <bool kStems>
void RenderVoicesAt(SpuState& s, const RenderSettings& settings, ChunkMix& mix, int frame, ChunkStems* stems) {
  VoiceTickInput in = TickInputAt(s, settings, mix, frame);
  for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
    Voice& voice = s.voices[v];
    if (!voice.keyedOn) {
      voice.tickVolumes();
      mix.outputs[v][frame] = voice.output;
      in.previousVoiceOutput = 0;
      continue;
    }
    const std::uint32_t bit = 1u << v;
    in.noiseMode = settings.noiseOn & bit;
    in.pitchModulated = settings.pitchMod & bit;
    const VoiceTickOutput out = voice.tick(in);
    in.previousVoiceOutput = mix.outputs[v][frame] = voice.output;
    if (out.reachedLoopEnd) s.endFlags |= bit;
    if (out.touchedIrqUnit) s.irqFlag = true;
    const bool intoReverb = settings.reverbOn & bit;
    (intoReverb ? mix.reverbLeft : mix.otherLeft)[frame] += out.left;
    (intoReverb ? mix.reverbRight : mix.otherRight)[frame] += out.right;
    if constexpr (kStems) {
      stems->left[v][frame] = out.left;
      stems->right[v][frame] = out.right;
    }
  }
}

// Inlined: it runs on every frame, and the two kinds of render would otherwise each call it.
[[gnu::always_inline]] inline void Capture(SpuState& s, std::uint32_t irqUnit, StereoFrame cd, int voice1, int voice3) {
  const std::uint32_t offset = 2 * s.captureIndex;
  // The four halfwords written lie in the same 8-byte unit of each buffer.
  if (irqUnit < spu_reg::kCaptureAreaBytes / 8 && irqUnit % (spu_reg::kCaptureBufferBytes / 8) == offset / 8) s.irqFlag = true;
  Store16(s.ram.data(), kCaptureCdLeft + offset, cd.left);
  Store16(s.ram.data(), kCaptureCdRight + offset, cd.right);
  Store16(s.ram.data(), kCaptureVoice1 + offset, voice1);
  Store16(s.ram.data(), kCaptureVoice3 + offset, voice3);
  s.captureIndex = (s.captureIndex + 1) % spu_reg::kCaptureHalfwords;
}

// One channel of a frame shared out over the tracks: each source's share is what it adds to the
// channel after the main volume when the sources are summed in track order (CD, voices, reverb), so
// the shares add up to the channel exactly, rounding and final clipping included, unless the
// voices' own sum clips. `sources` are the tracks' contributions before the main volume.
void ShareOut(const std::array<int, stems_abi::kTrackCount>& sources, int mainLevel, std::int16_t* tracks,
              int stride) {
  const auto heard = [mainLevel](int sum) { return Saturate16((Saturate16(sum) * mainLevel) >> 15); };
  int sum = 0, before = 0;
  const auto add = [&](int track) {
    sum += sources[track];
    const int after = heard(sum);
    tracks[track * stride] = static_cast<std::int16_t>(Saturate16(after - before));
    before = after;
  };
  add(stems_abi::kCdTrack);
  for (int v = 0; v < stems_abi::kVoiceTracks; ++v) add(v);
  add(stems_abi::kReverbTrack);
}

// Reverb that neither writes nor is heard needs no arithmetic and touches no sound RAM (most logs
// that use no reverb): only its buffer address moves on.
bool ReverbIdle(const SpuState& s, spu_reg::ControlBits control) {
  return !control.reverbWrites() && s.reg(spu_reg::kReverbVolumeLeft) == 0 && s.reg(spu_reg::kReverbVolumeRight) == 0;
}

// The rest of one tick once the voices are summed: CD input, capture, reverb, main volume.
template <bool kStems>
void MixFrame(SpuState& s, const RenderSettings& settings, const ChunkMix& mix, int i, std::int16_t& left,
              std::int16_t& right, const ChunkStems* stems) {
  const spu_reg::ControlBits control = settings.control;
  int wetInLeft = mix.reverbLeft[i], wetInRight = mix.reverbRight[i];
  const int dryLeft = mix.otherLeft[i] + wetInLeft, dryRight = mix.otherRight[i] + wetInRight;

  const StereoFrame cd = s.cd.pop();
  Capture(s, settings.captureIrqUnit, cd, mix.outputs[1][i], mix.outputs[3][i]);
  int cdLeft = 0, cdRight = 0;
  if (control.cdAudio()) {
    cdLeft = Scale(cd.left, s.reg(spu_reg::kCdVolumeLeft));
    cdRight = Scale(cd.right, s.reg(spu_reg::kCdVolumeRight));
    if (control.cdReverb()) {
      wetInLeft += cdLeft;
      wetInRight += cdRight;
    }
  }

  Reverb::Wet wet;
  if (settings.reference || !ReverbIdle(s, control)) {
    wet = s.reverb.tick(s.ram.data(), settings.reverb, Saturate16(wetInLeft), Saturate16(wetInRight), control.reverbWrites());
  } else {
    s.reverb.idleTick(s.reg(spu_reg::kReverbBase));
  }
  int mixLeft = cdLeft, mixRight = cdRight;
  // Mute and disable silence the voices and reverb, never the CD input.
  const bool voicesHeard = control.enabled() && control.unmuted();
  if (voicesHeard) {
    mixLeft += Saturate16(dryLeft) + Scale(wet.left, s.reg(spu_reg::kReverbVolumeLeft));
    mixRight += Saturate16(dryRight) + Scale(wet.right, s.reg(spu_reg::kReverbVolumeRight));
  }
  if constexpr (kStems) {
    std::array<int, stems_abi::kTrackCount> sourcesLeft{}, sourcesRight{};
    if (voicesHeard) {
      for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
        sourcesLeft[v] = stems->left[v][i];
        sourcesRight[v] = stems->right[v][i];
      }
      sourcesLeft[stems_abi::kReverbTrack] = Scale(wet.left, s.reg(spu_reg::kReverbVolumeLeft));
      sourcesRight[stems_abi::kReverbTrack] = Scale(wet.right, s.reg(spu_reg::kReverbVolumeRight));
    }
    sourcesLeft[stems_abi::kCdTrack] = cdLeft;
    sourcesRight[stems_abi::kCdTrack] = cdRight;
    ShareOut(sourcesLeft, s.mainLeft.level(), stems->tracks + 2 * i, stems->stride);
    ShareOut(sourcesRight, s.mainRight.level(), stems->tracks + 2 * i + 1, stems->stride);
  }
  left = static_cast<std::int16_t>(Saturate16((Saturate16(mixLeft) * s.mainLeft.level()) >> 15));
  right = static_cast<std::int16_t>(Saturate16((Saturate16(mixRight) * s.mainRight.level()) >> 15));
  s.mainLeft.tick();
  s.mainRight.tick();
}

// Capture over a run of frames: from the capture index on, each buffer's halfwords lie side by side
// up to the end of the buffer.
void CaptureFrames(SpuState& s, std::uint32_t irqUnit, const StereoFrame* cd, const int* voice1, const int* voice3,
                   int frames) {
  for (int i = 0; i < frames;) {
    const std::uint32_t index = s.captureIndex;
    const int n = std::min(frames - i, static_cast<int>(spu_reg::kCaptureHalfwords - index));
    // Each 8-byte unit holds four halfwords of a buffer.
    const std::uint32_t unit = irqUnit % (spu_reg::kCaptureBufferBytes / 8);
    if (irqUnit < spu_reg::kCaptureAreaBytes / 8 && unit >= index / 4 && unit <= (index + n - 1) / 4) s.irqFlag = true;
    std::uint8_t* at = s.ram.data() + 2 * index;
    for (int k = 0; k < n; ++k) {
      Store16(at, kCaptureCdLeft + 2 * k, cd[i + k].left);
      Store16(at, kCaptureCdRight + 2 * k, cd[i + k].right);
    }
    StoreSaturated16(voice1 + i, n, at + kCaptureVoice1);
    StoreSaturated16(voice3 + i, n, at + kCaptureVoice3);
    s.captureIndex = (index + n) % spu_reg::kCaptureHalfwords;
    i += n;
  }
}

// MixFrame over a whole chunk, one stage at a time: CD input and capture, then the reverb, then the
// sums and volumes in loops the compiler turns into vector code. The same samples as MixFrame frame
// by frame as long as the reverb is idle or its work area stays clear of the capture buffers (the
// stages then touch apart what they write) and no silent voice ticks along (it reads what capture
// writes, in order).
bool MixApartPossible(const SpuState& s, const RenderSettings& settings, const ChunkMix& mix) {
  return mix.lateVoices == 0 && (ReverbIdle(s, settings.control) ||
                                 std::uint32_t{s.reg(spu_reg::kReverbBase)} * 8 >= spu_reg::kCaptureAreaBytes);
}

void MixChunk(SpuState& s, const RenderSettings& settings, const ChunkMix& mix, std::int16_t* out, int frames) {
  const spu_reg::ControlBits control = settings.control;
  const bool cdOn = control.cdAudio();
  const int cdVolumeLeft = static_cast<std::int16_t>(s.reg(spu_reg::kCdVolumeLeft));
  const int cdVolumeRight = static_cast<std::int16_t>(s.reg(spu_reg::kCdVolumeRight));
  std::array<StereoFrame, kChunkFrames> cd;
  for (int i = 0; i < frames; ++i) cd[i] = s.cd.pop();
  CaptureFrames(s, settings.captureIrqUnit, cd.data(), mix.outputs[1].data(), mix.outputs[3].data(), frames);
  FrameInts cdLeft, cdRight;
  for (int i = 0; i < frames; ++i) {
    cdLeft[i] = cdOn ? (cd[i].left * cdVolumeLeft) >> 15 : 0;
    cdRight[i] = cdOn ? (cd[i].right * cdVolumeRight) >> 15 : 0;
  }

  const int reverbVolumeLeft = static_cast<std::int16_t>(s.reg(spu_reg::kReverbVolumeLeft));
  const int reverbVolumeRight = static_cast<std::int16_t>(s.reg(spu_reg::kReverbVolumeRight));
  FrameInts wetLeft, wetRight;
  if (!ReverbIdle(s, control)) {
    const bool cdIntoReverb = cdOn && control.cdReverb();
    FrameInts inLeft, inRight;
    for (int i = 0; i < frames; ++i) {
      inLeft[i] = mix.reverbLeft[i] + (cdIntoReverb ? cdLeft[i] : 0);
      inRight[i] = mix.reverbRight[i] + (cdIntoReverb ? cdRight[i] : 0);
    }
    s.reverb.run(s.ram.data(), settings.reverb, inLeft.data(), inRight.data(), frames, control.reverbWrites(),
                 wetLeft.data(), wetRight.data());
    for (int i = 0; i < frames; ++i) {
      wetLeft[i] = (wetLeft[i] * reverbVolumeLeft) >> 15;
      wetRight[i] = (wetRight[i] * reverbVolumeRight) >> 15;
    }
  } else {
    for (int i = 0; i < frames; ++i) s.reverb.idleTick(s.reg(spu_reg::kReverbBase));
    std::fill_n(wetLeft.begin(), frames, 0);
    std::fill_n(wetRight.begin(), frames, 0);
  }

  FrameInts mainLeft, mainRight;
  for (int i = 0; i < frames; ++i) {
    mainLeft[i] = s.mainLeft.level();
    mainRight[i] = s.mainRight.level();
    s.mainLeft.tick();
    s.mainRight.tick();
  }
  // Mute and disable silence the voices and reverb, never the CD input.
  const int voicesHeard = control.enabled() && control.unmuted() ? -1 : 0;
  const ChannelMix left{mix.otherLeft.data(), mix.reverbLeft.data(), wetLeft.data(), cdLeft.data(), mainLeft.data()};
  const ChannelMix right{mix.otherRight.data(), mix.reverbRight.data(), wetRight.data(), cdRight.data(), mainRight.data()};
  MixToOutput(left, right, voicesHeard, out, frames);
}

// `stems` is null unless kStems.
template <bool kStems>
void RenderChunk(SpuState& s, RenderSettings& settings, std::int16_t* out, int frames, ChunkStems* stems) {
  // The reverb reaches sound RAM on every tick, heard or not.
  if (s.reverb.reachesUnit(settings.reverb, settings.irqUnit, frames)) s.irqFlag = true;
  ChunkMix mix;
  for (FrameInts* sums : {&mix.reverbLeft, &mix.reverbRight, &mix.otherLeft, &mix.otherRight})
    std::fill_n(sums->begin(), frames, 0);
  TickNoise(s, settings, mix, frames);
  settings.unsafe.captureIndex = s.captureIndex;
  if (!settings.reference && RenderVoicesByVoice<kStems>(s, settings, mix, frames, stems)) {
    if (!kStems && MixApartPossible(s, settings, mix)) {
      MixChunk(s, settings, mix, out, frames);
      return;
    }
    for (int i = 0; i < frames; ++i) {
      if (mix.lateVoices) TickLateVoices(s, settings, mix, i);
      MixFrame<kStems>(s, settings, mix, i, out[2 * i], out[2 * i + 1], stems);
    }
    return;
  }
  mix.lateVoices = 0;
  mix.reverbLeft = mix.reverbRight = mix.otherLeft = mix.otherRight = FrameInts{};
  if constexpr (kStems) stems->left = stems->right = {};
  for (int i = 0; i < frames; ++i) {
    RenderVoicesAt<kStems>(s, settings, mix, i, stems);
    MixFrame<kStems>(s, settings, mix, i, out[2 * i], out[2 * i + 1], stems);
  }
}

}  // namespace

void Spu::render(std::int16_t* out, int frames) {
  RenderSettings settings(*state_, *blocks_, path_);
  for (int done = 0; done < frames; done += kChunkFrames)
    RenderChunk<false>(*state_, settings, out + 2 * done, std::min(kChunkFrames, frames - done), nullptr);
}

void Spu::renderStems(std::int16_t* out, std::int16_t* tracks, int frames) {
  RenderSettings settings(*state_, *blocks_, path_);
  auto stems = std::make_unique<ChunkStems>();
  stems->stride = 2 * frames;
  for (int done = 0; done < frames; done += kChunkFrames) {
    stems->left = stems->right = {};
    stems->tracks = tracks + 2 * done;
    RenderChunk<true>(*state_, settings, out + 2 * done, std::min(kChunkFrames, frames - done), stems.get());
  }
}

}  // namespace kestrel::spu
