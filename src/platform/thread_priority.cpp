#include "platform/thread_priority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kestrel {
namespace {

void SetPolicy(int policy, int priority) {
  sched_param param{};
  param.sched_priority = priority;
  (void)::pthread_setschedparam(::pthread_self(), policy, &param);
}

// On Linux the nice value belongs to the thread (its kernel task), not the whole process.
void SetNice(int nice) {
  const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
  (void)::setpriority(PRIO_PROCESS, thread, nice);
}

int NiceOf(ThreadPriority priority) {
  switch (priority) {
    case ThreadPriority::Lowest: return 10;
    case ThreadPriority::BelowNormal: return 5;
    case ThreadPriority::AboveNormal: return -5;
    case ThreadPriority::Highest: return -10;
    default: return 0;
  }
}

}  // namespace

void SetCurrentThreadPriority(ThreadPriority priority) {
  switch (priority) {
    case ThreadPriority::Idle:
      SetPolicy(SCHED_IDLE, 0);
      return;
    case ThreadPriority::TimeCritical:
      SetPolicy(SCHED_FIFO, ::sched_get_priority_min(SCHED_FIFO));
      return;
    default:
      SetPolicy(SCHED_OTHER, 0);
      SetNice(NiceOf(priority));
      return;
  }
}

}  // namespace kestrel
