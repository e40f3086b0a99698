#include "spulog/spu_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

namespace kestrel {

std::optional<SpuLogFile> SpuLogFile::Open(const std::string& path) {
  // O_NONBLOCK so that opening a fifo cannot hang; cleared again for a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = S_ISDIR(info.st_mode) ? EISDIR : ESPIPE;  // a log is read with seeks
    ::close(fd);
    errno = error;
    return std::nullopt;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  gzFile handle = ::gzdopen(fd, "rb");
  if (handle == nullptr) {
    ::close(fd);
    return std::nullopt;
  }
  // Larger than zlib's 8 KB default: inflating the 512 KB image goes faster in bigger steps.
  ::gzbuffer(handle, 64 * 1024);
  return SpuLogFile(handle);
}

SpuLogFile::SpuLogFile(SpuLogFile&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

SpuLogFile& SpuLogFile::operator=(SpuLogFile&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) ::gzclose(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

SpuLogFile::~SpuLogFile() {
  if (handle_ != nullptr) ::gzclose(handle_);
}

std::size_t SpuLogFile::Read(void* data, std::size_t size) {
  auto* out = static_cast<unsigned char*>(data);
  std::size_t total = 0;
  while (total < size) {
    const auto want = static_cast<unsigned>(std::min<std::size_t>(size - total, INT_MAX / 2));
    const int got = ::gzread(handle_, out + total, want);
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
    if (static_cast<unsigned>(got) < want) break;
  }
  return total;
}

bool SpuLogFile::ReadU32(std::uint32_t& value) {
  unsigned char b[4];
  if (Read(b, 4) != 4) return false;
  value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return true;
}

bool SpuLogFile::ReadU16(std::uint16_t& value) {
  unsigned char b[2];
  if (Read(b, 2) != 2) return false;
  value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool SpuLogFile::ReadU8(std::uint8_t& value) { return Read(&value, 1) == 1; }

bool SpuLogFile::SeekTo(std::int64_t offset) {
  return ::gzseek(handle_, static_cast<z_off_t>(offset), SEEK_SET) >= 0;
}

bool SpuLogFile::Skip(std::int64_t count) {
  return ::gzseek(handle_, static_cast<z_off_t>(count), SEEK_CUR) >= 0;
}

std::int64_t SpuLogFile::Tell() const { return ::gztell(handle_); }

bool SpuLogFile::AtEnd() const { return ::gzeof(handle_) != 0; }

bool SpuLogFile::CanReach(std::int64_t offset) const {
  return offset <= kMaxInflatedOffset || ::gzdirect(handle_) != 0;
}

}  // namespace kestrel
