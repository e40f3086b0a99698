#pragma once
// SPU register addresses the player and the mixer act on.

#include <cstdint>

namespace kestrel::spu_reg {

inline constexpr int kVoiceCount = 24;
inline constexpr std::uint32_t kVoiceBase = 0x1F801C00;
inline constexpr std::uint32_t kVoiceStride = 16;

constexpr std::uint32_t VoiceVolumeLeft(int voice) { return kVoiceBase + kVoiceStride * voice; }
constexpr std::uint32_t VoiceVolumeRight(int voice) { return kVoiceBase + 2 + kVoiceStride * voice; }
constexpr std::uint32_t VoicePitch(int voice) { return kVoiceBase + 4 + kVoiceStride * voice; }
constexpr std::uint32_t VoiceEnvelope(int voice) { return kVoiceBase + 0xC + kVoiceStride * voice; }

inline constexpr std::uint32_t kMainVolumeLeft = 0x1F801D80;
inline constexpr std::uint32_t kMainVolumeRight = 0x1F801D82;
inline constexpr std::uint32_t kReverbVolumeLeft = 0x1F801D84;
inline constexpr std::uint32_t kReverbVolumeRight = 0x1F801D86;
inline constexpr std::uint32_t kKeyOnLow = 0x1F801D88;
inline constexpr std::uint32_t kKeyOnHigh = 0x1F801D8A;
inline constexpr std::uint32_t kKeyOffLow = 0x1F801D8C;
inline constexpr std::uint32_t kKeyOffHigh = 0x1F801D8E;
inline constexpr std::uint32_t kPitchModLow = 0x1F801D90;
inline constexpr std::uint32_t kPitchModHigh = 0x1F801D92;
inline constexpr std::uint32_t kNoiseModeLow = 0x1F801D94;
inline constexpr std::uint32_t kNoiseModeHigh = 0x1F801D96;
inline constexpr std::uint32_t kReverbModeLow = 0x1F801D98;
inline constexpr std::uint32_t kReverbModeHigh = 0x1F801D9A;

// Voice number of a voice volume register (left or right), or -1 for any other address.
constexpr int VoiceOfVolumeRegister(std::uint32_t address) {
  if (address < kVoiceBase || address >= kVoiceBase + kVoiceStride * kVoiceCount) return -1;
  const std::uint32_t offset = (address - kVoiceBase) % kVoiceStride;
  return offset == 0 || offset == 2 ? static_cast<int>((address - kVoiceBase) / kVoiceStride) : -1;
}

}  // namespace kestrel::spu_reg
