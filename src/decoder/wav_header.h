#pragma once
// The 44-byte header of a 16-bit stereo PCM WAV file.

#include <array>
#include <cstdint>
#include <cstdio>

namespace kestrel {

inline constexpr std::size_t kWavHeaderSize = 44;
// The data size is a 32-bit field and the RIFF size (data + 36) must fit too; a whole
// number of 4-byte frames.
inline constexpr std::uint64_t kMaxWavDataBytes = (0xFFFFFFFFull - 36) / 4 * 4;

std::array<std::uint8_t, kWavHeaderSize> MakeWavHeader(std::uint32_t sampleRate, std::uint32_t dataBytes);

// Writes the header at offset 0 of `file`; false when the seek or the write fails.
bool WriteWavHeader(std::FILE* file, std::uint32_t sampleRate, std::uint32_t dataBytes);

}  // namespace kestrel
