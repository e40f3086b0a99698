#pragma once
// Turns the song's notes into voice register writes, key ons and key offs.

#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "log_script.h"
#include "sample_memory.h"
#include "score.h"
#include "score_error.h"

namespace kestrel::logsynth {

// Steps to sample times at the score's tempo.
struct SongClock {
  explicit SongClock(const Score& score)
      : samplesPerStep(44100.0 * 60.0 / (score.tempo * score.stepsPerBeat)) {}
  std::uint32_t At(double step) const;
  double samplesPerStep;
};

struct SequencedNotes {
  std::uint32_t lastKeyOff = 0;
  std::map<std::string, std::uint32_t> firstUse;  // instrument -> time of its first key on
};

std::variant<SequencedNotes, ScoreError> SequenceNotes(const Score& score, const SampleMemory& memory,
                                                       LogScript& script);

// Direct-mode volume register for `percent` of full level (bit 15 clear, 0..0x3FFF).
std::uint16_t VolumeRegister(double percent);

}  // namespace kestrel::logsynth
