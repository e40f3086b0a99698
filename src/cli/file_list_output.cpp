#include "cli/file_list_output.h"

#include <cstdio>

#include "spulog/title_text.h"

namespace kestrel::cli {

nlohmann::json FileListToJson(const SpuFileList& list) {
  nlohmann::json entries = nlohmann::json::array();
  // File names are bytes; JSON wants UTF-8.
  for (const SpuFileEntry& e : list.entries.Entries()) {
    entries.push_back({{"name", TitleToUtf8(e.name)}, {"time", e.time}, {"path", TitleToUtf8(e.path)}});
  }
  return {{"count", list.count}, {"entries", entries}};
}

void PrintFileList(const SpuFileList& list, bool json) {
  if (json) {
    std::printf("%s\n", FileListToJson(list).dump(2).c_str());
    return;
  }
  std::printf("%-40s %-8s %s\n", "SPU File Name", "Time", "File Path");
  for (const SpuFileEntry& e : list.entries.Entries()) {
    std::printf("%-40s %-8s %s\n", e.name.c_str(), e.time.c_str(), e.path.c_str());
  }
  std::printf("SPU File List : %s File(s) are detected.\n", list.CountLabel().c_str());
}

}  // namespace kestrel::cli
