// kestrel-spu scan, titles and playlist, run as a separate process.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "playlist/playlist_file.h"
#include "support/test_logs.h"

namespace kestrel {
namespace {

using test::TempFolder;
using test::WriteTestLog;

struct Output {
  int status = -1;
  std::string out;
  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

Output Spu(const std::vector<std::string>& args) {
  std::string command = Quote(KESTREL_SPU_PATH);
  for (const auto& arg : args) command += " " + Quote(arg);
  command += " 2>/dev/null";
  Output run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(LibraryCommandsTest, ScanListsTheFolderAsTheFileListHoldsIt) {
  TempFolder folder;
  WriteTestLog(folder, "b.spu", {.samples = 3000000});
  WriteTestLog(folder, "a.spu.gz", {.samples = 441000, .gzip = true});
  folder.Write("broken.spu", "x");
  const Output run = Spu({"scan", folder.Path(), "--json"});
  ASSERT_EQ(run.status, 0);
  const nlohmann::json out = run.Json();
  EXPECT_EQ(out["count"], 3);
  ASSERT_EQ(out["entries"].size(), 3u);
  EXPECT_EQ(out["entries"][0], (nlohmann::json{{"name", "a.spu"}, {"time", "00:10.0"}, {"path", folder / "a.spu.gz"}}));
  EXPECT_EQ(out["entries"][1]["name"], "b");
  EXPECT_EQ(out["entries"][2]["time"], "--:--.-");

  EXPECT_EQ(Spu({"scan", folder / "missing", "--json"}).Json()["count"], 0);
}

TEST(LibraryCommandsTest, TitlesShowWriteAndRefuseCompressedLogs) {
  TempFolder folder;
  const std::string log = WriteTestLog(folder, "t.spu", {.withHeader = true, .gameTitle = "Old Game"});
  Output run = Spu({"titles", log, "--music", "New Music", "--json"});
  ASSERT_EQ(run.status, 0);
  nlohmann::json out = run.Json();
  EXPECT_EQ(out["present"], true);
  EXPECT_EQ(out["signature"], "SPU");
  EXPECT_EQ(out["gameTitle"], "Old Game");  // not given: kept
  EXPECT_EQ(out["musicTitle"], "New Music");
  EXPECT_EQ(out["compressed"], false);

  const std::string packed = WriteTestLog(folder, "p.gz", {.gzip = true});
  run = Spu({"titles", packed, "--game", "X"});
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(Spu({"titles", packed, "--json"}).Json()["present"], false);
}

TEST(LibraryCommandsTest, PlaylistSaveShowAndImport) {
  TempFolder folder;
  const std::string a = WriteTestLog(folder, "a.spu");
  const std::string b = WriteTestLog(folder, "b.spu", {.samples = 2646000});
  const std::string klt = folder / "mix.klt";
  ASSERT_EQ(Spu({"playlist", "save", klt, "--title", "Mix", b, folder / "gone.spu", a}).status, 0);

  const nlohmann::json shown = Spu({"playlist", "show", klt, "--json"}).Json();
  EXPECT_EQ(shown["title"], "Mix");
  EXPECT_EQ(shown["registeredNumber"], 3);
  EXPECT_EQ(shown["paths"], (nlohmann::json{b, folder / "gone.spu", a}));

  const nlohmann::json imported = Spu({"playlist", "import", klt, "--json"}).Json();
  EXPECT_EQ(imported["count"], 2);
  EXPECT_EQ(imported["entries"][0]["name"], "b");
  EXPECT_EQ(imported["entries"][0]["time"], "01:00.0");
  EXPECT_EQ(imported["entries"][1]["name"], "a");

  ASSERT_EQ(Spu({"playlist", "save", klt, "--title", "Mix", a}).status, 0);
  EXPECT_EQ(ReadPlaylist(klt).paths, std::vector<std::string>{a});
}

}  // namespace
}  // namespace kestrel
