#pragma once
// SPU register addresses by name, and small typed views of the bit fields of the control, status,
// volume and ADSR registers (psx-spx, "Sound Processing Unit (SPU)").

#include <cstdint>

#include "abi/spu_plugin.h"

namespace kestrel::spu {

inline constexpr int kVoiceCount = 24;
inline constexpr std::uint32_t kSoundRamBytes = static_cast<std::uint32_t>(kestrel::kSoundRamSize);
inline constexpr std::uint32_t kSoundRamMask = kSoundRamBytes - 1;
// Capture buffers at the start of sound RAM: CD left, CD right, voice 1, voice 3, one halfword of each
// written per tick.
inline constexpr std::uint32_t kCaptureBufferBytes = 0x400;
inline constexpr std::uint32_t kCaptureHalfwords = kCaptureBufferBytes / 2;
inline constexpr std::uint32_t kCaptureAreaBytes = 4 * kCaptureBufferBytes;
// No 8-byte unit of sound RAM: the IRQ address while the IRQ is disabled.
inline constexpr std::uint32_t kNoIrqUnit = kSoundRamBytes / 8;

namespace reg {
inline constexpr std::uint32_t kBase = 0x1F801C00;  // first register; the image covers 512 bytes from here
inline constexpr std::uint32_t kImageEnd = 0x1F801E00;
inline constexpr std::uint32_t kPortEnd = 0x1F802000;

// Voice block: 16 bytes per voice from kBase.
inline constexpr std::uint32_t kVoiceStride = 16;
inline constexpr std::uint32_t kVoiceBlockEnd = kBase + kVoiceStride * kVoiceCount;
enum VoiceRegister : std::uint32_t {
  kVolumeLeft = 0x0, kVolumeRight = 0x2, kPitch = 0x4, kStartAddress = 0x6,
  kAdsrLow = 0x8, kAdsrHigh = 0xA, kEnvelopeLevel = 0xC, kRepeatAddress = 0xE,
};
constexpr std::uint32_t Voice(int voice, VoiceRegister which) { return kBase + kVoiceStride * voice + which; }

// Control block.
inline constexpr std::uint32_t kMainVolumeLeft = 0x1F801D80, kMainVolumeRight = 0x1F801D82;
inline constexpr std::uint32_t kReverbOutLeft = 0x1F801D84, kReverbOutRight = 0x1F801D86;
inline constexpr std::uint32_t kKeyOnLow = 0x1F801D88, kKeyOnHigh = 0x1F801D8A;
inline constexpr std::uint32_t kKeyOffLow = 0x1F801D8C, kKeyOffHigh = 0x1F801D8E;
inline constexpr std::uint32_t kPitchModLow = 0x1F801D90, kPitchModHigh = 0x1F801D92;
inline constexpr std::uint32_t kNoiseLow = 0x1F801D94, kNoiseHigh = 0x1F801D96;
inline constexpr std::uint32_t kReverbOnLow = 0x1F801D98, kReverbOnHigh = 0x1F801D9A;
inline constexpr std::uint32_t kEndLow = 0x1F801D9C, kEndHigh = 0x1F801D9E;
inline constexpr std::uint32_t kReverbBase = 0x1F801DA2;
inline constexpr std::uint32_t kIrqAddress = 0x1F801DA4;
inline constexpr std::uint32_t kTransferAddress = 0x1F801DA6;
inline constexpr std::uint32_t kTransferFifo = 0x1F801DA8;
inline constexpr std::uint32_t kControl = 0x1F801DAA;
inline constexpr std::uint32_t kTransferControl = 0x1F801DAC;
inline constexpr std::uint32_t kStatus = 0x1F801DAE;
inline constexpr std::uint32_t kCdVolumeLeft = 0x1F801DB0, kCdVolumeRight = 0x1F801DB2;
inline constexpr std::uint32_t kExternVolumeLeft = 0x1F801DB4, kExternVolumeRight = 0x1F801DB6;
inline constexpr std::uint32_t kCurrentMainVolumeLeft = 0x1F801DB8, kCurrentMainVolumeRight = 0x1F801DBA;

// Reverb block: 32 registers, in this order from 0x1F801DC0.
inline constexpr std::uint32_t kReverbFirst = 0x1F801DC0;
enum ReverbRegister : int {
  dAPF1, dAPF2, vIIR, vCOMB1, vCOMB2, vCOMB3, vCOMB4, vWALL,
  vAPF1, vAPF2, mLSAME, mRSAME, mLCOMB1, mRCOMB1, mLCOMB2, mRCOMB2,
  dLSAME, dRSAME, mLDIFF, mRDIFF, mLCOMB3, mRCOMB3, mLCOMB4, mRCOMB4,
  dLDIFF, dRDIFF, mLAPF1, mRAPF1, mLAPF2, mRAPF2, vLIN, vRIN,
  kReverbRegisterCount
};
constexpr std::uint32_t Reverb(ReverbRegister which) { return kReverbFirst + 2u * which; }

// Internal current-volume registers: 4 bytes per voice from here.
inline constexpr std::uint32_t kCurrentVoiceVolumes = 0x1F801E00;
inline constexpr std::uint32_t kCurrentVoiceVolumesEnd = kCurrentVoiceVolumes + 4 * kVoiceCount;

// Index of a 16-bit register in the 256-entry image.
constexpr int ImageIndex(std::uint32_t address) { return static_cast<int>((address - kBase) >> 1); }
}  // namespace reg

// SPUCNT (0x1F801DAA).
struct ControlBits {
  std::uint16_t value = 0;
  bool enabled() const { return value & 0x8000; }
  bool unmuted() const { return value & 0x4000; }
  int noiseShift() const { return (value >> 10) & 0xF; }
  int noiseStep() const { return (value >> 8) & 0x3; }
  bool reverbWrites() const { return value & 0x0080; }
  bool irqEnabled() const { return value & 0x0040; }
  int transferMode() const { return (value >> 4) & 0x3; }
  bool cdReverb() const { return value & 0x0004; }
  bool cdAudio() const { return value & 0x0001; }
};

// SPUSTAT (0x1F801DAE): mirrors the control register's low bits; nothing here is ever busy.
inline std::uint16_t StatusFrom(ControlBits control, bool irqFlag, bool captureSecondHalf) {
  const int mode = control.transferMode();
  return static_cast<std::uint16_t>((control.value & 0x3F) | (irqFlag ? 0x40 : 0) | ((control.value & 0x20) ? 0x80 : 0) |
                                    (mode == 2 ? 0x100 : 0) | (mode == 3 ? 0x200 : 0) |
                                    (captureSecondHalf ? 0x800 : 0));
}

// ADSR1/ADSR2 as one 32-bit word (ADSR2 in the upper half).
struct AdsrBits {
  std::uint32_t value = 0;
  bool attackExponential() const { return value & 0x8000; }
  int attackShift() const { return (value >> 10) & 0x1F; }
  int attackStep() const { return (value >> 8) & 0x3; }
  int decayShift() const { return (value >> 4) & 0xF; }
  // The decay ends once the level is below this, (N + 1) * 800h (psx-spx, "Volume and ADSR
  // Generator"): strictly below, so sustain level 0 decays to 07FFh, as the console does.
  int sustainLevel() const { return (static_cast<int>(value & 0xF) + 1) * 0x800; }
  bool sustainExponential() const { return value & 0x80000000u; }
  bool sustainDecreasing() const { return value & 0x40000000u; }
  int sustainShift() const { return (value >> 24) & 0x1F; }
  int sustainStep() const { return (value >> 22) & 0x3; }
  bool releaseExponential() const { return value & 0x00200000u; }
  int releaseShift() const { return (value >> 16) & 0x1F; }
};

// A voice or main volume register: a fixed level, or a sweep.
struct VolumeBits {
  std::uint16_t value = 0;
  bool sweep() const { return value & 0x8000; }
  int fixedLevel() const { return static_cast<std::int16_t>(value << 1); }  // 15 bits, doubled
  bool exponential() const { return value & 0x4000; }
  bool decreasing() const { return value & 0x2000; }
  bool phaseNegative() const { return value & 0x1000; }
  int shift() const { return (value >> 2) & 0x1F; }
  int step() const { return value & 0x3; }
};

}  // namespace kestrel::spu
