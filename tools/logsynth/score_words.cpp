#include "score_words.h"

#include <charconv>
#include <cstdlib>

namespace kestrel::logsynth {

std::optional<std::vector<std::string>> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (const char c : line) {
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else {
        word += c;
      }
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      continue;
    }
    if (c == '#' && !inWord) break;
    inWord = true;
    if (c == '"') {
      quoted = true;
    } else {
      word += c;
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::string RestOfLine(const std::vector<std::string>& words) {
  std::string text;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (i > 1) text += ' ';
    text += words[i];
  }
  return text;
}

std::optional<double> ParseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || value != value) return std::nullopt;
  return value;
}

std::optional<int> ParseInteger(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<bool> ParseYesNo(std::string_view text) {
  if (text == "yes" || text == "on" || text == "true") return true;
  if (text == "no" || text == "off" || text == "false") return false;
  return std::nullopt;
}

Options ParseOptions(const std::vector<std::string>& words, std::size_t skip) {
  Options options;
  for (std::size_t i = skip; i < words.size(); ++i) {
    const std::size_t equals = words[i].find('=');
    if (equals == std::string::npos || equals == 0) {
      options.fault = "expected key=value, found '" + words[i] + "'";
      return options;
    }
    const std::string key = words[i].substr(0, equals);
    if (!options.values.emplace(key, words[i].substr(equals + 1)).second) {
      options.fault = "'" + key + "' given twice";
      return options;
    }
  }
  return options;
}

}  // namespace kestrel::logsynth
