// Requests from outside the window: a file opened with the program, and a media player
// remote. They go through the same commands as the window's, under the same greying.

#include <algorithm>

#include "app/command_ids.h"
#include "app/controller.h"
#include "player/playback_control.h"
#include "player/tempo_table.h"
#include "spulog/log_length.h"
#include "spulog/sample_time.h"

namespace kestrel {

void Controller::OpenFile(const std::string& path) {
  pendingOpen_ = path;  // a newer file replaces one still waiting, as a newer drop would
  OpenPendingFile();
}

void Controller::OpenPendingFile() {
  if (!pendingOpen_ || !started_ || startLock_ || fileListPage_.Scanning()) return;
  const std::string path = std::move(*pendingOpen_);
  pendingOpen_.reset();
  DropFiles({path});
}

void Controller::PostOpenPendingFile() {
  if (!pendingOpen_) return;
  // Later, so that the stop or tick that lets the file through has finished first.
  frontEnd_.Post([this, alive = std::weak_ptr<bool>(alive_)] {
    if (alive.lock()) OpenPendingFile();
  });
}

RemoteState Controller::Remote() {
  RemoteState remote;
  const bool running = player_.running.load(std::memory_order_acquire);
  const bool paused = running && player_.paused.load(std::memory_order_relaxed);
  remote.status = !running ? RemoteStatus::Stopped : paused ? RemoteStatus::Paused : RemoteStatus::Playing;

  const SelectedFilePanel& panel = fileListPage_.panel;
  const auto& entries = fileListPage_.list.entries;
  remote.canPlay = running || (window_.toolbar.Enabled(cmd::kToolStart) && (!panel.path.empty() || entries.Size() > 0));
  remote.canPause = running;
  remote.seeks = seeks_;
  const std::optional<double> chosenTempo = TempoFactorOfRow(settings_.PlayBackTempo);
  remote.rate = running ? player_.tempoFactor.load(std::memory_order_relaxed) : chosenTempo.value_or(1.0);
  const bool selection = entries.Selected().has_value();
  remote.canGoNext = selection && window_.toolbar.Enabled(cmd::kToolNext);
  remote.canGoPrevious = selection && window_.toolbar.Enabled(cmd::kToolPrevious);
  const std::uint32_t total = running ? player_.totalLength.load(std::memory_order_relaxed) : 0;
  remote.canSeek = running && total > 0 && !dragging_ && fileListPage_.controls.Enabled(ctl::kPositionSlider);

  if (panel.path.empty()) return remote;
  if (panel.path != remotePath_ || (running && playback_ != remotePlayback_)) {
    if (panel.path != remotePath_) {
      const std::optional<LogLength> length = ReadLogLength(panel.path);
      remoteLength_ = length ? length->totalLength : 0;
    }
    remotePath_ = panel.path;
    remotePlayback_ = playback_;
    ++remoteTrack_;
  }
  remote.path = panel.path;
  remote.title = panel.musicTitle.empty() ? panel.fileName : panel.musicTitle;
  remote.album = panel.gameTitle;
  remote.lengthSamples = total > 0 ? total : remoteLength_;
  remote.track = remoteTrack_;
  // Until the player takes a seek, its last pass may still publish the position before it.
  const std::uint32_t position = player_.seekRequest.load(std::memory_order_acquire)
                                     ? SampleTimeOf(player_.seekTarget.load(std::memory_order_relaxed))
                                     : player_.position.load(std::memory_order_relaxed);
  remote.positionSamples = running ? std::min(position, total) : 0;
  return remote;
}

void Controller::RemotePlay() {
  if (player_.running.load(std::memory_order_acquire)) {
    if (player_.paused.load(std::memory_order_relaxed)) Pause();
    return;
  }
  if (!window_.toolbar.Enabled(cmd::kToolStart)) return;
  if (fileListPage_.panel.path.empty()) {
    const auto& entries = fileListPage_.list.entries;
    if (entries.Size() == 0) return;
    SelectAndShow(entries.Selected().value_or(0));
    Changed({StateArea::FileListPage});
  }
  CommandDispatch(cmd::kToolStart);
}

void Controller::RemotePause() {
  if (player_.running.load(std::memory_order_acquire) && !player_.paused.load(std::memory_order_relaxed)) Pause();
}

void Controller::RemotePlayPause() {
  if (player_.running.load(std::memory_order_acquire)) {
    Pause();
  } else {
    RemotePlay();
  }
}

void Controller::RemoteStop() {
  if (window_.toolbar.Enabled(cmd::kToolStop)) CommandDispatch(cmd::kToolStop);
}

void Controller::RemoteNext() {
  if (Remote().canGoNext) CommandDispatch(cmd::kToolNext);
}

void Controller::RemotePrevious() {
  if (Remote().canGoPrevious) CommandDispatch(cmd::kToolPrevious);
}

bool Controller::RemoteSeekTo(double samples) {
  if (!Remote().canSeek) return false;
  const double total = player_.totalLength.load(std::memory_order_relaxed);
  // Past the end the log ends as it would by itself, and the play mode decides what follows.
  const double target = std::clamp(samples, 0.0, total);
  SeekTo(player_, target);
  ++seeks_;
  positionSlider_ = static_cast<int>(target * 100 / total);
  Changed({StateArea::FileListPage});
  return true;
}

bool Controller::RemoteSeekBy(double offsetSamples) {
  return RemoteSeekTo(Remote().positionSamples + offsetSamples);
}

bool Controller::RemoteSetPosition(double samples) {
  if (samples < 0 || samples > player_.totalLength.load(std::memory_order_relaxed)) return false;
  return RemoteSeekTo(samples);
}

}  // namespace kestrel
