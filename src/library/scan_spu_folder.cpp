#include "library/scan_spu_folder.h"

#include "platform/directory_listing.h"

namespace kestrel {

std::vector<std::string> ListSpuFolder(const std::string& folder) {
  std::vector<std::string> paths;
  if (folder.empty()) return paths;
  for (const char* extension : {".spu", ".gz"}) {
    for (const std::string& name : ListFilesWithExtension(folder, extension)) paths.push_back(folder + "/" + name);
  }
  return paths;
}

int ScanSpuFolder(const std::string& folder, const std::function<void(SpuFileEntry)>& insert,
                  const std::atomic<bool>& cancel, unsigned workers) {
  int count = 0;
  ReadLogEntriesInOrder(ListSpuFolder(folder), workers, cancel, [&](SpuFileEntry entry) {
    ++count;
    insert(std::move(entry));
  });
  return count;
}

}  // namespace kestrel
