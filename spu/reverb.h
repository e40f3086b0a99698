#pragma once
// The reverb unit: a stereo reverberator running at 22,050 Hz over its work area in sound RAM
// (psx-spx, "SPU Reverb Formula"), with the hardware's half-band resampling in and out.

#include <algorithm>
#include <array>
#include <cstdint>

#include "abi/spu_registers.h"

namespace kestrel::spu {

// A ring of the last N samples, each stored twice (at slot and slot + N), so that the N samples up to
// any slot lie side by side and a filter reads them without wrapping.
template <std::size_t N>
struct MirroredHistory {
  std::array<std::int16_t, 2 * N> samples{};

  void put(std::uint32_t position, std::int16_t value) { samples[position % N] = samples[position % N + N] = value; }
  // values[0, count) at positions first, first + 1, ...; count at most N.
  void put(std::uint32_t first, const std::int16_t* values, std::uint32_t count) {
    const std::uint32_t at = first % N, head = std::min(count, static_cast<std::uint32_t>(N) - at);
    for (std::int16_t* to : {samples.data() + at, samples.data() + at + N}) std::copy_n(values, head, to);
    for (std::int16_t* to : {samples.data(), samples.data() + N}) std::copy_n(values + head, count - head, to);
  }
  // The sample at `position`; [-k] is the one k positions earlier, for k < N.
  const std::int16_t* at(std::uint32_t position) const { return samples.data() + position % N + N; }
};

// The reverb registers and base turned into byte offsets (reduced into the work area) and signed
// volumes: worked out again only when the registers change, not on every tick.
struct ReverbSetup {
  // The places one side reads and writes, relative to the buffer address.
  enum Place { kSame, kSameOld, kDSame, kDiff, kDiffOld, kDOtherDiff, kComb1, kComb2, kComb3, kComb4, kApf1, kApf2,
               kApf1Delayed, kApf2Delayed, kPlaces };
  static constexpr int kPaddedPlaces = 16;  // for whole vectors; the padding stays zero
  struct Side {
    int volumeIn;
    alignas(16) int offsets[kPaddedPlaces];  // by Place
  };
  std::uint16_t baseRegister = 0;
  int base = 0, size = 0;  // the work area in bytes: from the base to the end of RAM
  int iir = 0, wall = 0;
  int reflectionSign = 1;  // -1 when vIIR is -8000h: the reflections are written negated
  int combVolume[4] = {};
  int apfVolume[2] = {};
  Side left{}, right{};

  ReverbSetup() = default;
  ReverbSetup(const std::uint16_t* registers, std::uint16_t base);
};

struct Reverb {
  std::uint32_t bufferAddress = 0;  // bytes; runs through the work area from the base to the end of RAM
  std::array<MirroredHistory<64>, 2> input{};   // 44.1 kHz input history, left and right
  std::array<MirroredHistory<32>, 2> output{};  // 22.05 kHz wet history, left and right
  std::uint32_t position = 0;                            // 44.1 kHz tick count

  // Writing the base register also restarts the buffer address there.
  void setBase(std::uint16_t base) { bufferAddress = std::uint32_t{base} * 8; }

  // One 44.1 kHz tick, which runs one side of the reverberator. `registers` are the 32 reverb registers from 1F801DC0h, `base` is ESA;
  // the returned pair is the wet signal before the reverb output volume.
  struct Wet {
    int left = 0, right = 0;
  };
  // A tick with no writes and no output to make: only the buffer address moves on.
  void idleTick(std::uint16_t base) {
    if (position++ % 2 == 1) advance(base);
  }
  Wet tick(std::uint8_t* ram, const std::uint16_t* registers, std::uint16_t base, int inLeft, int inRight,
           bool writesEnabled) {
    return tick(ram, ReverbSetup(registers, base), inLeft, inRight, writesEnabled);
  }
  Wet tick(std::uint8_t* ram, const ReverbSetup& setup, int inLeft, int inRight, bool writesEnabled);
  // `frames` ticks at once, the same samples as tick() frame by frame, the wet signal into `wetLeft`
  // and `wetRight`: the work area's places are found once for a batch of ticks, and the half-band
  // filters run over the batch apart from the reverberator.
  void run(std::uint8_t* ram, const ReverbSetup& setup, const int* inLeft, const int* inRight, int frames,
           bool writesEnabled, int* wetLeft, int* wetRight);
  // Whether the next `ticks` ticks reach the 8-byte unit `unit` of sound RAM (kNoIrqUnit for none).
  // Every tick reads or writes all fourteen places of its side whether the reverb writes or is heard
  // or not: with writes disabled the writes become reads (psx-spx, "SPU Interrupt", Reverb Interrupt,
  // and "SPU Reverb Formula", Reverb Disable).
  bool reachesUnit(const ReverbSetup& setup, std::uint32_t unit, int ticks) const;
  // The setup of these registers (the 32 from 1F801DC0h) and base, kept from the last call.
  const ReverbSetup& setupFor(const std::uint16_t* registers, std::uint16_t base);

 private:
  static constexpr int kBatchTicks = 64;
  void advance(std::uint16_t base);
  void runBatch(std::uint8_t* ram, const ReverbSetup& setup, const int* inLeft, const int* inRight, int ticks,
                bool writesEnabled, int* wetLeft, int* wetRight);
  ReverbSetup setup_;
  std::array<std::uint16_t, spu_reg::kReverbRegisterCount> setupRegisters_{};
  bool setupValid_ = false;
};

}  // namespace kestrel::spu
