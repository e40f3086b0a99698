// kestrel-spu-player: the desktop program. It works in the folder it was started in.
#include <QApplication>
#include <QDir>

#include "app/gui/main_window.h"
#include "app/gui/program_icon.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrel SPU Player"));
  QApplication::setDesktopFileName(QStringLiteral("kestrel-spu-player"));
  QApplication::setWindowIcon(kestrel::gui::ProgramIcon());

  kestrel::ControllerOptions options;
  options.startupFolder = QDir::currentPath().toStdString();
  kestrel::gui::MainWindow window(std::move(options));
  window.Control().OpenConsoleIfEnabled();
  window.Start();
  window.show();
  return QApplication::exec();
}
