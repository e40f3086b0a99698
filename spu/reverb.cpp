#include "spu/reverb.h"

#include <algorithm>
#include <span>

#include "spu/half_band.h"
#include "spu/le16.h"
#include "spu/sample_math.h"
#include "spu/tables.h"

namespace kestrel::spu {
namespace {

int Scale(int sample, int volume) { return (sample * volume) >> 15; }

std::int16_t Load16(const std::uint8_t* p) { return static_cast<std::int16_t>(LoadLe16(p)); }
void Store16(std::uint8_t* p, int value) { StoreLe16(p, static_cast<std::uint16_t>(Saturate16(value))); }

// The buffer address as a byte offset into the work area, wrapped into it.
int OffsetInArea(const ReverbSetup& setup, std::uint32_t bufferAddress) {
  const int offset = static_cast<int>(bufferAddress) - setup.base;
  return offset >= 0 && offset < setup.size ? offset : ((offset % setup.size) + setup.size) % setup.size;
}

// Sound-RAM access at a side's places, relative to the buffer address and wrapped inside the work
// area. The offsets come already reduced into the work area (ReverbSetup), so one conditional
// subtraction wraps each; the sixteen are wrapped together, in vector form, once per tick.
class WorkArea {
 public:
  WorkArea(std::uint8_t* ram, const ReverbSetup& setup, const ReverbSetup::Side& side, std::uint32_t bufferAddress)
      : ram_(ram + setup.base) {
    const int current = OffsetInArea(setup, bufferAddress);
    for (int i = 0; i < ReverbSetup::kPaddedPlaces; ++i) {
      const int relative = current + side.offsets[i];
      at_[i] = relative >= setup.size ? relative - setup.size : relative;
    }
  }

  int read(ReverbSetup::Place place) const { return Load16(ram_ + at_[place]); }
  void write(ReverbSetup::Place place, int value) { Store16(ram_ + at_[place], value); }

 private:
  std::uint8_t* ram_;  // at the base; base plus a place below the area's size stays inside sound RAM
  alignas(16) int at_[ReverbSetup::kPaddedPlaces];
};

// A side's places over a batch of ticks in which neither the buffer address nor any place wraps
// around the work area: each place's address is found once, and a tick's lies `shift` bytes on.
struct BatchPlaces {
  std::uint8_t* at[ReverbSetup::kPlaces];

  // False if the buffer address lies outside the work area, or it or a place would wrap within
  // `advance` bytes on.
  bool find(std::uint8_t* ram, const ReverbSetup& setup, const ReverbSetup::Side& side, std::uint32_t bufferAddress,
            int advance) {
    const int current = static_cast<int>(bufferAddress) - setup.base;
    if (current < 0 || current + advance >= setup.size) return false;
    for (int i = 0; i < ReverbSetup::kPlaces; ++i) {
      int relative = current + side.offsets[i];
      if (relative >= setup.size)
        relative -= setup.size;
      else if (relative + advance >= setup.size)
        return false;
      at[i] = ram + setup.base + relative;
    }
    return true;
  }
};

class BatchArea {
 public:
  BatchArea(const BatchPlaces& places, std::uint32_t shift) : at_(places.at), shift_(shift) {}
  int read(ReverbSetup::Place place) const { return Load16(at_[place] + shift_); }
  void write(ReverbSetup::Place place, int value) { Store16(at_[place] + shift_, value); }

 private:
  std::uint8_t* const* at_;
  std::uint32_t shift_;
};

// The area is a copy: the stores into sound RAM may alias anything reached through a pointer, which
// would reload it after every store. Sound RAM is read and written in the hardware's order, which
// decides what a read finds when places coincide (psx-spx, "SPU Internal State Machine from SPU RAM
// Timing", Reverb Computation Order).
template <class Area>
[[gnu::always_inline]] inline int ProcessSide(Area area, const ReverbSetup& setup, const ReverbSetup::Side& side, int input,
                                              bool writesEnabled) {
  using P = ReverbSetup::Place;
  const int in = Saturate16(Scale(input, side.volumeIn));
  // A reflection: (in + [d] * vWALL - [m - 2]) * vIIR + [m - 2], negated when vIIR is -8000h
  // (psx-spx, "SPU Reverb Formula", Bug).
  const auto reflect = [&](int delayed, int old) {
    const int next = Saturate16(in + Scale(delayed, setup.wall) - old);
    return setup.reflectionSign * (Scale(next, setup.iir) + old);
  };
  int comb1;
  if (writesEnabled) {
    const int dSame = area.read(P::kDSame);
    const int sameOld = area.read(P::kSameOld);
    const int dOtherDiff = area.read(P::kDOtherDiff);
    area.write(P::kSame, reflect(dSame, sameOld));
    const int diffOld = area.read(P::kDiffOld);
    comb1 = area.read(P::kComb1);
    area.write(P::kDiff, reflect(dOtherDiff, diffOld));
  } else {
    comb1 = area.read(P::kComb1);
  }

  constexpr P kCombs[4] = {P::kComb1, P::kComb2, P::kComb3, P::kComb4};
  int out = Scale(setup.combVolume[0], comb1);
  for (int i = 1; i < 4; ++i) out += Scale(setup.combVolume[i], area.read(kCombs[i]));
  out = Saturate16(out);

  // Two all-pass stages; both delayed samples are read before either stage writes.
  const int delayed[2] = {area.read(P::kApf1Delayed), area.read(P::kApf2Delayed)};
  constexpr P kApfs[2] = {P::kApf1, P::kApf2};
  int written[2];
  for (int stage = 0; stage < 2; ++stage) {
    const int v = setup.apfVolume[stage];
    out = written[stage] = Saturate16(out - Scale(v, delayed[stage]));
    out = Saturate16(Scale(out, v) + delayed[stage]);
  }
  if (writesEnabled)
    for (int stage = 0; stage < 2; ++stage) area.write(kApfs[stage], written[stage]);
  return out;
}

// One output of the half-band filters, for a single tick.
int HalfBandDown(const std::int16_t* newest) {
  int value;
  HalfBandDownRunPlain(newest, 1, &value);
  return value;
}
int HalfBandUp(const std::int16_t* newest) {
  int value;
  HalfBandUpRunPlain(newest, 1, &value);
  return value;
}

// Both sides of the reverb share one shape; only the register names differ.
struct SideRegisters {
  spu_reg::ReverbRegister same, dSame, diff, dOtherDiff, comb[4], apf1, apf2, volumeIn;
};
constexpr SideRegisters kLeft{spu_reg::mLSAME, spu_reg::dLSAME, spu_reg::mLDIFF, spu_reg::dRDIFF,
                              {spu_reg::mLCOMB1, spu_reg::mLCOMB2, spu_reg::mLCOMB3, spu_reg::mLCOMB4},
                              spu_reg::mLAPF1, spu_reg::mLAPF2, spu_reg::vLIN};
constexpr SideRegisters kRight{spu_reg::mRSAME, spu_reg::dRSAME, spu_reg::mRDIFF, spu_reg::dLDIFF,
                               {spu_reg::mRCOMB1, spu_reg::mRCOMB2, spu_reg::mRCOMB3, spu_reg::mRCOMB4},
                               spu_reg::mRAPF1, spu_reg::mRAPF2, spu_reg::vRIN};

}  // namespace

ReverbSetup::ReverbSetup(const std::uint16_t* r, std::uint16_t baseUnits)
    : baseRegister(baseUnits),
      base(static_cast<int>(baseUnits) * 8),
      size(static_cast<int>(spu_reg::kSoundRamBytes) - base) {
  auto volume = [r](spu_reg::ReverbRegister which) { return static_cast<int>(static_cast<std::int16_t>(r[which])); };
  auto offset = [r](spu_reg::ReverbRegister which) { return int{r[which]} * 8; };
  iir = volume(spu_reg::vIIR);
  wall = volume(spu_reg::vWALL);
  reflectionSign = iir == -0x8000 ? -1 : 1;
  const spu_reg::ReverbRegister combVolumes[4] = {spu_reg::vCOMB1, spu_reg::vCOMB2, spu_reg::vCOMB3, spu_reg::vCOMB4};
  for (int i = 0; i < 4; ++i) combVolume[i] = volume(combVolumes[i]);
  apfVolume[0] = volume(spu_reg::vAPF1);
  apfVolume[1] = volume(spu_reg::vAPF2);
  const auto sideOf = [&](const SideRegisters& names) {
    Side side{};
    side.volumeIn = volume(names.volumeIn);
    int* at = side.offsets;
    at[kSame] = offset(names.same);
    at[kSameOld] = offset(names.same) - 2;
    at[kDSame] = offset(names.dSame);
    at[kDiff] = offset(names.diff);
    at[kDiffOld] = offset(names.diff) - 2;
    at[kDOtherDiff] = offset(names.dOtherDiff);
    for (int i = 0; i < 4; ++i) at[kComb1 + i] = offset(names.comb[i]);
    at[kApf1] = offset(names.apf1);
    at[kApf2] = offset(names.apf2);
    at[kApf1Delayed] = offset(names.apf1) - offset(spu_reg::dAPF1);
    at[kApf2Delayed] = offset(names.apf2) - offset(spu_reg::dAPF2);
    // Each offset reduced into [0, size): the same address after wrapping, from one subtraction.
    for (int i = 0; i < kPlaces; ++i) at[i] = ((at[i] % size) + size) % size;
    return side;
  };
  left = sideOf(kLeft);
  right = sideOf(kRight);
}

const ReverbSetup& Reverb::setupFor(const std::uint16_t* registers, std::uint16_t base) {
  if (!setupValid_ || setup_.baseRegister != base ||
      !std::equal(registers, registers + spu_reg::kReverbRegisterCount, setupRegisters_.begin())) {
    std::copy_n(registers, spu_reg::kReverbRegisterCount, setupRegisters_.begin());
    setup_ = ReverbSetup(registers, base);
    setupValid_ = true;
  }
  return setup_;
}

bool Reverb::reachesUnit(const ReverbSetup& setup, std::uint32_t unit, int ticks) const {
  const int unitStart = static_cast<int>(std::min(unit, spu_reg::kNoIrqUnit)) * 8 - setup.base;
  if (ticks <= 0 || unitStart < 0 || unitStart >= setup.size) return false;
  const int current = OffsetInArea(setup, bufferAddress);
  for (int side = 0; side < 2; ++side) {
    // The left runs on even ticks, the right on odd ones; the buffer address moves on after each right.
    const int first = static_cast<int>((position + side) % 2);
    if (first >= ticks) continue;
    const int span = 2 * ((ticks - first + 1) / 2 - 1);  // how far the side's places move, in bytes
    if (span + 2 >= setup.size) return true;              // over every halfword of the area
    const int start = current + (side == 0 && first == 1 ? 2 : 0);
    for (const int offset : std::span((side == 0 ? setup.left : setup.right).offsets, ReverbSetup::kPlaces)) {
      int distance = (unitStart - start - offset) % setup.size;  // from the place's first halfword on
      if (distance < 0) distance += setup.size;
      // The unit's halfwords lie `distance` to `distance` + 6 bytes on, the later ones perhaps past the
      // end of the area and so again from its start, where the place begins.
      if (distance <= span || distance + 6 >= setup.size) return true;
    }
  }
  return false;
}

void Reverb::advance(std::uint16_t base) {
  const std::uint32_t start = std::uint32_t{base} * 8;
  bufferAddress = std::max(start, (bufferAddress + 2) & (spu_reg::kSoundRamMask & ~1u));
}

Reverb::Wet Reverb::tick(std::uint8_t* ram, const ReverbSetup& setup, int inLeft, int inRight, bool writesEnabled) {
  const std::uint32_t n = position++;
  input[0].put(n, static_cast<std::int16_t>(Saturate16(inLeft)));
  input[1].put(n, static_cast<std::int16_t>(Saturate16(inRight)));

  // The reverberator runs one side per tick: the left on even ticks, the right on odd ones, both at
  // the same buffer address, which moves on after the right. Each side filters its input down at its
  // own tick and makes its even output phase there; its other tick meets only the centre tap (4000h,
  // doubled: unity), nine wet samples back. So the right wet signal trails the left by one tick.
  const std::uint32_t half = n / 2;
  Wet wet;
  const auto process = [&](const ReverbSetup::Side& side, int in) {
    return ProcessSide(WorkArea(ram, setup, side, bufferAddress), setup, side, in, writesEnabled);
  };
  if (n % 2 == 0) {
    const int left = process(setup.left, HalfBandDown(input[0].at(n)));
    output[0].put(half, static_cast<std::int16_t>(left));
    wet.left = Saturate16(HalfBandUp(output[0].at(half)));
    wet.right = output[1].at(half - 1)[-9];
  } else {
    const int right = process(setup.right, HalfBandDown(input[1].at(n)));
    output[1].put(half, static_cast<std::int16_t>(right));
    wet.left = output[0].at(half)[-9];
    wet.right = Saturate16(HalfBandUp(output[1].at(half)));
    advance(setup.baseRegister);
  }
  return wet;
}

void Reverb::run(std::uint8_t* ram, const ReverbSetup& setup, const int* inLeft, const int* inRight, int frames,
                 bool writesEnabled, int* wetLeft, int* wetRight) {
  for (int done = 0; done < frames; done += kBatchTicks) {
    const int ticks = std::min(kBatchTicks, frames - done);
    runBatch(ram, setup, inLeft + done, inRight + done, ticks, writesEnabled, wetLeft + done, wetRight + done);
  }
}

void Reverb::runBatch(std::uint8_t* ram, const ReverbSetup& setup, const int* inLeft, const int* inRight, int ticks,
                      bool writesEnabled, int* wetLeft, int* wetRight) {
  const std::uint32_t first = position, last = first + ticks - 1;
  // The buffer address moves on after each right side: by the last tick, once per odd tick before it.
  const int span = 2 * static_cast<int>(last / 2 - first / 2);
  std::array<BatchPlaces, 2> places;
  if (!places[0].find(ram, setup, setup.left, bufferAddress, span) ||
      !places[1].find(ram, setup, setup.right, bufferAddress, span)) {
    for (int i = 0; i < ticks; ++i) {
      const Wet wet = tick(ram, setup, inLeft[i], inRight[i], writesEnabled);
      wetLeft[i] = wet.left;
      wetRight[i] = wet.right;
    }
    return;
  }

  // Each side's input, saturated, oldest first, from the down filter's reach before the batch's first
  // tick. The history keeps what the next batch or tick reaches back to.
  constexpr int kDownReach = kHalfBandDownReach;
  std::array<std::array<std::int16_t, kDownReach + kBatchTicks>, 2> in;
  const int* const inputs[2] = {inLeft, inRight};
  for (int side = 0; side < 2; ++side) {
    std::copy_n(input[side].at(first - 1) - (kDownReach - 1), kDownReach, in[side].begin());
    SaturateTo16(inputs[side], ticks, in[side].data() + kDownReach);
    const int kept = std::min(ticks, kDownReach);
    input[side].put(first + ticks - kept, &in[side][kDownReach + ticks - kept], kept);
  }

  // Each side runs on every other tick: its first in the batch, how many, and its input filtered down there.
  const int firstOf[2] = {static_cast<int>(first % 2), static_cast<int>(1 - first % 2)};
  const int countOf[2] = {(ticks - firstOf[0] + 1) / 2, (ticks - firstOf[1] + 1) / 2};
  std::array<std::array<int, kBatchTicks / 2>, 2> down;
  for (int side = 0; side < 2; ++side) HalfBandDownRun(&in[side][kDownReach + firstOf[side]], countOf[side], down[side].data());

  // The reverberator, tick by tick; each side's wet samples kept from the up filter's reach before the
  // batch's first half-rate step.
  constexpr int kUpReach = kHalfBandUpReach;
  const std::uint32_t firstHalf = first / 2;
  std::array<std::array<std::int16_t, kUpReach + 1 + kBatchTicks / 2>, 2> wet;
  for (int side = 0; side < 2; ++side) std::copy_n(output[side].at(firstHalf) - kUpReach, kUpReach + 1, wet[side].begin());
  const std::uint32_t firstAddress = bufferAddress;
  // One side's tick; apart by side, so that nothing picks a side at run time.
  const auto tickSide = [&]<int kSide>(int i) {
    const std::uint32_t n = first + i;
    const int out = ProcessSide(BatchArea(places[kSide], bufferAddress - firstAddress), setup,
                                kSide == 0 ? setup.left : setup.right, down[kSide][(i - firstOf[kSide]) / 2], writesEnabled);
    wet[kSide][kUpReach + n / 2 - firstHalf] = static_cast<std::int16_t>(out);
    if (kSide == 1) advance(setup.baseRegister);
  };
  int t = 0;
  if (first % 2 == 1) tickSide.template operator()<1>(t++);
  for (; t + 1 < ticks; t += 2) {
    tickSide.template operator()<0>(t);
    tickSide.template operator()<1>(t + 1);
  }
  if (t < ticks) tickSide.template operator()<0>(t);
  position += ticks;

  // The wet signal: each side's even output phase at its own tick, the other side's centre tap there
  // (as in tick()).
  for (int side = 0; side < 2; ++side) {
    std::array<int, kBatchTicks / 2> up;
    const std::uint32_t sideFirstHalf = (first + firstOf[side]) / 2;
    const int at = kUpReach + static_cast<int>(sideFirstHalf - firstHalf);
    output[side].put(sideFirstHalf, &wet[side][at], countOf[side]);
    HalfBandUpRun(&wet[side][at], countOf[side], up.data());
    for (int j = 0; j < countOf[side]; ++j) {
      const int i = firstOf[side] + 2 * j;
      if (side == 0) {
        wetLeft[i] = Saturate16(up[j]);
        wetRight[i] = wet[1][at + j - 10];
      } else {
        wetRight[i] = Saturate16(up[j]);
        wetLeft[i] = wet[0][at + j - 9];
      }
    }
  }
}

}  // namespace kestrel::spu
