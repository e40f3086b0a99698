#pragma once
// The lexical layer of the score: words, comments, key=value options and numbers.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::logsynth {

// Splits a line into words at spaces; "double quotes" keep spaces inside one word, and a
// word beginning with '#' outside quotes starts a comment. nullopt for an unclosed quote.
std::optional<std::vector<std::string>> SplitWords(std::string_view line);

// The text after the first word, without a comment and surrounding quotes (for titles).
std::string RestOfLine(const std::vector<std::string>& words);

std::optional<double> ParseNumber(std::string_view text);
std::optional<int> ParseInteger(std::string_view text);  // decimal or 0x hexadecimal
std::optional<bool> ParseYesNo(std::string_view text);

// "key=value" words after the first `skip` words. Fails on a word without '=' or a
// repeated key, naming the word.
struct Options {
  std::map<std::string, std::string> values;
  std::string fault;  // empty when every word was an option
};
Options ParseOptions(const std::vector<std::string>& words, std::size_t skip);

}  // namespace kestrel::logsynth
