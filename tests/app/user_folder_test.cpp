#include "app/user_folder.h"

#include <gtest/gtest.h>

#include <map>

#include "app/app_settings.h"
#include "platform/ini_file.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class UserFolderTest : public ::testing::Test {
 protected:
  UserFolderTest() {
    install.pluginFolder = fs::path(temp.Write("install/plugins/libkestrel_spu.so", "plugin")).parent_path();
    install.defaultImage = temp.Write("install/image/default.bmp", "BM");
    install.demoFolder = fs::path(temp.Write("install/demo/a.spu", "log")).parent_path();
  }

  // Every path under the user folder with what it holds: a link's target or a file's bytes.
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
      const std::string name = e.path().lexically_relative(folder).string();
      if (e.is_symlink()) {
        contents[name] = "-> " + fs::read_symlink(e.path()).string();
      } else if (e.is_regular_file()) {
        const auto bytes = test::ReadFileBytes(e.path().string());
        contents[name] = std::string(bytes.begin(), bytes.end());
      } else {
        contents[name] = "folder";
      }
    }
    return contents;
  }

  TempFolder temp;
  InstalledFiles install;
  fs::path folder = fs::path(temp.Path()) / "data/kestrel-spu-player";
};

TEST_F(UserFolderTest, AFirstStartPopulatesTheFolderAndLaterStartsKeepWhatTheUserHas) {
  UserFolderResult first = PrepareUserFolder(folder, install);
  EXPECT_TRUE(first.usable);
  EXPECT_TRUE(first.warnings.empty()) << first.warnings.front();
  EXPECT_EQ(fs::read_symlink(folder / "plugins/libkestrel_spu.so"), install.pluginFolder / "libkestrel_spu.so");
  EXPECT_EQ(fs::read_symlink(folder / "image/default.bmp"), install.defaultImage);
  const IniFile config(ConfigPath(folder.string()));
  EXPECT_EQ(config.ReadString(kSettingsSection, "SPUFileFolder"), install.demoFolder.string());
  EXPECT_EQ(config.ReadInt(kSettingsSection, "SelectedSPUPlugin", -1), 0);

  const auto populated = Contents();
  EXPECT_TRUE(PrepareUserFolder(folder, install).warnings.empty());
  EXPECT_EQ(Contents(), populated);

  // The user's own settings, plugins and background; and an install that gained a plugin.
  temp.Write("data/kestrel-spu-player/config.ini", "[Kestrel SPU Player]\nSPUFileFolder=/music\n");
  temp.Write("data/kestrel-spu-player/plugins/mine.so", "theirs");
  fs::remove(folder / "image/default.bmp");
  temp.Write("data/kestrel-spu-player/image/default.bmp", "their picture");
  temp.Write("install/plugins/libextra.so", "extra");
  auto expected = Contents();
  expected["plugins/libextra.so"] = "-> " + (install.pluginFolder / "libextra.so").string();
  EXPECT_TRUE(PrepareUserFolder(folder, install).warnings.empty());
  EXPECT_EQ(Contents(), expected);
}

TEST_F(UserFolderTest, ALinkToAnInstallThatHasGoneIsRepairedAndAFolderThatCannotBeMadeIsReported) {
  fs::create_directories(folder / "plugins");
  fs::create_symlink(temp / "old-prefix/libkestrel_spu.so", folder / "plugins/libkestrel_spu.so");
  EXPECT_TRUE(PrepareUserFolder(folder, install).usable);
  EXPECT_EQ(fs::read_symlink(folder / "plugins/libkestrel_spu.so"), install.pluginFolder / "libkestrel_spu.so");

  // A data folder that is a file: nothing can be made below it.
  temp.Write("file", "x");
  const fs::path blocked = temp / "file/kestrel-spu-player";
  const UserFolderResult result = PrepareUserFolder(blocked, install);
  EXPECT_FALSE(result.usable);
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0], "* Warning : The per-user folder " + blocked.string() +
                                    " can't be created: Not a directory. The current folder is used.\n");
  EXPECT_FALSE(fs::exists(blocked));
}

TEST(UserFolderPathTest, FollowsTheXdgBaseDirectoryRules) {
  EXPECT_EQ(UserFolderPath("/data", "/home/u"), "/data/kestrel-spu-player");
  EXPECT_EQ(UserFolderPath(nullptr, "/home/u"), "/home/u/.local/share/kestrel-spu-player");
  EXPECT_EQ(UserFolderPath("", "/home/u"), "/home/u/.local/share/kestrel-spu-player");
  EXPECT_EQ(UserFolderPath("relative/data", "/home/u"), "/home/u/.local/share/kestrel-spu-player");
  EXPECT_EQ(UserFolderPath(nullptr, "relative"), "");
  EXPECT_EQ(UserFolderPath(nullptr, nullptr), "");
}

}  // namespace
}  // namespace kestrel
