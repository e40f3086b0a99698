#include "spulog/header_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/console_log.h"
#include "spulog/header_information.h"
#include "support/answer_scope.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using test::AnswerScope;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteTestLog;

TEST(HeaderEditorTest, SavingCreatesTheBlockAndChangesNothingElse) {
  TempFolder folder;
  const std::string path = WriteTestLog(folder, "plain.spu");
  const auto before = ReadFileBytes(path);
  ASSERT_EQ(OpenHeaderEditor("plain", path).gameTitle, "");

  AnswerScope yes(MessageAnswer::Yes);
  ASSERT_EQ(SaveHeaderInformation(path, std::string(70, 'g'), "Music", "(c) 1999"), HeaderSaveResult::Saved);
  EXPECT_EQ(yes.shown, std::vector<std::string>{"Save Header Information, OK?"});
  const auto after = ReadFileBytes(path);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_TRUE(std::equal(after.begin() + 164, after.end(), before.begin() + 164));
  EXPECT_EQ(after[0], 'S');
  EXPECT_EQ(after[3], 0);
  EXPECT_EQ(after[4 + 63], 0);  // the 64th byte of a field is always its NUL

  const HeaderEditorFields fields = OpenHeaderEditor("plain", path);
  EXPECT_EQ(fields.gameTitle, std::string(63, 'g'));
  EXPECT_EQ(fields.musicTitle, "Music");
  EXPECT_EQ(fields.copyright, "(c) 1999");
  EXPECT_FALSE(fields.compressed);
  EXPECT_EQ(fields.statusText, "");
}

TEST(HeaderEditorTest, TitlesAreCutAtACharacterBoundary) {
  TempFolder folder;
  const std::string path = WriteTestLog(folder, "utf8.spu");
  std::string copyright = std::string(30, 'c') + "\xC3\xA9";  // 32 bytes; the é would not fit in 31
  ASSERT_TRUE(WriteHeaderInformation(path, "", "", copyright));
  EXPECT_EQ(ReadHeaderInformation(path).copyright, std::string(30, 'c'));

  ASSERT_TRUE(WriteHeaderInformation(path, "", "", ""));
  const HeaderInformation empty = ReadHeaderInformation(path);
  EXPECT_TRUE(empty.present);
  EXPECT_EQ(empty.signature, "SPU");
  EXPECT_EQ(empty.gameTitle + empty.musicTitle + empty.copyright, "");
}

TEST(HeaderEditorTest, NoOrACompressedLogLeavesTheFileUntouched) {
  TempFolder folder;
  const std::string plain = WriteTestLog(folder, "a.spu");
  const std::string packed = WriteTestLog(folder, "b.gz", {.gzip = true, .withHeader = true, .gameTitle = "G"});
  const auto plainBefore = ReadFileBytes(plain);
  const auto packedBefore = ReadFileBytes(packed);
  {
    AnswerScope no(MessageAnswer::No);
    EXPECT_EQ(SaveHeaderInformation(plain, "x", "y", "z"), HeaderSaveResult::Declined);
  }
  AnswerScope yes(MessageAnswer::Yes);
  const HeaderEditorFields fields = OpenHeaderEditor("b", packed);
  EXPECT_TRUE(fields.compressed);
  EXPECT_EQ(fields.statusText, "Warning : File is Compressed!");
  EXPECT_EQ(fields.gameTitle, "G");
  EXPECT_EQ(SaveHeaderInformation(packed, "x", "y", "z"), HeaderSaveResult::Compressed);
  EXPECT_EQ(ReadFileBytes(plain), plainBefore);
  EXPECT_EQ(ReadFileBytes(packed), packedBefore);
}

TEST(HeaderEditorTest, AFileThatCannotBeWrittenIsReportedNotCreatedNorExtended) {
  TempFolder folder;
  std::string console;
  const auto attachment = ConsoleLog::Attach([&console](std::string_view line) { console += line; });
  AnswerScope yes(MessageAnswer::Yes);

  const std::string gone = folder / "gone.spu";
  EXPECT_EQ(SaveHeaderInformation(gone, "a", "b", "c"), HeaderSaveResult::WriteFailed);
  EXPECT_FALSE(std::filesystem::exists(gone));
  EXPECT_EQ(console, "test\n");
  EXPECT_EQ(yes.shown.size(), 2u);  // the question, then the failure

  const std::string tiny = folder.Write("tiny.spu", "short");
  EXPECT_EQ(SaveHeaderInformation(tiny, "a", "b", "c"), HeaderSaveResult::WriteFailed);
  EXPECT_EQ(ReadFileBytes(tiny).size(), 5u);
  EXPECT_EQ(SaveHeaderInformation(folder.Path() + "/", "a", "b", "c"), HeaderSaveResult::WriteFailed);
}

}  // namespace
}  // namespace kestrel
