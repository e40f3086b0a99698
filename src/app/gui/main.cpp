// kestrel-spu-player: the desktop program. It works in the folder it was started in, or with
// --user-folder (the desktop launcher's option) in the user's own folder.
// kestrel-spu-player [--new-instance] [FILE...]: FILE plays as if dropped on the window; with
// an instance already running, FILE goes to it and no second window opens.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QUrl>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/about_dialog_state.h"
#include "app/gui/main_window.h"
#include "app/gui/mpris_service.h"
#include "app/gui/program_icon.h"
#include "app/gui/single_instance.h"
#include "app/user_folder.h"
#include "platform/console_log.h"

namespace {

constexpr int kHandOverTimeoutMs = 3000;

struct CommandLine {
  bool newInstance = false;
  bool userFolder = false;
  std::vector<std::string> files;  // as given
};

void DescribeOptions(CLI::App& cli, CommandLine& line) {
  cli.set_version_flag("--version", kestrel::AboutDialogState::kTitle);
  cli.add_flag("--new-instance", line.newInstance,
               "Open a window of its own even when the player already runs; it is not handed later files");
  cli.add_flag("--user-folder", line.userFolder,
               "Work in $XDG_DATA_HOME/kestrel-spu-player, made ready on first start (the desktop launcher's way)");
  cli.add_option("FILE", line.files, "A log to play (the first one), as if dropped on the window");
}

// Help and version need no display, so they are answered before Qt looks for one.
bool AsksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--") return false;
    if (argument == "-h" || argument == "--help" || argument == "--version") return true;
  }
  return false;
}

// A FILE, or the file:// URI a file manager may pass, as an absolute path against the folder
// the program was started in.
QString AbsoluteFile(const std::string& argument, const QString& startFolder) {
  const QString text = QString::fromStdString(argument);
  if (text.startsWith(QLatin1String("file:"))) {
    const QUrl url(text);
    if (url.isLocalFile()) return QDir::cleanPath(url.toLocalFile());
  }
  return QDir::cleanPath(QDir(startFolder).absoluteFilePath(text));
}

// Warnings of the start-up: on the console when it is open, else on standard error.
void Warn(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (kestrel::ConsoleLog::HasOutput()) {
      kestrel::ConsoleLog::Write(line);
    } else {
      std::fputs(line.c_str(), stderr);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kDescription = "Kestrel SPU Player: plays PlayStation SPU logs through an SPU plugin.";
  if (AsksForHelpOrVersion(argc, argv)) {
    CommandLine ignored;
    CLI::App cli{kDescription, "kestrel-spu-player"};
    DescribeOptions(cli, ignored);
    cli.allow_extras();  // Qt's own options
    try {
      cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
      return cli.exit(e);
    }
  }
  QApplication app(argc, argv);  // takes its own arguments out of argv
  QApplication::setApplicationName(QStringLiteral("Kestrel SPU Player"));
  QApplication::setDesktopFileName(QStringLiteral("org.kestrel.SpuPlayer"));
  QApplication::setWindowIcon(kestrel::gui::ProgramIcon());
  const QString startFolder = QDir::currentPath();

  CommandLine line;
  CLI::App cli{kDescription, "kestrel-spu-player"};
  DescribeOptions(cli, line);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e);
  }
  // Only the first file plays, as with a drop of several.
  const QString firstFile = line.files.empty() ? QString() : AbsoluteFile(line.files.front(), startFolder);

  std::vector<std::string> warnings;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bool first = !line.newInstance;
  if (!bus.isConnected()) {
    warnings.push_back("* Warning : no D-Bus session bus (" + bus.lastError().message().toStdString() +
                       "): no media keys or desktop player controls, and every start opens a window.\n");
  } else if (first) {
    switch (kestrel::gui::HandToRunningInstance(bus, firstFile, kHandOverTimeoutMs)) {
      case kestrel::gui::HandOver::Done: return 0;
      case kestrel::gui::HandOver::NoAnswer:
        warnings.push_back("* Warning : the Kestrel SPU Player already running does not answer; this one runs beside it.\n");
        first = false;
        break;
      case kestrel::gui::HandOver::NoInstance: break;
    }
  }

  kestrel::ControllerOptions options;
  // After the file's path has been made absolute and the file handed over: it may change the
  // folder.
  if (line.userFolder) {
    options.startupWarnings = kestrel::EnterUserFolder(QApplication::applicationFilePath().toStdString());
  }
  options.startupFolder = QDir::currentPath().toStdString();
  kestrel::gui::MainWindow window(std::move(options));
  std::unique_ptr<kestrel::gui::MprisService> mpris;
  if (bus.isConnected()) {
    mpris = std::make_unique<kestrel::gui::MprisService>(window, bus);
    // A start that lost the name to another one starting at the same moment runs beside it.
    if (!(first && mpris->Register(QString::fromLatin1(kestrel::gui::kMprisBusName))) &&
        !mpris->Register(kestrel::gui::SecondInstanceBusName())) {
      warnings.push_back("* Warning : the player's name on the session bus can't be taken: no media keys.\n");
      mpris.reset();
    }
  }
  window.Control().OpenConsoleIfEnabled();
  window.Start();
  window.show();
  Warn(warnings);
  if (!firstFile.isEmpty()) window.Control().OpenFile(firstFile.toStdString());
  return QApplication::exec();
}
