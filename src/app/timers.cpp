// The main window's timer ticks and the position slider.

#include "app/command_ids.h"
#include "app/controller.h"
#include "app/option_tables.h"
#include "mixer/register_path.h"
#include "player/status_text.h"

namespace kestrel {

void Controller::OnTimer(AppTimer timer) {
  if (timer == AppTimer::Debug) {
    debugWindow_.Tick();
    Changed({StateArea::DebugWindow});
    return;
  }
  // One handler serves the shell and the refresh timer alike, as their ticks share it.
  ShellTick();
}

int Controller::ColorScheme() const { return settings_.colorSchemeBitmap - kFirstColorSchemeBitmap; }

void Controller::ShellTick() {
  if (openingRunning_) {
    if (openingTicks_ >= kOpeningTicks) {
      frontEnd_.StopTimer(AppTimer::Shell);
      openingRunning_ = false;
    }
    if (!player_.running.load(std::memory_order_acquire)) {
      if (openingRunning_) {
        analyzer_.ComposeOpening(openingTicks_, ColorScheme());
      } else {
        analyzer_.ComposeIdle(ColorScheme());
      }
      Changed({StateArea::Analyzer});
    }
    ++openingTicks_;
    return;
  }
  if (restartPending_) {
    if (restartTicks_ < kRestartTick - 1) {
      ++restartTicks_;
      return;
    }
    frontEnd_.StopTimer(AppTimer::Shell);
    restartPending_ = false;
    restartTicks_ = 0;
    UpdateActivity();
    StartPlayback();
    return;
  }
  UpdatePlayStatus();
}

void Controller::UpdatePlayStatus() {
  const bool playing = player_.running.load(std::memory_order_acquire);
  if (playing && !dragging_ && !player_.seekRequest.load(std::memory_order_acquire) &&
      !player_.seeking.load(std::memory_order_acquire)) {
    const std::uint32_t position = player_.position.load(std::memory_order_relaxed);
    const std::uint32_t total = player_.totalLength.load(std::memory_order_relaxed);
    window_.statusFields[0] = FormatPlayingTime(position, total);
    // A log of no length stays at 0 rather than dividing by it.
    if (!startLock_) positionSlider_ = total == 0 ? 0 : static_cast<int>(std::uint64_t{position} * 100 / total);
    fileListPage_.controls.SetEnabled(ctl::kPositionSlider, !player_.fadeActive.load(std::memory_order_relaxed));
    Changed({StateArea::StatusBar, StateArea::FileListPage});
  }
  const bool debugOpen = player_.debugWindowOpen.load(std::memory_order_relaxed);
  if (window_.menu.Enabled(cmd::kViewSpuOperation) == debugOpen) {
    window_.menu.SetEnabled(cmd::kViewSpuOperation, !debugOpen);
    Changed({StateArea::Menu});
  }
  ++refreshTicks_;
  if (startLock_ && refreshTicks_ * static_cast<std::uint32_t>(settings_.AnalyzerRefreshRate) >= kStartLockMs) {
    startLock_ = false;
    ApplyGreying(GreyMoment::StartLockReleased, Targets());
    UpdateActivity();
    Changed({StateArea::Toolbar});
  }
  switchPage_.ReadSwitches();
  if (playing) {
    // Draws what the player sampled since the last tick and asks it for fresh levels.
    analyzer_.RefreshTick(player_, TheRegisterPath().channelMixer, settings_.analyzerType, ColorScheme());
    Changed({StateArea::Analyzer});
  }
  OpenPendingFile();  // a file opened from outside during the start lock
}

void Controller::SelectDebugTab(int tab) {
  debugWindow_.SelectTab(tab);
  Changed({StateArea::DebugWindow});
}

void Controller::CloseDebugWindow() {
  if (!debugWindow_.IsOpen()) return;
  debugWindow_.Close();
  frontEnd_.StopTimer(AppTimer::Debug);
}

void Controller::PositionSliderMoved(SliderCode code, int position) {
  const bool playing = player_.running.load(std::memory_order_acquire);
  const std::uint32_t total = player_.totalLength.load(std::memory_order_relaxed);
  const double target = static_cast<double>(total) * position * 0.01;
  if (!playing) {
    // Stopped, the slider snaps back, and no seek is left for the next playback to take.
    positionSlider_ = 0;
    Changed({StateArea::FileListPage});
    return;
  }
  positionSlider_ = position;
  if (code != SliderCode::EndScroll) {
    dragging_ = true;
    window_.statusFields[0] = FormatDragTime(static_cast<std::uint32_t>(target), total);
    Changed({StateArea::StatusBar});
    return;
  }
  SeekTo(player_, target);
  ++seeks_;
  dragging_ = false;
  Changed({StateArea::FileListPage});
}

}  // namespace kestrel
