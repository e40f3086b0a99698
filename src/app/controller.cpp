#include "app/controller.h"

#include <algorithm>
#include <utility>

#include "app/command_ids.h"
#include "app/option_tables.h"
#include "library/column_sort_state.h"
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
      startupWarnings_(std::move(options.startupWarnings)),
      configPath_(ConfigPath(startupFolder_)),
      fileListPage_([this, alive = std::weak_ptr<bool>(alive_)] {
        frontEnd_.Post([this, alive] {
          if (alive.lock()) DrainScan();
        });
      }),
      pluginPage_(startupFolder_),
      editorPage_(fileListPage_.list, startupFolder_,
                  [this, alive = std::weak_ptr<bool>(alive_)] {
                    frontEnd_.Post([this, alive] {
                      if (alive.lock()) DrainLoad();
                    });
                  }),
      slotDialog_(configPath_) {}

Controller::~Controller() {
  *alive_ = false;
  alive_.reset();
  MessagePort::SetProgressHandler(previousProgress_);
  player_.running.store(false, std::memory_order_release);
  playerThread_.Take().Wait();
  decodePage_.AbortDecode();
  decodePage_.WaitForDecodeEnd();
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
  return {&window_.menu,         &window_.toolbar,       &fileListPage_.controls, &editorPage_.controls,
          &optionPage_.controls, &decodePage_.controls, &pluginPage_.controls};
}

void Controller::UpdateActivity() {
  ProgramActivity activity;
  activity.playing = player_.running.load(std::memory_order_acquire);
  activity.decoding = decodePage_.Decoding();
  activity.loading = editorPage_.Loading();
  activity.delayedRestart = restartPending_;
  activity.startLock = startLock_;
  fileListPage_.SetActivity(activity);
  pluginPage_.SetPlaybackRunning(activity.playing);
  pluginPage_.SetDecodeRunning(activity.decoding);
  decodePage_.SetPlaybackRunning(activity.playing);
  // The decode page knows of playback only; a scan or a playlist job filling the list
  // holds its Decode button too.
  if (fileListPage_.Scanning() || activity.loading) decodePage_.controls.SetEnabled(decode_page::kDecode, false);
}

void Controller::Grey(GreyMoment moment) {
  ApplyGreying(moment, Targets());
  UpdateActivity();
  Changed({StateArea::Menu, StateArea::Toolbar, StateArea::FileListPage, StateArea::PlayListEditorPage,
           StateArea::OptionPage, StateArea::DecodePage, StateArea::PluginPage});
}

// ---- Start-up

void Controller::OpenConsoleIfEnabled() {
  // A config.ini that is there but cannot be read leaves the console's setting unknown; the
  // console then opens, to say why the settings are the defaults.
  if (ReadEnableConsoleWindow(configPath_) || !IniFile(configPath_).ReadFailure().empty() ||
      !startupWarnings_.empty()) {
    OpenConsoleLog();
  }
}

void Controller::CreateMainWindow() {
  // The decode thread's progress is shown on this thread.
  previousProgress_ = MessagePort::SetProgressHandler([this, alive = std::weak_ptr<bool>(alive_)](const Progress& p) {
    frontEnd_.Post([this, alive, p] {
      if (!alive.lock()) return;
      decodePage_.ShowProgress(p);
      Changed({StateArea::DecodePage});
    });
  });
  pluginPage_.ScanPlugins();
  TheColumnSortState().Set(0, SortDirection::Ascending);  // the plugin list is sorted by its info
  for (const std::string& warning : startupWarnings_) ConsoleLog::Write(warning);
  settings_ = LoadSettings(configPath_, static_cast<int>(pluginPage_.Rows().size()));
  if (!settings_.configReadFailure.empty()) {
    ConsoleLog::Writef("* Warning : config.ini can't be read: %s. The defaults are used.\n",
                       settings_.configReadFailure.c_str());
  }
  WarnIfNotWritten({settings_.configWriteFailure});
  fileListPage_.location = settings_.SPUFileFolder;
  fileListPage_.design = {settings_.SpecifyListBackImage ? settings_.ListBackImagePath
                                                         : startupFolder_ + "/image/default.bmp",
                          settings_.EnableGlidLine, settings_.ListTextColorR, settings_.ListTextColorG,
                          settings_.ListTextColorB};
  decodePage_.SetSpecifyDecodeTime(settings_.SpecifyDecodeTime);
  decodePage_.LoadPriority(settings_.DecodePriority, settings_.decodePriorityLabel);
  Grey(GreyMoment::StartUp);
  window_.menu.SetChecked(cmd::kConsoleWindow, settings_.EnableConsoleWindow || ConsoleOpen());
  MirrorPlayModeMenu();
  optionPage_.Show(settings_, player_);
  window_.statusFields[2] = settings_.tempoStatusText;
  pluginPage_.ApplyStoredSelection(settings_.SelectedSPUPlugin);
  decodePage_.pluginName = pluginPage_.info;
  StartScan();
  openingRunning_ = true;
  openingTicks_ = 0;
  frontEnd_.StartTimer(AppTimer::Shell, kOpeningPeriodMs);
  Changed({StateArea::StatusBar, StateArea::Analyzer});
  started_ = true;
  OpenPendingFile();
}

// ---- The folder scan

void Controller::StartScan() {
  if (fileListPage_.StartScan()) Grey(GreyMoment::ScanStarts);
}

void Controller::DrainScan() {
  if (fileListPage_.DrainScan()) Grey(GreyMoment::ScanEnds);
  Changed({StateArea::FileListPage});
  OpenPendingFile();
}

// ---- The playlist jobs and dialogs

void Controller::LoadStarted(bool started) {
  if (started) Grey(GreyMoment::ImportStarts);
  Changed({StateArea::PlayListEditorPage, StateArea::FileListPage});
}

void Controller::DrainLoad() {
  if (editorPage_.DrainLoad()) {
    Grey(GreyMoment::ImportEnds);
    if (!player_.running.load(std::memory_order_acquire) && !decodePage_.Decoding()) {
      Grey(GreyMoment::ImportEndsIdle);
    }
  }
  Changed({StateArea::PlayListEditorPage, StateArea::FileListPage});
}

bool Controller::NewPlaylistOk() {
  const bool closes = editorPage_.NewPlaylistOk();
  Changed({StateArea::PlayListEditorPage});
  return closes;
}

void Controller::SlotDialogOk() {
  slotDialog_.Ok();
  Changed({StateArea::Menu});
}

void Controller::OpenHeaderEditor() {
  const SelectedFilePanel& panel = fileListPage_.panel;
  if (panel.currentLogPath.empty()) {
    headerDialog_.OpenWithoutSelection();
  } else {
    headerDialog_.Open(panel.fileName, panel.currentLogPath);
  }
  frontEnd_.OpenDialog(AppDialog::HeaderInformationEditor);
}

bool Controller::HeaderDialogSave() {
  if (!headerDialog_.Save()) return false;
  // The panel shows the new titles, unless it is held by a playback or a decode.
  if (!player_.running.load(std::memory_order_acquire) && !decodePage_.Decoding()) ShowFileInfo();
  return true;
}

// ---- The decode

void Controller::StartDecode() {
  DecodeSources sources;
  sources.pluginPath = pluginPage_.path;
  sources.logPath = fileListPage_.panel.path;
  sources.startupFolder = startupFolder_;
  sources.ended = [this, alive = std::weak_ptr<bool>(alive_)](std::uint32_t job) {
    frontEnd_.Post([this, alive, job] {
      if (alive.lock()) DecodeEnded(job);
    });
  };
  if (!decodePage_.StartDecode(sources)) return;
  Grey(GreyMoment::DecodeStarts);
}

void Controller::AbortDecode() {
  if (!decodePage_.Decoding()) return;
  decodePage_.AbortDecode();
  Grey(GreyMoment::DecodeEnds);
}

void Controller::DecodeEnded(std::uint32_t job) {
  if (!decodePage_.Decoding()) return;
  decodePage_.DecodeEnded(job);
  if (!decodePage_.Decoding()) Grey(GreyMoment::DecodeEnds);
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
  // The file decides, so that file, menu mark and console agree; a file that cannot be read
  // says nothing, and the console then closes when it is open.
  const IniFile config(configPath_);
  const bool on = config.ReadFailure().empty() ? config.ReadInt(kSettingsSection, "EnableConsoleWindow", 0) != 0
                                               : ConsoleOpen();
  if (on) {
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
  if (decodePage_.Decoding()) AbortDecode();
  decodePage_.WaitForDecodeEnd();
  ++playback_;  // what the ended threads posted no longer applies
  settings_.SPUFileFolder = fileListPage_.location;
  settings_.SpecifyDecodeTime = decodePage_.SpecifyDecodeTime();
  settings_.DecodePriority = decodePage_.priorityPosition;
  settings_.SelectedSPUPlugin = pluginPage_.SelectedSPUPlugin();
  WarnIfNotWritten(SaveSettings(configPath_, settings_));
  frontEnd_.CloseMainWindow();
  CloseDebugWindow();
}

}  // namespace kestrel
