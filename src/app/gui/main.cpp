// kestrel-spu-player: the desktop program. It works in the folder it was started in, or with
// --user-folder (the desktop launcher's option) in the user's own folder.
#include <QApplication>
#include <QDir>

#include "app/gui/main_window.h"
#include "app/gui/program_icon.h"
#include "app/user_folder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrel SPU Player"));
  QApplication::setDesktopFileName(QStringLiteral("org.kestrel.SpuPlayer"));
  QApplication::setWindowIcon(kestrel::gui::ProgramIcon());

  kestrel::ControllerOptions options;
  // Paths given on the command line are taken against the folder started in, so this comes
  // after them: it may change the folder.
  if (QApplication::arguments().contains(QStringLiteral("--user-folder"))) {
    options.startupWarnings = kestrel::EnterUserFolder(QApplication::applicationFilePath().toStdString());
  }
  options.startupFolder = QDir::currentPath().toStdString();
  kestrel::gui::MainWindow window(std::move(options));
  window.Control().OpenConsoleIfEnabled();
  window.Start();
  window.show();
  return QApplication::exec();
}
