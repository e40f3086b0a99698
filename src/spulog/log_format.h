#pragma once
// Layout of an SPU log: the state image, the format discriminator and the event codes.

#include <cstdint>

#include "abi/spu_plugin.h"
#include "abi/spu_registers.h"

namespace kestrel {

inline constexpr std::int64_t kRegisterImageOffset = kSoundRamSize;  // 0x80000
inline constexpr std::int64_t kDiscriminatorOffset = kRegisterImageOffset + kRegisterImageSize;  // 0x80200
inline constexpr std::int64_t kOldFirstEventOffset = 0x80208;  // 524808
inline constexpr std::int64_t kNewFirstEventOffset = 0x80204;  // 524804
inline constexpr std::uint32_t kOldFormatMarker = 44100;       // the discriminator of the old format
inline constexpr std::uint32_t kOldRecordSize = 12;
inline constexpr std::uint32_t kSampleRate = 44100;
inline constexpr std::uint32_t kSamplesPerMinute = 2646000;

// A DMA transfer cannot move more than the whole sound RAM.
inline constexpr std::uint32_t kMaxDmaWords = kSoundRamSize / 2;
// A CD-audio block is a few sectors of 44.1 kHz stereo; a count beyond this much (about six
// seconds of sound in one event) can only be corruption.
inline constexpr std::uint32_t kMaxCdAudioBytes = 1u << 20;

// Title block inside the first 164 bytes of the sound RAM image.
inline constexpr std::int64_t kGameTitleOffset = 4;
inline constexpr std::int64_t kMusicTitleOffset = 68;
inline constexpr std::int64_t kCopyrightOffset = 132;
inline constexpr std::size_t kGameTitleSize = 64;
inline constexpr std::size_t kMusicTitleSize = 64;
inline constexpr std::size_t kCopyrightSize = 32;

enum class LogFileType : int { Old = 0, New = 1 };

enum class LogEventCode : std::uint8_t {
  RegisterWrite = 0,
  RegisterRead = 1,
  DmaWrite = 2,
  DmaRead = 3,
  XaBlock = 4,
  CdAudio = 5,
};

// A register write reaches the plugin only inside the SPU's 512-byte register window.
constexpr bool IsValidRegisterWrite(std::uint32_t address) {
  return address >= spu_reg::kBase && address < spu_reg::kImageEnd;
}
// Reads are accepted anywhere in the 0x1F80xxxx I/O page.
constexpr bool IsValidRegisterRead(std::uint32_t address) {
  return (address & 0xFFFF0000u) == 0x1F800000u;
}

}  // namespace kestrel
