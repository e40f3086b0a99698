#include "cli/folder_argument.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "spulog/title_text.h"

namespace kestrel::cli {

bool CheckFolderArgument(const std::string& folder) {
  struct stat info {};
  const char* reason = nullptr;
  if (::stat(folder.c_str(), &info) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISDIR(info.st_mode)) {
    reason = "not a folder";
  }
  if (reason == nullptr) return true;
  std::fprintf(stderr, "%s: %s\n", TitleToUtf8(folder).c_str(), reason);
  return false;
}

}  // namespace kestrel::cli
