#include "app/controller_fixture.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "fakes/test_plugins.h"
#include "player/player_harness.h"
#include "support/log_files.h"

namespace kestrel::test {

void FakeFrontEnd::Post(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  work_.push_back(std::move(work));
  posted_.notify_all();
}

bool FakeFrontEnd::RunUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_until(lock, end, [this] { return !work_.empty(); })) return done();
    std::function<void()> work = std::move(work_.front());
    work_.pop_front();
    lock.unlock();
    work();
  }
  return true;
}

ConsoleLog::Output FakeFrontEnd::OpenConsoleWindow() {
  return [this](std::string_view line) {
    std::lock_guard lock(mutex_);
    console_.emplace_back(line);
  };
}

std::vector<std::string> FakeFrontEnd::ConsoleLines() {
  std::lock_guard lock(mutex_);
  return console_;
}

ControllerTest::ControllerTest() : recording(kRecordingPlugin) {
  ResetRegisterPath();
  recording.Reset();
  listFolder = folder / "logs";
  std::filesystem::create_directories(listFolder);
  std::filesystem::create_directories(folder / "plugins");
  std::filesystem::create_symlink(kRecordingPlugin, folder / "plugins/librecording.so");
  previous_ = MessagePort::SetHandler([this](const Message& message) {
    std::lock_guard lock(messageMutex_);
    messages_.push_back(message.caption + ": " + message.text);
    return MessageAnswer::Ok;
  });
  ControllerOptions options;
  options.startupFolder = folder.Path();
  options.player = &state;
  options.playerThread = &playerThread;
  controller = std::make_unique<Controller>(frontEnd, std::move(options));
}

ControllerTest::~ControllerTest() {
  controller.reset();
  MessagePort::SetHandler(previous_);
}

void ControllerTest::WriteConfig(const std::string& keys) {
  folder.Write("config.ini", "[Kestrel SPU Player]\nSPUFileFolder=" + listFolder + "\n" + keys);
}

std::string ControllerTest::AddLog(const std::string& name, double seconds) {
  TestLog log;
  log.samples = static_cast<std::uint32_t>(seconds * 44100);
  const std::string path = WriteTestLog(folder, "logs/" + name + ".spu", log);
  return path;
}

void ControllerTest::StartUp() {
  if (!std::filesystem::exists(folder / "config.ini")) WriteConfig("");
  controller->OpenConsoleIfEnabled();
  controller->CreateMainWindow();
  ASSERT_TRUE(frontEnd.RunUntil([this] { return !controller->FileList().detecting; }));
}

void ControllerTest::Tick(AppTimer timer, int times) {
  for (int i = 0; i < times; ++i) controller->OnTimer(timer);
}

bool ControllerTest::RunUntilStopped() {
  return frontEnd.RunUntil([this] { return !state.running.load() && !playerThread.Holds(); });
}

std::vector<std::string> ControllerTest::PlayOn() {
  std::vector<std::string> started = {controller->Panel().fileName};
  frontEnd.onPlaybackStart = [&] { started.push_back(controller->Panel().fileName); };
  for (std::size_t seen = 1; Playing() && started.size() < 12;) {
    Tick(AppTimer::Refresh, 16);
    frontEnd.RunUntil([&] { return started.size() > seen || !Playing(); });
    seen = started.size();
  }
  frontEnd.onPlaybackStart = nullptr;
  if (Playing()) controller->StopPlayback();  // a repeat goes on for ever
  RunUntilStopped();
  return started;
}

bool ControllerTest::WaitForSound() {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (state.position.load() < 2000 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return state.position.load() >= 2000;
}

std::vector<std::string> ControllerTest::Messages() {
  std::lock_guard lock(messageMutex_);
  return messages_;
}

}  // namespace kestrel::test
