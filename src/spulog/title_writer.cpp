#include "spulog/title_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "spulog/log_format.h"
#include "spulog/log_path.h"
#include "spulog/title_text.h"

namespace kestrel {
namespace {

constexpr std::size_t kTitleBlockSize = static_cast<std::size_t>(kCopyrightOffset) + kCopyrightSize;  // 164
static_assert(kTitleBlockSize == 164);
using TitleBlock = std::array<char, kTitleBlockSize>;

struct Field {
  const char* name;
  std::int64_t offset;
  std::size_t size;
  const std::optional<std::string> TitleEdits::*edit;
};
constexpr Field kFields[] = {
    {"GameTitle", kGameTitleOffset, kGameTitleSize, &TitleEdits::gameTitle},
    {"MusicTitle", kMusicTitleOffset, kMusicTitleSize, &TitleEdits::musicTitle},
    {"Copyright", kCopyrightOffset, kCopyrightSize, &TitleEdits::copyright},
};

// Closes a descriptor on every path.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool ReadExactly(int fd, void* data, std::size_t size, off_t at) {
  auto* bytes = static_cast<char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, bytes + done, size - done, at + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got == 0) errno = EIO;  // the file got shorter under us
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  return true;
}

std::uint32_t U32(const unsigned char* b) {
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

void ApplyEdits(TitleBlock& block, const TitleEdits& edits) {
  const bool present = block[0] == 'S';
  if (!present) {
    block.fill('\0');
    std::memcpy(block.data(), "SPU", 4);
  }
  for (const Field& field : kFields) {
    const std::optional<std::string>& edit = edits.*field.edit;
    if (present && !edit) continue;
    char* at = block.data() + field.offset;
    std::memset(at, 0, field.size);
    const EncodedTitle title = EncodeTitle(edit ? *edit : std::string());
    const std::string_view cut = CutTitle(title, field.size - 1);
    std::memcpy(at, cut.data(), cut.size());
  }
}

// The file with its title block patched, copied to `out`.
bool CopyWithTitles(const std::string& path, const TitleEdits& edits, int out) {
  Descriptor in{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  struct stat info {};
  if (in.fd < 0 || ::fstat(in.fd, &info) != 0) return false;
  TitleBlock block{};
  if (!ReadExactly(in.fd, block.data(), block.size(), 0)) return false;
  ApplyEdits(block, edits);
  if (!WriteAll(out, block.data(), block.size())) return false;

  std::array<char, 1 << 16> buffer{};
  off_t at = static_cast<off_t>(block.size());
  while (at < info.st_size) {
    const auto size = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(buffer.size()), info.st_size - at));
    if (!ReadExactly(in.fd, buffer.data(), size, at) || !WriteAll(out, buffer.data(), size)) return false;
    at += static_cast<off_t>(size);
  }
  return true;
}

}  // namespace

std::string TitleWriteRefusal(const std::string& path) {
  if (IsCompressedLogPath(path)) return "a three-character extension such as .gz marks a compressed log";
  Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  struct stat info {};
  if (file.fd < 0 || ::fstat(file.fd, &info) != 0) return DescribeError(errno);
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  unsigned char magic[2] = {};
  if (info.st_size >= 2 && !ReadExactly(file.fd, magic, sizeof magic, 0)) return DescribeError(errno);
  if (magic[0] == 0x1F && magic[1] == 0x8B) return "it holds gzip-compressed data";
  if (info.st_size < kNewFirstEventOffset) {
    return "it is too short to be an SPU log (" + std::to_string(info.st_size) + " bytes)";
  }
  unsigned char discriminator[4] = {};
  if (!ReadExactly(file.fd, discriminator, sizeof discriminator, kDiscriminatorOffset)) return DescribeError(errno);
  if (U32(discriminator) == 0) return "its format field names no log format";
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return "the file is read-only";
  if (::access(path.c_str(), W_OK) != 0) return DescribeError(errno);
  return {};
}

std::string TitleTextRefusal(const TitleEdits& edits) {
  for (const Field& field : kFields) {
    const std::optional<std::string>& edit = edits.*field.edit;
    if (!edit) continue;
    if (std::string refusal = EncodeTitle(*edit).refusal; !refusal.empty()) return field.name + (": " + refusal);
  }
  return {};
}

std::vector<std::string> TitleCutNotes(const TitleEdits& edits) {
  std::vector<std::string> notes;
  for (const Field& field : kFields) {
    const std::optional<std::string>& edit = edits.*field.edit;
    if (!edit) continue;
    const EncodedTitle title = EncodeTitle(*edit);
    if (!title.refusal.empty() || title.bytes.size() < field.size) continue;
    notes.push_back(std::string(field.name) + " is cut to " + std::to_string(CutTitle(title, field.size - 1).size()) +
                    " bytes to fit its " + std::to_string(field.size) + "-byte field");
  }
  return notes;
}

WriteResult WriteTitles(const std::string& path, const TitleEdits& edits) {
  if (std::string refusal = TitleWriteRefusal(path); !refusal.empty()) return WriteFailed(std::move(refusal));
  if (std::string refusal = TitleTextRefusal(edits); !refusal.empty()) return WriteFailed(std::move(refusal));
  return ReplaceFile(path, [&](int out) { return CopyWithTitles(path, edits, out); }, Existing::MustExist);
}

}  // namespace kestrel
