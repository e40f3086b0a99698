#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

std::string ReadText(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(IniFileTest, ValueFormsFollowTheProfileFunctionsAndNamesIgnoreCase) {
  TempFolder folder;
  const IniFile ini(folder.Write("a.ini",
                                 "[Main]\nCount=12abc\nWord=abc\nNegative=-5\nSpaced = 7 \nEmpty=\n"
                                 "Dup=first\nDup=second\n"));
  EXPECT_EQ(ini.ReadInt("Main", "Count", 3), 12);
  EXPECT_EQ(ini.ReadInt("Main", "Word", 3), 0);
  EXPECT_EQ(ini.ReadInt("Main", "Negative", 3), -5);
  EXPECT_EQ(ini.ReadInt("Main", "Spaced", 3), 7);
  EXPECT_EQ(ini.ReadInt("Main", "Empty", 3), 0);
  EXPECT_EQ(ini.ReadInt("Main", "Absent", 3), 3);
  EXPECT_EQ(ini.ReadInt("Nowhere", "Count", 4), 4);
  EXPECT_EQ(ini.ReadString("Main", "Dup"), "first");
  EXPECT_EQ(ini.ReadString("Main", "Absent", "fallback"), "fallback");
  EXPECT_EQ(ParseProfileInt("99999999999999"), 2147483647);
  EXPECT_EQ(ParseProfileInt("-99999999999999"), -2147483647 - 1);

  // Names match without regard to case, in reads and in writes.
  const IniFile cased(folder.Write("b.ini", "[kestrel spu player]\nenableconsolewindow=1\n"));
  EXPECT_EQ(cased.ReadInt("Kestrel SPU Player", "EnableConsoleWindow", 0), 1);
  ASSERT_TRUE(cased.WriteString("KESTREL SPU PLAYER", "EnableConsoleWindow", "0"));
  EXPECT_EQ(ReadText(cased.Path()).find("EnableConsoleWindow=1"), std::string::npos);
  EXPECT_EQ(cased.ReadInt("Kestrel SPU Player", "ENABLECONSOLEWINDOW", 5), 0);
}

TEST(IniFileTest, WritesCreateTheFileKeepOtherKeysAndStayOnTheirLine) {
  TempFolder folder;
  const IniFile ini(folder / "new.ini");
  ASSERT_TRUE(ini.WriteInt("One", "A", 1));
  ASSERT_TRUE(ini.WriteString("Two", "B", "text"));
  ASSERT_TRUE(ini.WriteInt("One", "A", 2));
  EXPECT_EQ(ini.ReadInt("One", "A", 0), 2);
  EXPECT_EQ(ini.ReadString("Two", "B"), "text");
  ASSERT_TRUE(ini.WriteString("S", "Long", std::string(300, 'x')));
  EXPECT_EQ(ini.ReadString("S", "Long"), std::string(254, 'x'));  // strings come back as at most 254 bytes
  ASSERT_TRUE(ini.WriteString("S", "Path", "a\nInjected=1"));  // a line break cannot add keys
  EXPECT_FALSE(ini.Read().Find("S", "Injected").has_value());
  // Only the file itself: no temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(IniFileTest, GarbageReadsAsDefaultsAndCanStillBeWritten) {
  TempFolder folder;
  std::vector<std::uint8_t> garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<std::uint8_t>((i * 7919) ^ (i >> 3)));
  const IniFile ini(folder.Write("config.ini", garbage));
  EXPECT_EQ(ini.ReadInt("Kestrel SPU Player", "PlayBackTempo", 5), 5);
  ASSERT_TRUE(ini.WriteInt("Kestrel SPU Player", "PlayBackTempo", 9));
  EXPECT_EQ(ini.ReadInt("Kestrel SPU Player", "PlayBackTempo", 5), 9);
}

TEST(IniFileTest, AWriteThatCannotHappenFailsAndLeavesTheFileAloneAndALinkStaysALink) {
  TempFolder folder;
  const std::string path = folder.Write("a.ini", "[S]\nK=1\n");
  ::chmod(path.c_str(), 0444);
  EXPECT_FALSE(IniFile(path).WriteInt("S", "K", 2));
  EXPECT_EQ(ReadText(path), "[S]\nK=1\n");
  EXPECT_FALSE(IniFile(folder / "missing/a.ini").WriteInt("S", "K", 1));
  EXPECT_FALSE(IniFile(folder.Path()).WriteInt("S", "K", 1));  // a directory

  // A write through a symbolic link keeps it pointing at the real file.
  const std::string real = folder.Write("real.ini", "[S]\nK=1\n");
  const std::string link = folder / "link.ini";
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(IniFile(link).WriteInt("S", "K", 2));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(IniFile(real).ReadInt("S", "K", 0), 2);
}

}  // namespace
}  // namespace kestrel
