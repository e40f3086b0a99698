#include "app/controller.h"

#include <algorithm>
#include <utility>

#include "app/command_ids.h"
#include "app/option_tables.h"
#include "platform/ini_file.h"
#include "plugin/plugin_scan.h"
#include "player/playback_control.h"

namespace kestrel {

Controller::Controller(FrontEnd& frontEnd, ControllerOptions options)
    : frontEnd_(frontEnd),
      player_(*options.player),
      playerThread_(*options.playerThread),
      playerClock_(std::move(options.playerClock)),
      startupFolder_(std::move(options.startupFolder)),
      configPath_(ConfigPath(startupFolder_)),
      scan_([this, alive = std::weak_ptr<bool>(alive_)] {
        frontEnd_.Post([this, alive] {
          if (alive.lock()) DrainScan();
        });
      }) {}

Controller::~Controller() {
  *alive_ = false;
  alive_.reset();
  player_.running.store(false, std::memory_order_release);
  playerThread_.Take().Wait();
  decodeJob_.AbortDecode();
  decodeJob_.WaitForThread();
}

void Controller::PostForPlayback(const std::weak_ptr<bool>& alive, std::uint64_t playback,
                                 std::function<void()> work) {
  frontEnd_.Post([this, alive, playback, work = std::move(work)] {
    if (alive.lock() && playback == playback_) work();
  });
}

void Controller::Changed(std::initializer_list<StateArea> areas) {
  for (const StateArea area : areas) frontEnd_.Changed(area);
}

GreyTargets Controller::Targets() {
  return {&window_.menu,      &window_.toolbar,          &fileListControls_, &editorControls_,
          &optionPage_.controls, &decodeControls_, &pluginControls_};
}

void Controller::Grey(GreyMoment moment) {
  ApplyGreying(moment, Targets());
  Changed({StateArea::Menu, StateArea::Toolbar, StateArea::FileListPage, StateArea::PlayListEditorPage,
           StateArea::OptionPage, StateArea::DecodePage, StateArea::PluginPage});
}

// ---- Start-up

void Controller::OpenConsoleIfEnabled() {
  if (ReadEnableConsoleWindow(configPath_)) OpenConsoleLog();
}

void Controller::CreateMainWindow() {
  const std::vector<PluginRow> plugins = ScanPlugins(PluginFolder(startupFolder_));
  settings_ = LoadSettings(configPath_, static_cast<int>(plugins.size()));
  Grey(GreyMoment::StartUp);
  window_.menu.SetChecked(cmd::kConsoleWindow, settings_.EnableConsoleWindow);
  MirrorPlayModeMenu();
  optionPage_.Show(settings_, player_);
  decodeControls_.SetEnabled(1027, settings_.SpecifyDecodeTime);  // the decoding-time edit
  window_.statusFields[2] = settings_.tempoStatusText;
  window_.slotTitles = settings_.slotTitles;
  if (settings_.SelectedSPUPlugin >= 0) {
    pluginPath_ = kestrel::PluginPath(PluginFolder(startupFolder_),
                             plugins[static_cast<std::size_t>(settings_.SelectedSPUPlugin)].fileName);
  }
  StartScan();
  openingRunning_ = true;
  openingTicks_ = 0;
  frontEnd_.StartTimer(AppTimer::Shell, kOpeningPeriodMs);
  Changed({StateArea::StatusBar, StateArea::Analyzer});
}

// ---- The folder scan

void Controller::StartScan() {
  if (!scan_.Start(fileList_, settings_.SPUFileFolder)) return;
  Grey(GreyMoment::ScanStarts);
}

void Controller::DrainScan() {
  if (!fileList_.detecting) return;
  if (scan_.Drain(fileList_)) Grey(GreyMoment::ScanEnds);
  Changed({StateArea::FileListPage});
}

// ---- The decode

void Controller::StartDecode() {
  if (decodeJob_.Decoding()) return;
  DecodeRequest request;
  request.pluginPath = pluginPath_;
  request.logPath = panel_.path;
  request.startupFolder = startupFolder_;
  request.outputName = decodeOutputName_;
  request.specifyTime = settings_.SpecifyDecodeTime;
  const int position = std::clamp(settings_.DecodePriority, 1, 7);
  request.priority = kPriorityTable[static_cast<std::size_t>(position - 1)].priority;
  request.onEnded = [this, alive = std::weak_ptr<bool>(alive_)] {
    frontEnd_.Post([this, alive] {
      if (alive.lock()) EndDecode();
    });
  };
  decodeJob_.StartDecode(std::move(request));
  Grey(GreyMoment::DecodeStarts);
  decodeControls_.SetEnabled(ctl::kDecode, false);
  decodeControls_.SetEnabled(ctl::kAbort, true);
  Changed({StateArea::DecodePage});
}

void Controller::AbortDecode() {
  if (!decodeJob_.Decoding()) return;
  decodeJob_.AbortDecode();
  EndDecode();
}

void Controller::EndDecode() {
  if (!decodeJob_.Decoding() && !decodeControls_.Enabled(ctl::kAbort)) return;
  decodeJob_.EndDecodeJob();
  Grey(GreyMoment::DecodeEnds);
  decodeControls_.SetEnabled(ctl::kDecode, !player_.running.load(std::memory_order_acquire));
  decodeControls_.SetEnabled(ctl::kAbort, false);
  Changed({StateArea::DecodePage});
}

// ---- The console

void Controller::OpenConsoleLog() {
  console_.emplace(ConsoleLog::Attach(frontEnd_.OpenConsoleWindow()));
  ConsoleLog::Write(kProgramBanner);
}

void Controller::CloseConsoleLog() {
  console_.reset();
  frontEnd_.CloseConsoleWindow();
}

void Controller::WarnIfNotWritten(const WriteResult& result) {
  if (!result) ConsoleLog::Writef("* Warning : config.ini can't be written: %s\n", result.failure.c_str());
}

void Controller::ToggleConsole() {
  if (IniFile(configPath_).ReadInt(kSettingsSection, "EnableConsoleWindow", 0) != 0) {
    // Written before the console goes, so that a failure can still be read there.
    WarnIfNotWritten(WriteEnableConsoleWindow(configPath_, false));
    CloseConsoleLog();
    window_.menu.SetChecked(cmd::kConsoleWindow, false);
  } else {
    OpenConsoleLog();
    WarnIfNotWritten(WriteEnableConsoleWindow(configPath_, true));
    window_.menu.SetChecked(cmd::kConsoleWindow, true);
  }
  Changed({StateArea::Menu});
}

// ---- Exit

void Controller::Exit() {
  // A playing log is stopped and its plugin closed and shut down, and a decode is aborted
  // once its WAV header is written, before the settings are saved and the window ends.
  if (player_.running.load(std::memory_order_acquire)) {
    player_.running.store(false, std::memory_order_release);
    playerThread_.Take().Wait();
    StopPlayback();
  }
  if (decodeJob_.Decoding()) {
    decodeJob_.AbortDecode();
    decodeJob_.WaitForThread();
    EndDecode();
  }
  ++playback_;  // what the ended threads posted no longer applies
  WarnIfNotWritten(SaveSettings(configPath_, settings_));
  frontEnd_.CloseMainWindow();
}

}  // namespace kestrel
