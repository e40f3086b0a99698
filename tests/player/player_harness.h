#pragma once
// Runs the player on the test's thread against the recording plugin, with a clock that
// only moves when the player sleeps.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "fakes/test_plugins.h"
#include "player/player_setup.h"
#include "player/player_state.h"
#include "support/log_files.h"
#include "support/recording_plugin_client.h"

namespace kestrel::test {

struct SteppedClock {
  std::uint32_t now = 1000;
  int sleeps = 0;
  std::function<void()> onSleep;  // runs after each sleep, e.g. to pause or seek
  PlayerClock Clock();
};

// Puts the process-wide switches and mixer back to their start-up values.
void ResetRegisterPath();

class PlayerHarness {
 public:
  explicit PlayerHarness(const char* plugin = kRecordingPlugin);
  ~PlayerHarness();

  std::string WriteLog(const SpuLogWriter& log, const std::string& name = "song.spu");
  // Plays `logPath` to its end (or until the clock's hook stops it); limiter off unless set.
  PlayerOutcome Play(const std::string& logPath, int tempoRow = kDefaultTempoRow);

  std::vector<std::string> Calls() const { return recording.CallLines(); }

  PlayerState state;
  SteppedClock clock;
  TempFolder folder;
  RecordingPluginClient recording;
  std::string pluginPath;
  std::vector<std::string> consoleLines;
  std::vector<Message> messages;
  std::vector<PlayerOutcome> stopCalls;
  std::vector<PlayerOutcome> endCalls;

 private:
  ConsoleLog::Attachment console_;
  MessagePort::Handler previousHandler_;
};

// Where `line` first occurs in `lines` at or after `from`, or -1.
int IndexOf(const std::vector<std::string>& lines, const std::string& line, int from = 0);
int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix);
// Lines starting with `prefix`, in order.
std::vector<std::string> WithPrefix(const std::vector<std::string>& lines, const std::string& prefix);
// The lines between two indexes (exclusive) that start with `prefix`.
int CountBetween(const std::vector<std::string>& lines, int from, int to, const std::string& prefix);

// A plain register-write line as the recording plugin writes it.
std::string WriteLine(std::uint32_t address, std::uint16_t value);

}  // namespace kestrel::test
