#include "spulog/log_length.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <variant>

#include "spulog/log_loader.h"

#include "support/log_files.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;

TEST(FormatLogLength, ListAndPanelTexts) {
  struct Case { std::uint32_t samples; const char* list; const char* panel; };
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

TEST(ReadLogLength, ReadsBothFormatsPlainAndCompressedWithoutAValidityTest) {
  TempFolder folder;
  SpuLogWriter fresh = test::NewFormatLog(3000000);
  fresh.AddRegisterWrite(5, 0x1F801C00, 1);
  const struct { SpuLogWriter writer; LogFileType type; std::uint32_t length; } cases[] = {
      {test::OneRecordOldLog(441000), LogFileType::Old, 441000},
      {fresh, LogFileType::New, 3000000},
      {test::NewFormatLog(0), LogFileType::New, 0},      // the loader rejects it; the list shows it
      {SpuLogWriter(LogFileType::Old), LogFileType::Old, 0},  // no records
  };
  for (const auto& c : cases) {
    for (const bool gzip : {false, true}) {
      SCOPED_TRACE(c.length);
      const auto length = ReadLogLength(test::WriteLog(folder, gzip ? "a.gz" : "a.spu", c.writer, gzip));
      ASSERT_TRUE(length);
      EXPECT_EQ(length->type, c.type);
      EXPECT_EQ(length->totalLength, c.length);
    }
  }
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

// A few hundred KB of gzip can claim an old-format stream of gigabytes; its last record
// is not looked for beyond the inflate budget, even where it exists.
TEST(ReadLogLength, ACompressedLogIsNotInflatedBeyondTheBudget) {
  TempFolder folder;
  const std::string path = folder / "huge.gz";
  const std::int64_t records = (SpuLogFile::kMaxInflatedOffset - kOldFirstEventOffset) / kOldRecordSize + 2;
  gzFile out = gzopen(path.c_str(), "wb1");
  ASSERT_NE(out, nullptr);
  const std::vector<std::uint8_t> chunk(1 << 20, 0);
  const auto zeros = [&](std::int64_t n) {
    for (; n > 0; n -= static_cast<std::int64_t>(chunk.size())) {
      gzwrite(out, chunk.data(), static_cast<unsigned>(std::min<std::int64_t>(n, chunk.size())));
    }
  };
  const std::uint32_t head[2] = {kOldFormatMarker, static_cast<std::uint32_t>(records)};
  zeros(kDiscriminatorOffset);
  gzwrite(out, head, sizeof head);
  zeros(records * kOldRecordSize);  // the last record exists: a plain copy would show its time
  ASSERT_EQ(gzclose(out), Z_OK);
  EXPECT_FALSE(ReadLogLength(path));
  EXPECT_TRUE(std::holds_alternative<LoadFailure>(LoadSpuLog(path)));
}

}  // namespace
}  // namespace kestrel
