#include "spulog/log_path.h"

#include <cstdio>

namespace kestrel {

bool IsCompressedLogPath(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot != std::string_view::npos && name.size() - dot == 3;
}

std::string FormatSizeText(std::uint64_t bytes, bool compressed) {
  char text[64];
  std::snprintf(text, sizeof text, "%llu KB, %s", static_cast<unsigned long long>(bytes / 1024),
                compressed ? "Compressed" : "UnCompressed");
  return text;
}

}  // namespace kestrel
