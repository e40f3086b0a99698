#include "pattern_tokens.h"

#include "note_pitch.h"
#include "score_words.h"

namespace kestrel::logsynth {
namespace {

constexpr int kMaxLength = 4096;  // steps of one note

bool ParseNotes(std::string_view text, std::vector<int>& notes) {
  if (text == "r" || text == "-") return true;
  while (!text.empty()) {
    const std::size_t plus = text.find('+');
    const std::string_view name = text.substr(0, plus);
    if (name == "x") {
      notes.push_back(-1);
    } else if (const auto note = ParseNoteName(name)) {
      notes.push_back(*note);
    } else {
      return false;
    }
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
    if (text.empty()) return false;
  }
  return !notes.empty();
}

// Splits "C4/2v80p-30" at the suffix letters; each part keeps its text without the letter.
struct TokenParts {
  std::string_view notes, length, volume, pan;
};

TokenParts SplitToken(std::string_view token) {
  TokenParts parts;
  std::string_view* current = &parts.notes;
  std::size_t begin = 0;
  // A leading '-' is a rest, not a suffix; suffixes start after the first character.
  for (std::size_t i = 1; i <= token.size(); ++i) {
    const char c = i < token.size() ? token[i] : '\0';
    std::string_view* next = c == '/' ? &parts.length : c == 'v' ? &parts.volume
                           : c == 'p' ? &parts.pan : nullptr;
    if (next == nullptr && c != '\0') continue;
    *current = token.substr(begin, i - begin);
    if (c == '\0') break;
    current = next;
    begin = i + 1;
  }
  return parts;
}

}  // namespace

int ParsePatternTokens(const std::vector<std::string>& tokens, int line, int step,
                       std::vector<NoteEvent>& events, std::string& fault) {
  int length = 1;
  for (const std::string& token : tokens) {
    if (token == "|") continue;
    const TokenParts parts = SplitToken(token);
    NoteEvent event;
    event.line = line;
    event.step = step;
    if (!ParseNotes(parts.notes, event.notes)) {
      fault = "bad note '" + std::string(parts.notes) + "' in '" + token + "'";
      return step;
    }
    if (!parts.length.empty()) {
      const auto value = ParseInteger(parts.length);
      if (!value || *value < 1 || *value > kMaxLength) {
        fault = "bad length in '" + token + "' (1 to 4096 steps)";
        return step;
      }
      length = *value;
    }
    if (!parts.volume.empty()) {
      const auto value = ParseInteger(parts.volume);
      if (!value || *value < 0 || *value > 100) {
        fault = "bad volume in '" + token + "' (0 to 100)";
        return step;
      }
      event.volume = *value;
    }
    if (!parts.pan.empty()) {
      const auto value = ParseInteger(parts.pan);
      if (!value || *value < -100 || *value > 100) {
        fault = "bad pan in '" + token + "' (-100 to 100)";
        return step;
      }
      event.pan = *value;
    }
    event.length = length;
    if (!event.notes.empty()) events.push_back(event);
    step += length;
  }
  return step;
}

}  // namespace kestrel::logsynth
