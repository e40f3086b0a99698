#pragma once
// The controller's FrontEnd in the desktop program: posted work and timer ticks run on the
// Qt event loop, everything the user sees is the main window's.

#include <QObject>
#include <QTimer>

#include <array>

#include "app/front_end.h"

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

// What the front end asks of the window that shows the controller.
class WindowServices {
 public:
  virtual ~WindowServices() = default;
  virtual Controller& Control() = 0;
  virtual void Refresh(StateArea area) = 0;
  virtual void OpenDialog(AppDialog dialog) = 0;
  virtual void OpenChooser(Chooser chooser, const std::string& startFolder) = 0;
  virtual ConsoleLog::Output OpenConsoleWindow() = 0;
  virtual void CloseConsoleWindow() = 0;
  virtual void CloseForGood() = 0;
};

class QtFrontEnd : public QObject, public FrontEnd {
 public:
  explicit QtFrontEnd(WindowServices& window);

  void Post(std::function<void()> work) override;
  void Changed(StateArea area) override { window_.Refresh(area); }
  void StartTimer(AppTimer timer, int periodMs) override;
  void StopTimer(AppTimer timer) override;
  void OpenDialog(AppDialog dialog) override { window_.OpenDialog(dialog); }
  void OpenChooser(Chooser chooser, const std::string& startFolder) override {
    window_.OpenChooser(chooser, startFolder);
  }
  void OpenVolumeControl() override;
  ConsoleLog::Output OpenConsoleWindow() override { return window_.OpenConsoleWindow(); }
  void CloseConsoleWindow() override { window_.CloseConsoleWindow(); }
  void CloseMainWindow() override { window_.CloseForGood(); }

  bool TimerRuns(AppTimer timer) const;
  // Ends every timer, so nothing ticks into a controller being destroyed.
  void StopAllTimers();

 private:
  QTimer& TimerOf(AppTimer timer) { return timers_[static_cast<std::size_t>(timer)]; }

  WindowServices& window_;
  std::array<QTimer, 3> timers_;
};

}  // namespace kestrel::gui
