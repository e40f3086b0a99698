#include "spulog/header_editor.h"
#include "spulog/header_editor_dialog_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/console_log.h"
#include "spulog/header_information.h"
#include "spulog/title_writer.h"
#include "support/answer_scope.h"
#include "support/file_size_limit.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using test::AnswerScope;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteTestLog;
using Texts = std::vector<std::string>;

TEST(HeaderEditorTest, SavingCreatesTheBlockAndChangesNothingElse) {
  TempFolder folder;
  const std::string path = WriteTestLog(folder, "plain.spu");
  const auto before = ReadFileBytes(path);
  const HeaderEditorFields opened = OpenHeaderEditor("plain", path);
  ASSERT_EQ(opened.gameTitle, "");
  EXPECT_EQ(opened.saveRefusal, "");
  EXPECT_EQ(opened.statusText, "");

  AnswerScope yes(MessageAnswer::Yes);
  ASSERT_EQ(SaveHeaderInformation(opened, std::string(70, 'g'), "Music", "(c) 1999"), HeaderSaveResult::Saved);
  EXPECT_EQ(yes.shown, (Texts{"Save Header Information, OK?", "GameTitle is cut to 63 bytes to fit its 64-byte field.\n"}));
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
}

// Titles are written in Windows-1252, or Shift-JIS for Japanese, and cut in those bytes.
TEST(HeaderEditorTest, TitlesAreWrittenInTheirCodePageCutAtACharacterBoundary) {
  TempFolder folder;
  const std::string path = WriteTestLog(folder, "titles.spu");
  std::string sixteenA;  // "あ" 16 times: 48 bytes of UTF-8, 32 of Shift-JIS
  for (int i = 0; i < 16; ++i) sixteenA += "\xE3\x81\x82";
  const TitleEdits edits{std::string(62, 'g') + "\xC3\xA9", "", sixteenA};
  EXPECT_EQ(TitleCutNotes(edits), Texts{"Copyright is cut to 30 bytes to fit its 32-byte field"});
  ASSERT_TRUE(WriteTitles(path, edits));
  const HeaderInformation written = ReadHeaderInformation(path);
  EXPECT_EQ(written.gameTitle, std::string(62, 'g') + "\xE9");
  EXPECT_EQ(written.copyright.size(), 30u);
  EXPECT_EQ(OpenHeaderEditor("titles", path).copyright, sixteenA.substr(0, 45));

  // Text no code page holds is refused before the question, and nothing is written.
  const auto before = ReadFileBytes(path);
  const std::string hangul = "\xED\x95\x9C";
  const std::string refusal = "MusicTitle: \"" + hangul + "\" (U+D55C) is in neither Windows-1252 nor Shift-JIS";
  EXPECT_EQ(WriteTitles(path, {std::nullopt, hangul, std::nullopt}).failure, refusal);
  {
    AnswerScope yes(MessageAnswer::Yes);
    EXPECT_EQ(SaveHeaderInformation(OpenHeaderEditor("titles", path), "g", hangul, ""), HeaderSaveResult::Refused);
    EXPECT_EQ(yes.shown, Texts{"Cannot write the header information: " + refusal + "."});
  }
  EXPECT_EQ(ReadFileBytes(path), before);

  ASSERT_TRUE(WriteTitles(path, {"", "", ""}));
  const HeaderInformation empty = ReadHeaderInformation(path);
  EXPECT_TRUE(empty.present);
  EXPECT_EQ(empty.signature, "SPU");
  EXPECT_EQ(empty.gameTitle + empty.musicTitle + empty.copyright, "");
}

// The fields the user left alone keep their bytes: Windows-1252 text, what follows its NUL
// and an unusual signature.
TEST(HeaderEditorTest, AnUnchangedFieldKeepsItsBytes) {
  TempFolder folder;
  auto bytes = ReadFileBytes(WriteTestLog(folder, "a.spu"));
  const std::string head = std::string("SPU\x07") + "Caf\xE9" + std::string(60, '\0');  // signature, GameTitle
  std::copy(head.begin(), head.end(), bytes.begin());
  bytes[68] = 'M';
  bytes[70] = 'x';  // after MusicTitle's NUL
  const std::string path = folder.Write("a.spu", bytes);

  const HeaderEditorFields opened = OpenHeaderEditor("a", path);
  EXPECT_EQ(opened.gameTitle, "Caf\xC3\xA9");
  AnswerScope yes(MessageAnswer::Yes);
  ASSERT_EQ(SaveHeaderInformation(opened, opened.gameTitle, opened.musicTitle, "(c) 2001"), HeaderSaveResult::Saved);
  const auto after = ReadFileBytes(path);
  EXPECT_TRUE(std::equal(after.begin(), after.begin() + 132, bytes.begin()));
  EXPECT_EQ(ReadHeaderInformation(path).copyright, "(c) 2001");
}

// Titles go only into a plain log; the editor disables Save and says why.
TEST(HeaderEditorTest, WhatIsNoPlainLogIsNeverWritten) {
  TempFolder folder;
  const std::string packed = WriteTestLog(folder, "b.gz", {.gzip = true, .withHeader = true, .gameTitle = "G"});
  const std::string ro = WriteTestLog(folder, "ro.spu");
  ::chmod(ro.c_str(), 0444);  // refused even for root, who could write it
  const struct { std::string path; std::string refusal; } cases[] = {
      {packed, "a three-character extension such as .gz marks a compressed log"},
      {WriteTestLog(folder, "gzip.spu", {.gzip = true}), "it holds gzip-compressed data"},
      {folder.Write("notes.spu", std::string(600, 'n')), "it is too short to be an SPU log (600 bytes)"},
      {folder.Write("zeros.spu", std::vector<std::uint8_t>(524804, 0)), "its format field names no log format"},
      {ro, "the file is read-only"},
      {folder / "gone.spu", "it does not exist"},
      {folder.Path(), "it is not a regular file"},
  };
  AnswerScope yes(MessageAnswer::Yes);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto before = std::filesystem::is_regular_file(c.path) ? ReadFileBytes(c.path) : std::vector<std::uint8_t>{};
    const HeaderEditorFields fields = OpenHeaderEditor("x", c.path);
    EXPECT_EQ(fields.saveRefusal, c.refusal);
    EXPECT_EQ(fields.statusText, c.path == packed ? std::string("Warning : File is Compressed!")
                                                  : "Warning : Can't save the titles: " + c.refusal + ".");
    EXPECT_EQ(SaveHeaderInformation(fields, "x", "y", "z"), HeaderSaveResult::Refused);
    EXPECT_EQ(WriteTitles(c.path, {"x", "y", "z"}).failure, c.refusal);
    if (!before.empty()) {
      EXPECT_EQ(ReadFileBytes(c.path), before);
    }
  }
  EXPECT_TRUE(yes.shown.empty());
  EXPECT_EQ(OpenHeaderEditor("b", packed).gameTitle, "G");
  EXPECT_FALSE(std::filesystem::exists(folder / "gone.spu"));
}

// The titles are written into a copy that replaces the log only once it is whole: a write
// that fails half-way (a file-size limit stands in for a full disk) leaves the log as it was.
TEST(HeaderEditorTest, NoOrAFailedWriteLeavesTheFileUntouched) {
  TempFolder folder;
  const std::string path = WriteTestLog(folder, "a.spu", {.withHeader = true, .gameTitle = "Old"});
  const auto before = ReadFileBytes(path);
  const HeaderEditorFields opened = OpenHeaderEditor("a", path);
  {
    AnswerScope no(MessageAnswer::No);
    EXPECT_EQ(SaveHeaderInformation(opened, "x", "y", "z"), HeaderSaveResult::Declined);
  }
  std::string console;
  const auto attachment = ConsoleLog::Attach([&console](std::string_view line) { console += line; });
  AnswerScope yes(MessageAnswer::Yes);
  {
    test::FileSizeLimit limit(100000);
    EXPECT_EQ(SaveHeaderInformation(opened, "New", "y", "z"), HeaderSaveResult::WriteFailed);
  }
  EXPECT_EQ(console, "test\n");
  EXPECT_EQ(yes.shown.at(1), "Cannot write the header information: the file would be too large.\n\n" + path);
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // no temporary file left
}

// The dialog on a plain log edits and saves; on a compressed one every field stays shown
// but Save, the name and the titles are off; without a selection Save asks nothing.
TEST(HeaderEditorDialog, PlainCompressedAndNoSelection) {
  TempFolder folder;
  const std::string plain = WriteTestLog(folder, "plain.spu", {.withHeader = true, .gameTitle = "Old"});
  HeaderEditorDialogState dialog;
  dialog.Open("plain", plain);
  EXPECT_EQ(dialog.fileName, "plain");
  EXPECT_EQ(dialog.gameTitle, "Old");
  EXPECT_TRUE(dialog.controls.Enabled(header_dialog::kSave));
  EXPECT_TRUE(dialog.controls.Enabled(header_dialog::kGameTitle));
  ASSERT_TRUE(dialog.Edit(header_dialog::kMusicTitle, "Town"));
  EXPECT_FALSE(dialog.Edit(header_dialog::kFileName, "other"));
  {
    AnswerScope no(MessageAnswer::No);
    EXPECT_FALSE(dialog.Save());  // stays open
  }
  {
    AnswerScope yes(MessageAnswer::Yes);
    EXPECT_TRUE(dialog.Save());
  }
  EXPECT_EQ(ReadHeaderInformation(plain).musicTitle, "Town");
  EXPECT_EQ(ReadHeaderInformation(plain).gameTitle, "Old");

  const std::string packed = WriteTestLog(folder, "packed.gz", {.gzip = true, .withHeader = true, .gameTitle = "G"});
  const auto before = ReadFileBytes(packed);
  AnswerScope yes(MessageAnswer::Yes);
  dialog.Open("packed", packed);
  EXPECT_EQ(dialog.gameTitle, "G");
  EXPECT_EQ(dialog.statusText, "Warning : File is Compressed!");
  for (const int id : {header_dialog::kSave, header_dialog::kFileName, header_dialog::kGameTitle,
                       header_dialog::kMusicTitle, header_dialog::kCopyright}) {
    EXPECT_FALSE(dialog.controls.Enabled(id)) << id;
  }
  EXPECT_TRUE(dialog.controls.Enabled(header_dialog::kCancel));
  EXPECT_FALSE(dialog.Save());
  EXPECT_EQ(ReadFileBytes(packed), before);

  dialog.OpenWithoutSelection();
  EXPECT_EQ(dialog.gameTitle + dialog.statusText, "");
  EXPECT_TRUE(dialog.controls.Enabled(header_dialog::kSave));
  EXPECT_FALSE(dialog.Save());
  EXPECT_TRUE(yes.shown.empty());
}

}  // namespace
}  // namespace kestrel
