// kestrel-spu plugins, run as a user runs it.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "fakes/test_plugins.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::ShellQuote;

TEST(PluginsCommand, ListsThePluginRows) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder / "p");
  std::filesystem::copy_file(test::kRecordingPlugin, folder / "p/rec.so");
  std::filesystem::copy_file(test::kNotAPlugin, folder / "p/other.so");
  folder.Write("p/broken.so", "not a library");

  const auto result = test::RunProgram(ShellQuote(test::kKestrelSpuProgram) + " plugins --json " +
                                       ShellQuote(folder / "p"));
  ASSERT_EQ(result.exitStatus, 0);
  const auto rows = nlohmann::json::parse(result.output);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]["info"], "Recording SPU 2.3");
  EXPECT_EQ(rows[0]["support"], "Play & Decode");
  EXPECT_EQ(rows[0]["fileName"], "rec.so");
}

TEST(PluginsCommand, MissingFolderIsAnEmptyList) {
  test::TempFolder folder;
  const auto result = test::RunProgram("cd " + ShellQuote(folder.Path()) + " && " +
                                       ShellQuote(test::kKestrelSpuProgram) + " plugins --json");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(nlohmann::json::parse(result.output), nlohmann::json::array());
}

}  // namespace
}  // namespace kestrel
