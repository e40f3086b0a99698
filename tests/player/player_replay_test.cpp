// The exact calls the player makes for a log, against the recording plugin.

#include <gtest/gtest.h>

#include "mixer/register_path.h"
#include "abi/spu_registers.h"
#include "player/player_harness.h"
#include "player/player_session.h"

namespace kestrel::test {
namespace {

constexpr std::uint32_t kKeyOn = 0x1F801D88;
constexpr std::uint32_t kKeyOnHigh = 0x1F801D8A;
constexpr std::uint32_t kKeyOff = 0x1F801D8C;
constexpr std::uint32_t kPitch0 = 0x1F801C04;

TEST(PlayerReplay, EventsAtTimeZeroComeOnePerPassBeforeAnyRendering) {
  PlayerHarness h;
  SpuLogWriter log = NewFormatLog(200);
  log.AddRegisterWrite(0, kKeyOn, 1);
  log.AddRegisterWrite(0, kKeyOnHigh, 2);
  log.AddRegisterWrite(100, kKeyOff, 3);
  EXPECT_EQ(h.Play(h.WriteLog(log)), PlayerOutcome::PlayedToEnd);

  const auto calls = h.Calls();
  ASSERT_GE(calls.size(), 60u);
  EXPECT_EQ(calls[0], "SPUinit");
  EXPECT_EQ(calls[1], "SPUopen");
  EXPECT_TRUE(calls[2].starts_with("SPUfreeze 0 "));
  EXPECT_EQ(calls[3], WriteLine(kKeyOn, 1));
  // The first pass's tail re-sends the 48 voice volumes; the second event follows at once.
  EXPECT_EQ(calls[4], WriteLine(spu_reg::VoiceVolumeLeft(0), 0));
  EXPECT_EQ(calls[51], WriteLine(spu_reg::VoiceVolumeRight(23), 0));
  EXPECT_EQ(calls[52], WriteLine(kKeyOnHigh, 2));
  // The event at 100 waits for the rendering up to it: 44 + 44 + 12 samples.
  const int keyOff = IndexOf(calls, WriteLine(kKeyOff, 3));
  ASSERT_GT(keyOff, 0);
  EXPECT_EQ(calls[static_cast<std::size_t>(keyOff) - 1], "SPUasync 9216");
  EXPECT_EQ(calls[calls.size() - 2], "SPUclose");
  EXPECT_EQ(calls.back(), "SPUshutdown");
  EXPECT_EQ(h.endCalls, std::vector<PlayerOutcome>{PlayerOutcome::PlayedToEnd});
  EXPECT_EQ(h.consoleLines,
            (std::vector<std::string>{"* Loading SPU Plugin ..... OK\n", "* Loading SPU File ..... OK\n",
                                      "* Init SPU ..... OK\n", "* Open SPU ..... OK\n",
                                      "* Loading SPU state ..... OK\n", "* Closing SPU ..... OK\n",
                                      "* Shutdown SPU ..... OK\n"}));
}

TEST(PlayerReplay, LimiterOffAdvancesFortyFourPointOneSamplesAStepAndIgnoresPause) {
  PlayerHarness h;
  h.state.paused = true;
  EXPECT_EQ(h.Play(h.WriteLog(NewFormatLog(200))), PlayerOutcome::PlayedToEnd);
  // Targets 44, 88, 132, 176, 220: five full calls, no sleeping, no silencing.
  EXPECT_EQ(WithPrefix(h.Calls(), "SPUasync"), std::vector<std::string>(5, "SPUasync 33792"));
  EXPECT_EQ(h.clock.sleeps, 0);
  EXPECT_EQ(IndexOf(h.Calls(), WriteLine(spu_reg::VoiceEnvelope(0), 0)), -1);
}

TEST(PlayerReplay, CyclesPerSampleFollowTheTempo) {
  for (const auto& [tempo, cycles] : {std::pair{0.05, 15360u}, {1.0, 768u}, {1.25, 614u}, {7.0, 109u}, {10.0, 76u}}) {
    EXPECT_EQ(CyclesPerSample(tempo), cycles) << tempo;
  }
}

TEST(PlayerReplay, WithTheLimiterTheClockFollowsTheMillisecondTick) {
  for (const auto& [row, expectedMs] : {std::pair{5, 200}, std::pair{9, 100}}) {
    PlayerHarness h;
    h.state.limiter = true;
    h.Play(h.WriteLog(NewFormatLog(8820)), row);
    EXPECT_NEAR(h.clock.sleeps, expectedMs, 1) << "tempo row " << row;
  }
}

TEST(PlayerReplay, PauseRepeatsTheSilenceStepAndHoldsTheClockAndTheAnalyzer) {
  PlayerHarness h;
  h.state.limiter = true;
  h.state.paused = true;
  h.state.analyzerReadRequest = true;
  h.clock.onSleep = [&h] {
    if (h.clock.sleeps == 3) h.state.paused = false;
  };
  h.Play(h.WriteLog(NewFormatLog(100)));
  const auto calls = h.Calls();
  const int firstSilence = IndexOf(calls, WriteLine(spu_reg::VoiceVolumeLeft(0), 0), 52);
  ASSERT_GT(firstSilence, 0);
  // Voices 0 to 11 left and right, each followed by an envelope register.
  EXPECT_EQ(calls[static_cast<std::size_t>(firstSilence) + 1], WriteLine(spu_reg::VoiceEnvelope(0), 0));
  EXPECT_EQ(calls[static_cast<std::size_t>(firstSilence) + 2], WriteLine(spu_reg::VoiceVolumeRight(0), 0));
  EXPECT_EQ(calls[static_cast<std::size_t>(firstSilence) + 47], WriteLine(spu_reg::VoiceEnvelope(23), 0));
  EXPECT_EQ(CountPrefix(calls, WriteLine(spu_reg::VoiceEnvelope(23), 0)), 2);
  const int lastSilence = firstSilence + 47;
  EXPECT_EQ(CountBetween(calls, -1, lastSilence, "SPUasync"), 0);
  EXPECT_EQ(CountBetween(calls, -1, lastSilence, "SPUreadRegister"), 0);
  EXPECT_GT(CountBetween(calls, lastSilence, static_cast<int>(calls.size()), "SPUreadRegister 1f801c0c"), 0);
  EXPECT_FALSE(h.state.analyzerReadRequest);
}

TEST(PlayerReplay, SeekForwardDeliversEverythingUpToTheTargetAtOnceWithoutXaOrCdAudio) {
  PlayerHarness h;
  SpuLogWriter log = NewFormatLog(1000);
  const std::vector<std::uint16_t> words = {1, 2, 3};
  for (std::uint16_t i = 0; i < 100; ++i) {
    const std::uint32_t time = 10u * i;
    log.AddRegisterWrite(time, kPitch0, i);
    if (time == 300) log.AddXaBlock(time, std::vector<std::uint8_t>(16, 1));
    if (time == 350) log.AddDmaWrite(time, words);
    if (time == 400) log.AddCdAudio(time, std::vector<std::uint8_t>(8, 2));
    if (time == 600) log.AddCdAudio(time, std::vector<std::uint8_t>(8, 2));  // after the target: plays
  }
  h.state.RequestSeek(500);
  h.Play(h.WriteLog(log));

  const auto calls = h.Calls();
  const int first = IndexOf(calls, WriteLine(kPitch0, 1));
  const int atTarget = IndexOf(calls, WriteLine(kPitch0, 50));
  const int after = IndexOf(calls, WriteLine(kPitch0, 51));
  ASSERT_TRUE(first > 0 && atTarget > first && after > atTarget);
  EXPECT_EQ(CountBetween(calls, first, atTarget, "SPUasync"), 0);
  EXPECT_GT(CountBetween(calls, atTarget, after, "SPUasync"), 0);
  EXPECT_EQ(CountPrefix(calls, "SPUplayADPCMchannel"), 0);
  EXPECT_EQ(CountPrefix(calls, "SPUplayCDDAchannel"), 1);
  EXPECT_EQ(CountPrefix(calls, "SPUwriteDMAMem 3 "), 1);
  EXPECT_EQ(CountPrefix(calls, "SPUwriteRegister 1f801c04"), 100);
}

TEST(PlayerReplay, SeekBackwardReplaysFromTheFirstEventWithoutReloadingTheState) {
  PlayerHarness h;
  h.state.limiter = true;
  SpuLogWriter log = NewFormatLog(1000);
  for (std::uint16_t i = 0; i < 100; ++i) log.AddRegisterWrite(10u * i, kPitch0, i);
  bool sought = false;
  h.clock.onSleep = [&] {
    if (!sought && h.state.position >= 600) {
      h.state.RequestSeek(100.5);
      sought = true;
    }
  };
  h.Play(h.WriteLog(log));

  const auto calls = h.Calls();
  EXPECT_EQ(CountPrefix(calls, "SPUfreeze"), 1);
  const int firstRound = IndexOf(calls, WriteLine(kPitch0, 10));
  const int again = IndexOf(calls, WriteLine(kPitch0, 0), firstRound);
  const int targetAgain = IndexOf(calls, WriteLine(kPitch0, 10), again);
  ASSERT_TRUE(firstRound > 0 && again > firstRound && targetAgain > again);
  // The voices are silenced right before the replay, which renders nothing until the target.
  EXPECT_EQ(calls[static_cast<std::size_t>(again) - 1], WriteLine(spu_reg::VoiceEnvelope(23), 0));
  EXPECT_EQ(CountBetween(calls, again, targetAgain, "SPUasync"), 0);
  EXPECT_EQ(CountPrefix(calls, WriteLine(kPitch0, 5)), 2);
  EXPECT_EQ(CountPrefix(calls, WriteLine(kPitch0, 99)), 1);
}

TEST(PlayerReplay, InvalidWritesReadsAndCodesReachOnlyTheConsole) {
  PlayerHarness h;
  SpuLogWriter log = NewFormatLog(100);
  log.AddRegisterWrite(0, 0x1F802000, 5);
  log.AddRegisterRead(1, 0x1F900000);
  log.AddU32(2);
  log.AddRawBytes(std::vector<std::uint8_t>{7});
  log.AddRegisterWrite(3, kKeyOn, 9);
  h.Play(h.WriteLog(log));

  for (const char* line : {"Write to Invalid SPU Register: 1f802000\n",
                           "* Warning : Write to Invalid SPU Register: 1f900000\n", "Invalid LogEventCode: 07\n"}) {
    EXPECT_GE(IndexOf(h.consoleLines, line), 0) << line;
  }
  const auto calls = h.Calls();
  EXPECT_EQ(CountPrefix(calls, "SPUwriteRegister 1f802000"), 0);
  EXPECT_EQ(CountPrefix(calls, "SPUreadRegister"), 0);
  EXPECT_EQ(CountPrefix(calls, WriteLine(kKeyOn, 9)), 1);
}

// An old-format log ends on its last record, which still plays; a new-format event past the
// length never does.
TEST(PlayerReplay, TheLogsEndIsItsLastRecordOrItsLength) {
  PlayerHarness h;
  SpuLogWriter old(LogFileType::Old);
  old.AddRegisterWrite(0, kKeyOn, 1);
  old.AddRegisterWrite(100, kKeyOn, 2);
  old.AddRegisterWrite(300, kKeyOn, 3);
  EXPECT_EQ(h.Play(h.WriteLog(old)), PlayerOutcome::PlayedToEnd);
  const int last = IndexOf(h.Calls(), WriteLine(kKeyOn, 3));
  ASSERT_GT(last, 0);
  EXPECT_LT(last, IndexOf(h.Calls(), "SPUclose"));
  EXPECT_EQ(h.state.totalLength, 300u);

  h.recording.Reset();
  SpuLogWriter log = NewFormatLog(100);
  log.AddRegisterWrite(90, kKeyOn, 4);
  log.AddRegisterWrite(120, kKeyOn, 5);
  h.Play(h.WriteLog(log, "new.spu"));
  EXPECT_EQ(CountPrefix(h.Calls(), WriteLine(kKeyOn, 4)), 1);
  EXPECT_EQ(CountPrefix(h.Calls(), WriteLine(kKeyOn, 5)), 0);
}

TEST(PlayerReplay, FadesStepTheMainVolumeByThreeAPass) {
  PlayerHarness out;
  out.state.fadeOut = true;
  out.Play(out.WriteLog(NewFormatLog(kSampleRate * 109 / 10)));  // 10.9 s: the fade covers 5.9 s
  const auto left = WithPrefix(out.Calls(), "SPUwriteRegister 1f801d80");
  ASSERT_GT(left.size(), 5461u);
  EXPECT_EQ(left[0], WriteLine(spu_reg::kMainVolumeLeft, 0x3FFC));
  EXPECT_EQ(left[1], WriteLine(spu_reg::kMainVolumeLeft, 0x3FF9));
  EXPECT_EQ(left[5459], WriteLine(spu_reg::kMainVolumeLeft, 0x0003));
  EXPECT_EQ(left[5460], WriteLine(spu_reg::kMainVolumeLeft, 0));
  EXPECT_EQ(left.back(), WriteLine(spu_reg::kMainVolumeLeft, 0));
  EXPECT_EQ(CountPrefix(out.Calls(), "SPUwriteRegister 1f801d82"), static_cast<int>(left.size()));
  EXPECT_TRUE(out.state.fadeActive);

  PlayerHarness in;
  in.state.fadeIn = true;
  in.Play(in.WriteLog(NewFormatLog(kSampleRate * 20)));
  const auto rising = WithPrefix(in.Calls(), "SPUwriteRegister 1f801d80");
  ASSERT_GT(rising.size(), 5461u);
  EXPECT_EQ(rising[0], WriteLine(spu_reg::kMainVolumeLeft, 3));
  EXPECT_EQ(rising[5460], WriteLine(spu_reg::kMainVolumeLeft, 0x3FFF));
  EXPECT_EQ(rising.back(), WriteLine(spu_reg::kMainVolumeLeft, 0x3FFF));
  EXPECT_FALSE(in.state.fadeActive);
}

TEST(PlayerReplay, DynamicOrchestraForcesTheReverbVolumeEveryPass) {
  PlayerHarness h;
  h.state.dynamicOrchestra = true;
  h.Play(h.WriteLog(NewFormatLog(200)));
  const auto calls = h.Calls();
  const int passes = CountPrefix(calls, WriteLine(spu_reg::kReverbVolumeLeft, 0x7FFF));
  EXPECT_GE(passes, 5);
  const int first = IndexOf(calls, WriteLine(spu_reg::kReverbVolumeLeft, 0x7FFF));
  EXPECT_EQ(calls[static_cast<std::size_t>(first) + 1], WriteLine(spu_reg::kReverbVolumeRight, 0x7FFF));
  EXPECT_EQ(CountPrefix(calls, WriteLine(spu_reg::kReverbVolumeRight, 0x7FFF)), passes);
}

}  // namespace
}  // namespace kestrel::test
