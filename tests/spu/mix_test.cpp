// The SPU's mix: reverb, CD input, mute and main volume, and sound-RAM transfers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "spu/cd_input.h"
#include "abi/spu_registers.h"
#include "spu/spu.h"
#include "spu_fixture.h"

namespace kestrel::spu {
namespace {
using namespace testing;

double Energy(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return sum / double(to - from);
}

// The Hall preset at the top of sound RAM, full reverb output, and a short full-level burst on
// voice 0 sent into the reverb; the master reverb enable is left to the caller.
void BurstIntoHall(Spu& spu) {
  PowerUp(spu);
  LoadHallReverb(spu);
  spu.writeRegister(spu_reg::kReverbVolumeLeft, 0x7FFF);
  spu.writeRegister(spu_reg::kReverbVolumeRight, 0x7FFF);
  SetUpVoice(spu, 0, UploadSample(spu, SineCycles(100, 40, 32000), -1), 0x1000);
  spu.writeRegister(spu_reg::kReverbModeLow, 1);
}

TEST(Mix, ReverbLeavesABoundedDecayingTail) {
  Spu spu;
  BurstIntoHall(spu);
  spu.writeRegister(spu_reg::kControl, 0xC080);
  KeyOn(spu, 1);
  const auto out = RenderLeft(spu, 44100 * 4);
  const std::size_t burstEnd = 4000 + 200;  // the sample lasts 4000 samples
  const double early = Energy(out, burstEnd, burstEnd + 11025);
  const double late = Energy(out, out.size() - 11025, out.size());
  EXPECT_GT(early, 1e4);           // there is a tail after the dry sound has stopped
  EXPECT_LT(late, early * 0.05);   // and it dies away
  int clipped = 0;
  for (std::int16_t s : out) clipped += (s == 32767 || s == -32768);
  EXPECT_LT(clipped, 50);

  // Without the master enable nothing new goes into the buffer: a fresh burst adds no tail.
  Spu dry;
  BurstIntoHall(dry);
  KeyOn(dry, 1);
  const auto dryOut = RenderLeft(dry, 44100);
  EXPECT_EQ(Energy(dryOut, burstEnd, burstEnd + 11025), 0.0);
}

TEST(Mix, CdInputIsResampledAndMixedAtTheCdVolumeEvenWhenMuted) {
  Spu spu;
  PowerUp(spu);
  spu.writeRegister(spu_reg::kControl, 0x0001);  // SPU off and muted, CD audio on
  spu.writeRegister(spu_reg::kCdVolumeLeft, 0x4000);
  spu.writeRegister(spu_reg::kCdVolumeRight, 0x4000);
  // 37,800 Hz mono XA: 3780 samples last 0.1 s, so 4410 frames at 44.1 kHz, seven for every six
  // through the CD controller's zigzag filter, which rings a little before the tone and passes
  // about 7400h/8000h of it; 18,900 Hz goes through it with every sample twice.
  for (int rate : {37800, 18900}) {
    const auto block = XaBlock(rate, false, SineCycles(378 * rate / 37800, 10, 20000));
    spu.playXa(block.data());
    const auto out = RenderLeft(spu, 4500);
    EXPECT_NEAR(MeasureFrequency({out.data() + 50, 4300}), 100.0, 0.5);
    const auto peak = *std::max_element(out.begin(), out.end());
    EXPECT_NEAR(peak, 20000 / 2 * 0x7400 / 0x8000, 100);  // CD volume 4000h is one half; main volume 3FFFh is full
    EXPECT_NE(out[4409], 0);
    EXPECT_EQ(out[4410], 0);  // drained: silence, not stale data
  }

  // CD audio at 44.1 kHz passes frame for frame; the capture buffer records it unscaled.
  std::vector<std::int16_t> pcm = {1000, -1000, 2000, -2000};
  spu.playCdda(reinterpret_cast<const std::uint8_t*>(pcm.data()), pcm.size() * 2);
  std::int16_t frames[4];
  spu.render(frames, 2);
  EXPECT_NEAR(frames[0], 1000 / 2, 1);
  EXPECT_NEAR(frames[3], -2000 / 2, 1);
  EXPECT_EQ(static_cast<std::int16_t>(spu.soundRam()[0x400 + 2 * ((9000 + 1) % 0x200)] |
                                      (spu.soundRam()[0x401 + 2 * ((9000 + 1) % 0x200)] << 8)),
            -2000);

  // A block with an impossible header is ignored.
  auto bad = XaBlock(37800, true, {});
  std::int32_t huge = 1 << 20;
  std::memcpy(bad.data() + 12, &huge, 4);
  spu.playXa(bad.data());
  EXPECT_EQ(RenderLeft(spu, 10), std::vector<std::int16_t>(10, 0));
}

TEST(Mix, TransfersUseTheAddressRegisterInEightByteUnits) {
  Spu spu;
  spu.writeRegister(spu_reg::kTransferAddress, 0x1234);
  // The data port fills a 32-halfword FIFO, which goes to RAM once the mode is manual write; a
  // full FIFO takes no more.
  for (int i = 0; i < 40; ++i) spu.writeRegister(spu_reg::kTransferFifo, i == 0 ? 0xBEEF : i == 1 ? 0xCAFE : 0x5555);
  EXPECT_EQ(spu.soundRam()[0x1234 * 8], 0);
  spu.writeRegister(spu_reg::kControl, 0x0010);
  EXPECT_EQ(spu.soundRam()[0x1234 * 8 + 2 * 31], 0x55);
  EXPECT_EQ(spu.soundRam()[0x1234 * 8 + 2 * 32], 0);
  spu.writeRegister(spu_reg::kTransferFifo, 0x7777);  // while in manual write mode, straight through
  EXPECT_EQ(spu.soundRam()[0x1234 * 8 + 2 * 32], 0x77);
  EXPECT_EQ(spu.soundRam()[0x1234 * 8], 0xEF);
  EXPECT_EQ(spu.soundRam()[0x1234 * 8 + 3], 0xCA);
  EXPECT_EQ(spu.readRegister(spu_reg::kTransferAddress), 0x1234);

  std::uint16_t words[3] = {1, 2, 3};
  spu.writeRegister(spu_reg::kTransferAddress, 0xFFFF);  // the last 8 bytes: the transfer wraps to 0
  spu.writeDma(words, 3);
  spu.writeDma(words, 2);
  spu.writeRegister(spu_reg::kTransferAddress, 0xFFFF);
  std::uint16_t back[5] = {};
  spu.readDma(back, 5);
  EXPECT_EQ(back[2], 3);
  EXPECT_EQ(back[4], 2);
  EXPECT_EQ(spu.soundRam()[0], 2);

  spu.writeRegister(spu_reg::kControl, 0x0020);  // DMA write mode shows in the status register
  EXPECT_EQ(spu.readRegister(spu_reg::kStatus) & 0x3FF, 0x1A0);
}

}  // namespace
}  // namespace kestrel::spu
