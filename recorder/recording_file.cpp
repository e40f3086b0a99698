#include "recorder/recording_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "spulog/log_format.h"

namespace kestrel::recorder {
namespace {

constexpr int kMaxNumber = 99999;

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::string Numbered(const std::string& folder, const std::string& stem, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, " %03d.spu", number);
  return folder + "/" + stem + digits;
}

std::string Reason() { return std::strerror(errno); }

// Writes `bytes` at `offset` and returns how many reached the file; fewer than all (errno set)
// when the disk refuses the rest.
std::size_t WriteAt(int fd, const std::uint8_t* bytes, std::size_t size, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// Copies the plain log into `gzPath`, made anew; the error text on failure (nothing left behind).
std::optional<std::string> Compress(const std::string& plainPath, const std::string& gzPath) {
  const std::string part = gzPath + ".part";
  const int in = ::open(plainPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return "cannot read " + plainPath + ": " + Reason();
  const int outFd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (outFd < 0) {
    const std::string why = "cannot create " + part + ": " + Reason();
    ::close(in);
    return why;
  }
  gzFile out = ::gzdopen(outFd, "wb6");
  bool ok = out != nullptr;
  std::vector<char> chunk(1 << 20);
  while (ok) {
    const ssize_t n = ::read(in, chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = ::gzwrite(out, chunk.data(), static_cast<unsigned>(n)) == n;
  }
  ::close(in);
  if (out == nullptr) {
    ::close(outFd);
  } else if (::gzclose(out) != Z_OK) {
    ok = false;
  }
  // A hard link is made only when the name is free, so a file that appeared meanwhile stays.
  if (ok && ::link(part.c_str(), gzPath.c_str()) == 0) {
    ::unlink(part.c_str());
    return std::nullopt;
  }
  const std::string why = "cannot write " + gzPath + ": " + Reason();
  ::unlink(part.c_str());
  return why;
}

}  // namespace

std::uint32_t StorableLength(std::uint32_t samples) {
  if (samples == 0) return 1;
  return samples == kOldFormatMarker ? samples + 1 : samples;
}

std::string FileStem(const std::string& gameTitle, const std::string& musicTitle) {
  std::string stem = gameTitle.empty() || musicTitle.empty() ? gameTitle + musicTitle
                                                             : gameTitle + " - " + musicTitle;
  for (char& c : stem) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  if (stem.empty() || stem[0] == '.') stem.insert(0, "recording");
  return stem.substr(0, 200);
}

std::variant<RecordingFile, std::string> RecordingFile::Create(const std::string& folder, const std::string& stem,
                                                               bool compress, std::span<const std::uint8_t> head) {
  for (int number = 1; number <= kMaxNumber; ++number) {
    const std::string path = Numbered(folder, stem, number);
    if (compress && Exists(path + ".gz")) continue;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return "cannot create " + path + ": " + Reason();
    RecordingFile file(fd, path, compress);
    if (WriteAt(fd, head.data(), head.size(), 0) != head.size()) {
      const std::string why = "cannot write " + path + ": " + Reason();
      file.Discard();
      return why;
    }
    file.size_ = head.size();
    return file;
  }
  return "no free file name for " + stem + " in " + folder;
}

RecordingFile::RecordingFile(RecordingFile&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), compress_(other.compress_), size_(other.size_),
      lastTime_(other.lastTime_) {
  other.fd_ = -1;
}

RecordingFile::~RecordingFile() {
  if (fd_ >= 0) ::close(fd_);
}

void RecordingFile::StoreLength(std::uint32_t length) {
  std::uint8_t bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(length >> (8 * i));
  // Four bytes inside the file's first block: this overwrites space the file already has.
  WriteAt(fd_, bytes, sizeof bytes, kDiscriminatorOffset);
}

std::optional<std::string> RecordingFile::Append(std::span<const std::uint8_t> events,
                                                 std::span<const EventEnd> ends) {
  if (events.empty() || ends.empty()) return std::nullopt;
  const std::size_t written = WriteAt(fd_, events.data(), events.size(), size_);
  std::optional<std::string> problem;
  std::size_t kept = events.size();
  if (written < events.size()) {
    problem = Reason();
    kept = 0;
    for (const EventEnd& e : ends) {
      if (e.end > written) break;
      kept = e.end;
      lastTime_ = e.time;
    }
    // Cutting a file shorter needs no space: the log ends with its last whole event.
    if (::ftruncate(fd_, static_cast<off_t>(size_ + kept)) != 0) *problem += "; cannot cut back: " + Reason();
  } else {
    lastTime_ = ends.back().time;
  }
  size_ += kept;
  StoreLength(StorableLength(lastTime_));
  return problem;
}

RecordingFile::Outcome RecordingFile::Finish(std::uint32_t length) {
  StoreLength(StorableLength(std::max(length, lastTime_)));
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!closed) return {path_, "cannot close " + path_ + ": " + Reason()};
  if (!compress_) return {path_, std::nullopt};
  const std::string gzPath = path_ + ".gz";
  if (auto problem = Compress(path_, gzPath)) return {path_, *problem + "; the log stays uncompressed"};
  ::unlink(path_.c_str());
  return {gzPath, std::nullopt};
}

void RecordingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(path_.c_str());
}

}  // namespace kestrel::recorder
