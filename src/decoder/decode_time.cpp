#include "decoder/decode_time.h"

#include <cctype>
#include <charconv>

namespace kestrel {

std::optional<std::int64_t> ParseDecodingTime(std::string_view text, std::int64_t fullSeconds) {
  const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value <= 0 || value > fullSeconds) return std::nullopt;
  return value;
}

}  // namespace kestrel
