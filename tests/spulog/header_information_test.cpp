#include "spulog/header_information.h"

#include <gtest/gtest.h>

#include "spulog/log_path.h"
#include "support/log_files.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;

std::vector<std::uint8_t> LogStartingWith(std::vector<std::uint8_t> head) {
  SpuLogWriter writer = test::NewFormatLog(10);
  writer.SetSoundRam(0, head);
  return writer.Bytes();
}

TEST(ReadHeaderInformation, AFieldWithoutNulIsTakenWholeAndOnlyAnUpperCaseSMarksTheBlock) {
  TempFolder folder;
  std::vector<std::uint8_t> head = {'S', 'P', 'U', 0};
  head.resize(4 + 64, 'g');
  head.resize(132 + 32, 'c');  // music title and copyright both full, no NUL anywhere
  const auto info = ReadHeaderInformation(folder.Write("a.spu", LogStartingWith(head)));
  EXPECT_EQ(info.gameTitle, std::string(64, 'g'));
  EXPECT_EQ(info.musicTitle.size(), 64u);
  EXPECT_EQ(info.copyright, std::string(32, 'c'));

  // Only an upper-case S marks the block.
  EXPECT_FALSE(ReadHeaderInformation(folder.Write("a.spu", LogStartingWith({'s', 'P', 'U', 0}))).present);
  EXPECT_FALSE(ReadHeaderInformation(folder / "missing.spu").present);
  EXPECT_FALSE(ReadHeaderInformation(folder.Write("empty.spu", std::vector<std::uint8_t>{})).present);
  // A file of four bytes still has a signature, and empty titles.
  const auto tiny = ReadHeaderInformation(folder.Write("tiny.spu", std::vector<std::uint8_t>{'S', 'X'}));
  EXPECT_TRUE(tiny.present);
  EXPECT_EQ(tiny.signature, "SX");
  EXPECT_EQ(tiny.gameTitle, "");
}

TEST(LogPath, CompressedByExtensionLengthAndSizeText) {
  EXPECT_TRUE(IsCompressedLogPath("/music/a.spu.gz"));
  EXPECT_TRUE(IsCompressedLogPath("a.GZ"));
  EXPECT_FALSE(IsCompressedLogPath("a.spu"));
  EXPECT_FALSE(IsCompressedLogPath("noextension"));
  EXPECT_FALSE(IsCompressedLogPath("/dir.gz/song"));  // the folder's dot does not count
  EXPECT_EQ(FormatSizeText(600000, false), "585 KB, UnCompressed");
  EXPECT_EQ(FormatSizeText(1023, true), "0 KB, Compressed");
}

}  // namespace
}  // namespace kestrel
