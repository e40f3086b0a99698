#include "spu/voice.h"

#include <algorithm>

namespace kestrel::spu {
namespace {
constexpr std::uint32_t kBlockAddressMask = spu_reg::kSoundRamMask & ~0xFu;

std::uint32_t BlockAddress(std::uint16_t eightByteUnits) { return (std::uint32_t{eightByteUnits} * 8) & kBlockAddressMask; }
}  // namespace

void Voice::keyOn(const std::uint8_t* ram, DecodedBlockCache* blocks) {
  keyedOn = true;
  repeatAddressSet = false;
  currentAddress = BlockAddress(startAddress);
  counter = 0;
  history = {};
  samples.fill(0);
  loadBlock(ram, blocks, samples.data() + 3);
  adsr.keyOn(adsrBits);
}

void Voice::loadBlock(const std::uint8_t* ram, DecodedBlockCache* blocks, std::int16_t* out) {
  const std::uint8_t* block = ram + currentAddress;
  if (blocks) blocks->decode(block, history, out);
  else DecodeAdpcmBlock(block, history, out);
  blockFlags = block[1];
  blockEndHandled = false;
  if ((blockFlags & kAdpcmLoopStart) && !repeatAddressSet)
    repeatAddress = static_cast<std::uint16_t>(currentAddress >> 3);
}

void Voice::handleBlockEnd(bool noiseMode, VoiceTickOutput& out) {
  blockEndHandled = true;
  if (!(blockFlags & kAdpcmLoopEnd)) return;
  out.reachedLoopEnd = true;
  // End without repeat silences the voice at once: release with the level at zero (psx-spx, "SPU
  // Voice Flags"). Not in noise mode, where the console only moves the address (as measured on it).
  if (!(blockFlags & kAdpcmLoopRepeat) && !noiseMode) adsr.mute(adsrBits);
}

void Voice::nextBlock(const std::uint8_t* ram, DecodedBlockCache* blocks, std::int16_t* out) {
  if (blockFlags & kAdpcmLoopEnd) {
    currentAddress = BlockAddress(repeatAddress);
  } else {
    currentAddress = (currentAddress + kAdpcmBlockBytes) & kBlockAddressMask;
  }
  loadBlock(ram, blocks, out);
}

void Voice::nextBlock(const std::uint8_t* ram, DecodedBlockCache* blocks) {
  std::copy_n(samples.end() - 3, 3, samples.begin());
  nextBlock(ram, blocks, samples.data() + 3);
}

VoiceTickOutput Voice::tick(const VoiceTickInput& in) {
  VoiceTickOutput out;
  out.touchedIrqUnit = readsHeaderAt(in.irqUnit);
  if (!blockEndHandled && counter >= kBlockEndCounter) handleBlockEnd(in.noiseMode, out);
  const int raw = in.noiseMode      ? in.noise
                  : in.plainKernels ? InterpolatePlain(samples.data(), counter)
                                    : Interpolate(samples.data(), counter);
  output = (raw * adsr.level()) >> 15;
  out.left = (output * left.level()) >> 15;
  out.right = (output * right.level()) >> 15;

  adsr.tick(adsrBits);
  tickVolumes();

  counter += in.pitchModulated ? ModulatedPitchStep(pitch, in.previousVoiceOutput) : PitchStep(pitch);
  if (counter >= kBlockCounterSpan) {
    counter -= kBlockCounterSpan;
    nextBlock(in.ram, in.blocks);
    out.loadedBlock = true;
    out.touchedIrqUnit |= blockCovers(in.irqUnit);
  }
  return out;
}

}  // namespace kestrel::spu
