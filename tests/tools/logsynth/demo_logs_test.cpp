#include <gtest/gtest.h>

#include <cmath>

#include "decoder/decode_job.h"
#include "spulog/header_information.h"
#include "support/answer_scope.h"
#include "support/log_files.h"

namespace kestrel::logsynth {
namespace {

struct Demo {
  const char* file;
  LogFileType type;
};
constexpr Demo kDemos[] = {{"night_drive.spu", LogFileType::New},
                           {"lanterns.spu", LogFileType::New},
                           {"old_arcade.spu", LogFileType::Old},
                           {"harbour_lights.gz", LogFileType::New}};

std::string DemoPath(const char* file) { return std::string(KESTREL_DEMO_DIR) + "/" + file; }

// Root mean square of the first `seconds` of a log as the decoder renders it through the
// shipped plugin (16-bit stereo), full scale 1; -1 when the decode fails.
double DecodedRms(const std::string& log, int seconds) {
  const test::TempFolder folder;
  DecodeRequest request;
  request.pluginPath = KESTREL_PLUGIN_PATH;
  request.logPath = log;
  request.allowCompressed = true;
  request.outputPath = folder / "out.wav";
  request.specifyTime = true;
  request.decodingTime = std::to_string(seconds);
  DecodeJob::Shared job;
  job.decoding = true;
  if (DecodeThread(job, request) != DecodeOutcome::Succeeded) return -1;
  const auto bytes = test::ReadFileBytes(folder / "out.wav");
  EXPECT_GT(bytes.size(), 44u + (seconds - 1) * 44100u * 4u);  // the time asked for, not a cut-short file
  double sum = 0;
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) {
    const auto s = static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
    sum += static_cast<double>(s) * s;
  }
  return std::sqrt(sum / static_cast<double>((bytes.size() - 44) / 2)) / 32768.0;
}

TEST(DemoLogs, LoadWithTitlesFormatAndLength) {
  for (const Demo& demo : kDemos) {
    SCOPED_TRACE(demo.file);
    auto loaded = LoadSpuLog(DemoPath(demo.file));
    ASSERT_TRUE(std::holds_alternative<LoadedLog>(loaded));
    auto& log = std::get<LoadedLog>(loaded);
    EXPECT_EQ(log.type, demo.type);
    EXPECT_GE(log.totalLength, 20u * 44100u);
    const HeaderInformation header = ReadHeaderInformation(DemoPath(demo.file));
    EXPECT_EQ(header.gameTitle, "Kestrel Demo Disc");
    EXPECT_FALSE(header.musicTitle.empty());
  }
  const auto packed = test::ReadFileBytes(DemoPath("harbour_lights.gz"));
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(packed[0], 0x1F);  // gzip magic
  EXPECT_EQ(packed[1], 0x8B);
}

// Night Drive, and the benchmark's stress log, which also uploads samples while it plays.
TEST(DemoLogs, NightDriveAndStressUseEveryVoiceAndReverb) {
  for (const std::string& path : {DemoPath("night_drive.spu"), std::string(KESTREL_STRESS_LOG)}) {
    SCOPED_TRACE(path);
    auto loaded = LoadSpuLog(path);
    ASSERT_TRUE(std::holds_alternative<LoadedLog>(loaded));
    auto& log = std::get<LoadedLog>(loaded);
    std::uint32_t keyed = 0;
    bool lateDma = false;
    for (const LogEvent& e : test::ReadAllEvents(log)) {
      lateDma |= e.kind == LogEventKind::DmaWrite && e.time > 0;
      if (e.kind != LogEventKind::RegisterWrite) continue;
      if (e.address == 0x1F801D88) keyed |= e.value;
      if (e.address == 0x1F801D8A) keyed |= static_cast<std::uint32_t>(e.value) << 16;
    }
    EXPECT_EQ(keyed, 0xFFFFFFu);
    EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801DAA) & 0x80, 0x80);
    EXPECT_NE(RegisterFromImage(*log.block, 0x1F801D98), 0);
    if (path == KESTREL_STRESS_LOG) {
      EXPECT_TRUE(lateDma);
    }
  }
}

// The first seconds of each demo through the shipped plugin.
TEST(DemoLogs, SoundThroughTheReferencePlugin) {
  const test::AnswerScope answers(MessageAnswer::Ok);
  for (const Demo& demo : kDemos) {
    const double rms = DecodedRms(DemoPath(demo.file), 6);
    EXPECT_GT(rms, 0.03) << demo.file;  // music, not silence
    EXPECT_LT(rms, 0.4) << demo.file;   // and not a wall of clipping
  }
  const double stress = DecodedRms(KESTREL_STRESS_LOG, 6);
  EXPECT_GT(stress, 0.03);
  EXPECT_LT(stress, 0.4);
}

}  // namespace
}  // namespace kestrel::logsynth
