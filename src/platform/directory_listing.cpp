#include "platform/directory_listing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <memory>

namespace kestrel {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) !=
        std::tolower(static_cast<unsigned char>(suffix[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder, std::string_view extension) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (!EndsWithNoCase(name, extension)) continue;
    struct stat info {};
    const std::string path = folder + "/" + std::string(name);
    // A broken symbolic link is still listed: reading it then fails like a vanished file.
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    names.emplace_back(name);
  }
  return names;
}

}  // namespace kestrel
