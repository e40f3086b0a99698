#include "decoder/wav_header.h"

#include <cstring>

namespace kestrel {
namespace {

void PutU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void PutU16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBytesPerFrame = kChannels * kBitsPerSample / 8;

}  // namespace

std::array<std::uint8_t, kWavHeaderSize> MakeWavHeader(std::uint32_t sampleRate, std::uint32_t dataBytes) {
  std::array<std::uint8_t, kWavHeaderSize> h{};
  std::memcpy(&h[0], "RIFF", 4);
  PutU32(&h[4], dataBytes + 36);
  std::memcpy(&h[8], "WAVE", 4);
  std::memcpy(&h[12], "fmt ", 4);
  PutU32(&h[16], 16);
  PutU16(&h[20], 1);  // PCM
  PutU16(&h[22], kChannels);
  PutU32(&h[24], sampleRate);
  PutU32(&h[28], sampleRate * kBytesPerFrame);
  PutU16(&h[32], kBytesPerFrame);
  PutU16(&h[34], kBitsPerSample);
  std::memcpy(&h[36], "data", 4);
  PutU32(&h[40], dataBytes);
  return h;
}

bool WriteWavHeader(std::FILE* file, std::uint32_t sampleRate, std::uint32_t dataBytes) {
  const auto header = MakeWavHeader(sampleRate, dataBytes);
  return std::fseek(file, 0, SEEK_SET) == 0 && std::fwrite(header.data(), 1, header.size(), file) == header.size();
}

}  // namespace kestrel
