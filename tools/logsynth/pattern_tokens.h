#pragma once
// The notes of one pattern line: "C4/2 E4 G4v80 C4+E4+G4/8p-30 r/4 x/2 |".

#include <string>
#include <string_view>
#include <vector>

#include "score.h"

namespace kestrel::logsynth {

// Appends the line's notes to `events`, starting at `step`, and returns the step after the
// last one. A token without "/length" keeps the length of the one before (at first 1).
// On a fault, `fault` names the bad token and nothing sensible is returned.
int ParsePatternTokens(const std::vector<std::string>& tokens, int line, int step,
                       std::vector<NoteEvent>& events, std::string& fault);

}  // namespace kestrel::logsynth
