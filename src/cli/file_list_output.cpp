#include "cli/file_list_output.h"

#include <cstdio>

#include "cli/json_output.h"
#include "spulog/title_text.h"

namespace kestrel::cli {

void PrintFileList(const SpuFileList& list, bool json) {
  if (json) {
    PrintJson(FileListToJson(list));
    return;
  }
  std::printf("%-40s %-8s %s\n", "SPU File Name", "Time", "File Path");
  for (const SpuFileEntry& e : list.entries.Entries()) {
    std::printf("%-40s %-8s %s\n", TitleToUtf8(e.name).c_str(), e.time.c_str(), TitleToUtf8(e.path).c_str());
  }
  std::printf("SPU File List : %s File(s) are detected.\n", list.CountLabel().c_str());
}

}  // namespace kestrel::cli
