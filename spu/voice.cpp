#include "spu/voice.h"

#include <algorithm>

#include "spu/tables.h"

namespace kestrel::spu {
namespace {
constexpr std::uint32_t kBlockAddressMask = kSoundRamMask & ~0xFu;
constexpr std::uint32_t kBlockCounterSpan = kAdpcmSamplesPerBlock << 12;

std::uint32_t BlockAddress(std::uint16_t eightByteUnits) { return (std::uint32_t{eightByteUnits} * 8) & kBlockAddressMask; }
}  // namespace

void Voice::keyOn(const std::uint8_t* ram) {
  keyedOn = true;
  repeatAddressSet = false;
  currentAddress = BlockAddress(startAddress);
  counter = 0;
  history = {};
  samples.fill(0);
  loadBlock(ram);
  adsr.keyOn(adsrBits);
}

void Voice::loadBlock(const std::uint8_t* ram) {
  const std::uint8_t* block = ram + currentAddress;
  DecodeAdpcmBlock(block, history, samples.data() + 3);
  blockFlags = block[1];
  if ((blockFlags & kAdpcmLoopStart) && !repeatAddressSet)
    repeatAddress = static_cast<std::uint16_t>(currentAddress >> 3);
}

void Voice::nextBlock(const std::uint8_t* ram, VoiceTickOutput& out) {
  std::copy_n(samples.end() - 3, 3, samples.begin());
  if (blockFlags & kAdpcmLoopEnd) {
    out.reachedLoopEnd = true;
    currentAddress = BlockAddress(repeatAddress);
    // End without repeat: the voice is silenced at once (release with the level at zero).
    if (!(blockFlags & kAdpcmLoopRepeat)) adsr.mute(adsrBits);
  } else {
    currentAddress = (currentAddress + kAdpcmBlockBytes) & kBlockAddressMask;
  }
  loadBlock(ram);
}

int Voice::interpolate() const {
  const int index = static_cast<int>(counter >> 12);
  const int g = (counter >> 4) & 0xFF;
  const std::int16_t* s = samples.data() + index;  // s[0] oldest .. s[3] newest
  int sum = (kGaussTable[0x0FF - g] * s[0]) >> 15;
  sum += (kGaussTable[0x1FF - g] * s[1]) >> 15;
  sum += (kGaussTable[0x100 + g] * s[2]) >> 15;
  sum += (kGaussTable[0x000 + g] * s[3]) >> 15;
  return sum;
}

std::uint32_t Voice::pitchStep(const VoiceTickInput& in) const {
  std::uint32_t step = pitch;
  if (in.pitchModulated) {
    // The voice below scales the step by 0..1.99; pitches of 8000h and up are taken as negative
    // (psx-spx, "Pitch Counter").
    const int factor = in.previousVoiceOutput + 0x8000;
    const int signedStep = static_cast<std::int16_t>(pitch);
    step = static_cast<std::uint32_t>((signedStep * factor) >> 15) & 0xFFFF;
  }
  return std::min<std::uint32_t>(step, 0x4000);
}

VoiceTickOutput Voice::tick(const VoiceTickInput& in) {
  VoiceTickOutput out;
  const int raw = in.noiseMode ? in.noise : interpolate();
  output = (raw * adsr.level()) >> 15;
  out.left = (output * left.level()) >> 15;
  out.right = (output * right.level()) >> 15;

  adsr.tick(adsrBits);
  tickVolumes();

  counter += pitchStep(in);
  if (counter >= kBlockCounterSpan) {
    counter -= kBlockCounterSpan;
    nextBlock(in.ram, out);
  }
  return out;
}

}  // namespace kestrel::spu
