#pragma once
// Listing the SPU logs of one folder.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "library/ordered_length_reader.h"
#include "library/spu_file_entry.h"

namespace kestrel {

// Paths (folder + "/" + name, the folder as typed) of the "*.spu" matches, then the "*.gz"
// matches, each in the order the file system gives them; extensions matched without regard
// to case, subfolders not searched. An empty folder text lists nothing.
std::vector<std::string> ListSpuFolder(const std::string& folder);

// Reads every match's length and hands its row to `insert` in match order (the list puts
// each at the top). Every match counts, also one whose length cannot be read. Returns the
// number of matches handed over (fewer only when cancelled).
int ScanSpuFolder(const std::string& folder, const std::function<void(SpuFileEntry)>& insert,
                  const std::atomic<bool>& cancel, unsigned workers = DefaultLengthReaders());

}  // namespace kestrel
