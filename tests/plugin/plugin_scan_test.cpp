#include "plugin/plugin_scan.h"
#include "plugin/plugin_page_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <future>
#include <thread>

#include "fakes/test_plugins.h"
#include "plugin/bound_plugin.h"
#include "support/answer_scope.h"
#include "support/recording_plugin_client.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

void CopyPlugin(const test::TempFolder& folder, const char* from, const std::string& name) {
  std::filesystem::create_directories(folder / "plugins");
  std::filesystem::copy_file(from, folder / ("plugins/" + name));
}

TEST(ScanPlugins, ListsSpuPluginsAndPassesOverEverythingElseOrAMissingFolder) {
  test::TempFolder folder;
  EXPECT_TRUE(ScanPlugins(folder / "plugins").empty());  // missing
  std::filesystem::create_directories(folder / "plugins");
  EXPECT_TRUE(ScanPlugins(folder / "plugins").empty());  // empty
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
  EXPECT_EQ(FormatPluginVersion(0xFF0A), "255.10");
  EXPECT_STREQ(PluginSupportText(false, false), "-");
}

int RowOf(const PluginPageState& page, const std::string& fileName) {
  for (std::size_t i = 0; i < page.Rows().size(); ++i)
    if (page.Rows()[i].fileName == fileName) return static_cast<int>(i);
  return -1;
}

// A link loads as the same instance as the recording plugin the test reads back.
TEST(PluginPage, ClicksWhileIdleAndWhilePlaying) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder / "plugins");
  std::filesystem::create_symlink(test::kRecordingPlugin, folder / "plugins/full.so");
  std::filesystem::create_symlink(test::kPluginWithoutRender, folder / "plugins/playonly.so");
  const test::RecordingPluginClient record(test::kRecordingPlugin);
  record.Reset();
  test::AnswerScope answers(MessageAnswer::Ok);

  PluginPageState page(folder.Path());
  page.ScanPlugins();
  ASSERT_EQ(page.Rows().size(), 2u);
  page.ApplyStoredSelection(2);  // beyond the last row
  EXPECT_EQ(page.SelectedSPUPlugin(), -1);
  EXPECT_EQ(page.path, "");
  page.ConfigurePlugin();  // no selection: nothing

  page.SortRows(2, SortDirection::Descending);  // by file name
  ASSERT_EQ(page.Rows()[0].fileName, "playonly.so");
  page.ApplyStoredSelection(1);
  EXPECT_EQ(page.name, "Recording SPU");
  EXPECT_EQ(page.version, "2.3");
  EXPECT_EQ(page.info, "Recording SPU 2.3");
  EXPECT_EQ(page.path, folder / "plugins/full.so");
  page.SortRows(2, SortDirection::Ascending);
  EXPECT_EQ(page.SelectedRow(), 0);  // the selection stays with its plugin

  // While playing a click moves the selection only; the player's plugin stays in "Path :".
  page.SetPlaybackRunning(true);
  EXPECT_FALSE(page.controls.Enabled(plugin_page::kConfigure));
  const ContextMenu menu = page.Menu();
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_FALSE(menu[0].enabled);
  EXPECT_TRUE(menu[1].enabled && menu[2].enabled);
  page.ClickRow(RowOf(page, "playonly.so"));
  EXPECT_EQ(page.path, folder / "plugins/full.so");
  page.DoubleClickRow(RowOf(page, "full.so"));  // no configuration dialog while playing
  EXPECT_TRUE(page.Command(plugin_page::kMenuConfigure));  // greyed: passed over
  EXPECT_EQ(page.SelectedRow(), RowOf(page, "full.so"));

  // The player holds the plugin: About says so at once instead of waiting for the playback to end.
  std::promise<void> bound, release;
  std::thread player([&] {
    BoundPlugin plugin;
    plugin.Bind(test::kRecordingPlugin);
    bound.set_value();
    release.get_future().wait();
  });
  bound.get_future().wait();
  page.AboutPlugin();
  release.set_value();
  player.join();
  EXPECT_THAT(answers.shown, ElementsAre("The plugin is in use by the player or the decoder; try again when it has stopped."));

  EXPECT_TRUE(page.Command(plugin_page::kAbout));
  EXPECT_TRUE(page.Command(plugin_page::kMenuTest));
  EXPECT_FALSE(page.Command(plugin_page::kPath));
  page.SetPlaybackRunning(false);
  page.DoubleClickRow(RowOf(page, "full.so"));
  EXPECT_THAT(record.CallLines(), ElementsAre("SPUabout", "SPUtest", "SPUconfigure"));
  EXPECT_TRUE(page.controls.Enabled(plugin_page::kConfigure));
}

}  // namespace
}  // namespace kestrel
