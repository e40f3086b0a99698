#include "platform/worker_thread.h"

#include <utility>

namespace kestrel {

WorkerThread WorkerThread::Start(std::function<void()> body) {
  WorkerThread worker;
  worker.completion_ = std::make_shared<Completion>();
  worker.thread_ = std::thread([completion = worker.completion_, body = std::move(body)] {
    body();
    std::lock_guard lock(completion->mutex);
    completion->done = true;
    completion->ended.notify_all();
  });
  return worker;
}

WorkerThread& WorkerThread::operator=(WorkerThread&& other) noexcept {
  if (this != &other) {
    Release();
    completion_ = std::move(other.completion_);
    thread_ = std::move(other.thread_);
  }
  return *this;
}

bool WorkerThread::WaitFor(std::chrono::milliseconds timeout) const {
  if (!completion_) return true;
  std::unique_lock lock(completion_->mutex);
  return completion_->ended.wait_for(lock, timeout, [this] { return completion_->done; });
}

void WorkerThread::Wait() const {
  if (!completion_) return;
  std::unique_lock lock(completion_->mutex);
  completion_->ended.wait(lock, [this] { return completion_->done; });
}

void WorkerThread::Release() {
  if (thread_.joinable()) {
    if (!IsCurrentThread() && WaitFor(std::chrono::milliseconds(0))) {
      thread_.join();
    } else {
      thread_.detach();
    }
  }
  completion_.reset();
}

void ThreadSlot::Put(WorkerThread thread) {
  WorkerThread earlier;
  {
    std::lock_guard lock(mutex_);
    earlier = std::exchange(thread_, std::move(thread));
  }
  // `earlier` is released here, outside the lock.
}

WorkerThread ThreadSlot::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(thread_, WorkerThread{});
}

bool ThreadSlot::Holds() const {
  std::lock_guard lock(mutex_);
  return thread_.Holds();
}

}  // namespace kestrel
