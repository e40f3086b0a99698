// The register path between the log and the plugin, the plugin variants and the failures.

#include <gtest/gtest.h>

#include <filesystem>

#include "mixer/register_path.h"
#include "abi/spu_registers.h"
#include "player/player_harness.h"

namespace kestrel::test {
namespace {

bool HasLine(const std::vector<std::string>& lines, const std::string& line) { return IndexOf(lines, line) >= 0; }

TEST(PlayerPaths, MixerScalesAndMutesVoicesAndStartsFromTheRecordedVolumes) {
  PlayerHarness h;
  ChannelMixer& mixer = TheRegisterPath().channelMixer;
  mixer.sliderPosition[3] = 50;
  ReadLevels(mixer);
  SetMute(mixer, 5, true);
  SpuLogWriter log = NewFormatLog(100);
  log.SetRegister(spu_reg::VoiceVolumeLeft(2), 0x1234);
  log.SetRegister(spu_reg::VoiceVolumeRight(4), 0x8123);  // a sweep, re-sent as it is
  log.SetRegister(spu_reg::VoiceVolumeLeft(3), 0x3FFF);
  log.SetRegister(spu_reg::VoiceVolumeLeft(5), 0x2000);
  log.AddRegisterWrite(10, spu_reg::VoiceVolumeLeft(3), 0x3FFF);
  log.AddRegisterWrite(20, spu_reg::VoiceVolumeLeft(5), 0x1000);
  log.AddRegisterWrite(30, spu_reg::VoiceVolumeLeft(6), 0x8000);
  h.Play(h.WriteLog(log));

  const auto calls = h.Calls();
  // The first pass: the recorded volumes, scaled by the levels.
  const int mixerPass = IndexOf(calls, WriteLine(spu_reg::VoiceVolumeLeft(0), 0));
  ASSERT_GT(mixerPass, 0);
  const auto at = [&](int offset) { return calls[static_cast<std::size_t>(mixerPass + offset)]; };
  EXPECT_EQ(at(4), WriteLine(spu_reg::VoiceVolumeLeft(2), 0x1234));
  EXPECT_EQ(at(6), WriteLine(spu_reg::VoiceVolumeLeft(3), 0x1FFF));
  EXPECT_EQ(at(9), WriteLine(spu_reg::VoiceVolumeRight(4), 0x8123));
  EXPECT_EQ(at(10), WriteLine(spu_reg::VoiceVolumeLeft(5), 0));
  // The log's own writes: scaled, muted, a sweep untouched.
  EXPECT_EQ(CountPrefix(calls, WriteLine(spu_reg::VoiceVolumeLeft(3), 0x1FFF)), 2);
  EXPECT_TRUE(HasLine(calls, WriteLine(spu_reg::VoiceVolumeLeft(6), 0x8000)));
  EXPECT_FALSE(HasLine(calls, WriteLine(spu_reg::VoiceVolumeLeft(5), 0x1000)));
  EXPECT_EQ(mixer.level[5], 0);
  EXPECT_EQ(mixer.rememberedLeft[5], 0x1000);
}

TEST(PlayerPaths, ALogStartsFromItsOwnVolumesWhateverPlayedBefore) {
  PlayerHarness h;
  SpuLogWriter first = NewFormatLog(100);
  first.AddRegisterWrite(10, spu_reg::VoiceVolumeLeft(7), 0x2222);
  h.Play(h.WriteLog(first, "first.spu"));
  h.recording.Reset();
  SpuLogWriter second = NewFormatLog(100);
  second.SetRegister(spu_reg::VoiceVolumeLeft(7), 0x1111);
  h.Play(h.WriteLog(second, "second.spu"));
  const auto calls = h.Calls();
  EXPECT_TRUE(HasLine(calls, WriteLine(spu_reg::VoiceVolumeLeft(7), 0x1111)));
  EXPECT_FALSE(HasLine(calls, WriteLine(spu_reg::VoiceVolumeLeft(7), 0x2222)));
}

TEST(PlayerPaths, SwitchesHoldBackRegistersAndEventKinds) {
  PlayerHarness h;
  RegisterPath& path = TheRegisterPath();
  path.registerControl.allow[0] = false;  // 0x1F801D88
  path.eventControl.dmaWrite = false;
  path.eventControl.xa = false;
  SpuLogWriter log = NewFormatLog(100);
  log.AddRegisterWrite(0, spu_reg::kKeyOnLow, 1);
  log.AddRegisterWrite(0, spu_reg::kKeyOnHigh, 2);
  const std::vector<std::uint16_t> words = {1, 2};
  log.AddDmaWrite(5, words);
  log.AddXaBlock(6, std::vector<std::uint8_t>(4, 9));
  log.AddCdAudio(7, std::vector<std::uint8_t>(6, 3));
  log.AddDmaRead(8, 64);  // the plugin may fill every one of the 64 words
  h.Play(h.WriteLog(log));
  const auto calls = h.Calls();
  EXPECT_FALSE(HasLine(calls, WriteLine(spu_reg::kKeyOnLow, 1)));
  EXPECT_TRUE(HasLine(calls, WriteLine(spu_reg::kKeyOnHigh, 2)));
  EXPECT_EQ(CountPrefix(calls, "SPUwriteDMAMem"), 0);
  EXPECT_EQ(CountPrefix(calls, "SPUplayADPCMchannel"), 0);
  EXPECT_EQ(CountPrefix(calls, "SPUplayCDDAchannel 6 "), 1);
  EXPECT_EQ(CountPrefix(calls, "SPUreadDMAMem 64"), 1);
}

TEST(PlayerPaths, WithoutRegisterWritesOnlySeekingAndTheMixerReachThePlugin) {
  PlayerHarness h;
  TheRegisterPath().eventControl.registerWrite = false;
  SpuLogWriter log = NewFormatLog(1000);
  log.AddRegisterWrite(0, spu_reg::kKeyOnLow, 1);
  log.AddRegisterWrite(100, spu_reg::kKeyOnLow, 2);  // delivered while seeking
  log.AddRegisterWrite(700, spu_reg::kKeyOnLow, 3);
  h.state.RequestSeek(500);
  h.Play(h.WriteLog(log));
  const auto calls = h.Calls();
  EXPECT_FALSE(HasLine(calls, WriteLine(spu_reg::kKeyOnLow, 1)));
  EXPECT_TRUE(HasLine(calls, WriteLine(spu_reg::kKeyOnLow, 2)));
  EXPECT_FALSE(HasLine(calls, WriteLine(spu_reg::kKeyOnLow, 3)));
  EXPECT_EQ(CountPrefix(calls, "SPUwriteRegister 1f801c00"), 1);  // the mixer's pass
}

TEST(PlayerPaths, APluginWithoutAsyncGetsEveryEventAndNoRendering) {
  PlayerHarness h(kPluginWithoutAsync);
  SpuLogWriter log = NewFormatLog(500);
  for (std::uint16_t i = 0; i < 5; ++i) log.AddRegisterWrite(100u * i, spu_reg::kKeyOnLow, i);
  EXPECT_EQ(h.Play(h.WriteLog(log)), PlayerOutcome::PlayedToEnd);
  const auto writes = WithPrefix(h.Calls(), "SPUwriteRegister 1f801d88");
  ASSERT_EQ(writes.size(), 5u);
  for (std::uint16_t i = 0; i < 5; ++i) EXPECT_EQ(writes[i], WriteLine(spu_reg::kKeyOnLow, i));
  EXPECT_EQ(CountPrefix(h.Calls(), "SPUasync"), 0);
}

TEST(PlayerPaths, APluginWithoutFreezeIsNotSupported) {
  PlayerHarness h(kPluginWithoutFreeze);
  EXPECT_EQ(h.Play(h.WriteLog(NewFormatLog(100))), PlayerOutcome::PluginRefused);
  EXPECT_TRUE(h.Calls().empty());
  EXPECT_EQ(h.consoleLines, (std::vector<std::string>{"* Loading SPU Plugin ..... Failed\n",
                                                      "* Warning : This plugin doesn't support SPUfreeze.\n"}));
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].text, "Selected Plugin is not spported.");
  EXPECT_EQ(h.messages[0].caption, "Plugin Error");
  EXPECT_EQ(h.stopCalls, std::vector<PlayerOutcome>{PlayerOutcome::PluginRefused});
  EXPECT_TRUE(h.endCalls.empty());
}

TEST(PlayerPaths, BindingAndLoadingFailuresShowTheirMessages) {
  struct Case {
    std::string plugin, log, message, caption;
    MessageIcon icon;
    PlayerOutcome outcome;
    std::string reason = {};  // a part of it
  };
  PlayerHarness h;
  const std::string good = h.WriteLog(NewFormatLog(100));
  std::filesystem::create_directory(h.folder / "folder.spu");
  const std::vector<Case> cases = {
      {h.folder / "none.so", good, "Please select the PSX SPU Plugin from list.", "Warning", MessageIcon::Exclamation,
       PlayerOutcome::PluginRefused, "none.so: "},
      {kPluginNotSpu, good, "You must select PSX SPU Plugin.", "Warning", MessageIcon::Exclamation,
       PlayerOutcome::PluginRefused},
      {kRecordingPlugin, h.folder / "folder.spu", "Selected SPUFile can't be opened.", "SPUFile Load Error",
       MessageIcon::Stop, PlayerOutcome::LogRefused, "folder.spu : Is a directory"},
      {kRecordingPlugin, "", "Please select the PSX SPU LogFile from list.", "Warning", MessageIcon::Exclamation,
       PlayerOutcome::LogRefused},
      {kRecordingPlugin, h.folder / "gone.spu", "Selected SPUFile has been moved or deleted.", "SPUFile Load Error",
       MessageIcon::Stop, PlayerOutcome::LogRefused},
  };
  for (const Case& c : cases) {
    h.messages.clear();
    h.pluginPath = c.plugin;
    EXPECT_EQ(h.Play(c.log), c.outcome) << c.message;
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, c.message);
    EXPECT_EQ(h.messages[0].caption, c.caption);
    EXPECT_EQ(h.messages[0].icon, c.icon);
    EXPECT_NE(h.messages[0].reason.find(c.reason), std::string::npos) << h.messages[0].reason;
  }
  EXPECT_TRUE(h.Calls().empty());
}

TEST(PlayerPaths, ARejectedLogStopsWithAConsoleWarningAndNoPluginCalls) {
  PlayerHarness h;
  EXPECT_EQ(h.Play(h.WriteLog(NewFormatLog(0))), PlayerOutcome::LogRejected);
  EXPECT_TRUE(h.Calls().empty());
  EXPECT_TRUE(h.messages.empty());
  ASSERT_EQ(h.consoleLines.size(), 3u);
  EXPECT_EQ(h.consoleLines[1], "* Loading SPU File ..... OK\n");
  EXPECT_TRUE(h.consoleLines[2].starts_with("* Warning : "));
  EXPECT_EQ(h.stopCalls, std::vector<PlayerOutcome>{PlayerOutcome::LogRejected});
}

// What an earlier playback left: a jump request skips the end-of-log handling; the seeking
// state is never where a playback starts.
TEST(PlayerPaths, AJumpRequestOrAnEarlierSeekingState) {
  PlayerHarness h;
  h.state.jumpRequest = true;
  EXPECT_EQ(h.Play(h.WriteLog(NewFormatLog(100))), PlayerOutcome::PlayedToEnd);
  EXPECT_TRUE(h.endCalls.empty());
  EXPECT_EQ(h.Calls().back(), "SPUshutdown");

  h.state.seeking = true;
  SpuLogWriter log = NewFormatLog(200);
  log.AddXaBlock(0, std::vector<std::uint8_t>(4, 1));  // a seek would pass it over
  h.Play(h.WriteLog(log, "xa.spu"));
  EXPECT_EQ(CountPrefix(h.Calls(), "SPUplayADPCMchannel"), 1);
}

}  // namespace
}  // namespace kestrel::test
