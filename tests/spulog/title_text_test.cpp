#include "spulog/title_text.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(TitleToUtf8, KeepsValidUtf8AndReadsTheRestAsWindows1252) {
  EXPECT_EQ(TitleToUtf8("Plain"), "Plain");
  EXPECT_EQ(TitleToUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");      // already UTF-8
  EXPECT_EQ(TitleToUtf8("Caf\xE9"), "Caf\xC3\xA9");          // é in Windows-1252
  EXPECT_EQ(TitleToUtf8("\x93Hi\x94"), "\xE2\x80\x9CHi\xE2\x80\x9D");  // curly quotes
  EXPECT_EQ(TitleToUtf8("\x80"), "\xE2\x82\xAC");             // euro sign
  EXPECT_EQ(TitleToUtf8("\x81"), "\xC2\x81");                 // unassigned byte kept as C1
}

TEST(IsValidUtf8, RejectsMalformedSequences) {
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8E\xB5"));   // a four-byte character
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));           // cut short
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));   // beyond U+10FFFF
}

TEST(CutUtf8, NeverSplitsACharacter) {
  EXPECT_EQ(CutUtf8("abc", 5), "abc");
  EXPECT_EQ(CutUtf8("abcdef", 3), "abc");
  EXPECT_EQ(CutUtf8("ab\xC3\xA9", 3), "ab");          // é would need bytes 3 and 4
  EXPECT_EQ(CutUtf8("\xE3\x81\x82\xE3\x81\x82", 4), "\xE3\x81\x82");
}

}  // namespace
}  // namespace kestrel
