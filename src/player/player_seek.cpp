// The seek check after an event step, and the silence step of pause and backward seeks.

#include <algorithm>

#include "abi/spu_registers.h"
#include "player/player_session.h"
#include "spulog/sample_time.h"

namespace kestrel {

void SilenceStep(const PlayerSession& session) {
  // The volumes of voices 0 to 11, left and right, each followed by an envelope register.
  for (int i = 0; i < spu_reg::kVoiceCount; ++i) {
    const int voice = i / 2;
    const std::uint32_t volume = i % 2 == 0 ? spu_reg::VoiceVolumeLeft(voice) : spu_reg::VoiceVolumeRight(voice);
    session.WriteRegister(volume, 0);
    session.WriteRegister(spu_reg::VoiceEnvelope(i), 0);
  }
}

void SeekCheck(PlayerSession& session) {
  PlayerState& state = session.state;
  if (!state.seekRequest.load(std::memory_order_acquire)) return;
  // A target outside the log would start the clock before 0 or past the end.
  const std::uint32_t target =
      std::min(SampleTimeOf(state.seekTarget.load(std::memory_order_relaxed)), session.log->totalLength);
  if (target < session.now) {
    SilenceStep(session);
    // The plugin keeps its state; the events are replayed from the first one.
    session.reader->SeekTo(session.log->firstEventPosition);
    session.nextTime = ReadNextTime(session);
  }
  session.now = target;
  session.renderPosition = target;
  state.position.store(session.renderPosition, std::memory_order_relaxed);
  state.seeking.store(true, std::memory_order_relaxed);
  state.seekRequest.store(false, std::memory_order_relaxed);
}

}  // namespace kestrel
