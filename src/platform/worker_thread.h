#pragma once
// A thread that can be waited on with a time-out, as the player and decoder are stopped.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kestrel {

class WorkerThread {
 public:
  WorkerThread() = default;
  // Starts `body` at once.
  static WorkerThread Start(std::function<void()> body);

  WorkerThread(WorkerThread&& other) noexcept = default;
  WorkerThread& operator=(WorkerThread&& other) noexcept;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  ~WorkerThread() { Release(); }

  bool Holds() const { return thread_.joinable(); }
  bool IsCurrentThread() const { return thread_.get_id() == std::this_thread::get_id(); }
  // True once the body has returned (or when no thread is held).
  bool WaitFor(std::chrono::milliseconds timeout) const;
  void Wait() const;
  // Lets go of the thread: joins one that has ended, detaches one still running (or the
  // calling thread itself). The body owns what it uses, so a detached thread that runs
  // on touches nothing freed.
  void Release();

 private:
  struct Completion {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
  };
  std::shared_ptr<Completion> completion_;
  std::thread thread_;
};

// The one place a thread handle is kept when several threads may release it: Take()
// moves it out under a lock, so exactly one caller waits on it and lets it go.
class ThreadSlot {
 public:
  // Releases a handle still held first.
  void Put(WorkerThread thread);
  WorkerThread Take();
  bool Holds() const;

 private:
  mutable std::mutex mutex_;
  WorkerThread thread_;
};

}  // namespace kestrel
