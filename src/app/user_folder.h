#pragma once
// The per-user folder of the desktop program. Started from the desktop's launcher, the
// current folder is the user's home, where config.ini, plugins/, list/, wav/ and image/ do not
// belong; the launcher asks for $XDG_DATA_HOME/kestrel-spu-player instead, made ready on
// first start with the installed plugins, the default list background and a config.ini
// that lists the demo logs.

#include <filesystem>
#include <string>
#include <vector>

namespace kestrel {

// What an installation gives a new user folder. A path left empty is not there.
struct InstalledFiles {
  std::filesystem::path pluginFolder;  // each of its files is linked into plugins/
  std::filesystem::path defaultImage;  // linked as image/default.bmp
  std::filesystem::path demoFolder;    // the first config.ini's SPUFileFolder
};

// The files beside the program at `executable`: the installed layout (bin/ beside lib/ and
// share/ under one prefix), else the build tree's runtime folder.
InstalledFiles FindInstalledFiles(const std::filesystem::path& executable);

// $XDG_DATA_HOME/kestrel-spu-player, or $HOME/.local/share/kestrel-spu-player when
// XDG_DATA_HOME is unset, empty or relative. Empty when there is no usable HOME either.
std::filesystem::path UserFolderPath(const char* xdgDataHome, const char* home);

struct UserFolderResult {
  bool usable = false;                // the folder exists and may become the current folder
  std::vector<std::string> warnings;  // console lines, each ending in a newline
};

// Creates `folder` when missing and adds what it lacks. Nothing the user has there is
// replaced, except a link into plugins/ or image/ that leads nowhere (an earlier install
// that was moved or removed), which is pointed at this installation.
UserFolderResult PrepareUserFolder(const std::filesystem::path& folder, const InstalledFiles& files);

// The launcher's start-up: prepares the user folder of this environment and makes it the
// current folder. On failure the current folder stays, and the warnings say where and why.
std::vector<std::string> EnterUserFolder(const std::filesystem::path& executable);

}  // namespace kestrel
