#pragma once
// How the commands that fill the SPU file list print it.

#include <nlohmann/json.hpp>

#include "library/spu_file_list.h"

namespace kestrel::cli {

// {"count": N, "entries": [{"name", "time", "path"}]} in list order.
nlohmann::json FileListToJson(const SpuFileList& list);

// The JSON, or a table with the count label under it.
void PrintFileList(const SpuFileList& list, bool json);

}  // namespace kestrel::cli
