#include "app/user_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "app/app_settings.h"

namespace fs = std::filesystem;

namespace kestrel {

namespace {

constexpr const char* kFolderName = "kestrel-spu-player";

std::string Warning(const std::string& text) { return "* Warning : " + text + "\n"; }

// A path as the user would type it: absolute, without "bin/.." detours.
fs::path Tidy(const fs::path& path) {
  std::error_code ec;
  fs::path tidy = fs::weakly_canonical(fs::absolute(path), ec);
  return ec ? path.lexically_normal() : tidy;
}

InstalledFiles FilesUnder(const fs::path& plugins, const fs::path& data) {
  InstalledFiles files;
  files.pluginFolder = Tidy(plugins);
  std::error_code ec;
  if (fs::is_regular_file(data / "image/default.bmp", ec)) files.defaultImage = Tidy(data / "image/default.bmp");
  if (fs::is_directory(data / "demo", ec)) files.demoFolder = Tidy(data / "demo");
  return files;
}

// A link at `link` to `target`, unless something is there already. A link that leads
// nowhere is ours from an install that has gone, and is pointed here instead.
void EnsureLink(const fs::path& link, const fs::path& target, std::vector<std::string>& warnings) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(link, ec);
  if (fs::exists(status)) {
    if (!fs::is_symlink(status) || fs::exists(link, ec)) return;
    if (!fs::remove(link, ec)) {
      warnings.push_back(Warning(link.string() + " leads nowhere and can't be replaced: " + ec.message()));
      return;
    }
  }
  fs::create_symlink(target, link, ec);
  if (ec) warnings.push_back(Warning(link.string() + " can't be made: " + ec.message()));
}

bool EnsureFolder(const fs::path& folder, std::vector<std::string>& warnings) {
  std::error_code ec;
  fs::create_directory(folder, ec);
  if (fs::is_directory(folder)) return true;
  warnings.push_back(Warning(folder.string() + " can't be made: " +
                             (ec ? ec.message() : std::string("something else is there"))));
  return false;
}

// Written only where nothing is: "x" makes the open fail on any file or link already there,
// so a config.ini the user has, or one made by a second start meanwhile, is never replaced.
void WriteFirstConfig(const fs::path& path, const InstalledFiles& files, std::vector<std::string>& warnings) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(path, ec))) return;
  std::string text = std::string("[") + kSettingsSection + "]\n";
  if (!files.demoFolder.empty()) text += "SPUFileFolder=" + files.demoFolder.string() + "\n";
  text += "SelectedSPUPlugin=0\n";
  std::FILE* file = std::fopen(path.c_str(), "wx");
  if (!file) {
    if (errno != EEXIST) warnings.push_back(Warning(path.string() + " can't be made: " + std::strerror(errno)));
    return;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) {
    warnings.push_back(Warning(path.string() + " can't be written: " + std::strerror(errno)));
  }
}

}  // namespace

InstalledFiles FindInstalledFiles(const fs::path& executable) {
  const fs::path bin = executable.parent_path();
  std::error_code ec;
  if (fs::is_directory(bin / KESTREL_PLUGINS_FROM_BIN, ec)) {
    return FilesUnder(bin / KESTREL_PLUGINS_FROM_BIN, bin / KESTREL_DATA_FROM_BIN);
  }
  if (fs::is_directory(bin / "runtime/plugins", ec)) return FilesUnder(bin / "runtime/plugins", bin / "runtime");
  return {};
}

fs::path UserFolderPath(const char* xdgDataHome, const char* home) {
  // Relative values are to be ignored: they would name a different folder from each start.
  if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / kFolderName;
  if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local/share" / kFolderName;
  return {};
}

UserFolderResult PrepareUserFolder(const fs::path& folder, const InstalledFiles& files) {
  UserFolderResult result;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder)) {
    result.warnings.push_back(Warning("The per-user folder " + folder.string() + " can't be created: " +
                                      (ec ? ec.message() : std::string("something else is there")) +
                                      ". The current folder is used."));
    return result;
  }
  result.usable = true;

  if (!files.pluginFolder.empty() && EnsureFolder(folder / "plugins", result.warnings)) {
    for (fs::directory_iterator it(files.pluginFolder, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->is_regular_file(ec)) EnsureLink(folder / "plugins" / it->path().filename(), it->path(), result.warnings);
    }
  }
  if (!files.defaultImage.empty() && EnsureFolder(folder / "image", result.warnings)) {
    EnsureLink(folder / "image/default.bmp", files.defaultImage, result.warnings);
  }
  WriteFirstConfig(ConfigPath(folder.string()), files, result.warnings);
  return result;
}

std::vector<std::string> EnterUserFolder(const fs::path& executable) {
  const fs::path folder = UserFolderPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (folder.empty()) {
    return {Warning("There is no per-user folder: neither XDG_DATA_HOME nor HOME is an absolute path. "
                    "The current folder is used.")};
  }
  UserFolderResult result = PrepareUserFolder(folder, FindInstalledFiles(executable));
  if (result.usable) {
    std::error_code ec;
    fs::current_path(folder, ec);
    if (ec) {
      result.warnings.push_back(Warning("The per-user folder " + folder.string() + " can't be entered: " +
                                        ec.message() + ". The current folder is used."));
    }
  }
  return result.warnings;
}

}  // namespace kestrel
