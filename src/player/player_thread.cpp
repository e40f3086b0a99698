#include "player/player_thread.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <variant>

#include "platform/console_log.h"
#include "mixer/channel_mixer.h"
#include "player/player_session.h"
#include "spulog/sample_time.h"

namespace kestrel {
namespace {

void EventStep(PlayerSession& session) {
  const std::uint32_t time = *session.nextTime;
  if (!session.Seeking()) {
    RenderUpTo(session, time);
    PublishPosition(session);
  }
  // Rendering goes at most a millisecond a pass: the event waits until it is reached.
  if (session.renderPosition >= time) {
    DeliverEvent(session, time);
    session.nextTime = ReadNextTime(session);
  }
  SeekCheck(session);
}

// False once the render position has reached the log's length.
bool TimeStep(PlayerSession& session) {
  PlayerState& state = session.state;
  if (session.Seeking()) {
    session.lastTick = session.setup.clock.tick();
    state.seeking.store(false, std::memory_order_relaxed);
  }
  const std::uint32_t target = SampleTimeOf(session.now);
  RenderUpTo(session, target);
  PublishPosition(session);
  if (session.renderPosition >= session.log->totalLength) return false;
  if (session.renderPosition < target) return true;
  AdvanceClock(session);
  return true;
}

PlayerOutcome Play(PlayerSession& session) {
  while (session.state.running.load(std::memory_order_acquire)) {
    const bool eventDue = session.nextTime && static_cast<double>(*session.nextTime) <= session.now;
    if (eventDue) {
      EventStep(session);
    } else if (!TimeStep(session)) {
      return PlayerOutcome::PlayedToEnd;
    }
    RunTail(session);
  }
  return PlayerOutcome::Stopped;
}

void StartPlugin(PlayerSession& session) {
  session.plugin.Init();
  ConsoleLog::Write("* Init SPU ..... OK\n");
  session.plugin.Open(session.setup.windowHandle);
  ConsoleLog::Write("* Open SPU ..... OK\n");
  session.api.SPUfreeze(0, session.log->block.get());
  ConsoleLog::Write("* Loading SPU state ..... OK\n");
  ChannelMixer& mixer = session.registerPath.channelMixer;
  SeedRememberedVolumes(mixer, *session.log->block);
  mixer.changed.store(true, std::memory_order_release);
  // A playback stopped in the middle of a seek must not leave the next one seeking.
  session.state.seeking.store(false, std::memory_order_relaxed);
  session.lastTick = session.setup.clock.tick();
  session.now = 0.0;
  session.renderPosition = 0;
  session.nextTime = ReadNextTime(session);
}

void ShutdownPlugin(PlayerSession& session) {
  session.plugin.Close();
  ConsoleLog::Write("* Closing SPU ..... OK\n");
  session.plugin.Shutdown();
  ConsoleLog::Write("* Shutdown SPU ..... OK\n");
}

struct SessionResult {
  PlayerOutcome outcome;
  std::optional<PlayerFailure> failure;
  std::string reason = {};  // the system's words for the failure, when it has any
};

// Everything the session took is released when it returns: the log, the state block,
// the plugin library and, last, the plugin lock.
SessionResult RunSession(PlayerState& state, const PlayerSetup& setup) {
  PlayerSession session(state, setup);
  if (const auto failure = BindPlayerPlugin(session)) {
    WriteFailureLines(*failure);
    return {PlayerOutcome::PluginRefused, failure, session.plugin.IsLoaded() ? "" : session.plugin.Error()};
  }
  if (const auto failure = CheckLogPath(setup)) {
    WriteFailureLines(*failure);
    return {PlayerOutcome::LogRefused, failure};
  }
  ConsoleLog::Write("* Loading SPU File ..... OK\n");
  LoadResult loaded = LoadSpuLog(setup.logPath);
  if (const auto* failure = std::get_if<LoadFailure>(&loaded)) {
    if (*failure == LoadFailure::CannotOpen) {
      std::string reason = "Can't open " + setup.logPath + " : " + std::strerror(errno);
      WriteFailureLines(PlayerFailure::LogUnreadable);
      return {PlayerOutcome::LogRefused, PlayerFailure::LogUnreadable, std::move(reason)};
    }
    ConsoleLog::Write("* Warning : SPU File is broken or is no SPU log; it can't be played.\n");
    return {PlayerOutcome::LogRejected, std::nullopt};
  }
  session.log.emplace(std::move(std::get<LoadedLog>(loaded)));
  session.reader.emplace(session.log->file, session.log->type);
  state.totalLength.store(session.log->totalLength, std::memory_order_relaxed);

  StartPlugin(session);
  const PlayerOutcome outcome = Play(session);
  ShutdownPlugin(session);
  return {outcome, std::nullopt};
}

}  // namespace

bool IsPlayerFailure(PlayerOutcome outcome) {
  return outcome == PlayerOutcome::PluginRefused || outcome == PlayerOutcome::LogRefused ||
         outcome == PlayerOutcome::LogRejected;
}

PlayerOutcome RunPlayer(PlayerState& state, const PlayerSetup& setup) {
  if (const auto factor = TempoFactorOfRow(setup.tempoRow)) {
    state.tempoFactor.store(*factor, std::memory_order_relaxed);
  }
  const SessionResult result = RunSession(state, setup);
  if (result.failure) ShowFailureMessage(*result.failure, result.reason);
  if (IsPlayerFailure(result.outcome)) {
    if (setup.stopPlayback) setup.stopPlayback(result.outcome);
  } else if (!state.jumpRequest.load(std::memory_order_acquire) && setup.handleEndOfLog) {
    setup.handleEndOfLog(result.outcome);
  }
  return result.outcome;
}

}  // namespace kestrel
