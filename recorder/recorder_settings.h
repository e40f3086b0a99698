#pragma once
// The recorder's settings file, kestrel_recorder.ini beside the recorder library.

#include <cstdint>
#include <string>
#include <variant>

namespace kestrel::recorder {

inline constexpr const char* kSettingsFileName = "kestrel_recorder.ini";
inline constexpr const char* kSettingsSection = "Recorder";

enum class RecordStart { KeyOn, Open };

struct RecorderSettings {
  std::string settingsPath;
  std::string plugin;        // the real plugin; relative paths start at the settings file's folder
  std::string outputFolder;  // likewise; the settings file's folder when not given
  bool compress = false;
  RecordStart start = RecordStart::KeyOn;
  std::uint32_t stopAfterSilence = 0;  // seconds; 0 never stops on silence
  std::string gameTitle, musicTitle, copyright;
};

// The settings, or why they cannot be used (missing file, missing or malformed key).
std::variant<RecorderSettings, std::string> ReadRecorderSettings(const std::string& path);

}  // namespace kestrel::recorder
