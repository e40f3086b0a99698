#include "spulog/log_loader.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/log_files.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using test::TempFolder;

LoadFailure FailureOf(const LoadResult& result) {
  EXPECT_TRUE(std::holds_alternative<LoadFailure>(result));
  return std::holds_alternative<LoadFailure>(result) ? std::get<LoadFailure>(result) : LoadFailure::CannotOpen;
}

const LoadedLog& LogOf(const LoadResult& result) {
  EXPECT_TRUE(std::holds_alternative<LoadedLog>(result));
  return std::get<LoadedLog>(result);
}

std::vector<std::uint8_t> StateWith(std::vector<std::uint8_t> tail) {
  // Sized once and copied into: GCC 12 misreads insert() after a large fill as out of bounds.
  std::vector<std::uint8_t> bytes(kSoundRamSize + kRegisterImageSize + tail.size(), 0);
  std::copy(tail.begin(), tail.end(), bytes.begin() + static_cast<std::ptrdiff_t>(kSoundRamSize + kRegisterImageSize));
  return bytes;
}

TEST(LoadSpuLog, OldFormatTakesItsLengthFromTheLastRecord) {
  TempFolder folder;
  SpuLogWriter writer(LogFileType::Old);
  writer.SetRegister(0x1F801D80, 0x3FFF);
  writer.SetSoundRam(1000, std::vector<std::uint8_t>{1, 2, 3});
  writer.AddRegisterWrite(10, 0x1F801C00, 1);
  writer.AddRegisterWrite(441000, 0x1F801C02, 2);
  const auto result = LoadSpuLog(test::WriteLog(folder, "a.spu", writer));
  const LoadedLog& log = LogOf(result);
  EXPECT_EQ(log.type, LogFileType::Old);
  EXPECT_EQ(log.totalLength, 441000u);
  EXPECT_EQ(log.firstEventPosition, 524808);
  EXPECT_EQ(log.oldFormatCount, 2u);
  EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801D80), 0x3FFF);
  EXPECT_EQ(log.block->soundRam[1001], 2);
  // The loader leaves the file at the first event, the header and XA area zeroed.
  EXPECT_EQ(log.block->xaState[100], 0);
  EXPECT_EQ(log.block->header[0], 0);
}

TEST(LoadSpuLog, NewFormatLengthIsTheDiscriminator) {
  TempFolder folder;
  // The shortest valid log.
  const LoadResult result = LoadSpuLog(test::WriteLog(folder, "a.spu", test::NewFormatLog(1)));
  const LoadedLog& log = LogOf(result);
  EXPECT_EQ(log.type, LogFileType::New);
  EXPECT_EQ(log.totalLength, 1u);
  EXPECT_EQ(log.firstEventPosition, 524804);
}

TEST(LoadSpuLog, RejectsBrokenLogs) {
  TempFolder folder;
  const auto u32 = [](std::uint32_t v) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  };
  auto concat = [](std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  struct Case { const char* name; std::vector<std::uint8_t> bytes; };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"inside the sound RAM image", std::vector<std::uint8_t>(1000, 0)},
      {"only the state", StateWith({})},
      {"half a discriminator", StateWith({0x44, 0xAC})},
      {"discriminator 0", StateWith(u32(0))},
      {"old format without count", StateWith(u32(44100))},
      {"old format with N = 0", StateWith(concat(u32(44100), u32(0)))},
      {"old format N beyond the file", StateWith(concat(concat(u32(44100), u32(3)), std::vector<std::uint8_t>(12, 0)))},
      {"old format huge N", StateWith(concat(u32(44100), u32(0xFFFFFFFF)))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FailureOf(LoadSpuLog(folder.Write("x.spu", c.bytes))), LoadFailure::Rejected);
    EXPECT_EQ(FailureOf(LoadSpuLog(folder.Write("x.spu.gz", test::Gzip(c.bytes)))), LoadFailure::Rejected);
  }
}

TEST(LoadSpuLog, RejectsGarbageAndTruncatedGzip) {
  TempFolder folder;
  std::vector<std::uint8_t> packed = test::Gzip(test::NewFormatLog(100).Bytes());
  packed.resize(packed.size() / 2);
  EXPECT_EQ(FailureOf(LoadSpuLog(folder.Write("cut.gz", packed))), LoadFailure::Rejected);

  std::vector<std::uint8_t> garbage = {0x1F, 0x8B, 8, 0};
  for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<std::uint8_t>(i * 7919));
  EXPECT_EQ(FailureOf(LoadSpuLog(folder.Write("garbage.gz", garbage))), LoadFailure::Rejected);
}

TEST(LoadSpuLog, CannotOpenWhatIsNoReadableRegularFile) {
  TempFolder folder;
  EXPECT_EQ(FailureOf(LoadSpuLog(folder / "missing.spu")), LoadFailure::CannotOpen);
  ::mkdir((folder / "dir.spu").c_str(), 0755);
  EXPECT_EQ(FailureOf(LoadSpuLog(folder / "dir.spu")), LoadFailure::CannotOpen);
  // A fifo with no writer would block a plain open for ever.
  ASSERT_EQ(::mkfifo((folder / "fifo.spu").c_str(), 0644), 0);
  EXPECT_EQ(FailureOf(LoadSpuLog(folder / "fifo.spu")), LoadFailure::CannotOpen);
  if (::geteuid() != 0) {  // root reads every file
    const std::string path = test::WriteLog(folder, "a.spu", test::OneRecordOldLog(5));
    ::chmod(path.c_str(), 0);
    EXPECT_EQ(FailureOf(LoadSpuLog(path)), LoadFailure::CannotOpen);
  }
}

}  // namespace
}  // namespace kestrel
