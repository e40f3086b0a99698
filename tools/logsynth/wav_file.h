#pragma once
// Reads a PCM WAV file as mono 16-bit samples for a sampled instrument.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kestrel::logsynth {

struct WavSound {
  std::vector<std::int16_t> samples;  // channels mixed to mono
  int sampleRate = 44100;
};

// 8- or 16-bit integer PCM, any channel count. The error names what is wrong with the file.
std::variant<WavSound, std::string> LoadWavFile(const std::string& path);
std::variant<WavSound, std::string> ParseWav(const std::vector<std::uint8_t>& bytes);

}  // namespace kestrel::logsynth
