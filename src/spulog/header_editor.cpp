#include "spulog/header_editor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "spulog/header_information.h"
#include "spulog/log_format.h"
#include "spulog/log_path.h"
#include "spulog/title_text.h"

namespace kestrel {
namespace {

constexpr std::size_t kTitleBlockSize = static_cast<std::size_t>(kCopyrightOffset) + kCopyrightSize;  // 164
static_assert(kTitleBlockSize == 164);

void PutField(std::array<char, kTitleBlockSize>& block, std::int64_t offset, std::size_t size,
              const std::string& text) {
  const std::string_view cut = CutUtf8(text, size - 1);
  std::memcpy(block.data() + offset, cut.data(), cut.size());
}

}  // namespace

HeaderEditorFields OpenHeaderEditor(const std::string& name, const std::string& path) {
  HeaderEditorFields fields;
  fields.fileName = name;
  fields.path = path;
  fields.compressed = IsCompressedLogPath(path);
  const HeaderInformation header = ReadHeaderInformation(path);
  fields.gameTitle = TitleToUtf8(header.gameTitle);
  fields.musicTitle = TitleToUtf8(header.musicTitle);
  fields.copyright = TitleToUtf8(header.copyright);
  if (fields.compressed) fields.statusText = kCompressedWarning;
  return fields;
}

bool WriteHeaderInformation(const std::string& path, const std::string& gameTitle,
                            const std::string& musicTitle, const std::string& copyright) {
  std::array<char, kTitleBlockSize> block{};
  std::memcpy(block.data(), "SPU", 4);
  PutField(block, kGameTitleOffset, kGameTitleSize, gameTitle);
  PutField(block, kMusicTitleOffset, kMusicTitleSize, musicTitle);
  PutField(block, kCopyrightOffset, kCopyrightSize, copyright);

  // No O_CREAT, no O_TRUNC; O_NONBLOCK so that a fifo cannot hang the dialog.
  const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  // A file too short to hold the block is no log: writing would extend it.
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_size >= static_cast<off_t>(kTitleBlockSize);
  ok = ok && ::pwrite(fd, block.data(), block.size(), 0) == static_cast<ssize_t>(block.size());
  return ::close(fd) == 0 && ok;
}

HeaderSaveResult SaveHeaderInformation(const std::string& path, const std::string& gameTitle,
                                       const std::string& musicTitle, const std::string& copyright) {
  if (IsCompressedLogPath(path)) return HeaderSaveResult::Compressed;
  if (MessagePort::Show("Save Header Information, OK?", "Confirm", MessageIcon::Question,
                        MessageButtons::YesNo) != MessageAnswer::Yes) {
    return HeaderSaveResult::Declined;
  }
  if (!WriteHeaderInformation(path, gameTitle, musicTitle, copyright)) {
    ConsoleLog::Write("test\n");
    MessagePort::Show("Cannot write the header information.\n\n" + path, "Warning", MessageIcon::Exclamation);
    return HeaderSaveResult::WriteFailed;
  }
  return HeaderSaveResult::Saved;
}

}  // namespace kestrel
