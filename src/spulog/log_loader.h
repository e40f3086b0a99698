#pragma once
// Prepares a log for replay: the state block, the format, the length, the first event.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "plugin/freeze_block.h"
#include "spulog/log_format.h"
#include "spulog/spu_log_file.h"

namespace kestrel {

struct LoadedLog {
  SpuLogFile file;  // positioned at the first event
  std::unique_ptr<FreezeBlock> block;
  LogFileType type = LogFileType::New;
  std::uint32_t totalLength = 0;  // samples
  std::int64_t firstEventPosition = 0;
  std::uint32_t oldFormatCount = 0;  // N of an old-format log
};

enum class LoadFailure { CannotOpen, Rejected };

using LoadResult = std::variant<LoadedLog, LoadFailure>;

// Opens and checks a log; after CannotOpen, errno says why. Rejected: the state image or discriminator is cut short, an
// old-format count of 0 or beyond the file, or a new-format length of 0.
LoadResult LoadSpuLog(const std::string& path);

}  // namespace kestrel
