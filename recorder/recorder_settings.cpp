#include "recorder/recorder_settings.h"

#include <unistd.h>

#include <cctype>
#include <charconv>
#include <filesystem>
#include <optional>

#include "platform/ini_file.h"

namespace kestrel::recorder {
namespace {

namespace fs = std::filesystem;

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::optional<std::uint32_t> WholeNumber(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Resolve(const fs::path& base, const std::string& path) {
  const fs::path p(path);
  return (p.is_absolute() ? p : base / p).lexically_normal().string();
}

std::string Quoted(std::string_view key, std::string_view value, std::string_view wanted) {
  return std::string(key) + " must be " + std::string(wanted) + ", not \"" + std::string(value) + "\"";
}

}  // namespace

std::variant<RecorderSettings, std::string> ReadRecorderSettings(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return "no settings file " + path;
  const IniDocument ini = IniFile(path).Read();
  const auto value = [&ini](std::string_view key) { return ini.Find(kSettingsSection, key); };
  const std::string where = path + ": ";

  RecorderSettings s;
  s.settingsPath = path;
  const fs::path base = fs::path(path).parent_path();
  const auto plugin = value("Plugin");
  if (!plugin || plugin->empty()) return where + "[Recorder] names no Plugin (the real SPU plugin to record)";
  s.plugin = Resolve(base, *plugin);
  s.outputFolder = Resolve(base, value("OutputFolder").value_or("."));
  if (!fs::is_directory(s.outputFolder, ec)) return where + "OutputFolder " + s.outputFolder + " is no folder";
  if (::access(s.outputFolder.c_str(), W_OK | X_OK) != 0) {
    return where + "OutputFolder " + s.outputFolder + " cannot be written";
  }
  if (const auto compress = value("Compress")) {
    if (*compress != "0" && *compress != "1") return where + Quoted("Compress", *compress, "0 or 1");
    s.compress = *compress == "1";
  }
  if (const auto start = value("Start")) {
    if (SameWord(*start, "Open")) {
      s.start = RecordStart::Open;
    } else if (!SameWord(*start, "KeyOn")) {
      return where + Quoted("Start", *start, "KeyOn or Open");
    }
  }
  if (const auto silence = value("StopAfterSilence")) {
    const auto seconds = WholeNumber(*silence);
    if (!seconds || *seconds > 86400) return where + Quoted("StopAfterSilence", *silence, "seconds from 0 to 86400");
    s.stopAfterSilence = *seconds;
  }
  s.gameTitle = value("GameTitle").value_or("");
  s.musicTitle = value("MusicTitle").value_or("");
  s.copyright = value("Copyright").value_or("");
  return s;
}

}  // namespace kestrel::recorder
