#pragma once
// What a log's path and size say about it, for lists and panels.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// Compressed when the file name's extension, dot included, is exactly three characters (".gz").
bool IsCompressedLogPath(std::string_view path);

// "%d KB, Compressed" or "%d KB, UnCompressed".
std::string FormatSizeText(std::uint64_t bytes, bool compressed);

}  // namespace kestrel
