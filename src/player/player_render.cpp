// Rendering up to a time, and the playback clock.

#include <algorithm>

#include "platform/thread_priority.h"
#include "plugin/spu_plugin_api.h"
#include "player/player_session.h"
#include "spulog/log_format.h"

namespace kestrel {
namespace {

// One call renders at most one millisecond of sound.
constexpr std::int32_t kMaxSamplesPerCall = 44;

// Samples of log time per second of real time at the tempo; never 0.
std::int32_t SampleRateAt(double tempoFactor) {
  return std::max(1, static_cast<std::int32_t>(kSampleRate * tempoFactor));
}

}  // namespace

unsigned long CyclesPerSample(double tempoFactor) {
  // The integer division comes first, as the plugins' timing expects: 768 at tempo 1.0.
  return kPsxCpuClock / static_cast<unsigned long>(SampleRateAt(tempoFactor));
}

void RenderUpTo(PlayerSession& session, std::uint32_t target) {
  const auto d = static_cast<std::int32_t>(target - session.renderPosition);
  if (d <= 0) return;
  if (session.api.SPUasync == nullptr) {
    session.renderPosition += static_cast<std::uint32_t>(d);
    return;
  }
  const std::int32_t n = std::min(d, kMaxSamplesPerCall);
  const double tempo = session.state.tempoFactor.load(std::memory_order_relaxed);
  const unsigned long cycles = CyclesPerSample(tempo) * static_cast<unsigned long>(n);
  // The plugin's own work runs at normal priority, whatever the player's is.
  const ThreadPriority priority = session.state.playerPriority.load(std::memory_order_relaxed);
  if (priority != ThreadPriority::Normal) SetCurrentThreadPriority(ThreadPriority::Normal);
  session.api.SPUasync(cycles);
  if (priority != ThreadPriority::Normal) SetCurrentThreadPriority(priority);
  session.renderPosition += static_cast<std::uint32_t>(n);
}

void AdvanceClock(PlayerSession& session) {
  PlayerState& state = session.state;
  if (!state.limiter.load(std::memory_order_relaxed)) {
    session.now += kSampleRate / 1000.0;  // 44.1 samples a step, as fast as the plugin goes
    return;
  }
  std::uint32_t t = session.setup.clock.tick();
  if (t == session.lastTick) {
    session.setup.clock.sleep(1);
    t = session.setup.clock.tick();
  }
  if (state.paused.load(std::memory_order_relaxed)) {
    SilenceStep(session);
    session.lastTick = t;
    return;
  }
  const std::uint32_t elapsed = t - session.lastTick;  // modulo 2^32, across the wrap
  const double rate = SampleRateAt(state.tempoFactor.load(std::memory_order_relaxed));
  session.now += rate * elapsed * 0.001;
  session.lastTick = t;
}

void PublishPosition(PlayerSession& session) {
  session.state.position.store(session.renderPosition, std::memory_order_relaxed);
  session.state.totalLength.store(session.log->totalLength, std::memory_order_relaxed);
  std::vector<ScriptedSeek>& pending = session.pendingSeeks;
  for (auto seek = pending.begin(); seek != pending.end();) {
    if (session.renderPosition < seek->atSample) {
      ++seek;
      continue;
    }
    session.state.RequestSeek(seek->target);
    seek = pending.erase(seek);
  }
}

}  // namespace kestrel
