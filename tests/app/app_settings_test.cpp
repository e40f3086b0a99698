#include "app/app_settings.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;

std::string Config(const TempFolder& folder, const std::string& keys) {
  return folder.Write("config.ini", "[Kestrel SPU Player]\n" + keys);
}

TEST(AppSettingsTest, WithoutConfigTheDefaultsApplyAndTheFileIsCreated) {
  TempFolder folder;
  const std::string path = ConfigPath(folder.Path());
  const AppSettings s = LoadSettings(path, 3);
  EXPECT_TRUE(s.EnableSinglePlay);
  EXPECT_FALSE(s.EnableRepeatPlay || s.EnableChanePlay || s.EnableRepeatChanePlay);
  EXPECT_EQ(s.PlayBackTempo, 5);
  EXPECT_EQ(s.tempoStatusText, "Tempo : 100%");
  EXPECT_DOUBLE_EQ(s.tempoFactor, 1.0);
  EXPECT_EQ(s.playBackPriorityLabel, "Above Normal");
  EXPECT_EQ(s.decodePriorityLabel, "Normal");
  EXPECT_EQ(s.AnalyzerRefreshRate, 50);
  EXPECT_EQ(s.ListTextColorR + s.ListTextColorG + s.ListTextColorB, 3 * 255);
  EXPECT_FALSE(s.EnableGlidLine || s.EnableConsoleWindow);
  EXPECT_TRUE(s.limiter);
  EXPECT_EQ(s.SelectedSPUPlugin, 0);
  EXPECT_EQ(IniFile(path).ReadString(kSettingsSection, "EnableConsoleWindow"), "0");
}

TEST(AppSettingsTest, OutOfRangeValuesAreLimitedAsTheControlsLimitThem) {
  TempFolder folder;
  const std::string path = Config(folder,
                                  "PlayBackPriority=9\nAnalyzerRefreshRate=5\nListTextColorG=300\n"
                                  "EnableFadeOut=2\nEnableConsoleWindow=2\nPlayBackTempo=20\n"
                                  "AnalyzerColor=15\nSelectedSPUPlugin=4\n");
  const AppSettings s = LoadSettings(path, 4);
  EXPECT_EQ(s.PlayBackPriority, 7);
  EXPECT_EQ(s.playBackPriorityLabel, "");
  EXPECT_EQ(s.AnalyzerRefreshRate, 20);
  EXPECT_EQ(s.refreshRateLabel, "Refresh / 20 (ms)");
  EXPECT_EQ(s.ListTextColorG, 255);
  EXPECT_EQ(s.textColorLabels[1], "255");
  EXPECT_FALSE(s.EnableFadeOut);
  EXPECT_FALSE(s.EnableConsoleWindow);
  EXPECT_EQ(IniFile(path).ReadString(kSettingsSection, "EnableConsoleWindow"), "0");
  EXPECT_EQ(s.PlayBackTempo, -1);
  EXPECT_EQ(s.tempoStatusText, "Tempo :");
  EXPECT_GT(s.tempoFactor, 0.0);
  EXPECT_EQ(s.AnalyzerColor, -1);
  EXPECT_EQ(s.colorSchemeBitmap, 150);
  EXPECT_EQ(s.SelectedSPUPlugin, -1);

  ASSERT_TRUE(SaveSettings(path, s));
  const IniFile ini(path);
  EXPECT_EQ(ini.ReadInt(kSettingsSection, "PlayBackPriority", 0), 7);
  EXPECT_EQ(ini.ReadString(kSettingsSection, "EnableFadeOut"), "0");
  EXPECT_EQ(ini.ReadInt(kSettingsSection, "PlayBackTempo", 0), -1);
}

TEST(AppSettingsTest, PlayModes) {
  TempFolder folder;
  AppSettings s = LoadSettings(Config(folder, "EnableSinglePlay=1\nEnableRepeatPlay=1\n"), 0);
  EXPECT_TRUE(s.EnableSinglePlay);
  EXPECT_FALSE(s.EnableRepeatPlay);

  s = LoadSettings(Config(folder, "EnableSinglePlay=0\nEnableRepeatPlay=0\nEnableChanePlay=0\n"
                                  "EnableRepeatChanePlay=0\n"), 0);
  EXPECT_FALSE(s.EnableSinglePlay || s.EnableRepeatPlay || s.EnableChanePlay || s.EnableRepeatChanePlay);

  s = LoadSettings(Config(folder, "EnableSinglePlay=0\nEnableChanePlay=1\n"), 0);
  EXPECT_TRUE(s.EnableChanePlay);
  EXPECT_FALSE(s.EnableSinglePlay);
}

TEST(AppSettingsTest, TheExitSaveWritesExactlyItsKeysInOrder) {
  TempFolder folder;
  const std::string path = ConfigPath(folder.Path());
  AppSettings s = LoadSettings(path, 2);
  s.SPUFileFolder = "/music/spu logs";
  s.EnableGlidLine = true;
  ASSERT_TRUE(SaveSettings(path, s));
  const IniDocument doc = IniFile(path).Read();
  const std::vector<std::string> expected = {
      "EnableConsoleWindow",  // written during start-up
      "PlayBackPriority", "DecodePriority", "EnableRepeatPlay", "EnableChanePlay", "EnableSinglePlay",
      "EnableRepeatChanePlay", "SpecifyDecodeTime", "SPUFileFolder", "PlayBackTempo", "AnalyzerType",
      "AnalyzerColor", "EnableFadeOut", "EnableFadeIn", "EnableDynamicOrchestra", "EnableCompulsivePause",
      "SpecifyListBackImage", "EnableGlidLine", "AnalyzerRefreshRate", "ListTextColorR", "ListTextColorG",
      "ListTextColorB", "ListBackImagePath", "SelectedSPUPlugin"};
  EXPECT_EQ(doc.Keys(kSettingsSection), expected);

  const AppSettings again = LoadSettings(path, 2);
  EXPECT_EQ(again.SPUFileFolder, "/music/spu logs");
  EXPECT_TRUE(again.EnableGlidLine);
  EXPECT_EQ(again.PlayBackPriority, 5);
}

TEST(AppSettingsTest, ImmediateKeys) {
  TempFolder folder;
  const std::string path = ConfigPath(folder.Path());
  EXPECT_EQ(ReadStartPoint(path), 0);
  ASSERT_TRUE(WriteStartPoint(path, -2));
  EXPECT_EQ(ReadStartPoint(path), -2);
  EXPECT_FALSE(ReadEnableConsoleWindow(path));
  ASSERT_TRUE(WriteEnableConsoleWindow(path, true));
  EXPECT_TRUE(ReadEnableConsoleWindow(path));
  EXPECT_EQ(ReadStartPoint(path), -2);
}

}  // namespace
}  // namespace kestrel
