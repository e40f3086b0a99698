// kestrel-spu info, run as a user runs it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "spulog/log_format.h"
#include "support/log_files.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using nlohmann::json;

test::ProgramResult Info(std::vector<std::string> logs, bool asJson = true) {
  if (asJson) logs.insert(logs.begin(), "--json");
  logs.insert(logs.begin(), "info");
  return test::RunKestrelSpu(std::move(logs));
}

TEST(InfoCommand, DescribesEachLogInArgumentOrder) {
  test::TempFolder folder;
  SpuLogWriter withTitles = test::NewFormatLog(3000000);
  withTitles.SetHeader("Caf\xE9 Game", "Theme", "(c) 1999");
  const std::string plain = test::WriteLog(folder, "song.spu", withTitles);
  const std::string packed = test::WriteLog(folder, "old.spu.gz", test::OneRecordOldLog(441000), true);

  const auto result = Info({plain, packed});
  ASSERT_EQ(result.exitCode, 0);
  const json logs = json::parse(result.out);
  ASSERT_EQ(logs.size(), 2u);

  EXPECT_EQ(logs[0], (json{{"path", plain}, {"opened", true}, {"loadable", true}, {"format", "new"},
                           {"totalLength", 3000000}, {"lengthText", "01:08.0"}, {"timeText", "01 : 08"},
                           {"header", {{"present", true}, {"signature", "SPU"},
                                       {"gameTitle", "Caf\xC3\xA9 Game"},  // Windows-1252 shown as UTF-8
                                       {"musicTitle", "Theme"}, {"copyright", "(c) 1999"}}},
                           {"sizeText", "512 KB, UnCompressed"}}))
      << logs[0].dump(2);
  const json& b = logs[1];
  EXPECT_EQ(b["format"], "old");
  EXPECT_EQ(b["totalLength"], 441000);
  EXPECT_EQ(b["lengthText"], "00:10.0");
  EXPECT_EQ(b["header"]["present"], false);
  EXPECT_EQ(b["sizeText"].get<std::string>().substr(b["sizeText"].get<std::string>().find(',')),
            ", Compressed");
}

TEST(InfoCommand, NamesThatAreNotUtf8ArePrintedByTheTitleRuleAlsoInTheTable) {
  test::TempFolder folder;
  const std::string path = test::WriteLog(folder, "caf\xE9.spu", test::NewFormatLog(441000));
  const auto result = Info({path});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(json::parse(result.out)[0]["path"], folder / "caf\xC3\xA9.spu");
  // The table without --json shows the same.
  const std::string old = test::WriteLog(folder, "a.spu", test::OneRecordOldLog(2646000));
  const auto table = Info({path, old}, false);
  EXPECT_EQ(table.exitCode, 0);
  for (const char* text : {"caf\xC3\xA9.spu", "01:00.0", "old"}) EXPECT_NE(table.out.find(text), std::string::npos) << text;
}

TEST(InfoCommand, BadFilesAreDescribedNotFatal) {
  test::TempFolder folder;
  const std::string empty = folder.Write("empty.spu", std::vector<std::uint8_t>{});
  const std::string text = folder.Write("notes.spu", "this is not a log");
  // Length 0: readable, but the player rejects it.
  const std::string rejected = test::WriteLog(folder, "zero.spu", test::NewFormatLog(0));
  ::mkdir((folder / "dir.spu").c_str(), 0755);
  ::mkfifo((folder / "fifo.spu").c_str(), 0644);
  // An old-format log whose count claims more records than it holds: no length, but a format.
  std::vector<std::uint8_t> overclaiming = test::ReadFileBytes(test::WriteLog(folder, "old.spu", test::OneRecordOldLog(441)));
  overclaiming[kDiscriminatorOffset + 4] = 5;
  const std::string overclaimed = folder.Write("old.spu", overclaiming);

  auto result = Info({empty, text, rejected, overclaimed});
  EXPECT_EQ(result.exitCode, 0);  // all opened
  json logs = json::parse(result.out);
  EXPECT_EQ(logs[0]["loadable"], false);
  EXPECT_EQ(logs[0]["format"], nullptr);
  EXPECT_EQ(logs[0]["lengthText"], "--:--.-");
  EXPECT_EQ(logs[1]["loadable"], false);
  EXPECT_EQ(logs[2]["loadable"], false);
  EXPECT_EQ(logs[2]["format"], "new");
  EXPECT_EQ(logs[2]["lengthText"], "00:00.0");
  EXPECT_EQ(logs[3]["format"], "old");
  EXPECT_EQ(logs[3]["totalLength"], nullptr);

  result = Info({folder / "missing.spu", folder / "dir.spu", folder / "fifo.spu"});
  EXPECT_EQ(result.exitCode, 1);
  logs = json::parse(result.out);
  for (const json& log : logs) {
    EXPECT_EQ(log["opened"], false);
    EXPECT_EQ(log["header"]["present"], false);
  }
}

}  // namespace
}  // namespace kestrel
