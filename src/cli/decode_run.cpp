#include "cli/decode_run.h"

#include <chrono>
#include <thread>

namespace kestrel::cli {

DecodeOutcome DecodeUntilDone(DecodeRequest request, const InterruptFlag& interrupt) {
  DecodeJob job;
  job.StartDecode(std::move(request));
  bool aborted = false;
  while (job.Outcome() == DecodeOutcome::Running) {
    if (interrupt.Raised() && !aborted) {
      aborted = true;
      job.AbortDecode();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  job.WaitForThread();
  return job.Outcome();
}

}  // namespace kestrel::cli
