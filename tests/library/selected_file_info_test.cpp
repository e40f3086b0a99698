#include "library/selected_file_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/log_files.h"

namespace kestrel {
namespace {

using test::TempFolder;
using test::WriteTestLog;
using Texts = std::vector<std::string>;

SpuFileList ListWith(const std::string& path) {
  SpuFileList list;
  list.entries.Append(MakeLogEntry(path));
  list.count = 1;
  return list;
}

TEST(SelectedFileInfoTest, TheSelectedLogFillsEveryField) {
  TempFolder folder;
  const std::string path = WriteTestLog(
      folder, "song.spu",
      {.samples = 3000000, .withHeader = true, .gameTitle = "Game", .musicTitle = "Caf\xE9", .copyright = "(c)"});
  SpuFileList list = ListWith(path);
  SelectedFilePanel panel;
  panel.fileName = "kept";
  EXPECT_FALSE(ShowSelectedFileInfo(panel, list));  // nothing selected: the panel stays as it was
  EXPECT_EQ(panel.fileName, "kept");
  list.entries.Select(0);
  ASSERT_TRUE(ShowSelectedFileInfo(panel, list));
  EXPECT_EQ(panel.fileFormat, LogFileType::New);
  EXPECT_EQ((Texts{panel.fileName, panel.path, panel.currentLogPath, panel.targetFileName, panel.time, panel.size,
                   panel.format, panel.gameTitle, panel.musicTitle, panel.copyright, panel.statusFileText}),
            (Texts{"song", path, path, "song", "01 : 08", "512 KB, UnCompressed", "SPU", "Game",
                   "Caf\xC3\xA9",  // not UTF-8 in the file: read as Windows-1252
                   "(c)", "File : song"}));
}

TEST(SelectedFileInfoTest, ADroppedCompressedLogWithoutTitlesThenARemovedOne) {
  TempFolder folder;
  const std::string path = WriteTestLog(folder, "drop.spu.gz", {.samples = 441000, .gzip = true});
  SelectedFilePanel panel;
  panel.gameTitle = "old";
  ASSERT_TRUE(ShowSelectedFileInfo(panel, SpuFileList{}, path));
  EXPECT_EQ(panel.fileName, "drop.spu");
  EXPECT_NE(panel.size.find(", Compressed"), std::string::npos);
  EXPECT_EQ(panel.time, "00 : 10");
  EXPECT_EQ(panel.format, "");
  EXPECT_EQ(panel.gameTitle, "");

  // A log removed after the scan shows no stale values.
  const std::string kept = WriteTestLog(folder, "kept.spu", {.samples = 441000});
  const std::string gone = WriteTestLog(folder, "gone.spu");
  SpuFileList list = ListWith(kept);
  list.entries.Append(MakeLogEntry(gone));
  list.count = 2;
  list.entries.Select(0);
  ASSERT_TRUE(ShowSelectedFileInfo(panel, list));
  std::filesystem::remove(gone);
  list.entries.Select(1);
  ASSERT_TRUE(ShowSelectedFileInfo(panel, list));
  EXPECT_EQ(panel.fileName, "gone");
  EXPECT_EQ(panel.size, kFileNotFoundText);
  EXPECT_EQ(panel.time, kUnknownPanelLength);
  EXPECT_FALSE(panel.fileFormat.has_value());
  EXPECT_EQ(panel.format, "");
}

}  // namespace
}  // namespace kestrel
