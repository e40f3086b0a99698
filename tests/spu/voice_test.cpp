// Voices through the emulator's register interface: pitch, envelope, key on, loop flags, noise, modulation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "abi/spu_registers.h"
#include "spu/spu.h"
#include "spu/voice.h"
#include "spu_fixture.h"

namespace kestrel::spu {
namespace {
using namespace testing;

int Envx(const Spu& spu, int voice) {
  return static_cast<std::int16_t>(spu.readRegister(spu_reg::Voice(voice, spu_reg::kEnvelopeLevel)));
}

// Ticks until ENVX first satisfies `done` (rendering one frame at a time), or -1.
template <typename Done>
int TicksUntil(Spu& spu, int voice, Done done, int limit) {
  std::int16_t frame[2];
  for (int tick = 0; tick < limit; ++tick) {
    if (done(Envx(spu, voice))) return tick;
    spu.render(frame, 1);
  }
  return -1;
}

// The walk from block to block divides by a multiply: it must give the quotient for every step and
// every span a run can ask about, including those just below and at a multiple of the step.
TEST(Voice, StepDividerGivesTheExactQuotientForEveryStep) {
  StepDivider divider;
  for (std::uint32_t step = 1; step <= kMaxPitchStep; ++step) {
    divider.use(step);
    for (std::uint32_t multiple = 0; multiple * step < (1u << 18); multiple += 1 + multiple / 3) {
      for (const std::uint32_t span : {multiple * step, multiple * step + step - 1, multiple * step + step / 2}) {
        if (span >= (1u << 18)) continue;
        ASSERT_EQ(divider.quotient(span), span / step) << "step " << step << " span " << span;
      }
    }
  }
}

TEST(Voice, LoopedToneHasTheFrequencyItsPitchAsksFor) {
  for (const std::uint16_t pitch : {std::uint16_t{0x1000}, std::uint16_t{0x0800}, std::uint16_t{0x1800}}) {
    Spu spu;
    PowerUp(spu);
    const auto tone = SineCycles(56, 10, 12000);  // 787.5 Hz at the natural rate
    SetUpVoice(spu, 0, UploadSample(spu, tone, 0), pitch);
    KeyOn(spu, 1);
    const auto out = RenderLeft(spu, 44100);
    const double expected = 44100.0 / 56 * pitch / 0x1000;
    EXPECT_NEAR(MeasureFrequency(out), expected, expected * 0.001) << "pitch " << pitch;
  }
}

TEST(Voice, LinearAdsrPhasesLastAsTheRateFormulaSays) {
  Spu spu;
  PowerUp(spu);
  SetUpVoice(spu, 0, UploadSample(spu, SineCycles(28, 1, 1000), 0), 0x1000,
             // attack linear, shift 13, step +7: +7 every 2^(13-11) = 4 ticks; sustain level 8 -> 4800h
             static_cast<std::uint16_t>((13 << 10) | (0 << 8) | (0 << 4) | 8),
             // sustain: linear decrease, shift 31 step 3 never steps; release linear shift 9: -8 << 2 per tick
             static_cast<std::uint16_t>(0x4000 | (31 << 8) | (3 << 6) | 9));
  KeyOn(spu, 1);
  EXPECT_EQ(Envx(spu, 0), 0);
  const int attack = TicksUntil(spu, 0, [](int level) { return level >= 0x7FFF; }, 100000);
  EXPECT_EQ(attack, (0x7FFF + 6) / 7 * 4);
  // Decay (exponential, shift 0) reaches the sustain level within a few hundred ticks and holds it.
  const int decay = TicksUntil(spu, 0, [](int level) { return level <= 0x4800; }, 100000);
  EXPECT_GT(decay, 0);
  EXPECT_LT(decay, 500);
  const int sustained = Envx(spu, 0);
  std::int16_t frames[2 * 1000];
  spu.render(frames, 1000);
  EXPECT_EQ(Envx(spu, 0), sustained);

  spu.writeRegister(spu_reg::kKeyOffLow, 1);
  const int release = TicksUntil(spu, 0, [](int level) { return level == 0; }, 100000);
  EXPECT_NEAR(release, sustained / 32.0, 1.0);
}

TEST(Voice, ExponentialAttackSlowsAbove6000h) {
  Spu spu;
  PowerUp(spu);
  SetUpVoice(spu, 0, UploadSample(spu, SineCycles(28, 1, 1000), 0), 0x1000,
             static_cast<std::uint16_t>(0x8000 | (10 << 10) | 0x000F));  // exponential, shift 10: +14 per tick
  KeyOn(spu, 1);
  const int fast = TicksUntil(spu, 0, [](int level) { return level > 0x6000; }, 100000);
  const int slow = TicksUntil(spu, 0, [](int level) { return level >= 0x7FFF; }, 100000);
  EXPECT_EQ(fast, 0x6000 / 14 + 1);
  // Above 6000h shift 10 halves both step and rate: +7 every other tick.
  EXPECT_NEAR(slow, (0x7FFF - 0x6000) / 7.0 * 2, 4);
}

TEST(Voice, KeyOnSoundsWithinAFewSamplesAndRestartsTheEnvelope) {
  Spu spu;
  PowerUp(spu);
  SetUpVoice(spu, 3, UploadSample(spu, std::vector<std::int16_t>(280, 20000), 0), 0x1000);
  EXPECT_EQ(RenderLeft(spu, 100), std::vector<std::int16_t>(100, 0));  // nothing before key on
  KeyOn(spu, 1u << 3);
  const auto out = RenderLeft(spu, 16);
  const auto first = std::find_if(out.begin(), out.end(), [](std::int16_t s) { return s != 0; });
  ASSERT_NE(first, out.end());
  EXPECT_LE(first - out.begin(), 4);

  // ENVX reads back the level and a write moves it; a second key on starts again from zero.
  EXPECT_EQ(Envx(spu, 3), 0x7FFF);
  spu.writeRegister(spu_reg::Voice(3, spu_reg::kEnvelopeLevel), 0x1234);
  EXPECT_EQ(Envx(spu, 3), 0x1234);
  KeyOn(spu, 1u << 3);
  EXPECT_EQ(Envx(spu, 3), 0);
}

TEST(Voice, LoopFlagsDriveEndxAndTheRepeatAddress) {
  Spu spu;
  PowerUp(spu);
  const std::uint16_t oneShot = UploadSample(spu, std::vector<std::int16_t>(56, 15000), -1);
  const std::uint16_t looped = UploadSample(spu, std::vector<std::int16_t>(84, 15000), 28, kSampleUnits + 0x10);
  SetUpVoice(spu, 0, oneShot, 0x1000);
  SetUpVoice(spu, 1, looped, 0x1000);
  spu.writeRegister(spu_reg::Voice(1, spu_reg::kVolumeLeft), 0);
  KeyOn(spu, 0b11);
  EXPECT_EQ(spu.readRegister(spu_reg::kEndLow), 0);
  spu.render(std::vector<std::int16_t>(2 * 48).data(), 48);
  EXPECT_EQ(spu.readRegister(spu_reg::kEndLow), 0);  // neither is near the end of its last block yet

  const auto rest = RenderLeft(spu, 100);
  EXPECT_EQ(spu.readRegister(spu_reg::kEndLow), 0b11);
  // The one-shot voice is silenced at its end; the looped one still sounds from its loop block.
  EXPECT_EQ(Envx(spu, 0), 0);
  EXPECT_EQ(rest.back(), 0);
  EXPECT_GT(Envx(spu, 1), 0);
  EXPECT_EQ(spu.readRegister(spu_reg::Voice(1, spu_reg::kRepeatAddress)), looped + 2);  // second 16-byte block

  KeyOn(spu, 0b10);  // key on clears only its own ENDX bit
  EXPECT_EQ(spu.readRegister(spu_reg::kEndLow), 0b01);
}

TEST(Voice, NoiseFollowsTheControlRegisterClock) {
  auto crossings = [](int shift) {
    Spu spu;
    PowerUp(spu);
    spu.writeRegister(spu_reg::kControl, static_cast<std::uint16_t>(0xC000 | (shift << 10)));
    SetUpVoice(spu, 0, UploadSample(spu, std::vector<std::int16_t>(28, 0), 0), 0x1000);
    spu.writeRegister(spu_reg::kNoiseModeLow, 1);
    KeyOn(spu, 1);
    const auto out = RenderLeft(spu, 8820);
    int count = 0;
    for (std::size_t i = 1; i < out.size(); ++i) count += (out[i - 1] < 0) != (out[i] < 0);
    return count;
  };
  const int slow = crossings(9), fast = crossings(13);
  EXPECT_GT(slow, 10);  // noise plays although the sample is silent
  EXPECT_GT(fast, 4 * slow);
}

TEST(Voice, PitchModulationScalesTheStepByTheVoiceBelow) {
  Spu spu;
  PowerUp(spu);
  // Voice 0 plays a steady positive level, muted in the mix; voice 1 a tone modulated by it.
  SetUpVoice(spu, 0, UploadSample(spu, std::vector<std::int16_t>(280, 16384), 0), 0x1000);
  spu.writeRegister(spu_reg::Voice(0, spu_reg::kVolumeLeft), 0);
  spu.writeRegister(spu_reg::Voice(0, spu_reg::kVolumeRight), 0);
  SetUpVoice(spu, 1, UploadSample(spu, SineCycles(56, 10, 12000), 0, kSampleUnits + 0x100), 0x0800);
  spu.writeRegister(spu_reg::kPitchModLow, 0b10);
  KeyOn(spu, 0b11);
  RenderLeft(spu, 200);
  const int modulator = spu.state().voices[0].output;
  const auto out = RenderLeft(spu, 44100);
  const double expected = 44100.0 / 56 * 0.5 * (modulator + 0x8000) / 0x8000;
  EXPECT_GT(modulator, 10000);
  EXPECT_NEAR(MeasureFrequency(out), expected, expected * 0.002);
}

}  // namespace
}  // namespace kestrel::spu
