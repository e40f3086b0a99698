#pragma once
// One offline rendering of a log into a WAV file, on a decode thread of its own.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "decoder/wav_header.h"
#include "platform/thread_priority.h"
#include "platform/worker_thread.h"

namespace kestrel {

struct DecodeRequest {
  std::string pluginPath;
  std::string logPath;
  // The decoder page takes plain logs only; a batch render reads .gz logs too (the gz
  // interface inflates them in memory as it reads).
  bool allowCompressed = false;
  // The output as the decoder page names it: "<startupFolder>/wav/<outputName>.wav".
  std::string startupFolder = ".";
  std::string outputName;
  // Or exactly this file (the command line's -o).
  std::optional<std::string> outputPath;
  // Per-source tracks too: the output is "<stemsFolder>/<outputName>.mix.wav" with the tracks
  // beside it (decoder/stem_outputs.h); voices that never sound are left out unless `allStems`.
  std::optional<std::string> stemsFolder;
  bool allStems = false;
  bool voicePasses = false;  // one pass per voice even with a plugin that renders stems (to compare)
  bool specifyTime = false;
  std::string decodingTime;  // whole seconds, as typed
  ThreadPriority priority = ThreadPriority::Normal;
  std::uint64_t maxDataBytes = kMaxWavDataBytes;  // tests lower the 4 GB ceiling
  // Run on the decode thread when the job ends by itself (not after an abort).
  std::function<void()> onEnded;
};

enum class DecodeOutcome { Running, Succeeded, Aborted, Refused, Failed };

class DecodeJob {
 public:
  DecodeJob();
  // Waits for a decode thread still running, so it never outlives the job's owner.
  ~DecodeJob();
  DecodeJob(const DecodeJob&) = delete;
  DecodeJob& operator=(const DecodeJob&) = delete;

  // The "Decode" button: starts the thread at the request's priority.
  void StartDecode(DecodeRequest request);
  // The "Abort" button: the loop ends after the current chunk; the file stays valid.
  void AbortDecode();
  // Back to idle: waits up to 100 ms for the thread, then lets go of it.
  void EndDecodeJob();
  // Waits for the decode thread to end, however long it takes.
  void WaitForThread();
  // Waits until the last job's procedure has returned (its file finished), also for a
  // thread that EndDecodeJob has let go of. Returns at once when no job was started.
  void WaitForEnd() const;

  bool Decoding() const { return shared_->decoding.load(std::memory_order_acquire); }
  DecodeOutcome Outcome() const { return shared_->outcome.load(std::memory_order_acquire); }
  // 0 when the job started; raised by every Abort.
  std::uint32_t AbortCount() const { return shared_->abortCount.load(std::memory_order_acquire); }

  // What the decode thread shares with the job; owned by both, so a thread that outlives
  // the wait touches nothing freed.
  struct Shared {
    std::atomic<bool> decoding{false};
    std::atomic<std::uint32_t> abortCount{0};
    std::atomic<DecodeOutcome> outcome{DecodeOutcome::Running};
  };

 private:
  std::shared_ptr<Shared> shared_;
  bool started_ = false;
  ThreadSlot thread_;
};

// The decode thread's procedure; runs on the calling thread.
DecodeOutcome DecodeThread(DecodeJob::Shared& job, const DecodeRequest& request);

}  // namespace kestrel
