// kestrel-screenshots FOLDER OUTDIR: starts the desktop program's main window on the runtime
// folder FOLDER, goes through its pages, dialogs and the debug window as a person would, and
// saves a picture of each into OUTDIR. The scale comes from QT_SCALE_FACTOR.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>

#include "app/command_ids.h"
#include "app/gui/main_window.h"
#include "library/file_list_page.h"
#include "library/file_list_page_state.h"
#include "monitor/analyzer_widget.h"

namespace {

using kestrel::gui::MainWindow;
namespace cmd = kestrel::cmd;

QString outDir;
int failures = 0;

void Save(QWidget* widget, const char* name) {
  const QString path = outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
  if (widget == nullptr || !widget->grab().save(path)) {
    std::fprintf(stderr, "kestrel-screenshots: %s not taken\n", name);
    ++failures;
    return;
  }
  std::printf("%s\n", qPrintable(path));
}

void Wait(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// `open` runs a modal dialog (or a message box); it is pictured once shown, then closed.
void ShootModal(const char* name, const std::function<void()>& open) {
  bool shot = false;
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [&shot, name, poll] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    poll->stop();
    Wait(150);
    Save(modal, name);
    shot = true;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      box->done(QMessageBox::Ok);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    }
  });
  poll->start(50);
  open();
  delete poll;
  if (!shot) {
    std::fprintf(stderr, "kestrel-screenshots: %s did not open\n", name);
    ++failures;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: kestrel-screenshots RUNTIME_FOLDER OUTDIR\n");
    return 2;
  }
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kestrel-spu-player.svg")));
  outDir = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(outDir);
  QDir::setCurrent(QString::fromLocal8Bit(argv[1]));

  kestrel::ControllerOptions options;
  options.startupFolder = QDir::currentPath().toStdString();
  MainWindow window(std::move(options));
  window.Control().OpenConsoleIfEnabled();
  window.Start();
  window.show();
  kestrel::Controller& control = window.Control();
  WaitFor([&] { return !control.FileListPage().Scanning(); });
  Wait(2500);  // past the opening animation

  // The six pages, a log selected so that the panels show it.
  control.ClickFileRow(0);
  static const char* const kPages[] = {"page_file_list", "page_playlist_editor", "page_player_option",
                                       "page_wave_decode", "page_plugin", "page_misc_option"};
  for (int tab = 0; tab < 6; ++tab) {
    window.Tabs()->setCurrentIndex(tab);
    Wait(200);
    Save(&window, kPages[tab]);
  }
  window.Tabs()->setCurrentIndex(0);

  ShootModal("dialog_about", [&] { control.CommandDispatch(cmd::kAbout); });
  ShootModal("dialog_new_playlist", [&] { control.CommandDispatch(cmd::kNewPlayList); });
  ShootModal("dialog_playlist_slot", [&] { control.CommandDispatch(cmd::kRegisterSlot); });
  ShootModal("dialog_header_editor", [&] { control.PageCommandDispatch(kestrel::file_list_id::kEditHeader); });

  // Playing: the analyzer, then the debug window's two tabs.
  control.CommandDispatch(cmd::kStartPlay);
  // A drop within the first 800 ms of a playback is refused with a message box.
  ShootModal("message_box", [&] { control.DropFiles({control.Panel().path}); });
  Wait(2000);
  Save(window.FileList()->Analyzer(), "analyzer_playing");
  Save(&window, "playing");
  WaitFor([&] { return control.Window().menu.Enabled(cmd::kViewSpuOperation); });
  control.CommandDispatch(cmd::kViewSpuOperation);
  Wait(500);
  Save(window.DebugWindow(), "debug_window_volume");
  control.SelectDebugTab(2);
  Wait(500);
  Save(window.DebugWindow(), "debug_window_pitch");
  if (window.DebugWindow()) window.DebugWindow()->close();
  control.CommandDispatch(cmd::kStopPlay);
  Wait(300);
  return failures == 0 ? 0 : 1;
}
