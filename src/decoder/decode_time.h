#pragma once
// The "Decoding Time :" field: whole seconds from 1 to the log's full length.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel {

// The limit in seconds, or nullopt for text that is no decimal number, 0, a negative
// value or more than `fullSeconds`.
std::optional<std::int64_t> ParseDecodingTime(std::string_view text, std::int64_t fullSeconds);

}  // namespace kestrel
