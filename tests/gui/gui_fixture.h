#pragma once
// A runtime folder for the desktop program (our plugin in plugins/, the demo logs in logs/),
// the main window started on it, and what a test needs to drive it as a person would.

#include <QAbstractButton>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "app/gui/control_binding.h"
#include "app/gui/main_window.h"
#include "support/temp_folder.h"

namespace kestrel::test {

class GuiRuntime {
 public:
  GuiRuntime();
  ~GuiRuntime();

  // config.ini lines below the section header (SPUFileFolder is the logs folder).
  void WriteConfig(const std::string& keys = {});
  // Starts the main window as the program does, and waits for the folder scan to end.
  gui::MainWindow& Start();
  gui::MainWindow& Window() { return *window_; }
  Controller& Control() { return window_->Control(); }
  // The demo logs, by file name, in the logs folder.
  std::string DemoLog(const std::string& name) const { return logs + "/" + name; }

  TempFolder folder;
  std::string logs;

 private:
  std::unique_ptr<gui::MainWindow> window_;
};

// Runs the event loop until `done` holds, at most `ms` milliseconds; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);

// The widget below `root` named by `id`, or null.
template <typename T = QWidget>
T* Find(QObject* root, int id) {
  return root->findChild<T*>(gui::IdName(id));
}

// The menu item of `command`, in whichever menu it stands, or null.
QAction* MenuItem(gui::MainWindow& window, int command);
// The text of status bar field 0, 1 or 2.
QString StatusField(gui::MainWindow& window, int field);

// Answers every message box the program opens with its default button, recording the texts
// ("caption: text").
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer();
  ~MessageBoxAnswerer();
  QStringList Seen() const { return *seen_; }

 private:
  std::shared_ptr<QStringList> seen_ = std::make_shared<QStringList>();
};

}  // namespace kestrel::test
