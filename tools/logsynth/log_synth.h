#pragma once
// Builds a whole SPU log from a parsed score.

#include <cstdint>
#include <string>
#include <variant>

#include "score.h"
#include "score_error.h"
#include "spulog/log_writer.h"

namespace kestrel::logsynth {

struct SynthesisedLog {
  SpuLogWriter writer;
  std::uint32_t totalLength = 0;  // samples: the music and its release tail
};

// WAV instruments are looked up relative to `scoreFolder`.
std::variant<SynthesisedLog, ScoreError> SynthesiseLog(const Score& score, const std::string& scoreFolder);

}  // namespace kestrel::logsynth
