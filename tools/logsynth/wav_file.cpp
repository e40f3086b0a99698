#include "wav_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace kestrel::logsynth {
namespace {

constexpr std::size_t kMaxSamples = 44100 * 30;  // far more than sound RAM holds

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

std::variant<WavSound, std::string> ParseWav(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return std::string("not a WAV file (no RIFF/WAVE header)");
  }
  int channels = 0, bits = 0;
  bool haveFormat = false;
  WavSound sound;
  const std::uint8_t* data = nullptr;
  std::size_t dataSize = 0;
  std::size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    const std::uint8_t* chunk = bytes.data() + pos;
    const std::size_t size = U32(chunk + 4);
    const std::size_t available = bytes.size() - pos - 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16 || available < 16) return std::string("fmt chunk is cut short");
      const std::uint16_t format = U16(chunk + 8);
      haveFormat = true;
      channels = U16(chunk + 10);
      sound.sampleRate = static_cast<int>(U32(chunk + 12));
      bits = U16(chunk + 22);
      // 0xFFFE (extensible) carries plain PCM in the common case; its bit depth decides.
      if (format != 1 && format != 0xFFFE) {
        return "unsupported WAV encoding " + std::to_string(format) + " (only integer PCM)";
      }
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      data = chunk + 8;
      dataSize = std::min(size, available);  // a cut-off file keeps what it has
    }
    pos += 8 + size + (size & 1);
    if (size > available) break;
  }
  if (!haveFormat) return std::string("no fmt chunk");
  if (data == nullptr) return std::string("no data chunk");
  if (bits != 8 && bits != 16) return "unsupported sample size of " + std::to_string(bits) + " bits";
  if (channels < 1 || channels > 8) return "unsupported channel count " + std::to_string(channels);
  if (sound.sampleRate < 1000 || sound.sampleRate > 192000) {
    return "unsupported sample rate " + std::to_string(sound.sampleRate);
  }
  const std::size_t frameBytes = static_cast<std::size_t>(channels) * (bits / 8);
  const std::size_t frames = std::min(dataSize / frameBytes, kMaxSamples);
  if (frames == 0) return std::string("no samples in the data chunk");
  sound.samples.resize(frames);
  for (std::size_t f = 0; f < frames; ++f) {
    int sum = 0;
    for (int c = 0; c < channels; ++c) {
      const std::uint8_t* p = data + f * frameBytes + static_cast<std::size_t>(c) * (bits / 8);
      sum += bits == 8 ? (p[0] - 128) * 256 : static_cast<std::int16_t>(U16(p));
    }
    sound.samples[f] = static_cast<std::int16_t>(sum / channels);
  }
  return sound;
}

std::variant<WavSound, std::string> LoadWavFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open " + path + ": " + std::strerror(errno);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  auto result = ParseWav(bytes);
  if (auto* error = std::get_if<std::string>(&result)) *error = path + ": " + *error;
  return result;
}

}  // namespace kestrel::logsynth
