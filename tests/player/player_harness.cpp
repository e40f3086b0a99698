#include "player/player_harness.h"

#include <cstdio>

#include "mixer/register_path.h"
#include "player/player_thread.h"

namespace kestrel::test {

PlayerClock SteppedClock::Clock() {
  return {[this] { return now; },
          [this](std::uint32_t ms) {
            now += ms;
            ++sleeps;
            if (onSleep) onSleep();
          }};
}

void ResetRegisterPath() {
  RegisterPath& path = TheRegisterPath();
  for (auto& allow : path.registerControl.allow) allow = true;
  for (EventSwitches* s : {static_cast<EventSwitches*>(&path.eventControl),
                           static_cast<EventSwitches*>(&path.decodingEvent)}) {
    s->registerWrite = s->dmaWrite = s->xa = s->cdda = true;
  }
  ChannelMixer& mixer = path.channelMixer;
  for (int ch = 0; ch < spu_reg::kVoiceCount; ++ch) {
    mixer.sliderPosition[ch] = 0;
    mixer.level[ch] = 100;
    mixer.mute[ch] = false;
  }
  mixer.changed = false;
}

PlayerHarness::PlayerHarness(const char* plugin) : recording(plugin), pluginPath(plugin) {
  ResetRegisterPath();
  recording.Reset();
  state.limiter = false;
  console_ = ConsoleLog::Attach([this](std::string_view line) { consoleLines.emplace_back(line); });
  previousHandler_ = MessagePort::SetHandler([this](const Message& message) {
    messages.push_back(message);
    return MessageAnswer::Ok;
  });
}

PlayerHarness::~PlayerHarness() { MessagePort::SetHandler(previousHandler_); }

std::string PlayerHarness::WriteLog(const SpuLogWriter& log, const std::string& name) {
  return test::WriteLog(folder, name, log);
}

PlayerOutcome PlayerHarness::Play(const std::string& logPath, int tempoRow) {
  PlayerSetup setup;
  setup.pluginPath = pluginPath;
  setup.logPath = logPath;
  setup.tempoRow = tempoRow;
  setup.clock = clock.Clock();
  setup.stopPlayback = [this](PlayerOutcome outcome) { stopCalls.push_back(outcome); };
  setup.handleEndOfLog = [this](PlayerOutcome outcome) { endCalls.push_back(outcome); };
  state.running = true;
  return RunPlayer(state, setup);
}

int IndexOf(const std::vector<std::string>& lines, const std::string& line, int from) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i) {
    if (lines[static_cast<std::size_t>(i)] == line) return i;
  }
  return -1;
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  return CountBetween(lines, -1, static_cast<int>(lines.size()), prefix);
}

std::vector<std::string> WithPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& line : lines) {
    if (line.starts_with(prefix)) out.push_back(line);
  }
  return out;
}

int CountBetween(const std::vector<std::string>& lines, int from, int to, const std::string& prefix) {
  int count = 0;
  for (int i = from + 1; i < to; ++i) count += lines[static_cast<std::size_t>(i)].starts_with(prefix) ? 1 : 0;
  return count;
}

std::string WriteLine(std::uint32_t address, std::uint16_t value) {
  char text[64];
  std::snprintf(text, sizeof text, "SPUwriteRegister %08x %04x", address, value);
  return text;
}

}  // namespace kestrel::test
