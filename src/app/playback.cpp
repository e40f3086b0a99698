// Starting and stopping playback, what follows the end of a log, Next and Back, Pause,
// and dropped files.

#include <algorithm>

#include "app/command_ids.h"
#include "app/controller.h"
#include "app/option_tables.h"
#include "platform/message_port.h"
#include "player/playback_control.h"

namespace kestrel {
namespace {

void Warn(const char* text) { MessagePort::Show(text, "Warning", MessageIcon::Exclamation); }

}  // namespace

void Controller::ShowPanelChange() {
  const SelectedFilePanel& panel = fileListPage_.panel;
  window_.statusFields[1] = panel.statusFileText;
  decodePage_.ShowTargetFile(panel.targetFileName, panel.fileFormat);
  Changed({StateArea::FileListPage, StateArea::DecodePage, StateArea::StatusBar});
}

void Controller::ShowFileInfo(const std::optional<std::string>& droppedPath) {
  if (fileListPage_.ShowSelectedFileInfo(droppedPath)) ShowPanelChange();
}

void Controller::ClickFileRow(std::optional<std::size_t> row) {
  if (fileListPage_.ClickRow(row)) ShowPanelChange();
  Changed({StateArea::FileListPage});
}

void Controller::CheckFileRow(std::size_t row, bool checked) {
  fileListPage_.SetRowChecked(row, checked);
  Changed({StateArea::FileListPage});
}

void Controller::DoubleClickFileRow(std::optional<std::size_t> row) {
  OnFileListAction(fileListPage_.DoubleClickRow(row));
}

void Controller::ClickFileListColumn(int column) {
  fileListPage_.ClickColumn(column);
  Changed({StateArea::FileListPage});
}

void Controller::EditFileListLocation(std::string text) { fileListPage_.FolderChosen(std::move(text)); }

void Controller::SelectAndShow(std::size_t row) {
  fileListPage_.list.entries.Select(row);
  ShowFileInfo();
}

void Controller::StartPlayback() {
  const SelectedFilePanel& panel = fileListPage_.panel;
  if (!droppedFile_ && panel.path.empty()) {
    Warn("Please select the PSX SPU LogFile from list.");
    return;
  }
  // A start ends the opening animation, and supersedes a restart still pending, which
  // would otherwise start a second player over this one.
  if (openingRunning_ || restartPending_) {
    frontEnd_.StopTimer(AppTimer::Shell);
    openingRunning_ = false;
    restartPending_ = false;
  }
  if (!chainInProgress_) {
    const auto selected = fileListPage_.list.entries.Selected();
    const int index = selected ? static_cast<int>(*selected) : -1;
    (void)WriteStartPoint(configPath_, index - 1);  // a failed write goes unreported, as it was not asked for
  }
  startLock_ = true;
  Grey(GreyMoment::PlaybackStarts);

  const int position = settings_.PlayBackPriority;
  if (position >= 1 && position <= 7) {
    player_.playerPriority.store(kPriorityTable[static_cast<std::size_t>(position - 1)].priority,
                                 std::memory_order_relaxed);
  }
  const std::uint64_t playback = ++playback_;
  PlayerSetup setup;
  setup.pluginPath = pluginPage_.path;
  switchPage_.ReadSwitches();
  setup.logPath = panel.path;
  setup.droppedFile = droppedFile_;
  setup.tempoRow = settings_.PlayBackTempo;
  setup.clock = playerClock_;
  const std::weak_ptr<bool> alive = alive_;
  setup.stopPlayback = [this, alive, playback](PlayerOutcome outcome) {
    PostForPlayback(alive, playback, [this, outcome] { OnPlayerFailed(outcome); });
  };
  setup.handleEndOfLog = [this, alive, playback](PlayerOutcome) {
    PostForPlayback(alive, playback, [this] { HandleEndOfLog(); });
  };
  StartPlayerThread(player_, playerThread_, player_.playerPriority.load(std::memory_order_relaxed),
                    std::move(setup));

  frontEnd_.StartTimer(AppTimer::Refresh, settings_.AnalyzerRefreshRate);
  refreshTimerRunning_ = true;
  UpdateActivity();
}

void Controller::StopRefreshTimer() {
  if (!refreshTimerRunning_) return;
  frontEnd_.StopTimer(AppTimer::Refresh);
  refreshTimerRunning_ = false;
}

void Controller::StopPlayback() {
  droppedFile_ = false;
  // A stop inside the lock would otherwise leave it on with no ticks to release it,
  // refusing every later drop.
  startLock_ = false;
  StopRefreshTimer();
  Grey(GreyMoment::PlaybackStops);
  chainInProgress_ = false;
  StopPlayerThread(player_, playerThread_);  // running, paused and fadeActive clear; waits 250 ms at most
  player_.seekRequest.store(false, std::memory_order_relaxed);  // not for the next playback to take
  window_.statusFields[0] = kIdleTimeText;
  positionSlider_ = 0;
  refreshTicks_ = 0;
  UpdateActivity();
  analyzer_.ComposeIdle(ColorScheme());
  Changed({StateArea::StatusBar, StateArea::FileListPage, StateArea::Analyzer});
  PostOpenPendingFile();
}

void Controller::ScheduleDelayedRestart() {
  frontEnd_.StartTimer(AppTimer::Shell, kRestartPeriodMs);
  restartPending_ = true;
  restartTicks_ = 0;
  UpdateActivity();
}

void Controller::OnPlayerFailed(PlayerOutcome outcome) {
  StopPlayback();
  // A file the loader rejects is said so, not only on the console.
  if (outcome == PlayerOutcome::LogRejected) {
    MessagePort::Show("Selected SPUFile is broken or is no SPU log; it can't be played.", "SPUFile Load Error",
                      MessageIcon::Stop);
  }
}

void Controller::HandleEndOfLog() {
  if (!chainInProgress_) chainPosition_ = ReadStartPoint(configPath_);
  if (!player_.running.load(std::memory_order_acquire)) {
    StopRefreshTimer();
    StopPlayback();
    return;
  }
  const PlayMode mode = PlayModeOf(settings_);
  if (mode == PlayMode::Chain || mode == PlayMode::RepeatChain) {
    ChainAdvance();
  } else {
    RepeatDecision();
  }
}

void Controller::RefuseNextStart() {
  StopPlayback();
  Warn("Not ready to start playing next music.");
}

void Controller::ChainAdvance() {
  chainInProgress_ = true;
  StopRefreshTimer();
  chainPosition_ += 1;
  const SpuFileList& list = fileListPage_.list;
  const int count = list.count;
  const int rows = static_cast<int>(list.entries.Size());
  const auto uncheckedNext = [&] {
    const int next = chainPosition_ + 1;
    return next >= 0 && next < rows && !list.entries.At(static_cast<std::size_t>(next)).checked;
  };
  while (uncheckedNext()) chainPosition_ += 1;
  if (chainPosition_ + 1 >= count && PlayModeOf(settings_) == PlayMode::RepeatChain) {
    chainPosition_ = -1;
    while (uncheckedNext()) chainPosition_ += 1;
  }
  if (chainPosition_ + 1 >= count) {
    StopPlayback();
    return;
  }
  const int next = chainPosition_ + 1;
  if (next < 0 || next >= rows) {
    RepeatDecision();
    return;
  }
  // The chain plays list entries, even when it began with a dropped file.
  droppedFile_ = false;
  SelectAndShow(static_cast<std::size_t>(next));
  refreshTicks_ = 0;
  if (startLock_) {
    RefuseNextStart();
    return;
  }
  StartPlayback();
}

void Controller::RepeatDecision() {
  if (!player_.running.load(std::memory_order_acquire) || PlayModeOf(settings_) != PlayMode::Repeat) {
    StopRefreshTimer();
    StopPlayback();
    return;
  }
  refreshTicks_ = 0;
  if (startLock_) {
    RefuseNextStart();
    return;
  }
  StopRefreshTimer();
  StartPlayback();
}

void Controller::Jump(bool next) {
  if (!fileListPage_.list.entries.Selected()) return;
  // At either end the selection stays, and a playing log starts again.
  if (!(next ? fileListPage_.SelectNextEntry() : fileListPage_.SelectPreviousEntry())) ShowFileInfo();
  ShowPanelChange();
  if (!player_.running.load(std::memory_order_acquire)) return;
  SwitchWhilePlaying(std::nullopt);
  ConsoleLog::Write(next ? "* Jump to Next Music .....\n" : "* Jump to Previous Music .....\n");
}

void Controller::Pause() {
  std::optional<double> resumeAt;
  if (settings_.EnableCompulsivePause) {
    resumeAt = static_cast<double>(player_.totalLength.load(std::memory_order_relaxed)) * positionSlider_ * 0.01;
  }
  const bool resumes = player_.running.load(std::memory_order_acquire) && player_.paused.load(std::memory_order_relaxed);
  TogglePause(player_, resumeAt);
  if (resumes && resumeAt) ++seeks_;
  Changed({StateArea::Toolbar});  // the pause shows nowhere in the window, but a remote shows it
}

void Controller::DropFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  if (startLock_ || fileListPage_.Scanning()) {
    Warn("Not ready to start playing music.");
    return;
  }
  if (decodePage_.Decoding()) return;
  const std::string& path = paths.front();
  if (!player_.running.load(std::memory_order_acquire)) {
    droppedFile_ = true;
    ShowFileInfo(path);
    StartPlayback();
    return;
  }
  SwitchWhilePlaying(path);
}

void Controller::SwitchWhilePlaying(const std::optional<std::string>& droppedPath) {
  player_.jumpRequest.store(true, std::memory_order_release);
  StopPlayback();
  droppedFile_ = droppedPath.has_value();
  ShowFileInfo(droppedPath);
  Grey(GreyMoment::RestartArmed);
  ScheduleDelayedRestart();
}

}  // namespace kestrel
