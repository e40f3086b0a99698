#include "decoder/wav_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "decoder/wav_header.h"

namespace kestrel {
namespace {

// A replaced link would stop pointing where the user keeps the file: replace what it names.
std::string ResolvedTarget(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// A new file beside `target`, created with the target's mode (or the default one less the umask).
int CreateTemporary(const std::string& target, const struct stat* existing, std::string& name) {
  static std::atomic<unsigned> serial{0};
  const mode_t mode = existing != nullptr ? (existing->st_mode & 07777) : 0666;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".part";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) {
      if (fd >= 0 && existing != nullptr) ::fchmod(fd, mode);  // the umask does not narrow a kept mode
      return fd;
    }
  }
  return -1;
}

}  // namespace

std::unique_ptr<WavOutput> WavOutput::Create(const std::string& path, std::string& error) {
  const std::string target = ResolvedTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode) && !S_ISCHR(existing.st_mode)) {
    error = S_ISDIR(existing.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    return nullptr;
  }
  // A file with no write permission is not replaced, by root either.
  if (exists && (::access(target.c_str(), W_OK) != 0 || (existing.st_mode & 0222) == 0)) {
    error = std::strerror(EACCES);
    return nullptr;
  }

  std::string temporary;
  std::FILE* file = nullptr;
  if (exists && S_ISCHR(existing.st_mode)) {
    file = std::fopen(target.c_str(), "wb");
  } else if (const int fd = CreateTemporary(target, exists ? &existing : nullptr, temporary); fd >= 0) {
    file = ::fdopen(fd, "wb");
    if (file == nullptr) ::close(fd);
  }
  // Chunks are 128 bytes: a large buffer keeps the decoder out of the kernel.
  if (file != nullptr) std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
  if (file == nullptr || std::fseek(file, static_cast<long>(kWavHeaderSize), SEEK_SET) != 0) {
    error = std::strerror(errno);
    if (file != nullptr) std::fclose(file);
    if (!temporary.empty()) ::unlink(temporary.c_str());
    return nullptr;
  }
  return std::unique_ptr<WavOutput>(new WavOutput(file, path, target, std::move(temporary)));
}

WavOutput::~WavOutput() {
  if (file_ != nullptr) std::fclose(file_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool WavOutput::Fail() {
  if (error_.empty()) error_ = std::strerror(errno != 0 ? errno : EIO);
  return false;
}

bool WavOutput::Write(const void* data, std::size_t size) {
  if (file_ == nullptr || !error_.empty()) return false;
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) return Fail();
  dataBytes_ += static_cast<std::uint32_t>(size);
  return true;
}

bool WavOutput::Finish(std::uint32_t sampleRate) {
  if (file_ == nullptr) return false;
  errno = 0;
  // On the disk before it replaces the target, or a crash could leave an empty file in its place.
  bool ok = error_.empty() && WriteWavHeader(file_, sampleRate, dataBytes_) && std::fflush(file_) == 0 &&
            (temporary_.empty() || ::fsync(::fileno(file_)) == 0);
  int failure = ok ? 0 : errno;
  if (std::fclose(file_) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  file_ = nullptr;
  if (ok && !temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    errno = failure;
    return Fail();
  }
  temporary_.clear();
  return true;
}

}  // namespace kestrel
