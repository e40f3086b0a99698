#pragma once
// What one playback is started with, and how it ends.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/millisecond_tick.h"
#include "player/tempo_table.h"

namespace kestrel {

// The time source the player paces itself by; tests step it by hand.
struct PlayerClock {
  std::function<std::uint32_t()> tick = MillisecondTick;
  std::function<void(std::uint32_t milliseconds)> sleep = SleepMilliseconds;
};

enum class PlayerOutcome {
  PlayedToEnd,    // the render position reached the total length
  Stopped,        // running was cleared
  PluginRefused,  // binding failed; the message has been shown
  LogRefused,     // no log path, no file there or one that cannot be opened; the message has been shown
  LogRejected,    // the loader did not accept the log
};

bool IsPlayerFailure(PlayerOutcome outcome);

// A seek the player raises itself, in the pass in which the position it publishes first
// reaches `atSample`: a scripted run then replays the same way every time.
struct ScriptedSeek {
  std::uint32_t atSample = 0;
  double target = 0.0;  // samples
};

struct PlayerSetup {
  std::string pluginPath;
  std::string logPath;
  // A dropped file's path is used without the empty-path and existence checks.
  bool droppedFile = false;
  int tempoRow = kDefaultTempoRow;  // a row outside the table keeps the current factor
  void* windowHandle = nullptr;     // passed to SPUopen
  PlayerClock clock;
  std::vector<ScriptedSeek> scriptedSeeks;  // each raised once

  // Run on the player thread after everything it took is released.
  // After a failure: the front end's stop routine.
  std::function<void(PlayerOutcome)> stopPlayback;
  // After a playback that started, unless a jump was requested: the end-of-log handling.
  std::function<void(PlayerOutcome)> handleEndOfLog;
};

}  // namespace kestrel
