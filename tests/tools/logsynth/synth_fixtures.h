#pragma once
// Builds logs from score text for the synthesizer's tests.

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "log_synth.h"
#include "score_parser.h"
#include "support/log_files.h"

namespace kestrel::logsynth::test_support {

// The log of `text`, or the fault of the score (parse or build).
inline std::variant<SynthesisedLog, ScoreError> Synthesise(const std::string& text, const std::string& folder = ".") {
  auto parsed = ParseScore(text);
  if (auto* error = std::get_if<ScoreError>(&parsed)) return *error;
  return SynthesiseLog(std::get<Score>(parsed), folder);
}

// Writes the log of `text` to `path`; fails the test when the score is refused.
inline void WriteLog(const std::string& text, const std::string& path, const std::string& folder = ".") {
  auto built = Synthesise(text, folder);
  if (auto* error = std::get_if<ScoreError>(&built)) FAIL() << error->Text();
  const auto failure = std::get<SynthesisedLog>(built).writer.WriteFile(path, false);
  ASSERT_FALSE(failure) << *failure;
}

}  // namespace kestrel::logsynth::test_support
