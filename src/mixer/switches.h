#pragma once
// The register and event switches between a log and the plugin. Written by the user
// interface, read by the player and decoder threads.

#include <array>
#include <atomic>
#include <cstdint>

#include "abi/spu_registers.h"

namespace kestrel {

// One switch per register; true lets writes to it through.
struct RegisterControl {
  // In the order of the plugin page's check boxes 1106..1115.
  static constexpr std::array<std::uint32_t, 10> kRegisters = {
      spu_reg::kKeyOnLow,     spu_reg::kKeyOnHigh,     spu_reg::kKeyOffLow,    spu_reg::kKeyOffHigh,
      spu_reg::kPitchModLow,  spu_reg::kPitchModHigh,  spu_reg::kNoiseModeLow, spu_reg::kNoiseModeHigh,
      spu_reg::kReverbModeLow, spu_reg::kReverbModeHigh};
  static constexpr std::array<const char*, 10> kLabels = {
      "0x1f801d88 : Voice ON (0-15ch)",          "0x1f801d8a : Voice ON (16-23ch)",
      "0x1f801d8c : Voice OFF (0-15ch)",         "0x1f801d8e : Voice OFF (16-23ch)",
      "0x1f801d90 : Channel FM Mode (0-15ch)",   "0x1f801d92 : Channel FM Mode (16-23ch)",
      "0x1f801d94 : Channel Noise Mode (0-15ch)", "0x1f801d96 : Channel Noise Mode (16-23ch)",
      "0x1f801d98 : Channel Reverb Mode (0-15ch)", "0x1f801d9a : Channel Reverb Mode (16-23ch)"};

  RegisterControl() { for (auto& a : allow) a = true; }

  // Index of a switched register in kRegisters, or -1.
  static int IndexOf(std::uint32_t address);
  // False only for a switched register whose switch is off.
  bool Allows(std::uint32_t address) const;

  std::array<std::atomic<bool>, 10> allow;
};

// The event switches: EventControl for the player, DecodingEvent for the WAV decoder.
struct EventSwitches {
  std::atomic<bool> registerWrite{true};
  std::atomic<bool> dmaWrite{true};
  std::atomic<bool> xa{true};
  std::atomic<bool> cdda{true};
};
struct EventControl : EventSwitches {};
struct DecodingEvent : EventSwitches {};

// Register write path, after rescaling: true when the write goes to SPUwriteRegister.
// While seeking every write goes through.
bool FilterRegisterWrite(const RegisterControl& registers, const EventControl& events,
                         std::uint32_t address, bool seeking);
// DMA writes are filtered while seeking too; XA and CD audio never play while seeking.
bool AllowDmaWrite(const EventControl& events, bool seeking);
bool AllowXa(const EventControl& events, bool seeking);
bool AllowCdda(const EventControl& events, bool seeking);

}  // namespace kestrel
