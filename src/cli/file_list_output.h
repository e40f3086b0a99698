#pragma once
// How the commands that fill the SPU file list print it.

#include "library/spu_file_list.h"

namespace kestrel::cli {

// The JSON, or a table with the count label under it.
void PrintFileList(const SpuFileList& list, bool json);

}  // namespace kestrel::cli
