#include "player/playback_control.h"

#include <chrono>
#include <utility>

#include "player/player_thread.h"

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

ThreadSlot& ThePlayerThread() {
  static ThreadSlot slot;
  return slot;
}

}  // namespace kestrel
