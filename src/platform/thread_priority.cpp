#include "platform/thread_priority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

namespace kestrel {
namespace {

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

std::string_view PriorityName(int position) {
  if (position < 1 || position > static_cast<int>(kPriorityTable.size())) return {};
  return kPriorityTable[static_cast<std::size_t>(position - 1)].label;
}

ThreadPriority PriorityAt(int position) {
  const int row = std::clamp(position, 1, static_cast<int>(kPriorityTable.size())) - 1;
  return kPriorityTable[static_cast<std::size_t>(row)].priority;
}

void SetCurrentThreadPriority(ThreadPriority priority) {
  sched_param param{};
  int policy = SCHED_OTHER;
  if (priority == ThreadPriority::Idle) policy = SCHED_IDLE;
  if (priority == ThreadPriority::TimeCritical) {
    policy = SCHED_FIFO;
    param.sched_priority = 1;
  }
  // Results ignored: an unprivileged process may not raise its priority, and the
  // thread then simply keeps the one it has.
  (void)pthread_setschedparam(pthread_self(), policy, &param);
  if (policy == SCHED_OTHER) {
    // On Linux the nice value of a thread id applies to that thread alone.
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    (void)::setpriority(PRIO_PROCESS, tid, NiceOf(priority));
  }
}

}  // namespace kestrel
