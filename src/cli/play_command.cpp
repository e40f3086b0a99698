// kestrel-spu play: one log in real time through a plugin, with a status line and keys.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/common_options.h"
#include "cli/terminal.h"
#include "mixer/register_path.h"
#include "player/playback_control.h"
#include "player/player_state.h"
#include "player/status_text.h"
#include "player/tempo_table.h"
#include "spulog/log_format.h"

namespace kestrel::cli {
namespace {

constexpr double kSeekStepSamples = 5.0 * kSampleRate;

struct PlayOptions {
  std::string log;
  std::string plugin;
  int tempo = 100;
  bool noLimiter = false;
  bool fadeIn = false;
  bool fadeOut = false;
  bool dynamicOrchestra = false;
  std::vector<std::string> levels;
  std::vector<int> mutes;
  std::vector<std::string> blockedRegisters;
  std::vector<std::string> seeks;
  EventSwitchOptions events;
  bool console = false;
};

std::optional<long long> ParseNumber(const std::string& text, int base) {
  try {
    std::size_t used = 0;
    const long long value = std::stoll(text, &used, base);
    if (used == text.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

bool Refuse(const std::string& what) {
  std::fprintf(stderr, "kestrel-spu play: %s\n", what.c_str());
  return false;
}

// Applies --level, --mute and --block-register; false (with a message) on a bad value.
bool ApplyMixerOptions(const PlayOptions& o, RegisterPath& path) {
  ChannelMixer& mixer = path.channelMixer;
  for (const std::string& level : o.levels) {
    const std::size_t eq = level.find('=');
    const auto channel = eq == std::string::npos ? std::nullopt : ParseNumber(level.substr(0, eq), 10);
    const auto percent = eq == std::string::npos ? std::nullopt : ParseNumber(level.substr(eq + 1), 10);
    if (!channel || !percent || *channel < 0 || *channel >= spu_reg::kVoiceCount || *percent < 0 || *percent > 100) {
      return Refuse("--level wants CH=PCT with CH 0..23 and PCT 0..100, not " + level);
    }
    mixer.sliderPosition[static_cast<std::size_t>(*channel)] = static_cast<int>(100 - *percent);
  }
  ReadLevels(mixer);
  for (const int channel : o.mutes) {
    if (channel < 0 || channel >= spu_reg::kVoiceCount) return Refuse("--mute wants a channel 0..23");
    SetMute(mixer, channel, true);
  }
  for (const std::string& text : o.blockedRegisters) {
    const auto address = ParseNumber(text, 16);
    const int index = address ? RegisterControl::IndexOf(static_cast<std::uint32_t>(*address)) : -1;
    if (index < 0) return Refuse("--block-register wants one of 0x1f801d88..0x1f801d9a, not " + text);
    path.registerControl.allow[static_cast<std::size_t>(index)] = false;
  }
  ApplyEventSwitchOptions(o.events, path.eventControl);
  return true;
}

std::optional<std::vector<ScriptedSeek>> ParseSeeks(const std::vector<std::string>& texts) {
  std::vector<ScriptedSeek> seeks;
  for (const std::string& text : texts) {
    const std::size_t colon = text.find(':');
    const auto at = colon == std::string::npos ? std::nullopt : ParseNumber(text.substr(0, colon), 10);
    const auto target = colon == std::string::npos ? std::nullopt : ParseNumber(text.substr(colon + 1), 10);
    if (!at || !target || *at < 0 || *target < 0 || *at > UINT32_MAX || *target > UINT32_MAX) {
      Refuse("--seek-at wants SAMPLE:TARGET, not " + text);
      return std::nullopt;
    }
    seeks.push_back({static_cast<std::uint32_t>(*at), static_cast<double>(*target)});
  }
  return seeks;
}

// The keys send the same playback commands as the main window's toolbar, slider and tempo list.
void HandleKey(Key key, PlayerState& state, int& tempoRow, bool& quit) {
  const double position = state.position.load();
  switch (key) {
    case Key::Space: TogglePause(state); break;
    case Key::Left: SeekTo(state, std::max(position - kSeekStepSamples, 0.0)); break;
    case Key::Right: SeekTo(state, position + kSeekStepSamples); break;
    case Key::Up:
      if (SetTempoRow(state, tempoRow + 1)) ++tempoRow;
      break;
    case Key::Down:
      if (SetTempoRow(state, tempoRow - 1)) --tempoRow;
      break;
    case Key::Quit: quit = true; break;
  }
}

int ExitStatus(PlayerOutcome outcome, bool interrupted) {
  switch (outcome) {
    case PlayerOutcome::PlayedToEnd: return 0;
    case PlayerOutcome::Stopped: return interrupted ? 130 : 0;
    case PlayerOutcome::LogRejected:
      std::fprintf(stderr, "SPUFile Load Error: Selected SPUFile can't be played: it is broken or is no SPU log.\n");
      return 1;
    default: return 1;  // the player has shown its message
  }
}

int RunPlay(const PlayOptions& o) {
  const std::optional<int> tempoRow = TempoRowOfPercent(o.tempo);
  if (!tempoRow) {
    Refuse("--tempo wants one of 5 10 25 50 75 100 125 150 175 200 250 300 350 400 500 ... 1000");
    return 2;
  }
  const auto seeks = ParseSeeks(o.seeks);
  if (!seeks || !ApplyMixerOptions(o, TheRegisterPath())) return 2;

  PlayerState& state = ThePlayerState();
  state.limiter = !o.noLimiter;
  state.fadeIn = o.fadeIn;
  state.fadeOut = o.fadeOut;
  state.dynamicOrchestra = o.dynamicOrchestra;
  ConsoleLog::Attachment console;
  if (o.console) console = AttachConsoleToStandardOutput();

  struct Finish {
    std::atomic<bool> done{false};
    std::atomic<PlayerOutcome> outcome{PlayerOutcome::Stopped};
  };
  auto finish = std::make_shared<Finish>();
  const auto onEnd = [finish](PlayerOutcome outcome) {
    finish->outcome = outcome;
    finish->done.store(true, std::memory_order_release);
  };
  PlayerSetup setup;
  setup.pluginPath = o.plugin;
  setup.logPath = o.log;
  setup.tempoRow = *tempoRow;
  setup.stopPlayback = onEnd;
  setup.handleEndOfLog = onEnd;
  setup.scriptedSeeks = *seeks;

  InterruptFlag interrupt;
  RawKeys keys;
  StatusLine status(STDERR_FILENO);
  int row = *tempoRow;
  bool quit = false;
  bool stopping = false;
  StartPlayerThread(state, ThePlayerThread(), ThreadPriority::Normal, std::move(setup));
  auto nextStatus = std::chrono::steady_clock::now();
  while (!finish->done.load(std::memory_order_acquire)) {
    while (const auto key = keys.Poll()) HandleKey(*key, state, row, quit);
    if ((interrupt.Raised() || quit) && !stopping) {
      stopping = true;
      StopPlayerThread(state, ThePlayerThread());
    }
    if (std::chrono::steady_clock::now() >= nextStatus) {
      status.Show(FormatPlayingTime(state.position, state.totalLength) + "   " + kTempoTable[row].statusText +
                  (state.paused ? "   paused" : ""));
      nextStatus += std::chrono::milliseconds(100);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  status.Clear();
  // The player has released everything; let its thread finish returning.
  ThePlayerThread().Take().Wait();
  return ExitStatus(finish->outcome, interrupt.Raised());
}

}  // namespace

void AddPlayCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("play", "Play an SPU log in real time through an SPU plugin");
  auto o = std::make_shared<PlayOptions>();
  command->add_option("LOG", o->log, "SPU log (.spu or .gz)")->required();
  command->add_option("--plugin", o->plugin, "SPU plugin library (.so)")->required();
  command->add_option("--tempo", o->tempo, "Tempo in percent, a row of the tempo table (default 100)");
  command->add_flag("--no-limiter", o->noLimiter, "Run as fast as the plugin allows, not in real time");
  command->add_flag("--fade-in", o->fadeIn, "Fade the main volume in over the first 5 seconds");
  command->add_flag("--fade-out", o->fadeOut, "Fade the main volume out over the last 5 seconds");
  command->add_flag("--dynamic-orchestra", o->dynamicOrchestra, "Force the reverb output volume to maximum");
  command->add_option("--level", o->levels, "Channel level CH=PCT (0..23, 0..100); repeatable")
      ->allow_extra_args(false);
  command->add_option("--mute", o->mutes, "Mute a channel (0..23); repeatable")
      ->allow_extra_args(false);
  command->add_option("--block-register", o->blockedRegisters,
                      "Hold back writes to a switched register such as 0x1f801d88; repeatable")
      ->allow_extra_args(false);
  AddEventSwitchOptions(*command, o->events);
  command->add_option("--seek-at", o->seeks, "Seek to TARGET samples from the pass whose position first reaches SAMPLE; repeatable")
      ->allow_extra_args(false);
  command->add_flag("--console", o->console, "Print the console lines on standard output");
  command->callback([o, &status] { status = RunPlay(*o); });
}

}  // namespace kestrel::cli
