// The desktop program's figures, on its real main window:
//   start-up: from the exec of a fresh process to the main window's first paint, with an
//     empty log folder (best and median of 5 processes);
//   scan: the longest time the user-interface thread's event loop is held up while the
//     folder scan lists 2,000 logs (a 1 ms timer's late ticks);
//   playing: the resident memory (VmRSS) of a process playing a demo log.
// Each figure is taken in a process of its own, so one does not weigh on the next.
// Runs on the offscreen platform when no display is set, with SDL's dummy sound device
// unless told otherwise.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/gui/main_window.h"
#include "bench_logs.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr int kScanLogs = 2000;

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A runtime folder: our plugin in plugins/, config.ini naming `logs` as the log folder.
std::string MakeRuntime(const std::string& name, const std::string& logs) {
  const fs::path folder = fs::temp_directory_path() / ("kestrel-gui-bench-" + std::to_string(::getpid())) / name;
  fs::create_directories(folder / "plugins");
  fs::create_directories(logs);
  fs::create_symlink(KESTREL_SPU_PLUGIN_PATH, folder / "plugins/libkestrel_spu.so");
  std::ofstream(folder / "config.ini") << "[Kestrel SPU Player]\nSPUFileFolder=" << logs << "\nSelectedSPUPlugin=0\n";
  return folder.string();
}

std::string Status(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return line.substr(std::strlen(key));
  }
  return {};
}

// Notes the first paint of the window's contents.
class FirstPaint : public QObject {
 public:
  long long at = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && at == 0) at = NowNs();
    return QObject::eventFilter(watched, event);
  }
};

std::unique_ptr<kestrel::gui::MainWindow> OpenWindow(const std::string& runtime) {
  QDir::setCurrent(QString::fromStdString(runtime));
  kestrel::ControllerOptions options;
  options.startupFolder = runtime;
  auto window = std::make_unique<kestrel::gui::MainWindow>(std::move(options));
  window->Control().OpenConsoleIfEnabled();
  return window;
}

// ---- The children

int StartUpChild(int argc, char** argv) {
  QApplication app(argc, argv);
  FirstPaint paint;
  auto window = OpenWindow(argv[2]);
  window->installEventFilter(&paint);
  for (QWidget* child : window->findChildren<QWidget*>()) child->installEventFilter(&paint);
  window->Start();
  window->show();
  QElapsedTimer clock;
  clock.start();
  while (paint.at == 0 && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  std::printf("%lld\n", paint.at);
  return paint.at == 0 ? 1 : 0;
}

int ScanChild(int argc, char** argv) {
  QApplication app(argc, argv);
  auto window = OpenWindow(argv[2]);
  window->Start();
  window->show();
  // A 1 ms timer: any tick later than that is time the event loop was held up.
  long long last = NowNs();
  long long worst = 0;
  int ticks = 0;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const long long now = NowNs();
    worst = std::max(worst, now - last);
    last = now;
    ++ticks;
  });
  const long long begin = NowNs();
  probe.start(1);
  const kestrel::Controller& control = window->Control();
  while (control.FileListPage().Scanning() && NowNs() - begin < 120'000'000'000LL) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  Settle(200);  // the last rows' redraw
  probe.stop();
  std::printf("%zu %.1f %.2f %d\n", control.FileList().entries.Size(), static_cast<double>(NowNs() - begin) / 1e6,
              static_cast<double>(worst) / 1e6, ticks);
  return 0;
}

int PlayChild(int argc, char** argv) {
  QApplication app(argc, argv);
  auto window = OpenWindow(argv[2]);
  window->Start();
  window->show();
  kestrel::Controller& control = window->Control();
  while (control.FileListPage().Scanning()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  const std::string idle = Status("VmRSS:");
  control.ClickFileRow(0);
  control.CommandDispatch(kestrel::cmd::kStartPlay);
  Settle(4000);
  const bool playing = control.Window().menu.Enabled(kestrel::cmd::kStopPlay);
  std::printf("%d|%s|%s|%s\n", playing ? 1 : 0, idle.c_str(), Status("VmRSS:").c_str(), Status("VmHWM:").c_str());
  control.CommandDispatch(kestrel::cmd::kStopPlay);
  Settle(200);
  return playing ? 0 : 1;
}

// ---- The parent

// Runs this program with `mode` and `folder`; returns its standard output and, in `startNs`,
// the time just before the spawn.
std::string RunChild(const char* self, const char* mode, const std::string& folder, long long& startNs) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  char* args[] = {const_cast<char*>(self), const_cast<char*>(mode), const_cast<char*>(folder.c_str()), nullptr};
  pid_t pid = 0;
  startNs = NowNs();
  const int spawned = ::posix_spawn(&pid, self, &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  std::string out;
  char buffer[256];
  ssize_t got = 0;
  while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(got));
  ::close(pipeFds[0]);
  if (spawned == 0) ::waitpid(pid, nullptr, 0);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (argc == 3 && std::strcmp(argv[1], "--startup") == 0) return StartUpChild(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--scan") == 0) return ScanChild(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--play") == 0) return PlayChild(argc, argv);

  const char* self = "/proc/self/exe";
  const std::string self_path = fs::read_symlink(self).string();
  const fs::path root = fs::temp_directory_path() / ("kestrel-gui-bench-" + std::to_string(::getpid()));
  std::printf("Desktop program figures (platform %s)\n", std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "default");

  const std::string empty = MakeRuntime("empty", (root / "empty/logs").string());
  std::vector<double> startUps;
  for (int run = 0; run < 5; ++run) {
    long long start = 0;
    const std::string out = RunChild(self_path.c_str(), "--startup", empty, start);
    const long long painted = std::atoll(out.c_str());
    if (painted > 0) startUps.push_back(static_cast<double>(painted - start) / 1e6);
  }
  std::sort(startUps.begin(), startUps.end());
  if (startUps.empty()) {
    std::printf("  start-up to the first paint      : not measured (no paint)\n");
  } else {
    std::printf("  start-up to the first paint      : best %.1f ms, median %.1f ms of %zu (goal < 300 ms)\n",
                startUps.front(), startUps[startUps.size() / 2], startUps.size());
  }

  const std::string scanLogs = (root / "scan/logs").string();
  const std::string scan = MakeRuntime("scan", scanLogs);
  kestrel::bench::WriteScanFolder(scanLogs, kScanLogs);
  long long unused = 0;
  std::size_t rows = 0;
  double scanMs = 0, worstMs = 0;
  int ticks = 0;
  const std::string scanOut = RunChild(self_path.c_str(), "--scan", scan, unused);
  if (std::sscanf(scanOut.c_str(), "%zu %lf %lf %d", &rows, &scanMs, &worstMs, &ticks) == 4) {
    std::printf("  scan of %zu logs                : %.0f ms; longest event-loop gap %.1f ms over %d ticks (goal < 50 ms)\n",
                rows, scanMs, worstMs, ticks);
  } else {
    std::printf("  scan: not measured (%s)\n", scanOut.c_str());
  }

  const std::string play = MakeRuntime("play", KESTREL_DEMO_DIR);
  const std::string playOut = RunChild(self_path.c_str(), "--play", play, unused);
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (std::size_t bar; (bar = playOut.find('|', from)) != std::string::npos; from = bar + 1) {
    fields.push_back(playOut.substr(from, bar - from));
  }
  fields.push_back(playOut.substr(from));
  const auto trim = [](std::string s) {
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t\n") + 1);
    return s;
  };
  if (fields.size() == 4 && fields[0] == "1") {
    std::printf("  resident memory while playing    : VmRSS %s (idle %s, peak %s) (goal < 120 MB)\n",
                trim(fields[2]).c_str(), trim(fields[1]).c_str(), trim(fields[3]).c_str());
  } else {
    std::printf("  playing: not measured (%s)\n", playOut.c_str());
  }
  fs::remove_all(root);
  return 0;
}
