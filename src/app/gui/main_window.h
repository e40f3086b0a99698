#pragma once
// The main window: menu, toolbar, the six pages in a tab control and the status bar. It
// shows the controller's state and hands it what the user does.

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/controller.h"
#include "app/gui/console_window.h"
#include "app/gui/qt_front_end.h"
#include "monitor/debug_window_dialog.h"

class QLabel;
class QTabWidget;
class QToolBar;

namespace kestrel::gui {

class DecodePage;
class FileListPage;
class MessageBoxService;
class MixerPage;
class OptionPage;
class PluginPage;
class PlaylistEditorPage;

class MainWindow : public QMainWindow, public WindowServices {
 public:
  explicit MainWindow(ControllerOptions options);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The main window's creation: the controller's set-up, then the window centred on the
  // screen. The console, when config.ini asks for it, opens before.
  void Start();

  Controller& Control() override { return *controller_; }
  QtFrontEnd& Front() { return frontEnd_; }
  QTabWidget* Tabs() const { return tabs_; }
  FileListPage* FileList() const { return fileListPage_; }
  ConsoleWindow* Console() const { return console_; }
  DebugWindowDialog* DebugWindow() const { return debugWindow_; }

  // Tests answer the choosers instead of a person.
  using ChooserAnswer = std::function<std::optional<std::string>(Chooser, const std::string& startFolder)>;
  void AnswerChoosers(ChooserAnswer answer) { chooserAnswer_ = std::move(answer); }
  // A chooser a dialog shows itself, over `owner`; answered as the others in tests.
  std::optional<std::string> Choose(QWidget* owner, Chooser chooser, const std::string& startFolder);
  // Called after each change of the controller's state has been shown.
  void ListenToChanges(std::function<void()> listener) { changeListener_ = std::move(listener); }

  // WindowServices
  void Refresh(StateArea area) override;
  void OpenDialog(AppDialog dialog) override;
  void OpenChooser(Chooser chooser, const std::string& startFolder) override;
  ConsoleLog::Output OpenConsoleWindow() override;
  void CloseConsoleWindow() override;
  void CloseForGood() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A command of the menu, the Escape key or the close button.
  void Command(int command);
  void BuildMenu();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPages();
  void RefreshMenu();
  void RefreshStatusBar();

  QtFrontEnd frontEnd_{*this};
  std::unique_ptr<Controller> controller_;
  MessageBoxService* messages_ = nullptr;
  ChooserAnswer chooserAnswer_;
  std::function<void()> changeListener_;
  bool closing_ = false;

  QToolBar* toolBar_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  std::array<QLabel*, 3> statusFields_{};
  FileListPage* fileListPage_ = nullptr;
  PlaylistEditorPage* editorPage_ = nullptr;
  OptionPage* optionPage_ = nullptr;
  DecodePage* decodePage_ = nullptr;
  PluginPage* pluginPage_ = nullptr;
  MixerPage* mixerPage_ = nullptr;
  QPointer<ConsoleWindow> console_;
  QPointer<DebugWindowDialog> debugWindow_;
};

}  // namespace kestrel::gui
