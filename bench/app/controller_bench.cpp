// The controller's costs, measured headless with the timing plugin.
//   RefreshTick: one refresh-timer tick while a log plays, with 2,000 rows in the file list.
//   StopReachesThePlayer: how many player passes (SPUasync calls of a real-time playback)
//   still run after "Stop Play" has been dispatched, and how long the command takes.

#include <benchmark/benchmark.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/command_ids.h"
#include "app/controller.h"
#include "bench_logs.h"
#include "platform/ini_file.h"
#include "platform/message_port.h"
#include "playlist/playlist_file.h"
#include "plugin/dynamic_library.h"

namespace kestrel::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class QueueFrontEnd : public FrontEnd {
 public:
  void Post(std::function<void()> work) override {
    std::lock_guard lock(mutex_);
    work_.push_back(std::move(work));
  }
  void RunPosted() {
    for (;;) {
      std::function<void()> work;
      {
        std::lock_guard lock(mutex_);
        if (work_.empty()) return;
        work = std::move(work_.front());
        work_.pop_front();
      }
      work();
    }
  }
  void Changed(StateArea) override {}
  void StartTimer(AppTimer, int) override {}
  void StopTimer(AppTimer) override {}
  void OpenDialog(AppDialog) override {}
  void OpenChooser(Chooser, const std::string&) override {}
  void OpenVolumeControl() override {}
  ConsoleLog::Output OpenConsoleWindow() override { return [](std::string_view) {}; }
  void CloseConsoleWindow() override {}
  void CloseMainWindow() override {}

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> work_;
};

// A runtime folder with the timing plugin and a list of `rows` rows of one log.
struct Runtime {
  explicit Runtime(int rows) : folder(fs::temp_directory_path() / "kestrel-controller-bench") {
    fs::remove_all(folder);
    fs::create_directories(folder / "plugins");
    fs::create_symlink(TimingPluginPath(), folder / "plugins/libtiming.so");
    fs::create_directories(folder / "logs");
    IniFile((folder / "config.ini").string()).WriteString(kSettingsSection, "SPUFileFolder", (folder / "logs").string());
    log = WriteBenchLog(600);
    playlist = (folder / "rows.klt").string();
    (void)WritePlaylistRows(playlist, std::vector<std::string>(static_cast<std::size_t>(rows), log));
    ControllerOptions options;
    options.startupFolder = folder.string();
    controller = std::make_unique<Controller>(frontEnd, std::move(options));
    controller->CreateMainWindow();
    WaitFor([&] { return !controller->FileList().detecting; });
    controller->ChooserResult(Chooser::PlayList, playlist);
    WaitFor([&] { return !controller->EditorPage().Loading(); });
    for (int i = 0; i < 71; ++i) controller->OnTimer(AppTimer::Shell);  // the opening animation ends
  }
  ~Runtime() {
    controller.reset();
    fs::remove_all(folder);
  }
  void WaitFor(const std::function<bool()>& done) {
    while (!done()) {
      frontEnd.RunPosted();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  void Play() {
    controller->ClickFileRow(0);
    controller->CommandDispatch(cmd::kStartPlay);
    WaitFor([] { return ThePlayerState().position.load() > 4410; });
  }

  fs::path folder;
  std::string log;
  std::string playlist;
  QueueFrontEnd frontEnd;
  std::unique_ptr<Controller> controller;
};

void RefreshTick(benchmark::State& state) {
  Runtime runtime(2000);
  runtime.Play();
  state.counters["rows"] = static_cast<double>(runtime.controller->FileList().entries.Size());
  for (auto _ : state) runtime.controller->OnTimer(AppTimer::Refresh);
  runtime.controller->CommandDispatch(cmd::kStopPlay);
}
BENCHMARK(RefreshTick)->Unit(benchmark::kMicrosecond);

void StopReachesThePlayer(benchmark::State& state) {
  Runtime runtime(1);
  const DynamicLibrary timing = DynamicLibrary::Open(TimingPluginPath());
  const auto count = timing.Entry<std::size_t (*)()>("TimingPluginAsyncCount");
  const auto times = timing.Entry<const std::int64_t* (*)()>("TimingPluginAsyncNs");
  std::size_t worst = 0;
  for (auto _ : state) {
    timing.Entry<void (*)(int)>("TimingPluginReset")(0);
    runtime.Play();
    const auto start = Clock::now();
    const std::int64_t startNs = std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    runtime.controller->CommandDispatch(cmd::kStopPlay);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    std::size_t after = 0;
    for (std::size_t i = 0, n = count(); i < n; ++i) after += times()[i] > startNs ? 1 : 0;
    worst = std::max(worst, after);
    runtime.frontEnd.RunPosted();
  }
  state.counters["passes_after_command_max"] = static_cast<double>(worst);
}
BENCHMARK(StopReachesThePlayer)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel::bench

BENCHMARK_MAIN();
