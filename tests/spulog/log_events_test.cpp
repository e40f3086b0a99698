#include "spulog/log_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <variant>

#include "app/console_log.h"
#include "spulog/log_loader.h"
#include "support/log_files.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;
using ::testing::ElementsAre;

// Captures the console lines written while it lives.
struct ConsoleCapture {
  std::string text;
  ConsoleLog::Attachment attachment =
      ConsoleLog::Attach([this](std::string_view line) { text += line; });
};

struct OpenLog {
  explicit OpenLog(const std::string& path) : loaded(std::get<LoadedLog>(LoadSpuLog(path))) {}
  LogEventReader Reader() { return LogEventReader(loaded.file, loaded.type); }
  LoadedLog loaded;
};

std::vector<LogEvent> ReadAll(LogEventReader& reader) {
  std::vector<LogEvent> events;
  for (LogEvent event; reader.Next(event);) events.push_back(event);
  return events;
}

TEST(LogEventReader, ReadsEveryNewFormatEventKind) {
  TempFolder folder;
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
  for (const bool gzip : {false, true}) {
    SCOPED_TRACE(gzip);
    OpenLog log(test::WriteLog(folder, gzip ? "a.gz" : "a.spu", writer, gzip));
    LogEventReader reader = log.Reader();
    const auto events = ReadAll(reader);
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
    EXPECT_TRUE(reader.Ended());
  }
}

TEST(LogEventReader, OldFormatRecordsUseTheLowHalfOfTheValue) {
  TempFolder folder;
  SpuLogWriter writer(LogFileType::Old);
  writer.AddRegisterWrite(5, 0x1F801D88, 0x00FF);
  writer.AddU32(9);           // a second record written by hand,
  writer.AddU32(0x1F801D8C);  // whose value has upper bits set
  writer.AddU32(0xABCD0002);
  writer.SetOldFormatCount(2);
  OpenLog log(test::WriteLog(folder, "a.spu", writer));
  LogEventReader reader = log.Reader();
  const auto events = ReadAll(reader);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].time, 9u);
  EXPECT_EQ(events[1].address, 0x1F801D8Cu);
  EXPECT_EQ(events[1].value, 0x0002);
}

TEST(LogEventReader, ReadAheadTimeThenBodyAndRewind) {
  TempFolder folder;
  SpuLogWriter writer = test::NewFormatLog(100);
  writer.AddRegisterWrite(3, 0x1F801C00, 1);
  writer.AddRegisterWrite(7, 0x1F801C02, 2);
  OpenLog log(test::WriteLog(folder, "a.spu", writer));
  LogEventReader reader = log.Reader();
  EXPECT_EQ(reader.ReadTime(), 3u);
  LogEvent event;
  ASSERT_TRUE(reader.ReadBody(3, event));
  EXPECT_EQ(event.value, 1);
  EXPECT_EQ(reader.ReadTime(), 7u);
  ASSERT_TRUE(reader.ReadBody(7, event));
  EXPECT_FALSE(reader.ReadTime());
  // A backward seek starts again at the first event.
  ASSERT_TRUE(reader.SeekTo(log.loaded.firstEventPosition));
  EXPECT_EQ(reader.ReadTime(), 3u);

  OpenLog empty(test::WriteLog(folder, "empty.spu", test::NewFormatLog(500)));
  EXPECT_FALSE(empty.Reader().ReadTime());
}

TEST(InvalidEventLine, WritesAndReadsOutsideTheirWindows) {
  LogEvent write;
  write.kind = LogEventKind::RegisterWrite;
  write.address = 0x1F801DFE;
  EXPECT_FALSE(InvalidEventLine(write));
  write.address = 0x1F801E00;
  EXPECT_EQ(InvalidEventLine(write), "Write to Invalid SPU Register: 1f801e00\n");

  LogEvent read;
  read.kind = LogEventKind::RegisterRead;
  read.address = 0x1F801014;
  EXPECT_FALSE(InvalidEventLine(read));
  read.address = 0x1F810000;
  EXPECT_EQ(InvalidEventLine(read), "* Warning : Write to Invalid SPU Register: 1f810000\n");
}

TEST(LogEventReader, UnknownCodeConsumesNoPayload) {
  TempFolder folder;
  SpuLogWriter writer = test::NewFormatLog(100);
  writer.AddU32(4);
  writer.AddRawBytes(std::vector<std::uint8_t>{6});  // code 6, then the next event's time
  writer.AddRegisterWrite(8, 0x1F801C00, 5);
  OpenLog log(test::WriteLog(folder, "a.spu", writer));
  LogEventReader reader = log.Reader();
  const auto events = ReadAll(reader);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, LogEventKind::InvalidCode);
  EXPECT_EQ(InvalidEventLine(events[0]), "Invalid LogEventCode: 06\n");
  EXPECT_EQ(events[1].time, 8u);
  EXPECT_EQ(events[1].value, 5);
}

TEST(LogEventReader, OddCdAudioCountKeepsTheStreamAndPadsTheBuffer) {
  TempFolder folder;
  SpuLogWriter writer = test::NewFormatLog(100);
  writer.AddU32(1);
  writer.AddRawBytes(std::vector<std::uint8_t>{5, 5, 0, 0, 0, 0xA, 0xB, 0xC, 0xD});  // B = 5, 4 bytes stored
  writer.AddRegisterWrite(2, 0x1F801C00, 9);
  OpenLog log(test::WriteLog(folder, "a.spu", writer));
  LogEventReader reader = log.Reader();
  const auto events = ReadAll(reader);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].count, 5u);
  EXPECT_THAT(events[0].data, ElementsAre(0xA, 0xB, 0xC, 0xD, 0));
  EXPECT_EQ(events[1].value, 9);
}

TEST(LogEventReader, CorruptCountsAndTruncatedEventsEndTheStream) {
  TempFolder folder;
  const auto logWith = [&](const char* name, std::uint8_t code, std::uint32_t count) {
    SpuLogWriter writer = test::NewFormatLog(100);
    writer.AddRegisterWrite(0, 0x1F801C00, 1);
    writer.AddU32(1);
    writer.AddRawBytes(std::vector<std::uint8_t>{code});
    writer.AddU32(count);
    writer.AddRawBytes(std::vector<std::uint8_t>(100, 0));
    return test::WriteLog(folder, name, writer, false);
  };
  for (const std::uint8_t code : {std::uint8_t{2}, std::uint8_t{3}, std::uint8_t{5}}) {
    SCOPED_TRACE(static_cast<int>(code));
    ConsoleCapture console;
    OpenLog log(logWith("bad.spu", code, 0xFFFFFFFF));
    LogEventReader reader = log.Reader();
    const auto events = ReadAll(reader);
    EXPECT_EQ(events.size(), 1u);  // the good event before it
    EXPECT_TRUE(reader.Ended());
    EXPECT_FALSE(reader.ReadTime());
    EXPECT_THAT(console.text, ::testing::HasSubstr("* Warning : SPU File ends inside the event at 1"));
  }
  SpuLogWriter cut = test::NewFormatLog(100);
  cut.AddU32(1);
  cut.AddRawBytes(std::vector<std::uint8_t>{0, 0x00, 0x1C});  // a register write cut short
  OpenLog log(test::WriteLog(folder, "cut.spu", cut));
  LogEventReader reader = log.Reader();
  EXPECT_TRUE(ReadAll(reader).empty());
  EXPECT_TRUE(reader.Ended());
}

}  // namespace
}  // namespace kestrel
