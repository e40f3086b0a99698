#pragma once
// The SPU registers the synthesizer writes, by name (nocash PSX documentation, "SPU").

#include <cstdint>

#include "mixer/spu_registers.h"

namespace kestrel::logsynth::reg {

using namespace kestrel::spu_reg;

constexpr std::uint32_t VoiceStartAddress(int voice) { return kVoiceBase + 6 + kVoiceStride * voice; }
constexpr std::uint32_t VoiceAdsr1(int voice) { return kVoiceBase + 8 + kVoiceStride * voice; }
constexpr std::uint32_t VoiceAdsr2(int voice) { return kVoiceBase + 0xA + kVoiceStride * voice; }
constexpr std::uint32_t VoiceRepeatAddress(int voice) { return kVoiceBase + 0xE + kVoiceStride * voice; }

inline constexpr std::uint32_t kReverbBase = 0x1F801DA2;       // ESA, in 8-byte units
inline constexpr std::uint32_t kTransferAddress = 0x1F801DA6;  // TSA, in 8-byte units
inline constexpr std::uint32_t kControl = 0x1F801DAA;          // SPUCNT
inline constexpr std::uint32_t kRamControl = 0x1F801DAC;       // reverb stays off unless 0004h
inline constexpr std::uint32_t kCdVolumeLeft = 0x1F801DB0;
inline constexpr std::uint32_t kCdVolumeRight = 0x1F801DB2;
inline constexpr std::uint32_t kReverbRegisters = 0x1F801DC0;  // dAPF1 .. vRIN, 32 registers

// SPUCNT bits.
inline constexpr std::uint16_t kControlEnable = 0x8000;
inline constexpr std::uint16_t kControlUnmute = 0x4000;
inline constexpr std::uint16_t kControlReverb = 0x0080;
inline constexpr std::uint16_t kControlCdAudio = 0x0001;
inline constexpr std::uint16_t kTransferStop = 0x0000;
inline constexpr std::uint16_t kTransferDmaWrite = 0x0020;
inline constexpr std::uint16_t kTransferModeMask = 0x0030;

inline constexpr std::uint16_t kRamControlValue = 0x0004;
inline constexpr std::uint32_t kFirstSampleAddress = 0x1000;  // below: the capture buffers

}  // namespace kestrel::logsynth::reg
