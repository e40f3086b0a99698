#pragma once
// The writer thread: takes recorded items from a bounded in-memory queue and streams them into
// log files, so that the emulator's thread never waits for the disk.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "recorder/record_item.h"
#include "recorder/recording_file.h"
#include "spulog/log_writer.h"

namespace kestrel::recorder {

struct RecordingTarget {
  std::string folder;
  bool compress = false;
  std::string gameTitle, musicTitle, copyright;
};

// Enough for half a minute of XA and CD streams on a disk that stalls.
inline constexpr std::size_t kQueueBudgetBytes = 64u << 20;

class RecordingWriter {
 public:
  explicit RecordingWriter(RecordingTarget target, std::size_t budget = kQueueBudgetBytes);
  ~RecordingWriter();  // writes out everything queued, then ends the thread
  RecordingWriter(const RecordingWriter&) = delete;
  RecordingWriter& operator=(const RecordingWriter&) = delete;

  // False when the queue is over its budget (the item is dropped then); `always` queues regardless,
  // for the small item that ends a recording.
  bool Push(RecordItem item, bool always = false);
  // A write has failed; the recording it belonged to was closed as a valid log of what was written.
  bool DiskFailed() const { return diskFailed_.load(std::memory_order_acquire); }

 private:
  void Run();
  void Handle(RecordItem& item);
  void Begin(const RecordItem& item);
  void Encode(const RecordItem& item);
  void Flush();
  void End(std::uint32_t length);

  const RecordingTarget target_;
  const std::size_t budget_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<RecordItem> queue_;
  std::size_t queuedBytes_ = 0;
  bool stopping_ = false;
  std::atomic<bool> diskFailed_{false};

  // The writer thread's own.
  std::optional<RecordingFile> file_;
  std::optional<SpuLogWriter> encoder_;
  std::vector<RecordingFile::EventEnd> eventEnds_;  // of the batch being encoded
  std::uint32_t lastTime_ = 0;
  bool wroteEvents_ = false;

  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace kestrel::recorder
