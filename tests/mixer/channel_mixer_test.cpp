#include "mixer/channel_mixer.h"
#include "mixer/mixer_page_state.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kestrel {
namespace {

using Write = std::pair<std::uint32_t, std::uint16_t>;

std::vector<Write> Apply(ChannelMixer& mixer) {
  std::vector<Write> writes;
  ApplyChannelMixer(mixer, [&](std::uint32_t a, std::uint16_t v) { writes.emplace_back(a, v); });
  return writes;
}

TEST(ScaleVoiceVolume, KeepsTheSignInBit14AndRescalingRemembersFixedVoiceVolumesOnly) {
  for (std::uint32_t v = 0; v < 0x8000; v += 0x123) {
    EXPECT_EQ(ScaleVoiceVolume(static_cast<std::uint16_t>(v), 100), v) << v;
    EXPECT_EQ(ScaleVoiceVolume(static_cast<std::uint16_t>(v), 0), 0) << v;
  }
  EXPECT_EQ(ScaleVoiceVolume(0x3FFF, 50), 0x1FFF);
  EXPECT_EQ(ScaleVoiceVolume(0x4000, 50), 0x6000);  // the most negative volume halves toward zero
  EXPECT_EQ(ScaleVoiceVolume(0x7FFF, 50), 0x7FFF);  // -2 * 50 / 100 = -1, halved back to 0x7FFF

  // Rescaling scales and remembers fixed voice volumes only.
  ChannelMixer mixer;
  mixer.level[3] = 50;
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801C30, 0x3FFF), 0x1FFF);
  EXPECT_EQ(mixer.rememberedLeft[3], 0x3FFF);
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801C32, 0x2000), 0x1000);
  EXPECT_EQ(mixer.rememberedRight[3], 0x2000);
  // A sweep passes unchanged and is not remembered.
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801C30, 0x8000), 0x8000);
  EXPECT_EQ(mixer.rememberedLeft[3], 0x3FFF);
  // Main volume, pitch and the register after the last voice pass unchanged.
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801D80, 0x3FFF), 0x3FFF);
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801C34, 0x1000), 0x1000);
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801D82, 0x3FFF), 0x3FFF);
}

TEST(ApplyChannelMixer, MuteSilencesAndUnmuteRestoresTheSliderLevel) {
  ChannelMixer mixer;
  RescaleVoiceVolume(mixer, 0x1F801C30, 0x3FFF);
  RescaleVoiceVolume(mixer, 0x1F801C32, 0x3FFF);
  SetMute(mixer, 3, true);
  auto writes = Apply(mixer);
  EXPECT_EQ(writes[6], Write(0x1F801C30, 0));
  EXPECT_EQ(writes[7], Write(0x1F801C32, 0));
  EXPECT_EQ(RescaleVoiceVolume(mixer, 0x1F801C30, 0x3FFF), 0);  // later writes arrive silenced

  mixer.sliderPosition[3] = 50;
  SetMute(mixer, 3, false);
  writes = Apply(mixer);
  EXPECT_EQ(writes[6], Write(0x1F801C30, 0x1FFF));
}

TEST(MixerPage, ResetKeepsMutesAndLevelsFollowSliders) {
  ChannelMixer mixer;
  for (auto& p : mixer.sliderPosition) p = 30;
  ReadLevels(mixer);
  EXPECT_EQ(mixer.level[10], 70);
  MuteAll(mixer);
  Apply(mixer);
  EXPECT_EQ(mixer.level[10], 0);
  ResetLevels(mixer);
  EXPECT_EQ(mixer.sliderPosition[10], 0);
  EXPECT_TRUE(mixer.mute[10]);
  Apply(mixer);
  EXPECT_EQ(mixer.level[10], 0);  // still muted
  UnmuteAll(mixer);
  EXPECT_EQ(mixer.level[10], 100);
  SetMute(mixer, 24, true);  // out of range: ignored
  SetMute(mixer, -1, true);
}

// The page's controls by id: the boxes show the mixer's mutes whichever control set them.
TEST(MixerPage, ControlsByIdKeepTheBoxesAndTheMixerAlike) {
  ChannelMixer mixer;
  MixerPageState page(mixer);
  page.MoveSlider(0, 50);
  EXPECT_EQ(mixer.level[0], 50);
  EXPECT_TRUE(mixer.changed);
  page.MoveSlider(1, 140);  // past the bottom
  EXPECT_EQ(page.SliderPosition(1), 100);

  ASSERT_TRUE(page.Command(1151 + 3));  // channel 3's box clicked
  EXPECT_TRUE(page.controls.Checked(1154));
  EXPECT_TRUE(mixer.mute[3]);
  ASSERT_TRUE(page.Command(1175));  // "Mute all"
  ASSERT_TRUE(page.Command(1177));  // "Reset": sliders up, boxes alone
  EXPECT_EQ(page.SliderPosition(0), 0);
  for (int ch = 0; ch < 24; ++ch) EXPECT_TRUE(page.controls.Checked(1151 + ch)) << ch;
  ASSERT_TRUE(page.Command(1151 + 3));  // unchecked again: its slider's level comes back
  EXPECT_FALSE(page.controls.Checked(1154));
  EXPECT_EQ(mixer.level[3], 100);
  ASSERT_TRUE(page.Command(1176));  // "UnMute all"
  EXPECT_FALSE(page.controls.Checked(1151));
  EXPECT_FALSE(mixer.mute[23]);
  EXPECT_FALSE(page.Command(1178));
}

}  // namespace
}  // namespace kestrel
