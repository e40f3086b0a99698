// The tail of every pass: mixer, Dynamic Orchestra, debug and analyzer reads, fades.

#include "mixer/channel_mixer.h"
#include "abi/spu_registers.h"
#include "player/player_session.h"
#include "spulog/log_format.h"

namespace kestrel {
namespace {

constexpr std::uint16_t kFullVolume = 0x3FFF;
constexpr std::uint16_t kFadeStep = 3;
constexpr std::uint32_t kFadeSeconds = 5;

void WriteMainVolume(const PlayerSession& session, std::uint16_t level) {
  session.WriteRegister(spu_reg::kMainVolumeLeft, level);
  session.WriteRegister(spu_reg::kMainVolumeRight, level);
}

void ReadDebugPage(PlayerSession& session) {
  PlayerState& state = session.state;
  if (!state.debugWindowOpen.load(std::memory_order_relaxed) ||
      !state.debugReadRequest.load(std::memory_order_acquire)) {
    return;
  }
  const auto read = session.api.SPUreadRegister;
  if (read != nullptr) {
    if (state.debugPage.load(std::memory_order_relaxed) == 1) {
      for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
        state.debugVolumes[2 * v].store(read(spu_reg::VoiceVolumeLeft(v)), std::memory_order_relaxed);
        state.debugVolumes[2 * v + 1].store(read(spu_reg::VoiceVolumeRight(v)), std::memory_order_relaxed);
      }
    } else if (state.debugPage.load(std::memory_order_relaxed) == 2) {
      for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
        state.debugPitches[v].store(read(spu_reg::VoicePitch(v)), std::memory_order_relaxed);
      }
    }
  }
  state.debugReadRequest.store(false, std::memory_order_release);
}

void ApplyFades(PlayerSession& session) {
  PlayerState& state = session.state;
  const std::uint32_t posSec = state.position.load(std::memory_order_relaxed) / kSampleRate;
  const std::uint32_t remaining = session.log->totalLength / kSampleRate - posSec;
  if (remaining <= kFadeSeconds && state.fadeOut.load(std::memory_order_relaxed)) {
    session.fadeOutLevel = static_cast<std::uint16_t>(session.fadeOutLevel - kFadeStep);
    if (static_cast<std::int16_t>(session.fadeOutLevel) < 0) session.fadeOutLevel = 0;
    WriteMainVolume(session, session.fadeOutLevel);
    state.fadeActive.store(true, std::memory_order_relaxed);
  }
  if (posSec <= kFadeSeconds && state.fadeIn.load(std::memory_order_relaxed)) {
    session.fadeInLevel = static_cast<std::uint16_t>(session.fadeInLevel + kFadeStep);
    if (static_cast<std::int16_t>(session.fadeInLevel) >= static_cast<std::int16_t>(kFullVolume)) {
      session.fadeInLevel = kFullVolume;
    }
    WriteMainVolume(session, session.fadeInLevel);
    state.fadeActive.store(true, std::memory_order_relaxed);
  }
  if (remaining > kFadeSeconds && posSec > kFadeSeconds) state.fadeActive.store(false, std::memory_order_relaxed);
}

void ReadAnalyzerLevels(PlayerSession& session) {
  PlayerState& state = session.state;
  if (!state.analyzerReadRequest.load(std::memory_order_acquire) || state.paused.load(std::memory_order_relaxed)) {
    return;
  }
  if (const auto read = session.api.SPUreadRegister) {
    for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
      state.analyzerEnvelope[v].store(read(spu_reg::VoiceEnvelope(v)), std::memory_order_relaxed);
    }
  }
  state.analyzerReadRequest.store(false, std::memory_order_release);
}

}  // namespace

void RunTail(PlayerSession& session) {
  ChannelMixer& mixer = session.registerPath.channelMixer;
  if (mixer.changed.load(std::memory_order_acquire)) {
    ApplyChannelMixer(mixer, [&session](std::uint32_t address, std::uint16_t value) {
      session.WriteRegister(address, value);
    });
  }
  if (session.state.dynamicOrchestra.load(std::memory_order_relaxed)) {
    session.WriteRegister(spu_reg::kReverbVolumeLeft, 0x7FFF);
    session.WriteRegister(spu_reg::kReverbVolumeRight, 0x7FFF);
  }
  ReadDebugPage(session);
  ApplyFades(session);
  ReadAnalyzerLevels(session);
}

}  // namespace kestrel
