// The debug window and the analyzer against a real player pass: what the player reads for
// them is what they show.

#include <gtest/gtest.h>

#include "mixer/register_path.h"
#include "abi/spu_registers.h"
#include "monitor/debug_window_state.h"
#include "monitor/level_analyzer.h"
#include "player/player_harness.h"

namespace kestrel::test {
namespace {

TEST(MonitorSampling, WhatThePlayerReadsIsWhatTheMonitorsShow) {
  PlayerHarness h;
  SpuLogWriter log = NewFormatLog(2000);
  log.AddRegisterWrite(0, spu_reg::VoiceVolumeRight(7), 0x3FFF);
  log.AddRegisterWrite(0, spu_reg::VoicePitch(3), 0x1234);
  log.AddRegisterWrite(0, spu_reg::VoiceEnvelope(2), 0x7FFF);
  const std::string path = h.WriteLog(log);
  ChannelMixer& mixer = TheRegisterPath().channelMixer;
  DebugWindowState debug(h.state);
  LevelAnalyzer analyzer;

  debug.Tick();
  EXPECT_FALSE(h.state.debugReadRequest) << "a closed window asks for nothing";
  debug.Open();
  EXPECT_TRUE(debug.IsOpen());
  EXPECT_EQ(debug.ShownTab(), kDebugVolumeTab);
  EXPECT_EQ(debug.VolumeTexts()[15], "0000");
  EXPECT_EQ(DebugChannelLabel(23), "Ch23 :");

  // The first frame of the run draws from zero, whatever the array held.
  h.state.analyzerEnvelope[5] = 0x7FFF;
  EXPECT_EQ(analyzer.RefreshTick(h.state, mixer, 0, 0).columns[5].barCount, 0);
  EXPECT_EQ(h.state.analyzerEnvelope[5], 0);
  EXPECT_TRUE(h.state.analyzerReadRequest);

  // Both timers tick while the log plays, once its writes have all reached the plugin.
  h.state.limiter = true;
  h.clock.onSleep = [&] {
    if (h.clock.sleeps != 2) return;
    analyzer.RefreshTick(h.state, mixer, 0, 0);
    debug.Tick();
    EXPECT_TRUE(h.state.debugReadRequest);
  };
  h.Play(path);
  EXPECT_FALSE(h.state.analyzerReadRequest);
  EXPECT_FALSE(h.state.debugReadRequest);
  EXPECT_EQ(analyzer.RefreshTick(h.state, mixer, 0, 0).columns[2].barCount, 27);
  mixer.level[2] = 50;
  EXPECT_EQ(analyzer.RefreshTick(h.state, mixer, 0, 0).columns[2].barCount, 13);
  debug.Tick();
  EXPECT_EQ(debug.VolumeTexts()[14], "0000");  // voice 7's left value, beside its right one
  EXPECT_EQ(debug.VolumeTexts()[15], "3fff");
  EXPECT_EQ(debug.EnvelopeTexts()[2], "7fff");

  debug.SelectTab(kDebugPitchTab);
  debug.SelectTab(3);
  EXPECT_EQ(debug.ShownTab(), kDebugPitchTab);
  EXPECT_EQ(debug.PitchTexts()[3], "0000");  // not read while the other tab showed
  h.clock.sleeps = 0;
  h.Play(path);
  debug.Tick();
  EXPECT_EQ(debug.PitchTexts()[3], "1234");

  debug.Close();
  h.state.debugReadRequest = false;
  debug.Tick();
  EXPECT_FALSE(debug.IsOpen());
  EXPECT_FALSE(h.state.debugReadRequest);
  EXPECT_EQ(debug.PitchTexts()[3], "1234");  // the last values stay
}

}  // namespace
}  // namespace kestrel::test
