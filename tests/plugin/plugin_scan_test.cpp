#include "plugin/plugin_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fakes/test_plugins.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using ::testing::UnorderedElementsAre;

void CopyPlugin(const test::TempFolder& folder, const char* from, const std::string& name) {
  std::filesystem::create_directories(folder / "plugins");
  std::filesystem::copy_file(from, folder / ("plugins/" + name));
}

// The scan below shows the other three support texts and the info text.
TEST(PluginRowTexts, VersionAndNoSupport) {
  EXPECT_EQ(FormatPluginVersion(0xFF0A), "255.10");
  EXPECT_STREQ(PluginSupportText(false, false), "-");
}

TEST(ScanPlugins, ListsSpuPluginsAndPassesOverEverythingElse) {
  test::TempFolder folder;
  CopyPlugin(folder, test::kRecordingPlugin, "full.so");
  CopyPlugin(folder, test::kPluginWithoutRender, "PLAYONLY.SO");  // matched without regard to case
  CopyPlugin(folder, test::kPluginWithoutFreeze, "decodeonly.so");
  CopyPlugin(folder, test::kPluginNotSpu, "gpu.so");
  CopyPlugin(folder, test::kNotAPlugin, "other.so");
  CopyPlugin(folder, test::kPluginMissingDependency, "broken.so");
  CopyPlugin(folder, test::kRecordingPlugin, "notes.txt");
  folder.Write("plugins/text.so", "garbage");
  ::mkdir((folder / "plugins/folder.so").c_str(), 0755);

  const auto rows = ScanPlugins(PluginFolder(folder.Path()));
  std::vector<std::string> found;
  for (const auto& row : rows) {
    found.push_back(row.fileName + " | " + row.support + " | " + row.info);
  }
  EXPECT_THAT(found, UnorderedElementsAre("full.so | Play & Decode | Recording SPU 2.3",
                                          "PLAYONLY.SO | Play Only | Recording SPU 2.3",
                                          "decodeonly.so | Decode Only | Recording SPU 2.3"));
  // Item numbers grow with every row and stay distinct.
  EXPECT_NE(rows[0].itemNumber, rows[1].itemNumber);
}

TEST(ScanPlugins, MissingOrEmptyFolderGivesNoRows) {
  test::TempFolder folder;
  EXPECT_TRUE(ScanPlugins(folder / "plugins").empty());
  std::filesystem::create_directories(folder / "plugins");
  EXPECT_TRUE(ScanPlugins(folder / "plugins").empty());
}

}  // namespace
}  // namespace kestrel
