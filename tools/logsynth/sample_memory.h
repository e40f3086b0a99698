#pragma once
// Encodes every instrument to SPU-ADPCM and gives each a place in sound RAM.

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "score.h"
#include "score_error.h"

namespace kestrel::logsynth {

struct PlacedSample {
  std::uint32_t address = 0;  // bytes, a multiple of 16
  std::vector<std::uint8_t> adpcm;
  double sampleRate = 44100;
  double recordedHz = 0;
  SamplePlacement placement = SamplePlacement::InitialRam;
};

struct SampleMemory {
  std::uint32_t silentBlock = 0;  // a looping silent block for voices at rest
  std::vector<std::uint8_t> silentAdpcm;
  std::map<std::string, PlacedSample> instruments;
};

// Samples go from 0x1000 upward and must end at or below `limit` (the reverb work area).
std::variant<SampleMemory, ScoreError> LayOutSamples(const Score& score, const std::string& scoreFolder,
                                                     std::uint32_t limit);

// Sound RAM addresses are stored in the registers in 8-byte units.
constexpr std::uint16_t AddressRegister(std::uint32_t byteAddress) {
  return static_cast<std::uint16_t>(byteAddress / 8);
}

}  // namespace kestrel::logsynth
