#pragma once
// Reads the lengths of many logs on several threads and hands the rows over in the order
// of their paths, so that a list fills exactly as if they were read one after another.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "library/spu_file_entry.h"

namespace kestrel {

// Calls `deliver` with MakeLogEntry(paths[i]) for i = 0, 1, 2 ... in order, on the calling
// thread. `workers` threads (at least 1; the caller is one of them) read ahead. Stops early
// once `cancel` is set. Helper threads run at the caller's priority.
void ReadLogEntriesInOrder(const std::vector<std::string>& paths, unsigned workers,
                           const std::atomic<bool>& cancel,
                           const std::function<void(SpuFileEntry)>& deliver);

// One worker per core, two at most: more only compete for the same disk.
unsigned DefaultLengthReaders();

}  // namespace kestrel
