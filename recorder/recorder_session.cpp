#include "recorder/recorder_session.h"

#include <dlfcn.h>

#include <filesystem>

namespace kestrel::recorder {

std::string SettingsPathBesideLibrary() {
  Dl_info info{};
  const auto self = reinterpret_cast<void*>(&SettingsPathBesideLibrary);
  if (::dladdr(self, &info) == 0 || info.dli_fname == nullptr) return kSettingsFileName;
  std::error_code ec;
  const auto library = std::filesystem::absolute(info.dli_fname, ec);
  return (library.parent_path() / kSettingsFileName).string();
}

std::variant<RecorderSetup, std::string> LoadRecorderSetup() {
  auto settings = ReadRecorderSettings(SettingsPathBesideLibrary());
  if (auto* problem = std::get_if<std::string>(&settings)) return *problem;
  auto real = LoadRealPlugin(std::get<RecorderSettings>(settings).plugin);
  if (auto* problem = std::get_if<std::string>(&real)) return *problem;
  return RecorderSetup{std::move(std::get<RecorderSettings>(settings)), std::move(std::get<RealPlugin>(real))};
}

namespace {

RecordingTarget TargetOf(const RecorderSettings& s) {
  return {s.outputFolder, s.compress, s.gameTitle, s.musicTitle, s.copyright};
}

RealPluginProbe ProbeOf(const SpuPluginApi& api) {
  RealPluginProbe probe;
  if (const auto freeze = api.SPUfreeze) probe.readBackImage = [freeze] { return ReadBackImage(freeze); };
  if (const auto read = api.SPUreadRegister) probe.readRegister = [read](std::uint32_t address) { return read(address); };
  return probe;
}

}  // namespace

RecorderSession::RecorderSession(RecorderSetup s)
    : setup(std::move(s)),
      writer(TargetOf(setup.settings)),
      recorder(setup.settings, writer, ProbeOf(setup.real.api)) {}

}  // namespace kestrel::recorder
