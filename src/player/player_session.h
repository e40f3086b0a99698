#pragma once
// The private state of one playback on the player thread, and the steps that act on it.

#include <cstdint>
#include <optional>
#include <vector>

#include "mixer/register_path.h"
#include "plugin/bound_plugin.h"
#include "plugin/spu_plugin_api.h"
#include "player/player_setup.h"
#include "player/player_state.h"
#include "spulog/log_events.h"
#include "spulog/log_loader.h"

namespace kestrel {

enum class PlayerFailure { NoPlugin, PluginMoved, NotSpuPlugin, NotSupported, NoLog, LogMoved, LogUnreadable };

struct PlayerSession {
  PlayerSession(PlayerState& shared, const PlayerSetup& playerSetup)
      : state(shared), setup(playerSetup), registerPath(TheRegisterPath()), pendingSeeks(playerSetup.scriptedSeeks) {}

  PlayerState& state;
  const PlayerSetup& setup;
  RegisterPath& registerPath;

  // Members go in reverse order: the log, then the plugin (shut down, unloaded, unlocked).
  BoundPlugin plugin;
  const SpuPluginApi& api = plugin.Api();
  std::optional<LoadedLog> log;
  std::optional<LogEventReader> reader;  // reads log->file
  LogEvent event;                        // the event being delivered; its buffer is reused

  double now = 0.0;                 // playback clock, samples
  std::uint32_t renderPosition = 0;  // samples the plugin has been asked to render
  std::optional<std::uint32_t> nextTime;  // read ahead; nullopt once the stream has ended
  std::uint32_t lastTick = 0;
  std::uint16_t fadeOutLevel = 0x3FFF;
  std::uint16_t fadeInLevel = 0;
  std::vector<ScriptedSeek> pendingSeeks;  // the scripted seeks not raised yet

  bool Seeking() const { return state.seeking.load(std::memory_order_relaxed); }
  void WriteRegister(std::uint32_t address, std::uint16_t value) const {
    api.SPUwriteRegister(address, value);
  }
};

// Binding: loads the plugin library and checks its entry points.
std::optional<PlayerFailure> BindPlayerPlugin(PlayerSession& session);
// Checks the log path; nullopt means the log may be loaded.
std::optional<PlayerFailure> CheckLogPath(const PlayerSetup& setup);
// Shows a failure: its console lines (before) and its message (after release), with the
// system's reason when there is one.
void WriteFailureLines(PlayerFailure failure);
void ShowFailureMessage(PlayerFailure failure, const std::string& reason);

// Rendering and the clock.
unsigned long CyclesPerSample(double tempoFactor);
void RenderUpTo(PlayerSession& session, std::uint32_t target);
void AdvanceClock(PlayerSession& session);
void PublishPosition(PlayerSession& session);

// The next event's time, or nullopt at the end of the stream or beyond the log's length.
std::optional<std::uint32_t> ReadNextTime(PlayerSession& session);
void DeliverEvent(PlayerSession& session, std::uint32_t time);

void SilenceStep(const PlayerSession& session);
void SeekCheck(PlayerSession& session);

void RunTail(PlayerSession& session);

}  // namespace kestrel
