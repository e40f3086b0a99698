#include "mixer/channel_mixer.h"

namespace kestrel {

ChannelMixer::ChannelMixer() {
  for (int ch = 0; ch < spu_reg::kVoiceCount; ++ch) {
    sliderPosition[ch] = 0;
    level[ch] = 100;
    mute[ch] = false;
    rememberedLeft[ch] = 0;
    rememberedRight[ch] = 0;
  }
}

std::uint16_t ScaleVoiceVolume(std::uint16_t value, std::int32_t level) {
  const auto doubled = static_cast<std::int16_t>(static_cast<std::uint16_t>(value << 1));
  const std::int32_t scaled = doubled * level / 100;  // truncates toward zero
  return static_cast<std::uint16_t>(static_cast<std::uint16_t>(scaled) >> 1);
}

std::uint16_t RescaleVoiceVolume(ChannelMixer& mixer, std::uint32_t address, std::uint16_t value) {
  const int voice = spu_reg::VoiceOfVolumeRegister(address);
  if (voice < 0 || (value & 0x8000) != 0) return value;  // not a voice volume, or a sweep
  auto& remembered = address == spu_reg::VoiceVolumeLeft(voice) ? mixer.rememberedLeft
                                                                : mixer.rememberedRight;
  remembered[voice].store(value, std::memory_order_relaxed);
  return ScaleVoiceVolume(value, mixer.level[voice].load(std::memory_order_relaxed));
}

void SeedRememberedVolumes(ChannelMixer& mixer, const FreezeBlock& block) {
  for (int ch = 0; ch < spu_reg::kVoiceCount; ++ch) {
    mixer.rememberedLeft[ch].store(RegisterFromImage(block, spu_reg::VoiceVolumeLeft(ch)),
                                   std::memory_order_relaxed);
    mixer.rememberedRight[ch].store(RegisterFromImage(block, spu_reg::VoiceVolumeRight(ch)),
                                    std::memory_order_relaxed);
  }
}

namespace {

// A sweep-mode value (bit 15) is no volume the level could scale.
std::uint16_t MixedVolume(std::uint16_t remembered, std::int32_t level) {
  return (remembered & 0x8000) != 0 ? remembered : ScaleVoiceVolume(remembered, level);
}

}  // namespace

void ApplyChannelMixer(ChannelMixer& mixer, const RegisterWriter& write) {
  if (!mixer.changed.load(std::memory_order_acquire)) return;
  // Cleared before the writes, so a change made meanwhile is applied on the next pass.
  mixer.changed.store(false, std::memory_order_relaxed);
  for (int ch = 0; ch < spu_reg::kVoiceCount; ++ch) {
    if (mixer.mute[ch].load(std::memory_order_relaxed)) mixer.level[ch].store(0, std::memory_order_relaxed);
    const std::int32_t level = mixer.level[ch].load(std::memory_order_relaxed);
    write(spu_reg::VoiceVolumeLeft(ch), MixedVolume(mixer.rememberedLeft[ch], level));
    write(spu_reg::VoiceVolumeRight(ch), MixedVolume(mixer.rememberedRight[ch], level));
  }
}

void ReadLevels(ChannelMixer& mixer) {
  for (int ch = 0; ch < spu_reg::kVoiceCount; ++ch) {
    mixer.level[ch].store(100 - mixer.sliderPosition[ch].load(std::memory_order_relaxed),
                          std::memory_order_relaxed);
  }
  mixer.changed.store(true, std::memory_order_release);
}

void SetMute(ChannelMixer& mixer, int channel, bool on) {
  if (channel < 0 || channel >= spu_reg::kVoiceCount) return;
  mixer.mute[channel].store(on, std::memory_order_relaxed);
  if (on) {
    mixer.changed.store(true, std::memory_order_release);
  } else {
    ReadLevels(mixer);
  }
}

void MuteAll(ChannelMixer& mixer) {
  for (auto& m : mixer.mute) m.store(true, std::memory_order_relaxed);
  ReadLevels(mixer);
}

void UnmuteAll(ChannelMixer& mixer) {
  for (auto& m : mixer.mute) m.store(false, std::memory_order_relaxed);
  ReadLevels(mixer);
}

void ResetLevels(ChannelMixer& mixer) {
  for (auto& p : mixer.sliderPosition) p.store(0, std::memory_order_relaxed);
  ReadLevels(mixer);
}

}  // namespace kestrel
