#pragma once
// A job that fills a list from its own thread, below normal priority. The thread never
// touches the list: it hands items over through a queue that the owning thread drains,
// so every list change happens on the owning thread. The thread owns everything it uses,
// so it may outlive whoever started it without touching freed memory.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "library/spu_file_entry.h"

namespace kestrel {

struct JobItem {
  enum class Kind { Begin, Row, End };
  Kind kind = Kind::Row;
  SpuFileEntry row;  // Row
  std::string text;  // Begin: a title or caption
  int number = 0;    // Begin: a stored count; End: the rows found
};

// The worker's side of the queue.
class JobOutput {
 public:
  void Push(JobItem item);
  bool Cancelled() const { return cancel_.load(std::memory_order_acquire); }
  const std::atomic<bool>& CancelFlag() const { return cancel_; }

 private:
  friend class BackgroundJob;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<JobItem> items_;
  std::atomic<bool> cancel_{false};
  std::function<void()> notify_;
};

class BackgroundJob {
 public:
  using Work = std::function<void(JobOutput&)>;
  // Called on the worker after items arrive; a front end posts a drain to its own thread.
  using Notify = std::function<void()>;

  BackgroundJob() = default;
  // Asks the work to stop and waits for it: at most the file it is reading.
  ~BackgroundJob();
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  // Runs `work` on a new thread; the previous job must have been finished (Take saw End).
  void Start(Work work, Notify notify = {});
  // The items handed over so far (owning thread). With a wait, blocks until there is at
  // least one or `timeout` passes.
  std::vector<JobItem> Take(std::chrono::milliseconds timeout = std::chrono::milliseconds(0));

 private:
  void Stop();
  std::shared_ptr<JobOutput> output_;
  std::thread thread_;
};

}  // namespace kestrel
