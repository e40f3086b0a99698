// Small cases of the console's documented and captured behaviour: a voice keyed on a known block,
// read back through the capture buffer of voice 1, ENVX, ENDX and the repeat address.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "spu/adpcm.h"
#include "spu/le16.h"
#include "abi/spu_registers.h"
#include "spu/reverb.h"
#include "spu/spu.h"
#include "spu_fixture.h"

namespace kestrel::spu {
namespace {
using namespace testing;

using Block = std::array<std::uint8_t, kAdpcmBlockBytes>;
Block MakeBlock(std::uint8_t header, std::uint8_t flags, std::uint8_t fill) {
  Block block;
  block.fill(fill);
  block[0] = header;
  block[1] = flags;
  return block;
}

void Upload(Spu& spu, const std::vector<Block>& blocks) {
  std::vector<std::uint16_t> words;
  for (const Block& b : blocks)
    for (int i = 0; i < kAdpcmBlockBytes; i += 2) words.push_back(static_cast<std::uint16_t>(b[i] | (b[i + 1] << 8)));
  spu.writeRegister(spu_reg::kTransferAddress, kSampleUnits);
  spu.writeDma(words.data(), static_cast<int>(words.size()));
}

// A sustain that never steps: the level stays where it is put.
constexpr std::uint16_t kFastAttack = 0x000F, kFrozenSustain = 0x1FC0;

// Voice 1 on the blocks at pitch 1000h, full volume, not yet keyed on.
void SetUpVoice1(Spu& spu, const std::vector<Block>& blocks, std::uint16_t adsrLow = kFastAttack,
                 std::uint16_t adsrHigh = kFrozenSustain) {
  PowerUp(spu);
  Upload(spu, blocks);
  SetUpVoice(spu, 1, kSampleUnits, 0x1000, adsrLow, adsrHigh);
}

void Render(Spu& spu, int frames) {
  std::vector<std::int16_t> stereo(2 * static_cast<std::size_t>(frames));
  spu.render(stereo.data(), frames);
}

// Voice 1's capture buffer at halfword `index`.
std::int16_t Captured(const Spu& spu, int index) {
  const std::uint8_t* p = spu.soundRam() + 2 * spu_reg::kCaptureBufferBytes + 2 * index;
  return static_cast<std::int16_t>(p[0] | (p[1] << 8));
}

int Envx(const Spu& spu, int voice) {
  return static_cast<std::int16_t>(spu.readRegister(spu_reg::Voice(voice, spu_reg::kEnvelopeLevel)));
}

TEST(HardwareCases, AdpcmFiltersShiftsAndHistory) {
  std::int16_t out[kAdpcmSamplesPerBlock];
  AdpcmHistory history;
  // Filter 0: shift 12 gives the nibble itself, shift 0 the nibble times 4096.
  DecodeAdpcmBlock(MakeBlock(0x0C, 0, 0x87).data(), history, out);
  EXPECT_EQ(out[0], 7);
  EXPECT_EQ(out[1], -8);
  DecodeAdpcmBlock(MakeBlock(0x00, 0, 0x87).data(), history, out);
  EXPECT_EQ(out[0], 0x7000);
  EXPECT_EQ(out[1], -0x8000);

  // Each filter product is divided by 64 on its own, rounding down: filter 1 from -64, then filter 2
  // from (100, 100), where a rounded sum would give -56 and 98.
  history = {0, -64};
  DecodeAdpcmBlock(MakeBlock(0x1C, 0, 0).data(), history, out);
  EXPECT_EQ(out[0], -60);
  EXPECT_EQ(out[1], -57);
  history = {100, 100};
  DecodeAdpcmBlock(MakeBlock(0x2C, 0, 0).data(), history, out);
  EXPECT_EQ(out[0], 179 - 82);
  // The history carries into the next block: its last two samples.
  EXPECT_EQ(history.old, out[27]);
  EXPECT_EQ(history.older, out[26]);

  // Reserved filters 5..15 predict nothing, whatever the history: the bare nibbles.
  for (int header : {0x5C, 0x7C, 0xFC}) {
    history = {3000, -3000};
    DecodeAdpcmBlock(MakeBlock(static_cast<std::uint8_t>(header), 0, 0x78).data(), history, out);
    EXPECT_EQ(out[0], -8);
    EXPECT_EQ(out[1], 7);
    EXPECT_EQ(out[27], 7);
  }
  // Reserved shifts 13..15 act as shift 9.
  for (int header : {0x0D, 0x0E, 0x0F}) {
    DecodeAdpcmBlock(MakeBlock(static_cast<std::uint8_t>(header), 0, 0x78).data(), history, out);
    EXPECT_EQ(out[0], -64);
    EXPECT_EQ(out[1], 56);
  }
}

TEST(HardwareCases, GaussianSumIsShiftedOnceAfterTheEnvelopeSettles) {
  // Filter 4, shift 0, all nibbles +7: saturates at 7FFFh; with ENVX held at 3FFFh the console
  // captures 16318 (the four products summed, then shifted), not 16317.
  Spu spu;
  std::vector<Block> blocks(4, MakeBlock(0x40, 0, 0x77));
  blocks[3][1] = kAdpcmLoopEnd | kAdpcmLoopRepeat;
  SetUpVoice1(spu, blocks);
  KeyOn(spu, 1u << 1);
  Render(spu, 8);
  spu.writeRegister(spu_reg::Voice(1, spu_reg::kEnvelopeLevel), 0x3FFF);
  Render(spu, 40);
  EXPECT_EQ(Captured(spu, 40), 16318);
  EXPECT_EQ(Envx(spu, 1), 0x3FFF);
}

TEST(HardwareCases, DecayEndsBelowTheSustainLevelAndReleaseStepsAtOnce) {
  const std::vector<Block> silence(2, MakeBlock(0x00, kAdpcmLoopEnd | kAdpcmLoopRepeat, 0));
  // Sustain level 0 (800h), exponential decay at shift 11: steps of -1 near the end, and the decay
  // stops below the level, at 7FFh.
  Spu spu;
  SetUpVoice1(spu, silence, 0x00B0);
  KeyOn(spu, 1u << 1);
  Render(spu, 30000);
  EXPECT_EQ(Envx(spu, 1), 0x07FF);

  // A release at the slowest rate, linear or exponential, from 7FFFh: its first step comes at once.
  for (int release : {0x001F, 0x003F}) {
    Spu held;
    SetUpVoice1(held, silence, kFastAttack, static_cast<std::uint16_t>(kFrozenSustain | release));
    KeyOn(held, 1u << 1);
    Render(held, 100);
    // Sustain level 15 still lets the decay take its first step, from 7FFFh to 3FFFh, as on the console.
    ASSERT_EQ(Envx(held, 1), 0x3FFF);
    held.writeRegister(spu_reg::Voice(1, spu_reg::kEnvelopeLevel), 0x7FFF);
    Render(held, 100);
    held.writeRegister(spu_reg::kKeyOffLow, 0x0002);
    Render(held, 1);
    EXPECT_EQ(Envx(held, 1), 0x7FF7);
    Render(held, 5000);
    EXPECT_EQ(Envx(held, 1), 0x7FF7);
  }
}

// A block's end flags act while its sample 21 is the newest under the interpolation: an end without
// repeat mutes the voice about 8 samples before the block has been heard to its end, and ENDX rises then.
TEST(HardwareCases, EndWithoutRepeatMutesEightSamplesEarly) {
  std::vector<Block> blocks = {MakeBlock(0x04, kAdpcmLoopStart, 0x77), MakeBlock(0x04, kAdpcmLoopEnd, 0x99),
                               MakeBlock(0x04, 0, 0x77), MakeBlock(0x04, kAdpcmLoopEnd | kAdpcmLoopRepeat, 0x77)};
  Spu spu;
  SetUpVoice1(spu, blocks);
  KeyOn(spu, 1u << 1);
  Render(spu, kAdpcmSamplesPerBlock + 21);  // ticks 0..48: up to sample 20 of the second block
  EXPECT_EQ(spu.readRegister(spu_reg::kEndLow), 0);
  EXPECT_LT(Captured(spu, kAdpcmSamplesPerBlock + 20), 0);
  Render(spu, 1);
  EXPECT_EQ(spu.readRegister(spu_reg::kEndLow), 0x0002);
  EXPECT_EQ(Captured(spu, kAdpcmSamplesPerBlock + 21), 0);
  EXPECT_EQ(Envx(spu, 1), 0);
  Render(spu, 20);
  EXPECT_EQ(spu.readRegister(spu_reg::Voice(1, spu_reg::kRepeatAddress)), kSampleUnits);  // back at the first block

  // In noise mode the end only moves the address: the voice goes on sounding.
  Spu noise;
  SetUpVoice1(noise, blocks);
  noise.writeRegister(spu_reg::kNoiseModeLow, 0x0002);
  KeyOn(noise, 1u << 1);
  Render(noise, 200);
  EXPECT_EQ(noise.readRegister(spu_reg::kEndLow), 0x0002);
  EXPECT_GT(Envx(noise, 1), 0);
}

bool IrqFlag(const Spu& spu) { return (spu.readRegister(spu_reg::kStatus) & 0x40) != 0; }

// The IRQ address on halfwords 20..23 of the capture buffers, and the 21 ticks that write them.
void RenderPastCaptureIrq(Spu& spu, std::uint16_t reverbBase, std::uint16_t transferControl) {
  PowerUp(spu);
  spu.writeRegister(spu_reg::kReverbBase, reverbBase);
  spu.writeRegister(spu_reg::kTransferControl, transferControl);
  spu.writeRegister(spu_reg::kIrqAddress, (spu_reg::kCaptureBufferBytes + 40) / 8);
  spu.writeRegister(spu_reg::kControl, 0xC040);
  Render(spu, 21);
}

// The IRQ flag (status bit 6) rises when the SPU touches the IRQ address while the IRQ is enabled:
// a voice's block, the capture buffers, a transfer. Clearing the enable acknowledges it.
TEST(HardwareCases, IrqFlagRisesOnTheIrqAddress) {
  std::vector<Block> blocks(4, MakeBlock(0x0C, 0, 0x11));
  blocks[3][1] = kAdpcmLoopEnd | kAdpcmLoopRepeat;

  Spu spu;
  SetUpVoice1(spu, blocks);
  spu.writeRegister(spu_reg::kIrqAddress, kSampleUnits + 2 * 2);  // the third block
  spu.writeRegister(spu_reg::kControl, 0xC040);
  KeyOn(spu, 1u << 1);
  Render(spu, 2 * kAdpcmSamplesPerBlock - 1);
  EXPECT_FALSE(IrqFlag(spu));
  Render(spu, 1);
  EXPECT_TRUE(IrqFlag(spu));
  const auto acknowledge = [&] {
    spu.writeRegister(spu_reg::kControl, 0xC000);
    EXPECT_FALSE(IrqFlag(spu));
    spu.writeRegister(spu_reg::kControl, 0xC040);
  };
  acknowledge();
  // The voice reads the block's header on every tick: while it plays the block, the flag rises again
  // at once, as captured on the console (the public SPU test procedures, spu-irq.c: ack_rearms).
  Render(spu, 1);
  EXPECT_TRUE(IrqFlag(spu));
  Render(spu, kAdpcmSamplesPerBlock - 1);  // on to the fourth block
  acknowledge();
  Render(spu, kAdpcmSamplesPerBlock - 8);  // the fourth block: not the address
  EXPECT_FALSE(IrqFlag(spu));

  // The capture buffers: halfwords 20..23 of each are written on ticks 20..23 of a lap.
  Spu capture;
  PowerUp(capture);
  capture.writeRegister(spu_reg::kIrqAddress, (spu_reg::kCaptureBufferBytes + 40) / 8);
  capture.writeRegister(spu_reg::kControl, 0xC040);
  Render(capture, 20);
  EXPECT_FALSE(IrqFlag(capture));
  Render(capture, 1);
  EXPECT_TRUE(IrqFlag(capture));
  // Also when that tick ends a render, with the reverb work area on the capture buffers or clear of them.
  for (const std::uint16_t reverbBase : {std::uint16_t{0x0000}, std::uint16_t{0x8000}}) {
    Spu once;
    RenderPastCaptureIrq(once, reverbBase, spu_reg::kTransferControlNormal);
    EXPECT_TRUE(IrqFlag(once)) << reverbBase;
  }

  // A transfer over the address, and none while the IRQ is disabled.
  for (int control : {0xC000, 0xC040}) {
    Spu transfer;
    PowerUp(transfer);
    transfer.writeRegister(spu_reg::kIrqAddress, 0x3003);
    transfer.writeRegister(spu_reg::kControl, static_cast<std::uint16_t>(control));
    transfer.writeRegister(spu_reg::kTransferAddress, 0x3000);
    const std::vector<std::uint16_t> words(12, 0x1234);
    transfer.writeDma(words.data(), 12);
    EXPECT_FALSE(IrqFlag(transfer));
    transfer.writeDma(words.data(), 1);
    EXPECT_EQ(IrqFlag(transfer), control == 0xC040);
  }
}

// The capture buffers raise the IRQ and show which half they write (status bit 11) only with bit 2 or
// 3 of the transfer control register set; no IRQ rises with the SPU off (psx-spx, "SPU Interrupt",
// Capture Interrupt; "SPU Control and Status Register").
TEST(HardwareCases, CaptureSignalsOnlyWithTransferControlBitsAndIrqsOnlyWithTheSpuOn) {
  for (const std::uint16_t transferControl : {std::uint16_t{0x0004}, std::uint16_t{0x0008}, std::uint16_t{0x0000}}) {
    Spu spu;
    RenderPastCaptureIrq(spu, 0x8000, transferControl);
    EXPECT_EQ(IrqFlag(spu), transferControl != 0) << transferControl;
    Render(spu, spu_reg::kCaptureHalfwords / 2);
    EXPECT_EQ((spu.readRegister(spu_reg::kStatus) & 0x0800) != 0, transferControl != 0) << transferControl;
  }
  Spu off;
  PowerUp(off);
  off.writeRegister(spu_reg::kIrqAddress, 0x3003);
  off.writeRegister(spu_reg::kControl, 0x4040);  // unmuted, IRQ enabled, SPU off
  off.writeRegister(spu_reg::kTransferAddress, 0x3000);
  const std::vector<std::uint16_t> words(16, 0x1234);
  off.writeDma(words.data(), 16);
  EXPECT_FALSE(IrqFlag(off));
}

// The reverb reaches sound RAM on every tick, the left side's places on even ticks and the right's on
// odd ones, whether it writes and is heard or not (psx-spx, "SPU Interrupt", Reverb Interrupt). Here
// one COMB1 place of the otherwise zero places comes to the IRQ address at the 33rd buffer address.
TEST(HardwareCases, IrqFlagRisesWhereTheReverbReaches) {
  constexpr std::uint16_t kBase = 0xF000;
  const auto setUp = [](Spu& spu, spu_reg::ReverbRegister place, int irqAddress, int control) {
    PowerUp(spu);
    spu.writeRegister(spu_reg::Reverb(place), 0x10);
    spu.writeRegister(spu_reg::kReverbBase, kBase);
    spu.writeRegister(spu_reg::kIrqAddress, static_cast<std::uint16_t>(irqAddress));
    spu.writeRegister(spu_reg::kControl, static_cast<std::uint16_t>(control));
  };
  for (const bool left : {true, false}) {
    for (const int control : {0xC040, 0xC0C0}) {  // writes off, on
      for (const int callFrames : {1, 2}) {          // calls of two ticks begin on the right side
        SCOPED_TRACE(::testing::Message() << (left ? "left" : "right") << " control " << control << " calls "
                                          << callFrames);
        Spu spu;
        setUp(spu, left ? spu_reg::mLCOMB1 : spu_reg::mRCOMB1, kBase + 0x10 + 32 * 2 / 8, control);
        const int ticksBefore = left ? 64 : 65;
        Render(spu, 1);
        for (int rendered = 1; rendered < 70; rendered += callFrames) {
          EXPECT_EQ(IrqFlag(spu), rendered > ticksBefore) << rendered;
          Render(spu, callFrames);
        }
      }
    }
  }
  // In one call; nothing while the IRQ is disabled or the address lies below the area; and at once
  // where the SAME reflection's previous sample lies at the end of sound RAM.
  for (const auto& [irqAddress, control, frames, raised] :
       {std::tuple{0xF014, 0xC040, 200, true}, std::tuple{0xF014, 0xC000, 200, false},
        std::tuple{0xEFFF, 0xC040, 200, false}, std::tuple{0xFFFF, 0xC040, 1, true}}) {
    Spu spu;
    setUp(spu, spu_reg::mLCOMB1, irqAddress, control);
    Render(spu, frames);
    EXPECT_EQ(IrqFlag(spu), raised) << irqAddress << " " << control;
  }
}

// One left-side tick of the reverberator over a work area at 70000h whose halfwords at the given byte
// offsets hold the given samples beforehand; returns what the tick leaves at `readBytes`.
std::vector<int> OneLeftReverbTick(const std::array<std::uint16_t, spu_reg::kReverbRegisterCount>& registers,
                                   const std::vector<std::pair<int, std::int16_t>>& samplesAtBytes, int input,
                                   const std::vector<int>& readBytes) {
  constexpr std::uint16_t kBase = 0xE000;
  std::vector<std::uint8_t> ram(spu_reg::kSoundRamBytes);
  const auto at = [&](int bytes) { return ram.data() + kBase * 8 + bytes; };
  for (const auto& [bytes, sample] : samplesAtBytes) StoreLe16(at(bytes), static_cast<std::uint16_t>(sample));
  Reverb reverb;
  reverb.setBase(kBase);
  reverb.tick(ram.data(), registers.data(), kBase, input, 0, true);
  std::vector<int> found;
  for (const int bytes : readBytes) found.push_back(static_cast<std::int16_t>(LoadLe16(at(bytes))));
  return found;
}

// Where places coincide, a read finds what the hardware's order of accesses leaves there (psx-spx,
// "SPU Internal State Machine from SPU RAM Timing"): COMB1 is read before the DIFF reflection is
// written and COMB2 after it; the second all-pass reads its delayed sample before the first writes.
TEST(HardwareCases, ReverbPlacesThatCoincideAreReadInTheHardwareOrder) {
  std::array<std::uint16_t, spu_reg::kReverbRegisterCount> r{};
  // vIIR and vWALL zero: a reflection copies the sample before it.
  r[spu_reg::mLDIFF] = r[spu_reg::mLCOMB1] = r[spu_reg::mLCOMB2] = 0x20;
  r[spu_reg::vCOMB1] = r[spu_reg::vCOMB2] = 0x4000;
  r[spu_reg::mLSAME] = 0x40;
  // First all-pass of zero volume: it writes the comb sum and passes on its delayed sample. The second's
  // delayed sample lies on the first's place.
  r[spu_reg::mLAPF1] = 0x60;
  r[spu_reg::dAPF1] = 0x08;
  r[spu_reg::mLAPF2] = 0x70;
  r[spu_reg::dAPF2] = 0x10;
  r[spu_reg::vAPF2] = 0x4000;
  const std::vector<int> found = OneLeftReverbTick(
      r, {{0x20 * 8 - 2, 0x1000}, {0x20 * 8, 0x3000}, {0x58 * 8, 0x0400}, {0x60 * 8, 0x0600}}, 0,
      {0x20 * 8, 0x60 * 8, 0x70 * 8});
  EXPECT_EQ(found[0], 0x1000);                     // DIFF: the sample before it
  EXPECT_EQ(found[1], 0x3000 / 2 + 0x1000 / 2);    // APF1: COMB1 found the old DIFF, COMB2 the new
  EXPECT_EQ(found[2], 0x0400 - 0x0600 / 2);        // APF2: its delayed sample as it was before the tick
}

// vIIR = -8000h multiplies as -1.0 but negates the reflection written (psx-spx, "SPU Reverb
// Formula", Bug); -7FFFh does not.
TEST(HardwareCases, ReverbReflectionIsNegatedAtIirMinus8000h) {
  for (const auto& [iir, written] : {std::pair{0x8000, -0x1000}, std::pair{0x8001, 0x0FFF}}) {
    std::array<std::uint16_t, spu_reg::kReverbRegisterCount> r{};
    r[spu_reg::vIIR] = static_cast<std::uint16_t>(iir);
    r[spu_reg::mLSAME] = 0x20;
    r[spu_reg::mLDIFF] = 0x40;
    // SAME with no input: (0 - 800h) * vIIR + 800h, from the sample before it.
    EXPECT_EQ(OneLeftReverbTick(r, {{0x20 * 8 - 2, 0x0800}}, 0, {0x20 * 8})[0], written) << iir;
  }
}

// The reverberator runs the left side on even ticks and the right on odd ones, so with both sides set
// up alike, feeding the right the left's input one tick late gives the left's wet signal one tick
// late, on the filtered and the centre-tap phases alike; run both sides on one tick and it does not.
TEST(HardwareCases, ReverbRunsTheRightSideOneTickAfterTheLeft) {
  std::vector<std::uint8_t> ram(spu_reg::kSoundRamBytes);
  std::array<std::uint16_t, spu_reg::kReverbRegisterCount> r{};
  // Each side: its input into SAME, read back at once through COMB1 and two all-pass stages of zero
  // volume and zero displacement that pass SAME on.
  r[spu_reg::vLIN] = r[spu_reg::vRIN] = r[spu_reg::vIIR] = r[spu_reg::vCOMB1] = 0x7FFF;
  r[spu_reg::mLSAME] = r[spu_reg::mLCOMB1] = r[spu_reg::mLAPF1] = r[spu_reg::mLAPF2] = 0x10;
  r[spu_reg::mRSAME] = r[spu_reg::mRCOMB1] = r[spu_reg::mRAPF1] = r[spu_reg::mRAPF2] = 0x20;
  r[spu_reg::mLDIFF] = 0x30;
  r[spu_reg::mRDIFF] = 0x40;
  constexpr std::uint16_t kBase = 0x8000;
  Reverb reverb;
  reverb.setBase(kBase);

  auto input = [](int n) { return n >= 10 && n < 30 ? 0x6000 : (n % 7) * 300 - 900; };
  std::vector<int> left, right;
  for (int n = 0; n < 200; ++n) {
    const Reverb::Wet wet = reverb.tick(ram.data(), r.data(), kBase, input(n), n > 0 ? input(n - 1) : 0, true);
    left.push_back(wet.left);
    right.push_back(wet.right);
  }
  int heard = 0;
  for (int n = 0; n + 1 < 200; ++n) {
    EXPECT_EQ(right[n + 1], left[n]) << "tick " << n;
    if (left[n] > 0x1000) ++heard;
  }
  EXPECT_GT(heard, 10);  // the burst does come through
}

}  // namespace
}  // namespace kestrel::spu
