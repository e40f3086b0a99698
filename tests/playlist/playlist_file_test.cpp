#include "playlist/playlist_file.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "playlist/playlist_slots.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;

TEST(PlaylistFileTest, AShorterSaveDeletesTheStaleRowsAndKeepsTheTitle) {
  TempFolder folder;
  const std::string path = folder / "a.klt";
  ASSERT_TRUE(WritePlaylistTitle(path, "Best of"));
  ASSERT_TRUE(WritePlaylistRows(path, {"/1", "/2", "/3", "/4", "/5"}));
  ASSERT_TRUE(WritePlaylistRows(path, {"/x", "/y", "/z"}));
  const IniDocument doc = IniFile(path).Read();
  EXPECT_EQ(doc.Keys(kPlaylistSection),
            (std::vector<std::string>{"ListTitle", "RegisteredNumber", "FilePath[0]", "FilePath[1]", "FilePath[2]"}));
  const PlaylistContents contents = ReadPlaylist(path);
  EXPECT_EQ(contents.title, "Best of");
  EXPECT_EQ(contents.registeredNumber, 3);
  EXPECT_EQ(contents.paths, (std::vector<std::string>{"/x", "/y", "/z"}));

  ASSERT_TRUE(WritePlaylistRows(path, {}));
  EXPECT_EQ(IniFile(path).Read().Keys(kPlaylistSection), (std::vector<std::string>{"ListTitle", "RegisteredNumber"}));
  EXPECT_EQ(ReadPlaylist(path).registeredNumber, 0);
}

TEST(PlaylistFileTest, DamagedCountsAndGaps) {
  TempFolder folder;
  // Keys beyond a lying count go on the next save too, whatever their case.
  const std::string lying = folder.Write(
      "lying.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=1\nFilePath[0]=/a\nfilepath[7]=/h\n");
  ASSERT_TRUE(WritePlaylistRows(lying, {"/b"}));
  EXPECT_FALSE(IniFile(lying).Read().Find(kPlaylistSection, "FilePath[7]"));

  const std::string gaps = folder.Write(
      "gaps.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=2000000000\nFilePath[0]=/a\nFilePath[2]=/c\n");
  EXPECT_EQ(ReadPlaylist(gaps).paths, (std::vector<std::string>{"/a", "", "/c"}));

  const std::string negative =
      folder.Write("neg.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=-4\nFilePath[0]=/a\n");
  EXPECT_EQ(ReadPlaylist(negative).registeredNumber, -4);
  EXPECT_TRUE(ReadPlaylist(negative).paths.empty());
  EXPECT_TRUE(ReadPlaylist(folder / "missing.klt").paths.empty());
  EXPECT_TRUE(ReadPlaylist(folder.Path()).paths.empty());

  // The highest index a key can name is beyond any row.
  EXPECT_EQ(ParsePlaylist("[Kestrel SPU Player PlayList]\nRegisteredNumber=2147483647\nFilePath[0]=/a\n"
                          "FilePath[2147483647]=/z\n")
                .paths,
            std::vector<std::string>{"/a"});
}

TEST(PlaylistFileTest, PathsThatWouldNotComeBackAreRefused) {
  TempFolder folder;
  const std::string path = folder / "a.klt";
  ASSERT_TRUE(WritePlaylist(path, "Kept", {"/old"}));
  const auto before = test::ReadFileBytes(path);
  for (const std::string& bad : std::vector<std::string>{"/a\nFilePath[1]=/b", "/a\r", "/trailing ", " /leading", "/tab\t",
                                "/" + std::string(kProfileStringLimit, 'x')}) {
    SCOPED_TRACE(bad);
    const WriteResult written = WritePlaylist(path, "New", {"/fine", bad});
    EXPECT_FALSE(written);
    EXPECT_NE(written.failure.find("row 2 cannot be stored because it"), std::string::npos) << written.failure;
    EXPECT_EQ(test::ReadFileBytes(path), before);
  }
  const std::vector<std::string> odd = {"/x;y=z[1] #", "/" + std::string(kProfileStringLimit - 1, 'x'), "/in side"};
  ASSERT_TRUE(WritePlaylistRows(path, odd));
  EXPECT_EQ(ReadPlaylist(path).paths, odd);
}

TEST(PlaylistSlotsTest, TitlesAndTheirFallbacks) {
  TempFolder folder;
  const std::string config = folder / "config.ini";
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(ReadSlotTitles(config)[static_cast<std::size_t>(k - 1)], EmptySlotTitle(k));

  const std::string titled = folder / "titled.klt";
  ASSERT_TRUE(WritePlaylistTitle(titled, "Evening"));
  const std::string untitled = folder.Write("untitled.klt", "[Kestrel SPU Player PlayList]\nRegisteredNumber=0\n");
  const std::string emptyTitle = folder.Write("empty.klt", "[Kestrel SPU Player PlayList]\nListTitle=\n");
  const std::string other = folder.Write("other.klt", "[Another]\nListTitle=Nope\n");
  ASSERT_TRUE(WriteSlotPaths(config, {titled, untitled, emptyTitle, other, ""}));
  EXPECT_EQ(ReadSlotTitles(config),
            (std::array<std::string, 5>{"Evening", "Empty Slot #2", "", "Empty Slot #4", "Empty Slot #5"}));
  EXPECT_EQ(ReadSlotPath(config, 1), titled);
  EXPECT_EQ(ReadSlotPath(config, 6), "");

  // Empty slots are stored as empty values, not deleted.
  EXPECT_EQ(IniFile(config).Read().Find(kSlotSection, "PlayListPath[5]"), std::optional<std::string>(""));
  ASSERT_TRUE(WriteSlotPaths(config, {std::string(300, 'p'), "", "", "", ""}));
  EXPECT_EQ(ReadSlotPath(config, 1), std::string(254, 'p'));
  EXPECT_EQ(IniFile(config).Read().Find(kSlotSection, "PlayListPath[1]")->size(), 259u);
}

}  // namespace
}  // namespace kestrel
