#include "library/file_detection_thread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "library/ordered_length_reader.h"
#include "library/scan_spu_folder.h"
#include "spulog/log_length.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using test::TempFolder;
using test::TestLog;
using test::WriteTestLog;

std::vector<std::string> Column(const SpuFileList& list, int column) {
  std::vector<std::string> texts;
  for (const auto& e : list.entries.Entries()) texts.push_back(ColumnText(e, column));
  return texts;
}

TEST(FileDetectionTest, AScanListsEveryMatchSortedByName) {
  TempFolder folder;
  WriteTestLog(folder, "b.spu", {.samples = 3000000});
  WriteTestLog(folder, "A.SPU", {.samples = 441000});
  WriteTestLog(folder, "abc.spu.gz", {.samples = 2646000, .gzip = true});
  WriteTestLog(folder, "it's \"quoted\" \xE9t\xE9.spu");
  folder.Write("junk.spu", "not a log");
  folder.Write("notes.txt", "x");
  std::filesystem::create_directory(folder / "folder.spu");
  std::filesystem::create_symlink(folder / "gone.spu", folder / "broken.spu");

  SpuFileList list;
  ColumnSortState sort;
  FileDetectionThread scan;
  scan.RunToEnd(list, folder.Path(), sort);

  EXPECT_EQ(list.count, 6);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"A", "abc.spu", "b", "broken", "it's \"quoted\" \xE9t\xE9",
                                                       "junk"}));
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"00:10.0", "01:00.0", "01:08.0", kUnknownLogLength,
                                                       "00:10.0", kUnknownLogLength}));
  EXPECT_EQ(list.entries.At(0).path, folder.Path() + "/A.SPU");
  EXPECT_EQ(sort.Direction(0), 1);
  EXPECT_FALSE(list.entries.Selected());
  EXPECT_FALSE(list.detecting);
  EXPECT_TRUE(list.statusText.empty());
}

TEST(FileDetectionTest, EmptyAndMissingFoldersListNothing) {
  TempFolder folder;
  for (const std::string& location : {folder.Path(), folder / "missing", std::string()}) {
    SpuFileList list;
    list.entries.Append({"old", "", "", false, 0});
    list.count = 1;
    FileDetectionThread().RunToEnd(list, location);
    EXPECT_TRUE(list.entries.Empty()) << location;
    EXPECT_EQ(list.CountLabel(), "0");
  }
}

TEST(FileDetectionTest, RowsArriveAtTheTopInMatchOrderBeforeTheSort) {
  TempFolder folder;
  for (int i = 0; i < 6; ++i) WriteTestLog(folder, "log" + std::to_string(i) + ".spu");
  const std::vector<std::string> matches = ListSpuFolder(folder.Path());
  std::vector<std::string> inserted;
  std::atomic<bool> cancel{false};
  const int count = ScanSpuFolder(folder.Path(), [&](SpuFileEntry e) { inserted.push_back(e.path); }, cancel, 2);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(inserted, matches);
}

TEST(FileDetectionTest, OrderedReadingMatchesOneByOneReading) {
  TempFolder folder;
  std::vector<std::string> paths;
  for (int i = 0; i < 30; ++i) {
    paths.push_back(WriteTestLog(folder, "l" + std::to_string(i) + ".gz",
                                 {.samples = 44100u * static_cast<unsigned>(i), .gzip = i % 2 == 0}));
  }
  paths.push_back(folder / "missing.spu");
  std::atomic<bool> cancel{false};
  std::vector<std::string> serial, parallel;
  ReadLogEntriesInOrder(paths, 1, cancel, [&](SpuFileEntry e) { serial.push_back(e.path + e.time); });
  ReadLogEntriesInOrder(paths, 4, cancel, [&](SpuFileEntry e) { parallel.push_back(e.path + e.time); });
  EXPECT_EQ(serial.size(), paths.size());
  EXPECT_EQ(parallel, serial);

  cancel = true;
  std::vector<std::string> none;
  ReadLogEntriesInOrder(paths, 2, cancel, [&](SpuFileEntry e) { none.push_back(e.path); });
  EXPECT_TRUE(none.empty());
}

TEST(FileDetectionTest, ARefreshIsRefusedWhileTheListIsFilling) {
  TempFolder folder;
  WriteTestLog(folder, "a.spu");
  SpuFileList list;
  list.importing = true;
  FileDetectionThread scan;
  EXPECT_FALSE(scan.Start(list, folder.Path()));
  list.importing = false;
  ASSERT_TRUE(scan.Start(list, folder.Path()));
  EXPECT_TRUE(list.detecting);
  EXPECT_EQ(list.statusText, kDetectingFilesText);
  EXPECT_FALSE(scan.Start(list, folder.Path()));
  while (!scan.Drain(list, std::chrono::milliseconds(50))) {
  }
  EXPECT_EQ(list.count, 1);
}

TEST(FileDetectionTest, AScanOutlivedByItsOwnerStopsCleanly) {
  TempFolder folder;
  for (int i = 0; i < 20; ++i) WriteTestLog(folder, "g" + std::to_string(i) + ".gz", {.gzip = true});
  int notified = 0;
  SpuFileList list;
  FileDetectionThread scan([&notified] { ++notified; });
  ASSERT_TRUE(scan.Start(list, folder.Path()));
}  // the owner goes before the scan has ended

}  // namespace
}  // namespace kestrel
