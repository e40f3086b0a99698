#pragma once
// Builds logs from score text for the synthesizer's tests.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "log_synth.h"
#include "score_parser.h"
#include "spulog/log_events.h"
#include "spulog/log_loader.h"

namespace kestrel::logsynth::test_support {

// The log of `text`, or the fault of the score (parse or build).
inline std::variant<SynthesisedLog, ScoreError> Synthesise(const std::string& text, const std::string& folder = ".") {
  auto parsed = ParseScore(text);
  if (auto* error = std::get_if<ScoreError>(&parsed)) return *error;
  return SynthesiseLog(std::get<Score>(parsed), folder);
}

// Writes the log of `text` to `path`; fails the test when the score is refused.
inline void WriteLog(const std::string& text, const std::string& path, bool gzip = false) {
  auto built = Synthesise(text);
  if (auto* error = std::get_if<ScoreError>(&built)) FAIL() << error->Text();
  const auto failure = std::get<SynthesisedLog>(built).writer.WriteFile(path, gzip);
  ASSERT_FALSE(failure) << *failure;
}

// Every event of a log, in file order.
inline std::vector<LogEvent> ReadAllEvents(LoadedLog& log) {
  std::vector<LogEvent> events;
  LogEventReader reader(log.file, log.type);
  LogEvent event;
  while (reader.Next(event)) events.push_back(event);
  return events;
}

}  // namespace kestrel::logsynth::test_support
