#pragma once
// The SPU's registers by name, block by block, the layout of sound RAM the hardware itself uses,
// and small typed views of the control (SPUCNT), status (SPUSTAT), ADSR and volume registers with
// their bits named (psx-spx, "Sound Processing Unit (SPU)"). The emulator, the player, the
// recorder and the log synthesizer all address the SPU through this one table.

#include <cstdint>

#include "abi/spu_plugin.h"

namespace kestrel::spu_reg {

inline constexpr int kVoiceCount = 24;

// Sound RAM.
inline constexpr std::uint32_t kSoundRamBytes = static_cast<std::uint32_t>(kSoundRamSize);
inline constexpr std::uint32_t kSoundRamMask = kSoundRamBytes - 1;
// Capture buffers at the start of sound RAM: CD left, CD right, voice 1, voice 3, one halfword of
// each written per tick. Samples a program uploads belong above them.
inline constexpr std::uint32_t kCaptureBufferBytes = 0x400;
inline constexpr std::uint32_t kCaptureHalfwords = kCaptureBufferBytes / 2;
inline constexpr std::uint32_t kCaptureAreaBytes = 4 * kCaptureBufferBytes;
// Address registers (start, repeat, reverb base, IRQ, transfer) count in 8-byte units.
inline constexpr std::uint32_t kAddressUnit = 8;
// No 8-byte unit of sound RAM: the IRQ address while the IRQ is disabled.
inline constexpr std::uint32_t kNoIrqUnit = kSoundRamBytes / kAddressUnit;

// The register window: the image covers 512 bytes from kBase; the port reaches further.
inline constexpr std::uint32_t kBase = 0x1F801C00;
inline constexpr std::uint32_t kImageEnd = kBase + static_cast<std::uint32_t>(kRegisterImageSize);
inline constexpr std::uint32_t kPortEnd = 0x1F802000;

// Voice block: 16 bytes per voice from kBase.
inline constexpr std::uint32_t kVoiceStride = 16;
inline constexpr std::uint32_t kVoiceBlockEnd = kBase + kVoiceStride * kVoiceCount;
enum VoiceRegister : std::uint32_t {
  kVolumeLeft = 0x0, kVolumeRight = 0x2, kPitch = 0x4, kStartAddress = 0x6,
  kAdsrLow = 0x8, kAdsrHigh = 0xA, kEnvelopeLevel = 0xC, kRepeatAddress = 0xE,
};
constexpr std::uint32_t Voice(int voice, VoiceRegister which) {
  return kBase + kVoiceStride * static_cast<std::uint32_t>(voice) + which;
}
constexpr std::uint32_t VoiceVolumeLeft(int voice) { return Voice(voice, kVolumeLeft); }
constexpr std::uint32_t VoiceVolumeRight(int voice) { return Voice(voice, kVolumeRight); }
constexpr std::uint32_t VoicePitch(int voice) { return Voice(voice, kPitch); }
constexpr std::uint32_t VoiceStartAddress(int voice) { return Voice(voice, kStartAddress); }
constexpr std::uint32_t VoiceAdsrLow(int voice) { return Voice(voice, kAdsrLow); }
constexpr std::uint32_t VoiceAdsrHigh(int voice) { return Voice(voice, kAdsrHigh); }
constexpr std::uint32_t VoiceEnvelope(int voice) { return Voice(voice, kEnvelopeLevel); }
constexpr std::uint32_t VoiceRepeatAddress(int voice) { return Voice(voice, kRepeatAddress); }

// Voice number of a voice volume register (left or right), or -1 for any other address.
constexpr int VoiceOfVolumeRegister(std::uint32_t address) {
  if (address < kBase || address >= kVoiceBlockEnd) return -1;
  const std::uint32_t offset = (address - kBase) % kVoiceStride;
  return offset == kVolumeLeft || offset == kVolumeRight ? static_cast<int>((address - kBase) / kVoiceStride) : -1;
}

// Main and reverb output volumes.
inline constexpr std::uint32_t kMainVolumeLeft = 0x1F801D80, kMainVolumeRight = 0x1F801D82;
inline constexpr std::uint32_t kReverbVolumeLeft = 0x1F801D84, kReverbVolumeRight = 0x1F801D86;
// Voice bit masks: voices 0..15 in the low register, 16..23 in the high one.
inline constexpr std::uint32_t kKeyOnLow = 0x1F801D88, kKeyOnHigh = 0x1F801D8A;
inline constexpr std::uint32_t kKeyOffLow = 0x1F801D8C, kKeyOffHigh = 0x1F801D8E;
inline constexpr std::uint32_t kPitchModLow = 0x1F801D90, kPitchModHigh = 0x1F801D92;
inline constexpr std::uint32_t kNoiseModeLow = 0x1F801D94, kNoiseModeHigh = 0x1F801D96;
inline constexpr std::uint32_t kReverbModeLow = 0x1F801D98, kReverbModeHigh = 0x1F801D9A;
inline constexpr std::uint32_t kEndLow = 0x1F801D9C, kEndHigh = 0x1F801D9E;  // ENDX
// Addresses, transfers, control and status.
inline constexpr std::uint32_t kReverbBase = 0x1F801DA2;       // reverb work area start
inline constexpr std::uint32_t kIrqAddress = 0x1F801DA4;
inline constexpr std::uint32_t kTransferAddress = 0x1F801DA6;
inline constexpr std::uint32_t kTransferFifo = 0x1F801DA8;     // the data port
inline constexpr std::uint32_t kControl = 0x1F801DAA;          // SPUCNT
inline constexpr std::uint32_t kTransferControl = 0x1F801DAC;
inline constexpr std::uint32_t kStatus = 0x1F801DAE;           // SPUSTAT
// CD and external input volumes; the main volume as the sweep has brought it.
inline constexpr std::uint32_t kCdVolumeLeft = 0x1F801DB0, kCdVolumeRight = 0x1F801DB2;
inline constexpr std::uint32_t kExternVolumeLeft = 0x1F801DB4, kExternVolumeRight = 0x1F801DB6;
inline constexpr std::uint32_t kCurrentMainVolumeLeft = 0x1F801DB8, kCurrentMainVolumeRight = 0x1F801DBA;

// Reverb configuration: 32 registers, in this order from 0x1F801DC0.
inline constexpr std::uint32_t kReverbFirst = 0x1F801DC0;
enum ReverbRegister : int {
  dAPF1, dAPF2, vIIR, vCOMB1, vCOMB2, vCOMB3, vCOMB4, vWALL,
  vAPF1, vAPF2, mLSAME, mRSAME, mLCOMB1, mRCOMB1, mLCOMB2, mRCOMB2,
  dLSAME, dRSAME, mLDIFF, mRDIFF, mLCOMB3, mRCOMB3, mLCOMB4, mRCOMB4,
  dLDIFF, dRDIFF, mLAPF1, mRAPF1, mLAPF2, mRAPF2, vLIN, vRIN,
  kReverbRegisterCount
};
constexpr std::uint32_t Reverb(int which) { return kReverbFirst + 2u * static_cast<std::uint32_t>(which); }

// Internal current-volume registers, past the image: 4 bytes per voice from here.
inline constexpr std::uint32_t kCurrentVoiceVolumes = kImageEnd;
inline constexpr std::uint32_t kCurrentVoiceVolumesEnd = kCurrentVoiceVolumes + 4 * kVoiceCount;

// Index of a 16-bit register in the 256-entry image.
constexpr int ImageIndex(std::uint32_t address) { return static_cast<int>((address - kBase) >> 1); }

// SPUCNT's transfer mode field.
enum TransferMode : int { kTransferStop = 0, kManualWrite = 1, kDmaWrite = 2, kDmaRead = 3 };

// SPUCNT.
struct ControlBits {
  static constexpr std::uint16_t kEnable = 0x8000;
  static constexpr std::uint16_t kUnmute = 0x4000;
  static constexpr std::uint16_t kReverbWrites = 0x0080;  // the reverb may write its work area
  static constexpr std::uint16_t kIrqEnable = 0x0040;
  static constexpr std::uint16_t kTransferModeMask = 0x0030;
  static constexpr std::uint16_t kExternReverb = 0x0008;
  static constexpr std::uint16_t kCdReverb = 0x0004;
  static constexpr std::uint16_t kExternAudio = 0x0002;
  static constexpr std::uint16_t kCdAudio = 0x0001;
  static constexpr std::uint16_t kMirroredInStatus = 0x003F;  // SPUSTAT bits 0..5

  std::uint16_t value = 0;
  constexpr bool enabled() const { return value & kEnable; }
  constexpr bool unmuted() const { return value & kUnmute; }
  constexpr int noiseShift() const { return (value >> 10) & 0xF; }
  constexpr int noiseStep() const { return (value >> 8) & 0x3; }
  constexpr bool reverbWrites() const { return value & kReverbWrites; }
  constexpr bool irqEnabled() const { return value & kIrqEnable; }
  constexpr int transferMode() const { return (value & kTransferModeMask) >> 4; }
  constexpr bool cdReverb() const { return value & kCdReverb; }
  constexpr bool cdAudio() const { return value & kCdAudio; }
  constexpr ControlBits withTransferMode(TransferMode mode) const {
    return {static_cast<std::uint16_t>((value & ~kTransferModeMask) | (mode << 4))};
  }
};

// SPUSTAT: mirrors the control register's low bits; nothing here is ever busy.
struct StatusBits {
  static constexpr std::uint16_t kIrqFlag = 0x0040;
  static constexpr std::uint16_t kDmaRequest = 0x0080;
  static constexpr std::uint16_t kDmaWriteRequest = 0x0100;
  static constexpr std::uint16_t kDmaReadRequest = 0x0200;
  static constexpr std::uint16_t kCaptureSecondHalf = 0x0800;

  std::uint16_t value = 0;
  constexpr bool irqFlag() const { return value & kIrqFlag; }
  constexpr bool captureSecondHalf() const { return value & kCaptureSecondHalf; }
};

constexpr StatusBits StatusFrom(ControlBits control, bool irqFlag, bool captureSecondHalf) {
  const int mode = control.transferMode();
  return {static_cast<std::uint16_t>((control.value & ControlBits::kMirroredInStatus) |
                                     (irqFlag ? StatusBits::kIrqFlag : 0) |
                                     ((mode & kDmaWrite) ? StatusBits::kDmaRequest : 0) |
                                     (mode == kDmaWrite ? StatusBits::kDmaWriteRequest : 0) |
                                     (mode == kDmaRead ? StatusBits::kDmaReadRequest : 0) |
                                     (captureSecondHalf ? StatusBits::kCaptureSecondHalf : 0))};
}

// The transfer control register: 0004h is the only setting retail programs use.
inline constexpr std::uint16_t kTransferControlNormal = 0x0004;
inline constexpr std::uint16_t kTransferControlCaptureSignals = 0x000C;  // either bit lets capture signal

// ADSR low and high registers as one 32-bit word (the high register in the upper half). Rates are
// the 7-bit (shift << 2 | step) fields; the release has a shift only.
struct AdsrBits {
  static constexpr std::uint32_t kAttackExponential = 0x00008000u;
  static constexpr std::uint32_t kSustainExponential = 0x80000000u;
  static constexpr std::uint32_t kSustainDecreasing = 0x40000000u;
  static constexpr std::uint32_t kReleaseExponential = 0x00200000u;

  std::uint32_t value = 0;
  constexpr bool attackExponential() const { return value & kAttackExponential; }
  constexpr int attackShift() const { return (value >> 10) & 0x1F; }
  constexpr int attackStep() const { return (value >> 8) & 0x3; }
  constexpr int attackRate() const { return (value >> 8) & 0x7F; }
  constexpr int decayShift() const { return (value >> 4) & 0xF; }
  constexpr int sustainLevelField() const { return static_cast<int>(value & 0xF); }
  // The decay ends once the level is below this, (N + 1) * 800h (psx-spx, "Volume and ADSR
  // Generator"): strictly below, so sustain level 0 decays to 07FFh, as the console does.
  constexpr int sustainLevel() const { return (sustainLevelField() + 1) * 0x800; }
  constexpr bool sustainExponential() const { return value & kSustainExponential; }
  constexpr bool sustainDecreasing() const { return value & kSustainDecreasing; }
  constexpr int sustainShift() const { return (value >> 24) & 0x1F; }
  constexpr int sustainStep() const { return (value >> 22) & 0x3; }
  constexpr bool releaseExponential() const { return value & kReleaseExponential; }
  constexpr int releaseShift() const { return (value >> 16) & 0x1F; }

  constexpr std::uint16_t low() const { return static_cast<std::uint16_t>(value); }
  constexpr std::uint16_t high() const { return static_cast<std::uint16_t>(value >> 16); }
  constexpr AdsrBits withLow(std::uint16_t low) const { return {(value & 0xFFFF0000u) | low}; }
  constexpr AdsrBits withHigh(std::uint16_t high) const { return {(value & 0xFFFFu) | (std::uint32_t{high} << 16)}; }

  static constexpr AdsrBits Make(bool attackExp, int attackRate, int decayShift, int sustainLevelField,
                                 bool sustainExp, bool sustainDecreasing, int sustainRate, bool releaseExp,
                                 int releaseShift) {
    return {(attackExp ? kAttackExponential : 0u) | (static_cast<std::uint32_t>(attackRate & 0x7F) << 8) |
            (static_cast<std::uint32_t>(decayShift & 0xF) << 4) | static_cast<std::uint32_t>(sustainLevelField & 0xF) |
            (sustainExp ? kSustainExponential : 0u) | (sustainDecreasing ? kSustainDecreasing : 0u) |
            (static_cast<std::uint32_t>(sustainRate & 0x7F) << 22) | (releaseExp ? kReleaseExponential : 0u) |
            (static_cast<std::uint32_t>(releaseShift & 0x1F) << 16)};
  }
};

// A voice or main volume register: a fixed level, or a sweep.
struct VolumeBits {
  std::uint16_t value = 0;
  constexpr bool sweep() const { return value & 0x8000; }
  constexpr int fixedLevel() const { return static_cast<std::int16_t>(value << 1); }  // 15 bits, doubled
  constexpr bool exponential() const { return value & 0x4000; }
  constexpr bool decreasing() const { return value & 0x2000; }
  constexpr bool phaseNegative() const { return value & 0x1000; }
  constexpr int shift() const { return (value >> 2) & 0x1F; }
  constexpr int step() const { return value & 0x3; }
};

}  // namespace kestrel::spu_reg
