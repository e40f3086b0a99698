#pragma once
// What the player thread shares with the user interface. Every field is one atomic value;
// a request flag is stored (release) after the data it announces and loaded (acquire)
// before that data is read.

#include <array>
#include <atomic>
#include <cstdint>

#include "abi/spu_registers.h"
#include "platform/thread_priority.h"

namespace kestrel {

struct PlayerState {
  std::atomic<bool> running{false};
  std::atomic<bool> paused{false};
  std::atomic<bool> seekRequest{false};
  std::atomic<double> seekTarget{0.0};  // samples
  std::atomic<bool> seeking{false};
  std::atomic<bool> jumpRequest{false};
  std::atomic<std::uint32_t> position{0};     // published render position, samples
  std::atomic<std::uint32_t> totalLength{0};  // samples
  std::atomic<double> tempoFactor{1.0};
  std::atomic<ThreadPriority> playerPriority{ThreadPriority::Normal};

  std::atomic<bool> limiter{true};
  std::atomic<bool> fadeIn{false};
  std::atomic<bool> fadeOut{false};
  std::atomic<bool> dynamicOrchestra{false};
  std::atomic<bool> fadeActive{false};

  std::atomic<bool> analyzerReadRequest{false};
  std::array<std::atomic<std::uint16_t>, spu_reg::kVoiceCount> analyzerEnvelope{};

  std::atomic<bool> debugWindowOpen{false};
  std::atomic<bool> debugReadRequest{false};
  std::atomic<int> debugPage{1};
  std::array<std::atomic<std::uint16_t>, 2 * spu_reg::kVoiceCount> debugVolumes{};
  std::array<std::atomic<std::uint16_t>, spu_reg::kVoiceCount> debugPitches{};

  // Asks the player to jump to `target` samples once the next event falls due.
  void RequestSeek(double target) {
    seekTarget.store(target, std::memory_order_relaxed);
    seekRequest.store(true, std::memory_order_release);
  }
};

// The state of the process's playback.
PlayerState& ThePlayerState();

}  // namespace kestrel
