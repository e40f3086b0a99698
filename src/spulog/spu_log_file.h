#pragma once
// An open SPU log, plain or gzip-compressed, read through zlib's gz interface.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrel {

class SpuLogFile {
 public:
  // Opens a regular file for reading; nullopt when it cannot be opened or is not a
  // regular file (a directory or fifo must not block or be "read" as a log).
  // errno then says why (EISDIR for a directory, ESPIPE for a fifo or device).
  static std::optional<SpuLogFile> Open(const std::string& path);

  SpuLogFile(SpuLogFile&& other) noexcept;
  SpuLogFile& operator=(SpuLogFile&& other) noexcept;
  SpuLogFile(const SpuLogFile&) = delete;
  SpuLogFile& operator=(const SpuLogFile&) = delete;
  ~SpuLogFile();

  // Reads up to `size` bytes; returns how many arrived (fewer at the end or on an error).
  std::size_t Read(void* data, std::size_t size);
  // Reads a whole little-endian value; false when the file ends (or fails) first.
  bool ReadU32(std::uint32_t& value);
  bool ReadU16(std::uint16_t& value);
  bool ReadU8(std::uint8_t& value);

  bool SeekTo(std::int64_t offset);
  bool Skip(std::int64_t count);
  std::int64_t Tell() const;
  // True once a read has tried to go past the end.
  bool AtEnd() const;

  // A gzip stream reaches a point only by inflating everything before it, so a reader
  // that takes an offset from the file's own counts goes no further than this into one:
  // a few bytes of zeros can claim a stream of many gigabytes.
  static constexpr std::int64_t kMaxInflatedOffset = std::int64_t{256} << 20;
  // False when `offset` lies beyond that budget of a compressed file (a plain file can
  // seek anywhere).
  bool CanReach(std::int64_t offset) const;

 private:
  explicit SpuLogFile(gzFile handle) : handle_(handle) {}
  gzFile handle_ = nullptr;
};

}  // namespace kestrel
