#pragma once
// Writing a file as one replacement of its whole content, so that no reader and no crash
// ever sees half of it: the new content goes into a temporary file in the same folder, is
// flushed to the disk and renamed over the old one. A failed write leaves the old file
// exactly as it was and removes the temporary file.

#include <cstddef>
#include <functional>
#include <string>

namespace kestrel {

// The outcome of a write: success, or why it failed in words a user can act on.
struct WriteResult {
  std::string failure;  // empty when the file was written
  explicit operator bool() const { return failure.empty(); }
};

inline WriteResult WriteFailed(std::string why) { return {why.empty() ? "unknown error" : std::move(why)}; }

// An errno value in words ("no space left on the disk", "permission denied").
std::string DescribeError(int error);

enum class Existing { MayBeCreated, MustExist };

// Replaces the file at `path` (the target of a symbolic link, not the link) with what
// `fill` writes to the descriptor it is given; `fill` returns false with errno set when a
// write fails. An existing file must be a regular file with a write bit that this process
// may write: a file marked read-only is refused even where root could write it. The
// replacement keeps the old file's mode and, where allowed, its owner; a new one gets 0644.
WriteResult ReplaceFile(const std::string& path, const std::function<bool(int fd)>& fill,
                        Existing existing = Existing::MayBeCreated);

// Writes all `size` bytes to `fd`; false with errno set when it cannot.
bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace kestrel
