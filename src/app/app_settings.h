#pragma once
// The settings of config.ini in memory, as the pages show them, and the runtime values
// derived from them. Read once at start-up (LoadSettings), written once at exit
// (SaveSettings); a few keys are read and written on their own when they change.

#include <array>
#include <string>

#include "platform/file_replace.h"

namespace kestrel {

inline constexpr const char* kSettingsSection = "Kestrel SPU Player";

// "<startup folder>/config.ini".
std::string ConfigPath(const std::string& startupFolder);

// Field names are the keys' names. Sliders hold their limited positions and lists their
// selected row (-1 when none), so that what LoadSettings leaves is what SaveSettings writes.
struct AppSettings {
  int PlayBackPriority = 4;  // slider 1..7
  int DecodePriority = 4;    // slider 1..7
  bool EnableRepeatPlay = false;
  bool EnableChanePlay = false;
  bool EnableSinglePlay = false;
  bool EnableRepeatChanePlay = false;
  bool SpecifyDecodeTime = false;
  std::string SPUFileFolder;
  int PlayBackTempo = -1;  // tempo row
  int AnalyzerType = -1;   // row of the draw-type list
  int AnalyzerColor = -1;  // row of the colour-scheme list
  // These four check boxes are also the runtime switches: on only for a stored 1, then
  // toggled with their boxes.
  bool EnableFadeOut = false;
  bool EnableFadeIn = false;
  bool EnableDynamicOrchestra = false;
  bool EnableCompulsivePause = false;
  bool SpecifyListBackImage = false;
  bool EnableGlidLine = false;
  int AnalyzerRefreshRate = 50;  // slider 20..100, milliseconds
  int ListTextColorR = 255;      // sliders 0..255
  int ListTextColorG = 255;
  int ListTextColorB = 255;
  std::string ListBackImagePath;
  int SelectedSPUPlugin = -1;  // row of the sorted plugin list
  bool EnableConsoleWindow = false;

  // Runtime values.
  bool limiter = true;  // "Enable Limitter": on at every start, never stored
  double tempoFactor = 1.0;
  int analyzerType = 0;
  int colorSchemeBitmap = 150;

  // Texts the pages show next to their controls.
  std::string playBackPriorityLabel;  // empty until the slider moves when the value was out of range
  std::string decodePriorityLabel;
  std::string refreshRateLabel = "Refresh / 50 (ms)";
  std::array<std::string, 3> textColorLabels = {"255", "255", "255"};
  std::string tempoStatusText = "Tempo :";

  // What start-up met: why config.ini could not be read (the defaults are then used) or
  // written; empty when it could.
  std::string configReadFailure;
  std::string configWriteFailure;
};

// Reads config.ini in the start-up order and returns what the pages then show.
// `pluginRows` is the number of rows of the plugin list, filled before the selection is
// applied. Writes EnableConsoleWindow back at once, which creates a missing file.
AppSettings LoadSettings(const std::string& configPath, int pluginRows);

// Writes the 23 keys of the exit save, in order, as one replacement of the file.
// A failure says why (the file is then unchanged).
WriteResult SaveSettings(const std::string& configPath, const AppSettings& settings);

// The keys read and written on their own.
bool ReadEnableConsoleWindow(const std::string& configPath);  // on only for a stored 1
WriteResult WriteEnableConsoleWindow(const std::string& configPath, bool enabled);
int ReadStartPoint(const std::string& configPath);
bool WriteStartPoint(const std::string& configPath, int startPoint);

// Label texts shared with the option pages.
std::string PriorityLabel(int position);  // empty outside 1..7
std::string RefreshRateLabel(int milliseconds);

}  // namespace kestrel
