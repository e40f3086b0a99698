// Feeds arbitrary text to the score parser, and builds the log of what it accepts.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "log_synth.h"
#include "score_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto parsed = kestrel::logsynth::ParseScore(text);
  auto* score = std::get_if<kestrel::logsynth::Score>(&parsed);
  // Long songs and streams are valid but slow; the parser and the note paths are the target.
  if (score == nullptr || !score->streams.empty() || score->songSteps > 4096) return 0;
  auto built = kestrel::logsynth::SynthesiseLog(*score, "/nonexistent");
  if (auto* log = std::get_if<kestrel::logsynth::SynthesisedLog>(&built)) (void)log->writer.Bytes();
  return 0;
}
