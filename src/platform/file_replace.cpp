#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kestrel {
namespace {

// The file a write must replace: the target of a symbolic link rather than the link.
std::string ReplacementTarget(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Why an existing file may not be replaced, or empty when it may.
std::string RefusalOf(const std::string& target, const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return "the file is read-only";
  if (::access(target.c_str(), W_OK) != 0) return DescribeError(errno);
  return {};
}

}  // namespace

std::string DescribeError(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return "no space left on the disk";
    case EROFS: return "the disk is read-only";
    case EACCES:
    case EPERM: return "permission denied";
    case ENOENT: return "it does not exist";
    case EFBIG: return "the file would be too large";
    default: return std::strerror(error);
  }
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t put = ::write(fd, bytes + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

WriteResult ReplaceFile(const std::string& path, const std::function<bool(int fd)>& fill, Existing existing) {
  const std::string target = ReplacementTarget(path);
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && (errno != ENOENT || existing == Existing::MustExist)) {
    return WriteFailed(errno == ENOENT ? "the file does not exist" : DescribeError(errno));
  }
  if (exists) {
    if (std::string refusal = RefusalOf(target, info); !refusal.empty()) return WriteFailed(std::move(refusal));
  }

  std::string temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    const int error = errno;
    return WriteFailed(error == ENOENT ? "its folder does not exist"
                                       : "its folder cannot take a new file: " + DescribeError(error));
  }
  if (exists) (void)::fchown(fd, info.st_uid, info.st_gid);  // allowed for root, a no-op for the owner
  const mode_t mode = exists ? (info.st_mode & 07777) : 0644;
  bool written = ::fchmod(fd, mode) == 0 && fill(fd) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && ::rename(temp.c_str(), target.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temp.c_str());
    return WriteFailed(DescribeError(error));
  }
  // The rename itself is on the disk once the folder is.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    (void)::fsync(folder);
    ::close(folder);
  }
  return {};
}

}  // namespace kestrel
