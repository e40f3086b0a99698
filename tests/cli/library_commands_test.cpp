// kestrel-spu scan, titles and playlist, run as a separate process.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "playlist/playlist_file.h"
#include "support/log_files.h"
#include "support/run_program.h"

namespace kestrel {
namespace {

using test::TempFolder;
using test::WriteTestLog;

test::ProgramResult Spu(const std::vector<std::string>& args) { return test::RunKestrelSpu(args); }

nlohmann::json Json(const test::ProgramResult& result) { return nlohmann::json::parse(result.out); }

TEST(LibraryCommandsTest, ScanListsTheFolderAsTheFileListHoldsIt) {
  TempFolder folder;
  WriteTestLog(folder, "b.spu", {.samples = 3000000});
  WriteTestLog(folder, "a.spu.gz", {.samples = 441000, .gzip = true});
  folder.Write("broken.spu", "x");
  const test::ProgramResult run = Spu({"scan", folder.Path(), "--json"});
  ASSERT_EQ(run.exitCode, 0);
  const nlohmann::json out = Json(run);
  EXPECT_EQ(out["count"], 3);
  ASSERT_EQ(out["entries"].size(), 3u);
  EXPECT_EQ(out["entries"][0], (nlohmann::json{{"name", "a.spu"}, {"time", "00:10.0"}, {"path", folder / "a.spu.gz"}}));
  EXPECT_EQ(out["entries"][1]["name"], "b");
  EXPECT_EQ(out["entries"][2]["time"], "--:--.-");

  // A folder that is not there, or is a file, is a typing error, not an empty list.
  const test::ProgramResult missing = Spu({"scan", folder / "missing", "--json"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, folder / "missing" + ": No such file or directory\n");
  EXPECT_EQ(Spu({"scan", folder / "b.spu"}).err, folder / "b.spu" + ": not a folder\n");
}

TEST(LibraryCommandsTest, TitlesShowWriteAndRefuseCompressedLogs) {
  TempFolder folder;
  const std::string log = WriteTestLog(folder, "t.spu", {.withHeader = true, .gameTitle = "Old Game"});
  test::ProgramResult run = Spu({"titles", log, "--music", "New Music", "--json"});
  ASSERT_EQ(run.exitCode, 0);
  nlohmann::json out = Json(run);
  EXPECT_EQ(out["present"], true);
  EXPECT_EQ(out["signature"], "SPU");
  EXPECT_EQ(out["gameTitle"], "Old Game");  // not given: kept
  EXPECT_EQ(out["musicTitle"], "New Music");
  EXPECT_EQ(out["compressed"], false);

  run = Spu({"titles", log, "--copyright", std::string(40, 'c')});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("Copyright is cut to 31 bytes"), std::string::npos) << run.err;
  EXPECT_EQ(Json(Spu({"titles", log, "--game", "\xE3\x81\x82", "--json"}))["gameTitle"], "\xE3\x81\x82");

  const std::string packed = WriteTestLog(folder, "p.gz", {.gzip = true});
  run = Spu({"titles", packed, "--game", "X"});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_EQ(run.err.rfind("Warning : File is Compressed!", 0), 0u) << run.err;
  // gzip data under a plain log's name keeps its gzip header.
  const std::string disguised = WriteTestLog(folder, "p.spu", {.gzip = true});
  const auto before = test::ReadFileBytes(disguised);
  run = Spu({"titles", disguised, "--game", "X"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("it holds gzip-compressed data"), std::string::npos) << run.err;
  EXPECT_EQ(test::ReadFileBytes(disguised), before);
  EXPECT_EQ(Json(Spu({"titles", packed, "--json"}))["present"], false);
  EXPECT_EQ(Spu({"titles", folder / "missing.spu"}).exitCode, 1);
}

TEST(LibraryCommandsTest, PlaylistSaveShowAndImport) {
  TempFolder folder;
  const std::string a = WriteTestLog(folder, "a.spu");
  const std::string b = WriteTestLog(folder, "b.spu", {.samples = 2646000});
  const std::string klt = folder / "mix.klt";
  ASSERT_EQ(Spu({"playlist", "save", klt, "--title", "Mix", b, folder / "gone.spu", a}).exitCode, 0);

  const nlohmann::json shown = Json(Spu({"playlist", "show", klt, "--json"}));
  EXPECT_EQ(shown["title"], "Mix");
  EXPECT_EQ(shown["registeredNumber"], 3);
  EXPECT_EQ(shown["paths"], (nlohmann::json{b, folder / "gone.spu", a}));

  const nlohmann::json imported = Json(Spu({"playlist", "import", klt, "--json"}));
  EXPECT_EQ(imported["count"], 2);
  EXPECT_EQ(imported["entries"][0]["name"], "b");
  EXPECT_EQ(imported["entries"][0]["time"], "01:00.0");
  EXPECT_EQ(imported["entries"][1]["name"], "a");

  ASSERT_EQ(Spu({"playlist", "save", klt, "--title", "Mix", a}).exitCode, 0);
  EXPECT_EQ(ReadPlaylist(klt).paths, std::vector<std::string>{a});
}

}  // namespace
}  // namespace kestrel
