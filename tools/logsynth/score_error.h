#pragma once
// A fault in a score, tied to the line that caused it.

#include <string>

namespace kestrel::logsynth {

struct ScoreError {
  int line = 0;  // 0: not tied to a line
  std::string message;

  // "line 12: unknown instrument 'leed'"
  std::string Text() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + message : message;
  }
};

}  // namespace kestrel::logsynth
