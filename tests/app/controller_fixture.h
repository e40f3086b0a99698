#pragma once
// Drives the controller headless: a front end that queues posted work, keeps the timers'
// periods and records what was opened, and a runtime folder with the recording plugin.

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/controller.h"
#include "app/front_end.h"
#include "platform/message_port.h"
#include "support/recording_plugin_client.h"
#include "support/temp_folder.h"

namespace kestrel::test {

class FakeFrontEnd : public FrontEnd {
 public:
  void Post(std::function<void()> work) override;
  void Changed(StateArea) override {}
  void StartTimer(AppTimer timer, int periodMs) override {
    timers[timer] = periodMs;
    if (timer == AppTimer::Refresh && onPlaybackStart) onPlaybackStart();
  }
  void StopTimer(AppTimer timer) override { timers.erase(timer); }
  void OpenDialog(AppDialog dialog) override { dialogs.push_back(dialog); }
  void OpenChooser(Chooser chooser, const std::string&) override { choosers.push_back(chooser); }
  void OpenVolumeControl() override { ++volumeControls; }
  ConsoleLog::Output OpenConsoleWindow() override;
  void CloseConsoleWindow() override { ++consoleCloses; }
  void CloseMainWindow() override { closed = true; }

  // Runs posted work, waiting for more, until `done` holds; false if it never does.
  bool RunUntil(const std::function<bool()>& done);
  bool TimerRuns(AppTimer timer) const { return timers.count(timer) != 0; }
  std::vector<std::string> ConsoleLines();

  std::map<AppTimer, int> timers;
  std::vector<AppDialog> dialogs;
  std::vector<Chooser> choosers;
  std::function<void()> onPlaybackStart;  // the refresh timer starts with every playback
  int volumeControls = 0;
  int consoleCloses = 0;
  bool closed = false;

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> work_;
  std::vector<std::string> console_;
};

class ControllerTest : public ::testing::Test {
 protected:
  ControllerTest();
  ~ControllerTest() override;

  // config.ini lines below the section header, written before the start.
  void WriteConfig(const std::string& keys);
  // Logs in the list folder, `seconds` long each.
  std::string AddLog(const std::string& name, double seconds);
  // Start-up as the program runs it, then the folder scan to its end.
  void StartUp();
  void Tick(AppTimer timer, int times = 1);
  // Runs posted work until the playback has ended (running clear, no thread held).
  bool RunUntilStopped();
  bool Playing() const { return state.running.load(); }
  // Waits until the player has loaded its log and rendered a little of it.
  bool WaitForSound();
  std::vector<std::string> Messages();
  // Plays on from a started playback, releasing each start lock at once, until it stops;
  // returns the names of the logs started, the first included.
  std::vector<std::string> PlayOn();

  TempFolder folder;
  std::string listFolder;
  FakeFrontEnd frontEnd;
  PlayerState state;
  ThreadSlot playerThread;
  RecordingPluginClient recording;
  std::unique_ptr<Controller> controller;

 private:
  std::mutex messageMutex_;
  std::vector<std::string> messages_;
  MessagePort::Handler previous_;
};

}  // namespace kestrel::test
