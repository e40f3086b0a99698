#pragma once
// One row of the program's report lists: the SPU file list and both playlist editor lists.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

struct SpuFileEntry {
  std::string name;  // file name without its last extension
  std::string time;  // length text, "%02d:%04.1f"
  std::string path;
  bool checked = false;
  std::uint32_t serial = 0;  // identifies the row; given when it is inserted into a list
};

// Columns: 0 "SPU File Name", 1 "Time", 2 "File Path".
inline constexpr int kColumnCount = 3;
const std::string& ColumnText(const SpuFileEntry& entry, int column);

// The program-wide row counter: starts at 0, advances with every insertion into any list.
std::uint32_t NextListSerial();

// "abc.spu.gz" -> "abc.spu"; the folder part of a path is dropped first.
std::string NameWithoutLastExtension(std::string_view path);

// A row for a log: its name, its length text (read now) and its path.
SpuFileEntry MakeLogEntry(const std::string& path);

}  // namespace kestrel
