#include "spulog/log_loader.h"

namespace kestrel {

LoadResult LoadSpuLog(const std::string& path) {
  auto file = SpuLogFile::Open(path);
  if (!file) return LoadFailure::CannotOpen;

  LoadedLog log{std::move(*file), MakeFreezeBlock()};
  FreezeBlock& block = *log.block;
  if (log.file.Read(block.soundRam, kSoundRamSize) != kSoundRamSize ||
      log.file.Read(block.registers, kRegisterImageSize) != kRegisterImageSize) {
    return LoadFailure::Rejected;
  }
  std::uint32_t discriminator = 0;
  if (!log.file.ReadU32(discriminator)) return LoadFailure::Rejected;

  if (discriminator == kOldFormatMarker) {
    log.type = LogFileType::Old;
    std::uint32_t count = 0;
    if (!log.file.ReadU32(count) || count == 0) return LoadFailure::Rejected;
    log.oldFormatCount = count;
    log.firstEventPosition = log.file.Tell();
    const auto lastRecord = static_cast<std::int64_t>(kOldRecordSize) * (count - 1);
    if (!log.file.CanReach(log.firstEventPosition + lastRecord) || !log.file.Skip(lastRecord) ||
        !log.file.ReadU32(log.totalLength)) {
      return LoadFailure::Rejected;
    }
    if (!log.file.SeekTo(log.firstEventPosition)) return LoadFailure::Rejected;
  } else {
    if (discriminator == 0) return LoadFailure::Rejected;
    log.type = LogFileType::New;
    log.totalLength = discriminator;
    log.firstEventPosition = log.file.Tell();
  }
  return log;
}

}  // namespace kestrel
