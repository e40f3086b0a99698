#include "spulog/header_information.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "spulog/log_format.h"
#include "spulog/spu_log_file.h"

namespace kestrel {
namespace {

// A field's text: its bytes up to the first NUL, or all of them when there is none.
std::string ReadField(SpuLogFile& file, std::int64_t offset, std::size_t size) {
  std::vector<char> field(size, '\0');
  if (!file.SeekTo(offset)) return {};
  const std::size_t got = file.Read(field.data(), size);
  const auto* end = static_cast<const char*>(std::memchr(field.data(), '\0', got));
  return std::string(field.data(), end != nullptr ? static_cast<std::size_t>(end - field.data()) : got);
}

}  // namespace

HeaderInformation ReadHeaderInformation(const std::string& path) {
  HeaderInformation info;
  auto file = SpuLogFile::Open(path);
  if (!file) return info;
  char head[4] = {};
  const std::size_t got = file->Read(head, sizeof head);
  if (got == 0 || head[0] != 'S') return info;

  info.present = true;
  info.signature.assign(head, strnlen(head, got));
  info.gameTitle = ReadField(*file, kGameTitleOffset, kGameTitleSize);
  info.musicTitle = ReadField(*file, kMusicTitleOffset, kMusicTitleSize);
  info.copyright = ReadField(*file, kCopyrightOffset, kCopyrightSize);
  return info;
}

}  // namespace kestrel
