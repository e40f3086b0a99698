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
  // The 8-byte unit of sound RAM whose reading or writing by the SPU (voices, reverb, transfers)
  // raises the IRQ flag while the IRQ is enabled, which it is only with the SPU on (psx-spx, "SPU
  // Interrupt", and "SPU Control and Status Register", ATTR bit 6).
  std::uint32_t irqUnit() const {
    const spu_reg::ControlBits c = control();
    return c.enabled() && c.irqEnabled() ? reg(spu_reg::kIrqAddress) : spu_reg::kNoIrqUnit;
  }
  // The capture buffers signal their writes, by IRQ and status bit 11, only with bit 2 or 3 of the
  // transfer control register set (psx-spx, "SPU Interrupt", Capture Interrupt; STATX).
  bool captureSignals() const { return (transfer.control & spu_reg::kTransferControlCaptureSignals) != 0; }
  std::uint32_t captureIrqUnit() const { return captureSignals() ? irqUnit() : spu_reg::kNoIrqUnit; }
};

}  // namespace kestrel::spu
