#include "spulog/log_length.h"

#include <gtest/gtest.h>

#include "support/log_files.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;

TEST(FormatLogLength, ListAndPanelTexts) {
  struct Case {
    std::uint32_t samples;
    const char* list;
    const char* panel;
  };
  const Case cases[] = {
      {0, "00:00.0", "00 : 00"},
      {441000, "00:10.0", "00 : 10"},
      {2646000, "01:00.0", "01 : 00"},
      {3000000, "01:08.0", "01 : 08"},
      {2646000 * 2 - 1, "01:60.0", "01 : 59"},  // rounding shows 60.0 seconds
      {2646000u * 100, "100:00.0", "100 : 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.samples);
    EXPECT_EQ(FormatLogLength(c.samples), c.list);
    EXPECT_EQ(FormatPanelLength(c.samples), c.panel);
  }
  EXPECT_EQ(FormatLogLength(std::nullopt), "--:--.-");
}

TEST(ReadLogLength, ReadsBothFormatsPlainAndCompressed) {
  TempFolder folder;
  SpuLogWriter old = test::OneRecordOldLog(441000);
  SpuLogWriter fresh(LogFileType::New);
  fresh.SetTotalLength(3000000);
  fresh.AddRegisterWrite(5, 0x1F801C00, 1);
  for (const bool gzip : {false, true}) {
    SCOPED_TRACE(gzip);
    const auto a = ReadLogLength(test::WriteLog(folder, gzip ? "o.gz" : "o.spu", old, gzip));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->type, LogFileType::Old);
    EXPECT_EQ(a->totalLength, 441000u);
    const auto b = ReadLogLength(test::WriteLog(folder, gzip ? "n.gz" : "n.spu", fresh, gzip));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->type, LogFileType::New);
    EXPECT_EQ(b->totalLength, 3000000u);
  }
}

TEST(ReadLogLength, AppliesNoValidityTest) {
  TempFolder folder;
  SpuLogWriter zero(LogFileType::New);  // length 0: the loader rejects it, the list shows it
  const auto a = ReadLogLength(test::WriteLog(folder, "zero.spu", zero));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->totalLength, 0u);

  SpuLogWriter noRecords(LogFileType::Old);
  const auto b = ReadLogLength(test::WriteLog(folder, "empty-old.spu", noRecords));
  ASSERT_TRUE(b);
  EXPECT_EQ(b->totalLength, 0u);
}

TEST(ReadLogLength, UnreadableLogsHaveNoLength) {
  TempFolder folder;
  EXPECT_FALSE(ReadLogLength(folder / "missing.spu"));
  EXPECT_FALSE(ReadLogLength(folder.Write("short.spu", std::vector<std::uint8_t>(524802, 0))));
  SpuLogWriter lying = test::OneRecordOldLog(100);
  lying.SetOldFormatCount(1000);  // the count points past the end
  EXPECT_FALSE(ReadLogLength(test::WriteLog(folder, "lying.spu", lying)));
  EXPECT_FALSE(ReadLogLength(test::WriteLog(folder, "lying.gz", lying, true)));
  EXPECT_EQ(FormatLogLength(ReadLogLength(folder / "missing.spu")), "--:--.-");
}

}  // namespace
}  // namespace kestrel
