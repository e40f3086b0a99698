#pragma once
// Everything the emulated SPU holds, in one plain struct: copying it copies the machine.

#include <array>
#include <cstdint>

#include "spu/cd_input.h"
#include "spu/noise.h"
#include "abi/spu_registers.h"
#include "spu/reverb.h"
#include "spu/transfer.h"
#include "spu/voice.h"
#include "spu/volume.h"

namespace kestrel::spu {

inline constexpr int kRegisterCount = 256;  // 16-bit registers from 1F801C00h to 1F801DFEh

struct SpuState {
  std::array<std::uint8_t, spu_reg::kSoundRamBytes> ram{};
  std::array<std::uint16_t, kRegisterCount> registers{};  // as last written
  std::array<Voice, spu_reg::kVoiceCount> voices{};
  Volume mainLeft, mainRight;
  Noise noise;
  Reverb reverb;
  Transfer transfer;
  CdInput cd;
  std::uint32_t endFlags = 0;      // ENDX: bit per voice, set at a loop end, cleared by key on
  std::uint32_t captureIndex = 0;  // halfword position in the four capture buffers
  bool irqFlag = false;

  std::uint16_t reg(std::uint32_t address) const { return registers[spu_reg::ImageIndex(address)]; }
  std::uint32_t voiceMask(std::uint32_t lowAddress) const {
    return reg(lowAddress) | (std::uint32_t{reg(lowAddress + 2)} << 16);
  }
  spu_reg::ControlBits control() const { return spu_reg::ControlBits{reg(spu_reg::kControl)}; }
  // The 8-byte unit of sound RAM whose reading or writing by the SPU (voices, capture, transfers)
  // raises the IRQ flag while the IRQ is enabled (psx-spx, "SPU Interrupt").
  std::uint32_t irqUnit() const { return control().irqEnabled() ? reg(spu_reg::kIrqAddress) : spu_reg::kNoIrqUnit; }
};

}  // namespace kestrel::spu
