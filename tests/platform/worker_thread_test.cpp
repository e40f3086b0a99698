// Threads that are waited on with a time-out, and their priorities.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/thread_priority.h"
#include "platform/worker_thread.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;

TEST(WorkerThread, AFinishedThreadIsJoinedAndAThreadCanReleaseItself) {
  ThreadSlot slot;
  std::atomic<bool> ran{false};
  slot.Put(WorkerThread::Start([&] {
    // The way a player thread runs its own stop routine.
    WorkerThread self;
    while (!slot.Holds()) std::this_thread::sleep_for(1ms);
    self = slot.Take();
    EXPECT_TRUE(self.IsCurrentThread());
    self.Release();
    ran = true;
  }));
  while (!ran) std::this_thread::sleep_for(1ms);
  EXPECT_FALSE(slot.Holds());

  WorkerThread quick = WorkerThread::Start([] {});
  EXPECT_TRUE(quick.WaitFor(1s));
  quick.Release();
  EXPECT_FALSE(quick.Holds());
}

int NiceOfThisThread() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid))); }

TEST(ThreadPriority, MapsOntoTheThreadsOwnSchedulingOnly) {
  const int before = NiceOfThisThread();
  std::thread([] {
    SetCurrentThreadPriority(ThreadPriority::Lowest);
    EXPECT_EQ(NiceOfThisThread(), 10);
    SetCurrentThreadPriority(ThreadPriority::Idle);
    EXPECT_EQ(sched_getscheduler(0), SCHED_IDLE);
    // Raising it again may be refused without privilege; the call must not fail loudly.
    SetCurrentThreadPriority(ThreadPriority::TimeCritical);
    SetCurrentThreadPriority(ThreadPriority::Normal);
  }).join();
  EXPECT_EQ(NiceOfThisThread(), before);
}

}  // namespace
}  // namespace kestrel
