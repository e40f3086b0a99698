#pragma once
// An SPU with a given number of voices keyed on and looping, optionally through the Hall reverb:
// the load the render benchmarks and the instruction-count driver measure.

#include <array>
#include <cstdint>
#include <vector>

#include "adpcm_encoder.h"
#include "spu/adpcm.h"
#include "abi/spu_registers.h"
#include "spu/spu.h"

namespace kestrel::spu::bench {

inline void MakeBusy(Spu& spu, int voices, bool reverb) {
  spu.writeRegister(spu_reg::kControl, reverb ? 0xC080 : 0xC000);
  spu.writeRegister(spu_reg::kMainVolumeLeft, 0x3FFF);
  spu.writeRegister(spu_reg::kMainVolumeRight, 0x3FFF);

  // A 20-block looped waveform with some harmonics.
  std::vector<std::int16_t> wave(560);
  for (std::size_t i = 0; i < wave.size(); ++i) {
    const int phase = static_cast<int>(i % 56);
    wave[i] = static_cast<std::int16_t>((phase < 28 ? phase : 56 - phase) * 600 - 8000);
  }
  const std::vector<std::uint8_t> adpcm = logsynth::EncodeAdpcm(wave, 0);
  spu.writeRegister(spu_reg::kTransferAddress, 0x200);
  std::vector<std::uint16_t> words(adpcm.size() / 2);
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<std::uint16_t>(adpcm[2 * i] | (adpcm[2 * i + 1] << 8));
  spu.writeDma(words.data(), static_cast<int>(words.size()));

  if (reverb) {
    constexpr std::array<std::uint16_t, 32> kHall = {
        0x01A5, 0x0139, 0x6000, 0x5000, 0x4C00, 0xB800, 0xBC00, 0xC000, 0x6000, 0x5C00, 0x15BA,
        0x11BB, 0x14C2, 0x10BD, 0x11BC, 0x0DC1, 0x11C0, 0x0DC3, 0x0DC0, 0x09C1, 0x0BC4, 0x07C1,
        0x0A00, 0x06CD, 0x09C2, 0x05C1, 0x05C0, 0x041A, 0x0274, 0x013A, 0x8000, 0x8000};
    for (int i = 0; i < 32; ++i) spu.writeRegister(spu_reg::kReverbFirst + 2 * i, kHall[i]);
    spu.writeRegister(spu_reg::kReverbBase, (0x80000 - 0xADE0) / 8);
    spu.writeRegister(spu_reg::kReverbVolumeLeft, 0x3000);
    spu.writeRegister(spu_reg::kReverbVolumeRight, 0x3000);
    spu.writeRegister(spu_reg::kReverbModeLow, 0xFFFF);
    spu.writeRegister(spu_reg::kReverbModeHigh, 0x00FF);
  }
  for (int v = 0; v < voices; ++v) {
    spu.writeRegister(spu_reg::Voice(v, spu_reg::kVolumeLeft), 0x0800);
    spu.writeRegister(spu_reg::Voice(v, spu_reg::kVolumeRight), 0x0800);
    spu.writeRegister(spu_reg::Voice(v, spu_reg::kPitch), static_cast<std::uint16_t>(0x0600 + 0x90 * v));
    spu.writeRegister(spu_reg::Voice(v, spu_reg::kStartAddress), 0x200);
    spu.writeRegister(spu_reg::Voice(v, spu_reg::kAdsrLow), 0x38F4);
    spu.writeRegister(spu_reg::Voice(v, spu_reg::kAdsrHigh), 0x5FCA);
  }
  const std::uint32_t mask = voices >= 32 ? 0xFFFFFFFFu : (1u << voices) - 1;
  spu.writeRegister(spu_reg::kKeyOnLow, static_cast<std::uint16_t>(mask));
  spu.writeRegister(spu_reg::kKeyOnHigh, static_cast<std::uint16_t>(mask >> 16));
}

}  // namespace kestrel::spu::bench
