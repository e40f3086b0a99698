// kestrel-spu-player: the desktop program. It works in the folder it was started in.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include "app/gui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrel SPU Player"));
  QApplication::setDesktopFileName(QStringLiteral("kestrel-spu-player"));
  QIcon icon;  // the PNGs, which load without an SVG plugin
  for (const int size : {16, 32, 48, 64, 128, 256}) icon.addFile(QStringLiteral(":/icons/kestrel-spu-player-%1.png").arg(size));
  QApplication::setWindowIcon(icon);

  kestrel::ControllerOptions options;
  options.startupFolder = QDir::currentPath().toStdString();
  kestrel::gui::MainWindow window(std::move(options));
  window.Control().OpenConsoleIfEnabled();
  window.Start();
  window.show();
  return QApplication::exec();
}
