// The built plugin through its real entry points, loaded the way the player loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/dynamic_library.h"
#include "plugin/freeze_block.h"
#include "plugin/spu_plugin_api.h"
#include "adpcm_encoder.h"
#include "spu/adpcm.h"
#include "abi/spu_registers.h"
#include "spu_fixture.h"
#include "support/temp_folder.h"

namespace kestrel::spu {
namespace {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = DynamicLibrary::Open(KESTREL_SPU_PLUGIN_PATH);
    ASSERT_TRUE(library_.IsLoaded()) << library_.Error();
    api_ = BindSpuPluginApi(library_);
    ASSERT_NE(api_.SPUrender, nullptr);
    ASSERT_EQ(api_.SPUinit(), 0);
  }
  void TearDown() override {
    if (api_.SPUshutdown) api_.SPUshutdown();
  }

  // A looped tone on voice 0 and a one-shot on voice 5 with a sweep, uploaded by DMA, keyed on.
  void PlayProgram() {
    auto& w = api_.SPUwriteRegister;
    w(spu_reg::kControl, 0xC000);
    w(spu_reg::kMainVolumeLeft, 0x3FFF);
    w(spu_reg::kMainVolumeRight, 0x3000);
    Upload(testing::kSampleUnits, logsynth::EncodeAdpcm(testing::SineCycles(56, 10, 12000), 0));
    Upload(testing::kSampleUnits + 0x100, logsynth::EncodeAdpcm(testing::SineCycles(40, 70, 9000)));
    for (int v : {0, 5}) {
      w(spu_reg::Voice(v, spu_reg::kVolumeLeft), 0x3000);
      w(spu_reg::Voice(v, spu_reg::kVolumeRight), v == 5 ? 0xC07F : 0x2000);  // voice 5 right: a slow decreasing sweep
      w(spu_reg::Voice(v, spu_reg::kPitch), v == 5 ? 0x0C00 : 0x1000);
      w(spu_reg::Voice(v, spu_reg::kStartAddress), static_cast<unsigned short>(testing::kSampleUnits + (v == 5 ? 0x100 : 0)));
      w(spu_reg::Voice(v, spu_reg::kAdsrLow), 0x38F4);
      w(spu_reg::Voice(v, spu_reg::kAdsrHigh), 0x5FCA);
    }
    w(spu_reg::kKeyOnLow, (1 << 0) | (1 << 5));
  }
  void Upload(unsigned short units, std::vector<std::uint8_t> adpcm) {
    api_.SPUwriteRegister(spu_reg::kTransferAddress, units);
    api_.SPUwriteDMAMem(reinterpret_cast<unsigned short*>(adpcm.data()), static_cast<int>(adpcm.size() / 2));
  }
  std::vector<std::int16_t> Render(int frames) {
    // The player's decoder asks for 32 frames (128 bytes) at a time.
    std::vector<std::int16_t> out(2 * static_cast<std::size_t>((frames + 31) / 32 * 32));
    for (int done = 0; done < frames; done += 32) api_.SPUrender(out.data() + 2 * done, 128);
    out.resize(2 * static_cast<std::size_t>(frames));
    return out;
  }

  DynamicLibrary library_;
  SpuPluginApi api_;
};

TEST_F(PluginTest, NamesItselfAndSurvivesNullAndEarlyCalls) {
  EXPECT_STREQ(api_.PSEgetLibName(), "Kestrel Reference SPU");
  EXPECT_EQ(api_.PSEgetLibType(), 4u);
  EXPECT_EQ((api_.PSEgetLibVersion() >> 8) & 0xFF, 1u);
  EXPECT_EQ(api_.SPUconfigure(), 0);
  EXPECT_EQ(api_.SPUfreeze(1, nullptr), 0);
  api_.SPUrender(nullptr, 128);
  api_.SPUplayADPCMchannel(nullptr);
  EXPECT_EQ(api_.SPUplayCDDAchannel(nullptr, 100), 0);
  api_.SPUwriteRegister(0x1F800000, 1);  // outside the SPU: ignored
  EXPECT_EQ(api_.SPUreadRegister(0x1F800000), 0);

  api_.SPUshutdown();  // between shutdown and init every call is a harmless no-op
  api_.SPUwriteRegister(spu_reg::kControl, 0xC000);
  EXPECT_EQ(api_.SPUreadRegister(spu_reg::kControl), 0);
  api_.SPUasync(768 * 10);
  ASSERT_EQ(api_.SPUinit(), 0);
}

// Fields a log or a host hands the plugin that no real one holds: ignored, never read past.
TEST_F(PluginTest, HostileBlocksCountsAndAddressesAreIgnored) {
  auto& w = api_.SPUwriteRegister;
  w(spu_reg::kControl, 0xC001);  // CD audio on, at full volume
  w(spu_reg::kCdVolumeLeft, 0x7FFF);
  w(spu_reg::kCdVolumeRight, 0x7FFF);
  w(spu_reg::kMainVolumeLeft, 0x3FFF);
  w(spu_reg::kMainVolumeRight, 0x3FFF);
  const auto xaBlock = [](std::int32_t frequency, bool stereo, std::int32_t count) {
    std::vector<std::uint8_t> block(kXaBlockSize, 0x40);
    const std::int32_t header[4] = {frequency, 0, stereo ? 1 : 0, count};
    std::memcpy(block.data(), header, sizeof header);
    return block;
  };
  const auto silent = [](const std::vector<std::int16_t>& s) {
    return std::all_of(s.begin(), s.end(), [](std::int16_t v) { return v == 0; });
  };
  // A stereo sample count whose product with the channel count overflows 32 bits.
  for (const std::int32_t count : {0x40000000, 0x7FFFFFFF, -1, 8193}) {
    auto block = xaBlock(37800, true, count);
    api_.SPUplayADPCMchannel(block.data());
  }
  api_.SPUplayCDDAchannel(reinterpret_cast<short*>(std::vector<std::uint8_t>(64, 0x40).data()), -64);
  api_.SPUwriteDMAMem(nullptr, 16);
  EXPECT_TRUE(silent(Render(2048)));
  auto good = xaBlock(37800, true, 8192);
  api_.SPUplayADPCMchannel(good.data());
  EXPECT_FALSE(silent(Render(2048)));

  // An address beyond 32 bits is no port, whatever its low half says.
  w(0x100000000ul + spu_reg::kControl, 0);
  EXPECT_EQ(api_.SPUreadRegister(spu_reg::kControl), 0xC001);
  EXPECT_EQ(api_.SPUreadRegister(0x100000000ul + spu_reg::kControl), 0);
}

TEST_F(PluginTest, FreezeRoundTripRestoresRegistersAndRamWithoutStartingVoices) {
  PlayProgram();
  Render(3000);
  auto saved = MakeFreezeBlock();
  ASSERT_EQ(api_.SPUfreeze(1, saved.get()), 1);
  EXPECT_NE(RegisterFromImage(*saved, spu_reg::Voice(0, spu_reg::kEnvelopeLevel)), 0);

  api_.SPUshutdown();
  ASSERT_EQ(api_.SPUinit(), 0);
  ASSERT_EQ(api_.SPUfreeze(0, saved.get()), 1);
  for (std::uint32_t address = spu_reg::kBase; address < spu_reg::kImageEnd; address += 2) {
    if (address == spu_reg::Voice(5, spu_reg::kVolumeRight)) continue;  // a sweep reads as its level, which restarts
    EXPECT_EQ(api_.SPUreadRegister(address), RegisterFromImage(*saved, address)) << std::hex << address;
  }
  std::vector<unsigned short> ram(kSoundRamSize / 2);
  api_.SPUwriteRegister(spu_reg::kTransferAddress, 0);
  api_.SPUreadDMAMem(ram.data(), static_cast<int>(ram.size()));
  EXPECT_EQ(std::memcmp(ram.data(), saved->soundRam, kSoundRamSize), 0);

  // Loading starts no voice: the state is silent until the log keys voices on.
  const auto quiet = Render(4410);
  EXPECT_TRUE(std::all_of(quiet.begin(), quiet.end(), [](std::int16_t s) { return s == 0; }));
  api_.SPUwriteRegister(spu_reg::kKeyOnLow, 1);
  const auto keyed = Render(441);
  EXPECT_TRUE(std::any_of(keyed.begin(), keyed.end(), [](std::int16_t s) { return s != 0; }));

  // Mode 2 writes the header and nothing else.
  auto header = MakeFreezeBlock();
  std::memset(header->soundRam, 0xAA, 16);
  ASSERT_EQ(api_.SPUfreeze(2, header.get()), 1);
  EXPECT_NE(std::memcmp(header->header, std::vector<std::uint8_t>(16, 0).data(), 16), 0);
  EXPECT_EQ(header->soundRam[15], 0xAA);
  EXPECT_EQ(header->registers[0], 0);
}

// What a log can read back: a voice on known blocks (an end without repeat in the second), through
// ENDX, ENVX, the status register's IRQ flag and voice 1's capture buffer read by DMA.
TEST_F(PluginTest, VoiceFlagsAndCaptureReadBackThroughTheEntryPoints) {
  auto& w = api_.SPUwriteRegister;
  std::vector<std::uint8_t> blocks(4 * kAdpcmBlockBytes, 0x77);
  for (int b = 0; b < 4; ++b) blocks[b * kAdpcmBlockBytes] = 0x04;
  blocks[1] = kAdpcmLoopStart;
  blocks[kAdpcmBlockBytes + 1] = kAdpcmLoopEnd;
  std::fill_n(blocks.begin() + kAdpcmBlockBytes + 2, 14, 0x99);
  Upload(testing::kSampleUnits, blocks);
  w(spu_reg::kControl, 0xC040);
  w(spu_reg::kIrqAddress, testing::kSampleUnits + 2);  // the second block
  w(spu_reg::Voice(1, spu_reg::kPitch), 0x1000);
  w(spu_reg::Voice(1, spu_reg::kStartAddress), testing::kSampleUnits);
  w(spu_reg::Voice(1, spu_reg::kAdsrLow), 0x000F);
  w(spu_reg::Voice(1, spu_reg::kAdsrHigh), 0x1FC0);
  w(spu_reg::kKeyOnLow, 1 << 1);
  Render(32);
  EXPECT_EQ(api_.SPUreadRegister(spu_reg::kEndLow), 0);
  EXPECT_EQ(api_.SPUreadRegister(spu_reg::kStatus) & 0x40, 0x40);  // the second block was read
  Render(32);
  EXPECT_EQ(api_.SPUreadRegister(spu_reg::kEndLow), 1 << 1);
  EXPECT_EQ(api_.SPUreadRegister(spu_reg::Voice(1, spu_reg::kEnvelopeLevel)), 0);
  std::vector<unsigned short> capture(64);
  w(spu_reg::kTransferAddress, 2 * spu_reg::kCaptureBufferBytes / 8);
  api_.SPUreadDMAMem(capture.data(), 64);
  EXPECT_NE(capture[kAdpcmSamplesPerBlock + 20], 0);
  EXPECT_EQ(capture[kAdpcmSamplesPerBlock + 21], 0);  // muted about 8 samples before the block's end
}

// Loading SDL and what it pulls in took longer than rendering a short log, so a host that only
// renders must never load it. Checked in a fresh process: an earlier test may have opened a device.
TEST_F(PluginTest, OnlyOpeningTheSoundDeviceLoadsSdl) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto sdlLoaded = [] {
    void* sdl = ::dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (sdl != nullptr) ::dlclose(sdl);
    return sdl != nullptr;
  };
  EXPECT_EXIT(
      {
        PlayProgram();
        Render(4410);
        if (sdlLoaded()) std::exit(1);
        if (api_.SPUopen(nullptr) != 0 || !sdlLoaded()) std::exit(2);
        api_.SPUclose();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(PluginTest, RealTimeOutputPlaysTheSameSamplesAsRender) {
  PlayProgram();
  const auto rendered = Render(22050);

  test::TempFolder folder;
  const std::string capture = folder / "out.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
  api_.SPUshutdown();
  ASSERT_EQ(api_.SPUinit(), 0);
  ASSERT_EQ(api_.SPUopen(nullptr), 0);
  PlayProgram();
  for (int i = 0; i < 22050 / 44 + 1; ++i) api_.SPUasync(44 * 768 + (i % 3));  // remainders carry over
  api_.SPUclose();
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);

  const auto bytes = test::ReadFileBytes(capture);
  std::vector<std::int16_t> played(bytes.size() / 2);
  std::memcpy(played.data(), bytes.data(), played.size() * 2);
  // The device plays silence until the first frames arrive, and whenever a slow producer (a
  // loaded machine) lets it run dry; apart from silent frames it plays exactly what was rendered.
  const auto soundingFrames = [](const std::vector<std::int16_t>& s) {
    std::vector<std::int16_t> frames;
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
      if (s[i] != 0 || s[i + 1] != 0) frames.insert(frames.end(), {s[i], s[i + 1]});
    }
    return frames;
  };
  const auto expected = soundingFrames(rendered), heard = soundingFrames(played);
  ASSERT_GT(expected.size(), rendered.size() / 2);
  ASSERT_GE(heard.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), heard.begin()));
}

}  // namespace
}  // namespace kestrel::spu
