#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "plugin/dynamic_library.h"
#include "plugin/spu_plugin_api.h"
#include "spulog/header_information.h"
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

// The first `seconds` of a log played through a plugin as the decoder plays it: interleaved stereo.
std::vector<std::int16_t> RenderLog(const std::string& path, const SpuPluginApi& api, double seconds) {
  auto loaded = LoadSpuLog(path);
  auto* log = std::get_if<LoadedLog>(&loaded);
  if (log == nullptr) return {};
  api.SPUfreeze(0, log->block.get());
  const auto end = std::min(log->totalLength, static_cast<std::uint32_t>(seconds * 44100));
  std::vector<std::int16_t> out(static_cast<std::size_t>(end) * 2);
  std::uint32_t rendered = 0;
  const auto renderTo = [&](std::uint32_t time) {
    time = std::min(time, end);
    if (time <= rendered) return;
    api.SPUrender(out.data() + 2 * static_cast<std::size_t>(rendered), static_cast<int>(time - rendered) * 4);
    rendered = time;
  };
  for (LogEvent& e : test::ReadAllEvents(*log)) {
    if (e.time >= end) break;
    renderTo(e.time);
    if (e.kind == LogEventKind::RegisterWrite) api.SPUwriteRegister(e.address, e.value);
    if (e.kind == LogEventKind::XaBlock) api.SPUplayADPCMchannel(e.data.data());
    if (e.kind == LogEventKind::CdAudio) {
      api.SPUplayCDDAchannel(reinterpret_cast<short*>(e.data.data()), static_cast<int>(e.data.size()));
    }
    if (e.kind == LogEventKind::DmaWrite) {
      std::vector<unsigned short> words(e.data.size() / 2);
      std::memcpy(words.data(), e.data.data(), words.size() * 2);
      api.SPUwriteDMAMem(words.data(), static_cast<int>(words.size()));
    }
  }
  renderTo(end);
  return out;
}

// Root mean square of interleaved stereo, full scale 1.
double RmsLevel(const std::vector<std::int16_t>& stereo) {
  double sum = 0;
  for (const std::int16_t s : stereo) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(stereo.size(), 1))) / 32768.0;
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

TEST(DemoLogs, NightDriveUsesEveryVoiceAndReverb) {
  auto loaded = LoadSpuLog(DemoPath("night_drive.spu"));
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(loaded));
  auto& log = std::get<LoadedLog>(loaded);
  std::uint32_t keyed = 0;
  for (const LogEvent& e : test::ReadAllEvents(log)) {
    if (e.kind != LogEventKind::RegisterWrite) continue;
    if (e.address == 0x1F801D88) keyed |= e.value;
    if (e.address == 0x1F801D8A) keyed |= static_cast<std::uint32_t>(e.value) << 16;
  }
  EXPECT_EQ(keyed, 0xFFFFFFu);
  EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801DAA) & 0x80, 0x80);
  EXPECT_NE(RegisterFromImage(*log.block, 0x1F801D98), 0);
}

// The first seconds of each demo through the shipped plugin.
TEST(DemoLogs, SoundThroughTheReferencePlugin) {
  const DynamicLibrary library = DynamicLibrary::Open(KESTREL_PLUGIN_PATH);
  ASSERT_TRUE(library.IsLoaded()) << library.Error();
  const SpuPluginApi api = BindSpuPluginApi(library);
  for (const Demo& demo : kDemos) {
    SCOPED_TRACE(demo.file);
    ASSERT_EQ(api.SPUinit(), 0);
    const auto pcm = RenderLog(DemoPath(demo.file), api, 6.0);
    api.SPUshutdown();
    ASSERT_EQ(pcm.size(), 6u * 44100u * 2u);
    const double rms = RmsLevel(pcm);
    EXPECT_GT(rms, 0.03);  // music, not silence
    EXPECT_LT(rms, 0.4);   // and not a wall of clipping
  }
}

}  // namespace
}  // namespace kestrel::logsynth
