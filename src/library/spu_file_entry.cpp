#include "library/spu_file_entry.h"

#include <atomic>

#include "spulog/log_length.h"

namespace kestrel {

const std::string& ColumnText(const SpuFileEntry& entry, int column) {
  switch (column) {
    case 1: return entry.time;
    case 2: return entry.path;
    default: return entry.name;
  }
}

std::uint32_t NextListSerial() {
  static std::atomic<std::uint32_t> counter{0};
  return counter.fetch_add(1, std::memory_order_relaxed);
}

std::string NameWithoutLastExtension(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

SpuFileEntry MakeLogEntry(const std::string& path) {
  SpuFileEntry entry;
  entry.name = NameWithoutLastExtension(path);
  entry.time = FormatLogLength(ReadLogLength(path));
  entry.path = path;
  return entry;
}

}  // namespace kestrel
