// The Spu's 44.1 kHz tick: voices, CD input, capture buffers, reverb and the main volume.
#include <algorithm>

#include "spu/spu.h"

namespace kestrel::spu {
namespace {

int Clamp16(int value) { return std::clamp(value, -0x8000, 0x7FFF); }
int Scale(int sample, std::uint16_t volume) { return (sample * static_cast<std::int16_t>(volume)) >> 15; }

// Capture buffers at the start of sound RAM: CD left, CD right, voice 1, voice 3 (1 KB each).
constexpr std::uint32_t kCaptureCdLeft = 0x000, kCaptureCdRight = 0x400, kCaptureVoice1 = 0x800,
                        kCaptureVoice3 = 0xC00;
constexpr std::uint32_t kCaptureHalfwords = 0x200;

void Store16(std::uint8_t* ram, std::uint32_t address, int value) {
  const auto v = static_cast<std::uint16_t>(Clamp16(value));
  ram[address] = static_cast<std::uint8_t>(v);
  ram[address + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

void Spu::render(std::int16_t* out, int frames) {
  for (int i = 0; i < frames; ++i) tick(out[2 * i], out[2 * i + 1]);
}

void Spu::capture(int cdLeft, int cdRight) {
  SpuState& s = *state_;
  const std::uint32_t offset = 2 * s.captureIndex;
  Store16(s.ram.data(), kCaptureCdLeft + offset, cdLeft);
  Store16(s.ram.data(), kCaptureCdRight + offset, cdRight);
  Store16(s.ram.data(), kCaptureVoice1 + offset, s.voices[1].output);
  Store16(s.ram.data(), kCaptureVoice3 + offset, s.voices[3].output);
  s.captureIndex = (s.captureIndex + 1) % kCaptureHalfwords;
}

void Spu::tick(std::int16_t& left, std::int16_t& right) {
  SpuState& s = *state_;
  const ControlBits control = s.control();
  s.noise.tick(control.noiseShift(), control.noiseStep());

  const std::uint32_t pitchMod = s.voiceMask(reg::kPitchModLow) & ~1u;  // voice 0 has no voice below it
  const std::uint32_t noiseOn = s.voiceMask(reg::kNoiseLow);
  const std::uint32_t reverbOn = s.voiceMask(reg::kReverbOnLow);

  int dryLeft = 0, dryRight = 0, wetInLeft = 0, wetInRight = 0;
  VoiceTickInput in;
  in.ram = s.ram.data();
  in.noise = s.noise.sample();
  for (int v = 0; v < kVoiceCount; ++v) {
    Voice& voice = s.voices[v];
    if (!voice.keyedOn) {  // never keyed on: silent, only a sweep can move
      voice.tickVolumes();
      in.previousVoiceOutput = 0;
      continue;
    }
    const std::uint32_t bit = 1u << v;
    in.noiseMode = noiseOn & bit;
    in.pitchModulated = pitchMod & bit;
    const VoiceTickOutput out = voice.tick(in);
    in.previousVoiceOutput = voice.output;
    if (out.reachedLoopEnd) s.endFlags |= bit;
    dryLeft += out.left;
    dryRight += out.right;
    if (reverbOn & bit) {
      wetInLeft += out.left;
      wetInRight += out.right;
    }
  }

  const StereoFrame cd = s.cd.pop();
  capture(cd.left, cd.right);
  int cdLeft = 0, cdRight = 0;
  if (control.cdAudio()) {
    cdLeft = Scale(cd.left, s.reg(reg::kCdVolumeLeft));
    cdRight = Scale(cd.right, s.reg(reg::kCdVolumeRight));
    if (control.cdReverb()) {
      wetInLeft += cdLeft;
      wetInRight += cdRight;
    }
  }

  // Reverb that neither writes nor is heard needs no arithmetic (most logs that use no reverb).
  Reverb::Wet wet;
  if (control.reverbWrites() || s.reg(reg::kReverbOutLeft) != 0 || s.reg(reg::kReverbOutRight) != 0) {
    wet = s.reverb.tick(s.ram.data(), &s.registers[reg::ImageIndex(reg::kReverbFirst)], s.reg(reg::kReverbBase),
                        Clamp16(wetInLeft), Clamp16(wetInRight), control.reverbWrites());
  } else {
    s.reverb.idleTick(s.reg(reg::kReverbBase));
  }
  int mixLeft = cdLeft, mixRight = cdRight;
  // Mute and disable silence the voices and reverb, never the CD input.
  if (control.enabled() && control.unmuted()) {
    mixLeft += Clamp16(dryLeft) + Scale(wet.left, s.reg(reg::kReverbOutLeft));
    mixRight += Clamp16(dryRight) + Scale(wet.right, s.reg(reg::kReverbOutRight));
  }
  left = static_cast<std::int16_t>(Clamp16((Clamp16(mixLeft) * s.mainLeft.level()) >> 15));
  right = static_cast<std::int16_t>(Clamp16((Clamp16(mixRight) * s.mainRight.level()) >> 15));
  s.mainLeft.tick();
  s.mainRight.tick();
}

}  // namespace kestrel::spu
