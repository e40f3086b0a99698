// kestrel-spu plugins, run as a user runs it.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "fakes/test_plugins.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

test::ProgramResult Plugins(std::vector<std::string> args, std::string workingFolder = {}) {
  args.insert(args.begin(), {"plugins", "--json"});
  test::ProgramRun run;
  run.workingFolder = std::move(workingFolder);
  return test::RunKestrelSpu(std::move(args), run);
}

TEST(PluginsCommand, ListsThePluginRows) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder / "p");
  std::filesystem::copy_file(test::kRecordingPlugin, folder / "p/rec.so");
  std::filesystem::copy_file(test::kNotAPlugin, folder / "p/other.so");
  folder.Write("p/broken.so", "not a library");

  const auto result = Plugins({folder / "p"});
  ASSERT_EQ(result.exitCode, 0);
  const auto rows = nlohmann::json::parse(result.out);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]["info"], "Recording SPU 2.3");
  EXPECT_EQ(rows[0]["support"], "Play & Decode");
  EXPECT_EQ(rows[0]["fileName"], "rec.so");
}

TEST(PluginsCommand, MissingFolderIsAnEmptyList) {
  test::TempFolder folder;
  const auto result = Plugins({}, folder.Path());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::array());
}

}  // namespace
}  // namespace kestrel
