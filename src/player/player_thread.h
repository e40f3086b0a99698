#pragma once
// The player thread's procedure: one log from binding the plugin to shutting it down.

#include "player/player_setup.h"
#include "player/player_state.h"

namespace kestrel {

// Binds the plugin, loads the log, replays it against the plugin while `state.running`
// holds, shuts the plugin down and releases everything it took; then runs the setup's
// stop routine (after a failure) or its end-of-log handling (unless a jump was
// requested). Runs on the calling thread.
PlayerOutcome RunPlayer(PlayerState& state, const PlayerSetup& setup);

}  // namespace kestrel
