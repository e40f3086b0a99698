#pragma once
// One log on disk while it is being recorded. It is a valid log from its first event on: the
// length field is brought up to date after each batch, a failed write is cut back to the last
// whole event, and an existing file is never opened, let alone overwritten.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

namespace kestrel::recorder {

class RecordingFile {
 public:
  // Creates "<folder>/<stem> NNN.spu" with the first free number (free also as ".spu.gz" when
  // `compress`) and writes the head; the error text when that fails (no file is left then).
  static std::variant<RecordingFile, std::string> Create(const std::string& folder, const std::string& stem,
                                                         bool compress, std::span<const std::uint8_t> head);
  RecordingFile(RecordingFile&& other) noexcept;
  RecordingFile& operator=(RecordingFile&&) = delete;
  ~RecordingFile();

  const std::string& Path() const { return path_; }
  // Where each event of a batch ends (bytes from the batch's start) and its time.
  struct EventEnd {
    std::size_t end;
    std::uint32_t time;
  };
  // Appends a batch of whole events. When the disk takes only part of it, the file is cut back to
  // the last whole event that reached it, and the reason is returned.
  std::optional<std::string> Append(std::span<const std::uint8_t> events, std::span<const EventEnd> ends);
  // Stores the length and closes; compresses when asked (keeping the plain log if that fails).
  // Returns the final path, or the text of what went wrong beside it.
  struct Outcome {
    std::string path;
    std::optional<std::string> problem;
  };
  Outcome Finish(std::uint32_t length);
  // No event was ever written: removes the file.
  void Discard();

 private:
  RecordingFile(int fd, std::string path, bool compress) : fd_(fd), path_(std::move(path)), compress_(compress) {}
  void StoreLength(std::uint32_t length);

  int fd_ = -1;
  std::string path_;
  bool compress_ = false;
  std::uint64_t size_ = 0;     // bytes of whole records
  std::uint32_t lastTime_ = 0;
};

// A stored length: at least 1 (0 is refused by readers), never 44100 (read as the old format's marker).
std::uint32_t StorableLength(std::uint32_t samples);

// A file name stem from the titles: "<game> - <music>", either alone, or "recording".
std::string FileStem(const std::string& gameTitle, const std::string& musicTitle);

}  // namespace kestrel::recorder
