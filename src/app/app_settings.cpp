#include "app/app_settings.h"

#include <algorithm>

#include "platform/ini_file.h"
#include "app/option_tables.h"

namespace kestrel {
namespace {

constexpr const char* kS = kSettingsSection;

bool IsOne(const IniDocument& ini, const char* key, int defaultValue) {
  return ini.GetInt(kS, key, defaultValue) == 1;
}

// A list selects the stored row when it exists, and no row otherwise.
int ListRow(int stored, int rows) { return stored >= 0 && stored < rows ? stored : -1; }

const char* Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::string ConfigPath(const std::string& startupFolder) { return startupFolder + "/config.ini"; }

std::string PriorityLabel(int position) { return std::string(PriorityName(position)); }

std::string RefreshRateLabel(int milliseconds) {
  return "Refresh / " + std::to_string(std::clamp(milliseconds, 20, 100)) + " (ms)";
}

AppSettings LoadSettings(const std::string& configPath, int pluginRows) {
  const IniDocument ini = IniFile(configPath).Read();
  AppSettings s;
  s.configReadFailure = IniFile(configPath).ReadFailure();

  s.SpecifyDecodeTime = IsOne(ini, "SpecifyDecodeTime", 0);

  const int playBackPriority = ini.GetInt(kS, "PlayBackPriority", 5);
  s.PlayBackPriority = std::clamp(playBackPriority, 1, 7);
  s.playBackPriorityLabel = PriorityLabel(playBackPriority);
  const int decodePriority = ini.GetInt(kS, "DecodePriority", 4);
  s.DecodePriority = std::clamp(decodePriority, 1, 7);
  s.decodePriorityLabel = PriorityLabel(decodePriority);

  const int refreshRate = ini.GetInt(kS, "AnalyzerRefreshRate", 50);
  s.AnalyzerRefreshRate = std::clamp(refreshRate, 20, 100);
  s.refreshRateLabel = RefreshRateLabel(refreshRate);

  s.SPUFileFolder = ini.GetString(kS, "SPUFileFolder");

  s.EnableRepeatPlay = IsOne(ini, "EnableRepeatPlay", 0);
  s.EnableRepeatChanePlay = IsOne(ini, "EnableRepeatChanePlay", 0);
  s.EnableChanePlay = IsOne(ini, "EnableChanePlay", 0);
  s.EnableSinglePlay = IsOne(ini, "EnableSinglePlay", 1);

  s.EnableFadeOut = IsOne(ini, "EnableFadeOut", 0);
  s.EnableFadeIn = IsOne(ini, "EnableFadeIn", 0);
  s.EnableDynamicOrchestra = IsOne(ini, "EnableDynamicOrchestra", 0);
  s.EnableCompulsivePause = IsOne(ini, "EnableCompulsivePause", 0);

  int* const colors[3] = {&s.ListTextColorR, &s.ListTextColorG, &s.ListTextColorB};
  const char* const colorKeys[3] = {"ListTextColorR", "ListTextColorG", "ListTextColorB"};
  for (std::size_t i = 0; i < 3; ++i) {
    *colors[i] = std::clamp(ini.GetInt(kS, colorKeys[i], 255), 0, 255);
    s.textColorLabels[i] = std::to_string(*colors[i]);
  }

  // More than one play mode stored: fall back to Single. The sum is over the raw values.
  const long long modeSum = static_cast<long long>(ini.GetInt(kS, "EnableRepeatPlay", 0)) +
                            ini.GetInt(kS, "EnableRepeatChanePlay", 0) +
                            ini.GetInt(kS, "EnableChanePlay", 0) + ini.GetInt(kS, "EnableSinglePlay", 0);
  if (modeSum >= 2) {
    s.EnableSinglePlay = true;
    s.EnableRepeatPlay = s.EnableChanePlay = s.EnableRepeatChanePlay = false;
  }

  s.EnableConsoleWindow = IsOne(ini, "EnableConsoleWindow", 0);
  s.configWriteFailure = WriteEnableConsoleWindow(configPath, s.EnableConsoleWindow).failure;

  s.EnableGlidLine = IsOne(ini, "EnableGlidLine", 0);
  s.SpecifyListBackImage = IsOne(ini, "SpecifyListBackImage", 0);
  s.ListBackImagePath = ini.GetString(kS, "ListBackImagePath");

  s.PlayBackTempo = ListRow(ini.GetInt(kS, "PlayBackTempo", kDefaultTempoRow), kTempoTable.size());
  if (s.PlayBackTempo >= 0) {
    const TempoRow& row = kTempoTable[static_cast<std::size_t>(s.PlayBackTempo)];
    s.tempoStatusText = row.statusText;
    s.tempoFactor = row.factor;
  }  // otherwise the player keeps normal speed and the status field keeps "Tempo :"
  s.AnalyzerType = ListRow(ini.GetInt(kS, "AnalyzerType", 0), kAnalyzerTypeCount);
  s.analyzerType = std::max(s.AnalyzerType, 0);
  s.AnalyzerColor = ListRow(ini.GetInt(kS, "AnalyzerColor", 0), kAnalyzerColorCount);
  s.colorSchemeBitmap = kFirstColorSchemeBitmap + std::max(s.AnalyzerColor, 0);

  s.SelectedSPUPlugin = ListRow(ini.GetInt(kS, "SelectedSPUPlugin", 0), pluginRows);
  return s;
}

WriteResult SaveSettings(const std::string& configPath, const AppSettings& s) {
  return IniFile(configPath).Edit([&s](IniDocument& ini) {
    const auto number = [&ini](const char* key, int value) { ini.Set(kS, key, std::to_string(value)); };
    const auto flag = [&ini](const char* key, bool on) { ini.Set(kS, key, Flag(on)); };
    number("PlayBackPriority", s.PlayBackPriority);
    number("DecodePriority", s.DecodePriority);
    flag("EnableRepeatPlay", s.EnableRepeatPlay);
    flag("EnableChanePlay", s.EnableChanePlay);
    flag("EnableSinglePlay", s.EnableSinglePlay);
    flag("EnableRepeatChanePlay", s.EnableRepeatChanePlay);
    flag("SpecifyDecodeTime", s.SpecifyDecodeTime);
    ini.Set(kS, "SPUFileFolder", s.SPUFileFolder);
    number("PlayBackTempo", s.PlayBackTempo);
    number("AnalyzerType", s.AnalyzerType);
    number("AnalyzerColor", s.AnalyzerColor);
    flag("EnableFadeOut", s.EnableFadeOut);
    flag("EnableFadeIn", s.EnableFadeIn);
    flag("EnableDynamicOrchestra", s.EnableDynamicOrchestra);
    flag("EnableCompulsivePause", s.EnableCompulsivePause);
    flag("SpecifyListBackImage", s.SpecifyListBackImage);
    flag("EnableGlidLine", s.EnableGlidLine);
    number("AnalyzerRefreshRate", s.AnalyzerRefreshRate);
    number("ListTextColorR", s.ListTextColorR);
    number("ListTextColorG", s.ListTextColorG);
    number("ListTextColorB", s.ListTextColorB);
    ini.Set(kS, "ListBackImagePath", s.ListBackImagePath);
    number("SelectedSPUPlugin", s.SelectedSPUPlugin);
  });
}

bool ReadEnableConsoleWindow(const std::string& configPath) {
  return IniFile(configPath).ReadInt(kS, "EnableConsoleWindow", 0) == 1;
}

WriteResult WriteEnableConsoleWindow(const std::string& configPath, bool enabled) {
  return IniFile(configPath).Edit([enabled](IniDocument& ini) { ini.Set(kS, "EnableConsoleWindow", Flag(enabled)); });
}

int ReadStartPoint(const std::string& configPath) {
  return IniFile(configPath).ReadInt(kS, "StartPoint", 0);
}

bool WriteStartPoint(const std::string& configPath, int startPoint) {
  return IniFile(configPath).WriteInt(kS, "StartPoint", startPoint);
}

}  // namespace kestrel
