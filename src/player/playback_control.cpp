#include "player/playback_control.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>

#include "player/player_thread.h"
#include "player/tempo_table.h"

namespace kestrel {

void StartPlayerThread(PlayerState& state, ThreadSlot& slot, ThreadPriority priority, PlayerSetup setup) {
  state.playerPriority.store(priority, std::memory_order_relaxed);
  state.jumpRequest.store(false, std::memory_order_relaxed);
  state.running.store(true, std::memory_order_release);
  slot.Put(WorkerThread::Start([&state, setup = std::move(setup)] {
    SetCurrentThreadPriority(state.playerPriority.load(std::memory_order_relaxed));
    RunPlayer(state, setup);
  }));
}

bool StopPlayerThread(PlayerState& state, ThreadSlot& slot) {
  state.running.store(false, std::memory_order_release);
  state.paused.store(false, std::memory_order_relaxed);
  state.fadeActive.store(false, std::memory_order_relaxed);
  WorkerThread thread = slot.Take();
  // On the player thread itself (a stop after a failure or at the end of a log) the wait
  // could only time out.
  const bool ended = thread.IsCurrentThread() || thread.WaitFor(std::chrono::milliseconds(kPlayerStopWaitMs));
  state.position.store(0, std::memory_order_relaxed);
  return ended;
}

void TogglePause(PlayerState& state, std::optional<double> resumeAt) {
  const bool playing = state.running.load(std::memory_order_acquire);
  if (playing && !state.paused.load(std::memory_order_acquire)) {
    state.paused.store(true, std::memory_order_release);
    return;
  }
  state.paused.store(false, std::memory_order_release);
  if (playing && resumeAt) state.RequestSeek(*resumeAt);
}

void SeekTo(PlayerState& state, double target) {
  const double clamped = std::clamp(target, 0.0, static_cast<double>(UINT32_MAX));
  state.RequestSeek(clamped);
  state.position.store(static_cast<std::uint32_t>(clamped), std::memory_order_relaxed);
}

bool SetTempoRow(PlayerState& state, int row) {
  const auto factor = TempoFactorOfRow(row);
  if (!factor) return false;
  state.tempoFactor.store(*factor, std::memory_order_relaxed);
  return true;
}

ThreadSlot& ThePlayerThread() {
  static ThreadSlot slot;
  return slot;
}

}  // namespace kestrel
