#include "spulog/log_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>
#include <variant>

#include "platform/console_log.h"
#include "spulog/log_loader.h"
#include "support/log_files.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using ::testing::ElementsAre;

// Captures the console lines written while it lives.
struct ConsoleCapture {
  std::string text;
  ConsoleLog::Attachment attachment =
      ConsoleLog::Attach([this](std::string_view line) { text += line; });
};

// A log written into a fresh folder, loaded, with a reader at its first event.
struct OpenLog {
  OpenLog(const test::TempFolder& folder, const SpuLogWriter& writer, const std::string& name = "a.spu")
      : loaded(std::get<LoadedLog>(LoadSpuLog(test::WriteLog(folder, name, writer, name.ends_with(".gz"))))) {}
  std::vector<LogEvent> ReadAll() {
    std::vector<LogEvent> events;
    for (LogEvent event; reader.Next(event);) events.push_back(event);
    return events;
  }
  LoadedLog loaded;
  LogEventReader reader{loaded.file, loaded.type};
};

class LogEventReaderTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
};

TEST_F(LogEventReaderTest, ReadsEveryNewFormatEventKind) {
  SpuLogWriter writer = test::NewFormatLog(100000);
  const std::vector<std::uint16_t> words = {0x1234, 0xABCD, 0x0001};
  const std::vector<std::uint8_t> xa(kXaBlockSize, 0x77);
  const std::vector<std::uint8_t> pcm = {1, 2, 3, 4, 5, 6, 7, 8};
  writer.AddRegisterWrite(0, 0x1F801C00, 0x3FFF);
  writer.AddRegisterRead(0, 0x1F801C0C);
  writer.AddDmaWrite(10, words);
  writer.AddDmaRead(20, 64);
  writer.AddXaBlock(30, xa);
  writer.AddCdAudio(40, pcm);
  for (const char* name : {"a.spu", "a.gz"}) {
    SCOPED_TRACE(name);
    OpenLog log(folder, writer, name);
    const auto events = log.ReadAll();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].kind, LogEventKind::RegisterWrite);
    EXPECT_EQ(events[0].address, 0x1F801C00u);
    EXPECT_EQ(events[0].value, 0x3FFF);
    EXPECT_EQ(events[1].kind, LogEventKind::RegisterRead);
    EXPECT_EQ(events[1].address, 0x1F801C0Cu);
    EXPECT_EQ(events[2].kind, LogEventKind::DmaWrite);
    EXPECT_EQ(events[2].time, 10u);
    EXPECT_EQ(events[2].count, 3u);
    EXPECT_THAT(events[2].data, ElementsAre(0x34, 0x12, 0xCD, 0xAB, 0x01, 0x00));
    EXPECT_EQ(events[3].kind, LogEventKind::DmaRead);
    EXPECT_EQ(events[3].count, 64u);
    EXPECT_EQ(events[4].kind, LogEventKind::XaBlock);
    EXPECT_EQ(events[4].data, xa);
    EXPECT_EQ(events[5].kind, LogEventKind::CdAudio);
    EXPECT_EQ(events[5].count, 8u);
    EXPECT_EQ(events[5].data, pcm);
    EXPECT_TRUE(log.reader.Ended());
  }
}

TEST_F(LogEventReaderTest, OldFormatRecordsUseTheLowHalfOfTheValue) {
  SpuLogWriter writer(LogFileType::Old);
  writer.AddRegisterWrite(5, 0x1F801D88, 0x00FF);
  writer.AddU32(9);           // a second record written by hand,
  writer.AddU32(0x1F801D8C);  // whose value has upper bits set
  writer.AddU32(0xABCD0002);
  writer.SetOldFormatCount(2);
  const auto events = OpenLog(folder, writer).ReadAll();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].time, 9u);
  EXPECT_EQ(events[1].address, 0x1F801D8Cu);
  EXPECT_EQ(events[1].value, 0x0002);
}

TEST_F(LogEventReaderTest, ReadAheadTimeThenBodyAndRewind) {
  SpuLogWriter writer = test::NewFormatLog(100);
  writer.AddRegisterWrite(3, 0x1F801C00, 1);
  writer.AddRegisterWrite(7, 0x1F801C02, 2);
  OpenLog log(folder, writer);
  EXPECT_EQ(log.reader.ReadTime(), 3u);
  LogEvent event;
  ASSERT_TRUE(log.reader.ReadBody(3, event));
  EXPECT_EQ(event.value, 1);
  EXPECT_EQ(log.reader.ReadTime(), 7u);
  ASSERT_TRUE(log.reader.ReadBody(7, event));
  EXPECT_FALSE(log.reader.ReadTime());
  // A backward seek starts again at the first event.
  ASSERT_TRUE(log.reader.SeekTo(log.loaded.firstEventPosition));
  EXPECT_EQ(log.reader.ReadTime(), 3u);

  EXPECT_FALSE(OpenLog(folder, test::NewFormatLog(500), "empty.spu").reader.ReadTime());
}

TEST(InvalidEventLine, WritesAndReadsOutsideTheirWindows) {
  for (const auto& [kind, address, line] :
       {std::tuple{LogEventKind::RegisterWrite, 0x1F801DFEu, ""},
        {LogEventKind::RegisterWrite, 0x1F801E00u, "Write to Invalid SPU Register: 1f801e00\n"},
        {LogEventKind::RegisterRead, 0x1F801014u, ""},
        {LogEventKind::RegisterRead, 0x1F810000u, "* Warning : Write to Invalid SPU Register: 1f810000\n"}}) {
    LogEvent event;
    event.kind = kind;
    event.address = address;
    EXPECT_EQ(InvalidEventLine(event).value_or(""), line) << std::hex << address;
  }
}

// An unknown code consumes no payload; an odd CD-audio count B is read as B/2*2 bytes but
// handed on as B bytes, zero-padded. The events after both are intact.
TEST_F(LogEventReaderTest, UnknownCodesAndOddCdAudioCountsKeepTheStream) {
  SpuLogWriter writer = test::NewFormatLog(100);
  writer.AddU32(1);
  writer.AddRawBytes(std::vector<std::uint8_t>{6});  // code 6, then the next event's time
  writer.AddU32(4);
  writer.AddRawBytes(std::vector<std::uint8_t>{5, 5, 0, 0, 0, 0xA, 0xB, 0xC, 0xD});  // B = 5, 4 bytes stored
  writer.AddRegisterWrite(8, 0x1F801C00, 9);
  const auto events = OpenLog(folder, writer).ReadAll();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, LogEventKind::InvalidCode);
  EXPECT_EQ(InvalidEventLine(events[0]), "Invalid LogEventCode: 06\n");
  EXPECT_EQ(events[1].time, 4u);
  EXPECT_EQ(events[1].count, 5u);
  EXPECT_THAT(events[1].data, ElementsAre(0xA, 0xB, 0xC, 0xD, 0));
  EXPECT_EQ(events[2].time, 8u);
  EXPECT_EQ(events[2].value, 9);
}

TEST_F(LogEventReaderTest, CorruptCountsAndTruncatedEventsEndTheStream) {
  for (const std::uint8_t code : {std::uint8_t{2}, std::uint8_t{3}, std::uint8_t{5}}) {
    SCOPED_TRACE(static_cast<int>(code));
    SpuLogWriter writer = test::NewFormatLog(100);
    writer.AddRegisterWrite(0, 0x1F801C00, 1);
    writer.AddU32(1);
    writer.AddRawBytes(std::vector<std::uint8_t>{code});
    writer.AddU32(0xFFFFFFFF);
    writer.AddRawBytes(std::vector<std::uint8_t>(100, 0));
    ConsoleCapture console;
    OpenLog log(folder, writer, "bad" + std::to_string(code) + ".spu");
    EXPECT_EQ(log.ReadAll().size(), 1u);  // the good event before it
    EXPECT_TRUE(log.reader.Ended());
    EXPECT_FALSE(log.reader.ReadTime());
    EXPECT_THAT(console.text, ::testing::HasSubstr("* Warning : SPU File ends inside the event at 1"));
  }
  // A count beyond what the format can mean ends the stream before its payload is read, even
  // when the file holds that much; a count at the limit is an event like any other.
  for (const auto& [code, limit, unit] : {std::tuple{std::uint8_t{2}, kMaxDmaWords, 2u},
                                          std::tuple{std::uint8_t{5}, kMaxCdAudioBytes, 1u}}) {
    SCOPED_TRACE(static_cast<int>(code));
    SpuLogWriter writer = test::NewFormatLog(100);
    for (const std::uint32_t count : {limit, limit + 2}) {
      writer.AddU32(1);
      writer.AddRawBytes(std::vector<std::uint8_t>{code});
      writer.AddU32(count);
      writer.AddRawBytes(std::vector<std::uint8_t>(std::size_t{unit} * count, 0));
    }
    writer.AddRegisterWrite(2, 0x1F801C00, 1);
    ConsoleCapture console;
    OpenLog log(folder, writer, "big" + std::to_string(code) + ".spu");
    const auto events = log.ReadAll();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].count, limit);
    EXPECT_EQ(log.reader.Tell(), log.loaded.firstEventPosition + 9 + std::int64_t{unit} * limit + 9);
    EXPECT_THAT(console.text, ::testing::HasSubstr("* Warning : SPU File ends inside the event at 1"));
  }
  SpuLogWriter cut = test::NewFormatLog(100);
  cut.AddU32(1);
  cut.AddRawBytes(std::vector<std::uint8_t>{0, 0x00, 0x1C});  // a register write cut short
  OpenLog log(folder, cut, "cut.spu");
  EXPECT_TRUE(log.ReadAll().empty());
  EXPECT_TRUE(log.reader.Ended());
}

}  // namespace
}  // namespace kestrel
