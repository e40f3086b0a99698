#include "player/player_state.h"

namespace kestrel {

PlayerState& ThePlayerState() {
  static PlayerState state;  // outlives every player thread
  return state;
}

}  // namespace kestrel
