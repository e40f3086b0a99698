#include "spulog/title_text.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(TitleToUtf8, KeepsValidUtf8ThenTriesShiftJisThenWindows1252) {
  EXPECT_EQ(TitleToUtf8("Plain"), "Plain");
  EXPECT_EQ(TitleToUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");      // already UTF-8
  EXPECT_EQ(TitleToUtf8("Caf\xE9"), "Caf\xC3\xA9");          // é in Windows-1252: a lead byte with no trail
  EXPECT_EQ(TitleToUtf8("\x93Hi\x94"), "\xE2\x80\x9CHi\xE2\x80\x9D");  // curly quotes
  EXPECT_EQ(TitleToUtf8("\x80"), "\xE2\x82\xAC");             // euro sign
  EXPECT_EQ(TitleToUtf8("\x81"), "\xC2\x81");                 // unassigned byte kept as C1
  EXPECT_EQ(TitleToUtf8("FF\x82\xA0\x83\x41 \xB1"), "FF\xE3\x81\x82\xE3\x82\xA2 \xEF\xBD\xB1");  // "FFあア ｱ"
  // Valid Shift-JIS of single bytes only (half-width katakana) is Windows-1252 text.
  EXPECT_EQ(TitleToUtf8("\xC5\xD1"), "\xC3\x85\xC3\x91");    // ÅÑ
  // A byte pair Shift-JIS does not assign makes the whole title Windows-1252.
  EXPECT_EQ(TitleToUtf8("\x82\xA0\x85\x40"), "\xE2\x80\x9A\xC2\xA0\xE2\x80\xA6@");
}

TEST(IsValidUtf8, RejectsMalformedSequences) {
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8E\xB5"));   // a four-byte character
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));           // cut short
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));   // beyond U+10FFFF
}

TEST(EncodeTitle, Windows1252WhenItFitsShiftJisForJapaneseAndRefusesTheRest) {
  const EncodedTitle cafe = EncodeTitle("Caf\xC3\xA9 \xE2\x82\xAC\xC2\x81");  // "Café €" and a C1 byte
  EXPECT_EQ(cafe.codePage, TitleCodePage::Windows1252);
  EXPECT_EQ(cafe.bytes, "Caf\xE9 \x80\x81");
  const EncodedTitle japanese = EncodeTitle("FF\xE3\x81\x82\xE3\x82\xA2 \xEF\xBD\xB1");
  EXPECT_EQ(japanese.codePage, TitleCodePage::ShiftJis);
  EXPECT_EQ(japanese.bytes, "FF\x82\xA0\x83\x41 \xB1");
  EXPECT_EQ(japanese.refusal, "");
  EXPECT_EQ(EncodeTitle("").bytes, "");

  EXPECT_EQ(EncodeTitle("\xED\x95\x9C").refusal, "\"\xED\x95\x9C\" (U+D55C) is in neither Windows-1252 nor Shift-JIS");
  EXPECT_EQ(EncodeTitle("Caf\xC3\xA9 \xE3\x81\x82").refusal,
            "\"\xC3\xA9\" (U+00E9) is not in Shift-JIS, which the rest of the text needs");
  // Half-width katakana alone would be read back as Windows-1252.
  EXPECT_EQ(EncodeTitle("\xEF\xBD\xB1").refusal, "as Shift-JIS it would read back as \"\xC2\xB1\"");
  EXPECT_EQ(EncodeTitle("Caf\xE9").refusal, "it is not valid UTF-8 text");
}

TEST(CutTitle, NeverSplitsACharacterOfItsCodePage) {
  EXPECT_EQ(CutUtf8("ab\xC3\xA9", 3), "ab");  // é would need bytes 3 and 4
  const EncodedTitle latin = EncodeTitle("\xC3\xA9\xC3\xA9\xC3\xA9");
  EXPECT_EQ(CutTitle(latin, 2), "\xE9\xE9");
  const EncodedTitle japanese = EncodeTitle("a\xE3\x81\x82\xE3\x81\x84");  // "aあい": 5 bytes
  EXPECT_EQ(CutTitle(japanese, 5), "a\x82\xA0\x82\xA2");
  EXPECT_EQ(CutTitle(japanese, 4), "a\x82\xA0");
  EXPECT_EQ(CutTitle(japanese, 2), "a");
}

}  // namespace
}  // namespace kestrel
