#include "library/background_job.h"

#include "platform/thread_priority.h"

namespace kestrel {

void JobOutput::Push(JobItem item) {
  {
    std::lock_guard lock(mutex_);
    items_.push_back(std::move(item));
  }
  arrived_.notify_all();
  if (notify_) notify_();
}

BackgroundJob::~BackgroundJob() { Stop(); }

void BackgroundJob::Stop() {
  if (output_) output_->cancel_.store(true, std::memory_order_release);
  if (thread_.joinable()) thread_.join();
}

void BackgroundJob::Start(Work work, Notify notify) {
  Stop();
  output_ = std::make_shared<JobOutput>();
  output_->notify_ = std::move(notify);
  thread_ = std::thread([output = output_, work = std::move(work)] {
    SetCurrentThreadPriority(ThreadPriority::BelowNormal);
    try {
      work(*output);
    } catch (...) {
      // The owner must still see the job end, or its lists would stay locked.
      output->Push(JobItem{JobItem::Kind::End, {}, {}, 0});
    }
  });
}

std::vector<JobItem> BackgroundJob::Take(std::chrono::milliseconds timeout) {
  std::vector<JobItem> taken;
  if (!output_) return taken;
  std::unique_lock lock(output_->mutex_);
  if (timeout.count() > 0) {
    output_->arrived_.wait_for(lock, timeout, [this] { return !output_->items_.empty(); });
  }
  taken.assign(std::make_move_iterator(output_->items_.begin()), std::make_move_iterator(output_->items_.end()));
  output_->items_.clear();
  return taken;
}

}  // namespace kestrel
