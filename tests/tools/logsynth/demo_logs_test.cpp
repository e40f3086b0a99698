#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "log_render.h"
#include "plugin/dynamic_library.h"
#include "spu/spu.h"
#include "spulog/header_information.h"
#include "support/temp_folder.h"
#include "synth_fixtures.h"

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
  for (const LogEvent& e : test_support::ReadAllEvents(log)) {
    if (e.kind != LogEventKind::RegisterWrite) continue;
    if (e.address == 0x1F801D88) keyed |= e.value;
    if (e.address == 0x1F801D8A) keyed |= static_cast<std::uint32_t>(e.value) << 16;
  }
  EXPECT_EQ(keyed, 0xFFFFFFu);
  EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801DAA) & 0x80, 0x80);
  EXPECT_NE(RegisterFromImage(*log.block, 0x1F801D98), 0);
}

// The first seconds of each demo, through the emulator the reference plugin is built on.
TEST(DemoLogs, SoundThroughTheEmulator) {
  for (const Demo& demo : kDemos) {
    SCOPED_TRACE(demo.file);
    auto spu = std::make_unique<spu::Spu>();
    const auto pcm = test::RenderLog(DemoPath(demo.file), test::EmulatorTarget(*spu), 6.0);
    ASSERT_EQ(pcm.size(), 6u * 44100u * 2u);
    const double rms = test::RmsLevel(pcm);
    EXPECT_GT(rms, 0.03);  // music, not silence
    EXPECT_LT(rms, 0.4);   // and not a wall of clipping
  }
}

TEST(DemoLogs, SoundThroughTheReferencePlugin) {
  if (!std::filesystem::exists(KESTREL_PLUGIN_PATH)) GTEST_SKIP() << "no plugin at " << KESTREL_PLUGIN_PATH;
  const DynamicLibrary library = DynamicLibrary::Open(KESTREL_PLUGIN_PATH);
  ASSERT_TRUE(library.IsLoaded());
  const SpuPluginApi api = BindSpuPluginApi(library);
  if (api.SPUinit == nullptr || api.SPUrender == nullptr || api.SPUfreeze == nullptr) {
    GTEST_SKIP() << "the plugin cannot render yet";
  }
  ASSERT_EQ(api.SPUinit(), 0);
  const auto pcm = test::RenderLog(DemoPath("night_drive.spu"), test::PluginTarget(api), 4.0);
  api.SPUshutdown();
  EXPECT_GT(test::RmsLevel(pcm), 0.03);
}

}  // namespace
}  // namespace kestrel::logsynth
