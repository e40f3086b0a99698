#include "playlist/playlist_load_thread.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "library/file_detection_thread.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_slots.h"
#include "spulog/log_length.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using test::TempFolder;
using test::WriteTestLog;

using test::EntryNames;
using Texts = std::vector<std::string>;

struct PlaylistLoadTest : ::testing::Test {
  TempFolder folder;
  SpuFileList list;
  PlaylistEditor editor;
  PlaylistLoadThread load;
  ColumnSortState sort;

  void SetUp() override {
    list.entries.Append({"old", "00:00.0", "/old.spu", true, 0});
    list.count = 1;
  }
  bool Run(LoadMode mode, const std::string& path, int slot = 0) {
    return load.RunToEnd({mode, path, slot}, list, editor, sort);
  }
};

TEST_F(PlaylistLoadTest, ImportSkipsMissingFilesKeepsPlaylistOrderAndAnEmptyOneChangesNothing) {
  const std::string first = WriteTestLog(folder, "z first.spu", {.samples = 441000});
  const std::string third = WriteTestLog(folder, "a third.gz", {.gzip = true});
  std::filesystem::create_directory(folder / "dir.spu");
  const std::string playlist = folder / "p.klt";
  ASSERT_TRUE(WritePlaylistRows(playlist, {first, folder / "missing.spu", folder / "dir.spu", third}));
  ASSERT_TRUE(Run(LoadMode::ImportFile, playlist));
  EXPECT_EQ(EntryNames(list.entries), (Texts{"z first", "a third"}));
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(list.entries.At(0).time, "00:10.0");
  EXPECT_FALSE(list.entries.At(0).checked || list.entries.At(1).checked);
  EXPECT_EQ(list.entries.Selected(), 0u);
  EXPECT_FALSE(list.importing);
  EXPECT_FALSE(load.Loading());

  // An empty, unreadable or unnamed playlist leaves the file list alone.
  const std::string zero = folder.Write("zero.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=0\n");
  const std::string negative = folder.Write("neg.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=-1\n");
  for (const std::string& path : {zero, negative, folder / "missing.klt", std::string()}) {
    ASSERT_TRUE(Run(LoadMode::ImportFile, path));
    EXPECT_EQ(EntryNames(list.entries), (Texts{"z first", "a third"})) << path;
    EXPECT_EQ(list.count, 2);
  }
}

TEST_F(PlaylistLoadTest, LoadIntoTheEditorListsMissingFilesToo) {
  const std::string log = WriteTestLog(folder, "here.spu");
  const std::string playlist = folder / "e.klt";
  ASSERT_TRUE(WritePlaylistTitle(playlist, "Editor"));
  ASSERT_TRUE(WritePlaylistRows(playlist, {log, folder / "gone.spu"}));
  ASSERT_TRUE(Run(LoadMode::LoadIntoEditor, playlist));
  EXPECT_EQ(editor.currentPlaylistPath, playlist);
  EXPECT_EQ(editor.titleLabel, "Editor");
  EXPECT_EQ(editor.registeredCount, 2);
  EXPECT_EQ(EntryNames(editor.playlist), (Texts{"here", "gone"}));
  EXPECT_EQ(editor.playlist.At(1).time, kUnknownLogLength);
  EXPECT_EQ(EntryNames(list.entries), Texts{"old"});
}

TEST_F(PlaylistLoadTest, OpenFolderFillsTheLeftListSorted) {
  WriteTestLog(folder, "b.spu");
  WriteTestLog(folder, "a.gz", {.gzip = true});
  ASSERT_TRUE(Run(LoadMode::OpenFolder, folder.Path()));
  EXPECT_EQ(editor.leftFolder, folder.Path());
  EXPECT_EQ(editor.leftCount, 2);
  EXPECT_EQ(EntryNames(editor.left), (Texts{"a", "b"}));
  EXPECT_EQ(sort.Direction(0), 1);
}

TEST_F(PlaylistLoadTest, OneJobAtATimeAndNoImportDuringAScan) {
  const std::string log = WriteTestLog(folder, "x.spu");
  const std::string playlist = folder / "p.klt";
  ASSERT_TRUE(WritePlaylistRows(playlist, {log}));

  list.detecting = true;
  EXPECT_FALSE(load.Start({LoadMode::ImportFile, playlist, 0}, list, editor));
  EXPECT_FALSE(load.Loading());
  ASSERT_TRUE(load.Start({LoadMode::OpenFolder, folder.Path(), 0}, list, editor));  // the editor is not the list
  EXPECT_FALSE(load.Start({LoadMode::LoadIntoEditor, playlist, 0}, list, editor));
  while (!load.Drain(list, editor, std::chrono::milliseconds(50), sort)) {
  }
  list.detecting = false;

  ASSERT_TRUE(load.Start({LoadMode::ImportFile, playlist, 0}, list, editor));
  EXPECT_TRUE(list.importing);
  FileDetectionThread scan;
  EXPECT_FALSE(scan.Start(list, folder.Path()));
  while (!load.Drain(list, editor, std::chrono::milliseconds(50), sort)) {
  }
  EXPECT_EQ(EntryNames(list.entries), Texts{"x"});
}

}  // namespace
}  // namespace kestrel
