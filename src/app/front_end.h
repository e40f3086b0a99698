#pragma once
// What the controller needs from whichever front end shows it: the Qt main window, or a
// test. The front end reads the controller's state, is told which part of it changed, and
// forwards what the user did as command numbers, edits and slider moves. Time reaches the
// controller only through the ticks of the timers started here. Message boxes go through
// the MessagePort, which the front end serves.

#include <functional>
#include <string>

#include "platform/console_log.h"

namespace kestrel {

// The main window's timers and the debug window's.
enum class AppTimer {
  Shell,    // opening animation (30 ms) or delayed restart (100 ms)
  Refresh,  // while playing, every AnalyzerRefreshRate ms
  Debug,    // the debug window's 20 ms sampling
};

// Parts of the state a front end redraws when told.
enum class StateArea {
  Menu,
  Toolbar,
  StatusBar,
  FileListPage,
  PlayListEditorPage,
  OptionPage,
  DecodePage,
  PluginPage,
  MixerPage,
  Analyzer,
  DebugWindow,
};

// Modal dialogs the controller opens; each reports back through the controller.
enum class AppDialog { About, NewPlayList, PlayListSlot, HeaderInformationEditor, DebugWindow };

// File and folder choosers. The chosen path comes back through Controller::ChooserResult.
enum class Chooser {
  SpuFolder,       // the file list's folder
  PlayList,        // a playlist to import into the file list
  EditorPlayList,  // "Load List": a playlist into the editor
  EditorFolder,    // "Open": a folder into the editor's left list
  BackImage,       // "Select List BackImage"
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // Runs `work` on the controller's thread, later; callable from any thread.
  virtual void Post(std::function<void()> work) = 0;
  // The state of `area` has changed.
  virtual void Changed(StateArea area) = 0;

  // Starting a running timer restarts it with the new period.
  virtual void StartTimer(AppTimer timer, int periodMs) = 0;
  virtual void StopTimer(AppTimer timer) = 0;

  virtual void OpenDialog(AppDialog dialog) = 0;
  // `startFolder` is where the chooser opens.
  virtual void OpenChooser(Chooser chooser, const std::string& startFolder) = 0;
  // The desktop's volume control; a missing program is ignored.
  virtual void OpenVolumeControl() = 0;
  // The console: a window of its own (and standard output when started from a terminal).
  // Returns where its lines go.
  virtual ConsoleLog::Output OpenConsoleWindow() = 0;
  virtual void CloseConsoleWindow() = 0;
  // Ends the main window (the settings have been saved).
  virtual void CloseMainWindow() = 0;
};

}  // namespace kestrel
