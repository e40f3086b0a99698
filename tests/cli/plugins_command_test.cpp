// kestrel-spu plugins, run as a user runs it.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>
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
  ::mkfifo((folder / "p/fifo.so").c_str(), 0644);  // would block dlopen for ever
  std::filesystem::copy_file(test::kRecordingPlugin, folder / "p/rec\xFF.so");

  const auto result = Plugins({folder / "p"});
  ASSERT_EQ(result.exitCode, 0);
  const auto rows = nlohmann::json::parse(result.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["info"], "Recording SPU 2.3");
  EXPECT_EQ(rows[0]["support"], "Play & Decode");
  std::set<std::string> names{rows[0]["fileName"], rows[1]["fileName"]};
  // A name that is not UTF-8 is shown by the title rule, not refused.
  EXPECT_EQ(names, (std::set<std::string>{"rec.so", "rec\xC3\xBF.so"}));
}

TEST(PluginsCommand, MissingFolderOrFileIsRefused) {
  test::TempFolder folder;
  auto result = Plugins({}, folder.Path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "./plugins: No such file or directory\n");
  result = Plugins({folder.Write("plugins", "a file")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, folder / "plugins" + ": not a folder\n");
}

}  // namespace
}  // namespace kestrel
