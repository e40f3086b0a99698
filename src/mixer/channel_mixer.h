#pragma once
// The 24-voice mixer laid over every log: a level and a mute per voice, applied by
// rescaling the voices' volume registers on their way to the plugin.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#include "abi/spu_registers.h"
#include "plugin/freeze_block.h"

namespace kestrel {

struct ChannelMixer {
  ChannelMixer();

  // The mixer page's sliders: 0 (top, level 100) to 100 (bottom, level 0).
  std::array<std::atomic<int>, spu_reg::kVoiceCount> sliderPosition;
  std::array<std::atomic<std::int32_t>, spu_reg::kVoiceCount> level;  // percent, 0..100
  std::array<std::atomic<bool>, spu_reg::kVoiceCount> mute;
  // The volume each voice's registers hold: seeded from the recorded state at every
  // playback start, then the last fixed-mode value the log wrote.
  std::array<std::atomic<std::uint16_t>, spu_reg::kVoiceCount> rememberedLeft;
  std::array<std::atomic<std::uint16_t>, spu_reg::kVoiceCount> rememberedRight;
  // Set by any level or mute change and at playback start; cleared by the player.
  std::atomic<bool> changed{false};
};

// The volume v at `level` percent: the doubled 15-bit signed volume is scaled and
// halved again, so bit 15 of the result is always clear (0x3FFF at 50 -> 0x1FFF).
std::uint16_t ScaleVoiceVolume(std::uint16_t value, std::int32_t level);

// A log's register write on its way to the plugin: a fixed-mode voice volume is
// remembered and scaled by its voice's level; anything else passes unchanged.
std::uint16_t RescaleVoiceVolume(ChannelMixer& mixer, std::uint32_t address, std::uint16_t value);

using RegisterWriter = std::function<void(std::uint32_t address, std::uint16_t value)>;

// At playback start: remember the voice volumes of the recorded state, so the first mixer
// pass re-sends what the log starts with and not what an earlier log left behind.
void SeedRememberedVolumes(ChannelMixer& mixer, const FreezeBlock& block);

// When `changed` is set: zero muted voices' levels and re-send all 48 voice volumes,
// fixed-mode ones scaled and sweep-mode ones as they are, through `write`; then clear
// `changed`.
void ApplyChannelMixer(ChannelMixer& mixer, const RegisterWriter& write);

// Mixer page operations.
void ReadLevels(ChannelMixer& mixer);  // level = 100 - slider position, for all 24
void SetMute(ChannelMixer& mixer, int channel, bool on);
void MuteAll(ChannelMixer& mixer);
void UnmuteAll(ChannelMixer& mixer);
void ResetLevels(ChannelMixer& mixer);  // sliders to the top; mutes stay

}  // namespace kestrel
