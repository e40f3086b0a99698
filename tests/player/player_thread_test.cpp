// The player on its own thread: stopping and the plugin lock.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "player/playback_control.h"
#include "player/player_harness.h"
#include "player/tempo_table.h"

namespace kestrel::test {
namespace {

using Clock = std::chrono::steady_clock;

SpuLogWriter LogOfSeconds(double seconds) {
  SpuLogWriter log = NewFormatLog(static_cast<std::uint32_t>(seconds * kSampleRate));
  log.AddRegisterWrite(0, 0x1F801D88, 1);
  return log;
}

struct Ending {
  std::atomic<int> count{0};
  std::atomic<PlayerOutcome> outcome{PlayerOutcome::Stopped};
  void Attach(PlayerSetup& setup) {
    setup.stopPlayback = setup.handleEndOfLog = [this](PlayerOutcome o) {
      outcome = o;
      ++count;
    };
  }
  bool WaitFor(int expected, std::chrono::milliseconds limit) const {
    const auto end = Clock::now() + limit;
    while (count < expected && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return count >= expected;
  }
};

// A playback with the limiter on, started on a thread of its own.
class PlayerThreadTest : public ::testing::Test {
 protected:
  void SetUpPlayback(double seconds) {
    h.state.limiter = true;
    setup.pluginPath = kRecordingPlugin;
    setup.logPath = h.WriteLog(LogOfSeconds(seconds));
    ending.Attach(setup);
  }
  void StartAndWaitForSound(ThreadPriority priority = ThreadPriority::Normal) {
    StartPlayerThread(h.state, slot, priority, setup);
    while (h.state.position < 2000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  PlayerHarness h;
  ThreadSlot slot;
  Ending ending;
  PlayerSetup setup;
};

TEST_F(PlayerThreadTest, StopEndsAPlayingThreadWithinTheWait) {
  SetUpPlayback(60);
  StartAndWaitForSound(ThreadPriority::TimeCritical);

  EXPECT_TRUE(StopPlayerThread(h.state, slot));
  EXPECT_FALSE(slot.Holds());
  EXPECT_EQ(h.state.position, 0u);
  EXPECT_EQ(ending.count, 1);
  EXPECT_EQ(ending.outcome, PlayerOutcome::Stopped);
  EXPECT_EQ(h.Calls().back(), "SPUshutdown");
  // A second stop, as the ending thread's own stop routine makes, finds nothing to release.
  EXPECT_TRUE(StopPlayerThread(h.state, slot));
}

TEST_F(PlayerThreadTest, TheNextPlaybackWaitsUntilASlowThreadHasUnloadedThePlugin) {
  SetUpPlayback(60);
  h.recording.SetCloseDelay(400);
  StartAndWaitForSound();

  EXPECT_FALSE(StopPlayerThread(h.state, slot));  // SPUclose takes longer than the wait
  StartPlayerThread(h.state, slot, ThreadPriority::Normal, setup);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  StopPlayerThread(h.state, slot);
  ASSERT_TRUE(ending.WaitFor(2, std::chrono::seconds(5)));

  const auto calls = h.Calls();
  const int firstShutdown = IndexOf(calls, "SPUshutdown");
  const int secondInit = IndexOf(calls, "SPUinit", 1);
  ASSERT_GT(secondInit, 0);
  EXPECT_LT(firstShutdown, secondInit);
}

TEST_F(PlayerThreadTest, StopsFromTwoThreadsAtOnceReleaseTheHandleOnce) {
  SetUpPlayback(60);
  StartPlayerThread(h.state, slot, ThreadPriority::Normal, setup);
  std::thread other([&] { StopPlayerThread(h.state, slot); });
  StopPlayerThread(h.state, slot);
  other.join();
  EXPECT_TRUE(ending.WaitFor(1, std::chrono::seconds(5)));
  EXPECT_FALSE(slot.Holds());
}

// The commands the main window and the command line's keys share.
TEST(PlaybackCommands, PauseSeekAndTempoKeepTheirBounds) {
  PlayerState state;
  TogglePause(state, 10.0);  // stopped: nothing to pause, no jump for the next playback
  EXPECT_FALSE(state.paused);
  EXPECT_FALSE(state.seekRequest);
  state.running = true;
  TogglePause(state, 10.0);
  EXPECT_TRUE(state.paused);
  EXPECT_FALSE(state.seekRequest);
  TogglePause(state, 10.0);
  EXPECT_FALSE(state.paused);
  EXPECT_TRUE(state.seekRequest);
  EXPECT_EQ(state.seekTarget, 10.0);

  SeekTo(state, 1e12);  // beyond what a position holds
  EXPECT_EQ(state.position, UINT32_MAX);
  SeekTo(state, -5.0);
  EXPECT_EQ(state.position, 0u);
  EXPECT_EQ(state.seekTarget, 0.0);

  EXPECT_TRUE(SetTempoRow(state, 0));
  const double slowest = state.tempoFactor;
  EXPECT_FALSE(SetTempoRow(state, -1));
  EXPECT_FALSE(SetTempoRow(state, static_cast<int>(kTempoTable.size())));
  EXPECT_EQ(state.tempoFactor, slowest);
}

}  // namespace
}  // namespace kestrel::test
