#pragma once
// Starting and stopping the player thread on behalf of a front end.

#include <optional>

#include "platform/thread_priority.h"
#include "platform/worker_thread.h"
#include "player/player_setup.h"
#include "player/player_state.h"

namespace kestrel {

// How long a stop waits for the player thread before letting it end on its own.
inline constexpr int kPlayerStopWaitMs = 250;

// Sets running, clears jumpRequest, lets go of an earlier player thread still held in
// `slot` and starts a new one at `priority`. `state` must outlive the thread.
void StartPlayerThread(PlayerState& state, ThreadSlot& slot, ThreadPriority priority, PlayerSetup setup);

// Clears running, paused and fadeActive, waits at most 250 ms for the player thread and
// lets go of it; the handle is taken out of `slot` first, so it is released exactly once
// however many threads stop at the same time. Resets the published position. True when
// the thread had ended (or none was held).
bool StopPlayerThread(PlayerState& state, ThreadSlot& slot);

// The playback commands every front end sends, so the main window and the command line's
// keys do the same thing.

// Pauses a running, unpaused playback; otherwise resumes, and a running playback then
// jumps to `resumeAt` samples when one is given (Compulsive Pause).
void TogglePause(PlayerState& state, std::optional<double> resumeAt = std::nullopt);

// Jumps to `target` samples, and publishes it at once so that a following step or
// status line starts from there rather than from the position before the jump.
void SeekTo(PlayerState& state, double target);

// Plays at the tempo of row `row` of the tempo table; false, changing nothing, for a row
// not in it.
bool SetTempoRow(PlayerState& state, int row);

// The process's player thread.
ThreadSlot& ThePlayerThread();

}  // namespace kestrel
