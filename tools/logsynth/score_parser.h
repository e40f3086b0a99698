#pragma once
// Reads the text of a score into a Score, or the first fault with its line number.

#include <string_view>
#include <variant>

#include "score.h"
#include "score_error.h"

namespace kestrel::logsynth {

std::variant<Score, ScoreError> ParseScore(std::string_view text);

// The score language, for the program's help.
extern const char* const kScoreFormatHelp;

}  // namespace kestrel::logsynth
