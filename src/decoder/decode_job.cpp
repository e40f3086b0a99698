#include "decoder/decode_job.h"

#include <chrono>

namespace kestrel {

DecodeJob::DecodeJob() : shared_(std::make_shared<Shared>()) {}

DecodeJob::~DecodeJob() { WaitForThread(); }

void DecodeJob::StartDecode(DecodeRequest request) {
  // A new job gets its own shared state: a thread of an aborted job finishing its tail
  // must not see the new job's flags.
  shared_ = std::make_shared<Shared>();
  started_ = true;
  shared_->abortCount.store(0, std::memory_order_relaxed);
  shared_->decoding.store(true, std::memory_order_release);
  thread_.Put(WorkerThread::Start([shared = shared_, request = std::move(request)] {
    SetCurrentThreadPriority(request.priority);
    shared->outcome.store(DecodeThread(*shared, request), std::memory_order_release);
    shared->outcome.notify_all();
    if (shared->abortCount.load(std::memory_order_acquire) == 0 && request.onEnded) request.onEnded();
  }));
}

void DecodeJob::AbortDecode() {
  shared_->abortCount.fetch_add(1, std::memory_order_acq_rel);
  EndDecodeJob();
}

void DecodeJob::EndDecodeJob() {
  shared_->decoding.store(false, std::memory_order_release);
  WorkerThread thread = thread_.Take();
  thread.WaitFor(std::chrono::milliseconds(100));
}

void DecodeJob::WaitForEnd() const {
  const std::shared_ptr<Shared> shared = shared_;  // a new job started meanwhile has its own
  if (!started_) return;
  shared->outcome.wait(DecodeOutcome::Running, std::memory_order_acquire);
}

void DecodeJob::WaitForThread() {
  WorkerThread thread = thread_.Take();
  thread.Wait();
}

}  // namespace kestrel
