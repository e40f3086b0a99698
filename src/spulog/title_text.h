#pragma once
// Titles are raw bytes in a log; these turn them into text a person can read.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel {

bool IsValidUtf8(std::string_view bytes);

// Valid UTF-8 stays as it is; anything else is read as Windows-1252, the code page the
// logs of the Windows era were written in.
std::string TitleToUtf8(std::string_view bytes);

// The longest prefix of UTF-8 `text` that fits in `maxBytes` without splitting a character.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace kestrel
