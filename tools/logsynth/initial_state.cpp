#include "initial_state.h"

#include "note_sequencer.h"
#include "reverb_presets.h"
#include "spu_addresses.h"

namespace kestrel::logsynth {

std::uint16_t ControlRegister(const Score& score) {
  std::uint16_t control = reg::kControlEnable | reg::kControlUnmute;
  if (!score.reverb.preset.empty()) control |= reg::kControlReverb;
  if (!score.streams.empty()) control |= reg::kControlCdAudio;
  return control;
}

std::uint32_t SampleRamLimit(const Score& score) {
  const ReverbPreset* preset = FindReverbPreset(score.reverb.preset);
  return 0x80000u - (preset != nullptr ? preset->workAreaBytes : 0u);
}

void WriteInitialState(const Score& score, const SampleMemory& memory, SpuLogWriter& writer) {
  writer.SetHeader(score.gameTitle, score.musicTitle, score.copyright);
  writer.SetSoundRam(memory.silentBlock, memory.silentAdpcm);
  for (const auto& [name, sample] : memory.instruments) {
    if (sample.placement == SamplePlacement::InitialRam) writer.SetSoundRam(sample.address, sample.adpcm);
  }

  std::uint32_t reverbVoices = 0;
  for (const Track& track : score.tracks) {
    for (const int voice : track.voices) {
      if (track.reverb) reverbVoices |= 1u << voice;
    }
  }
  for (int voice = 0; voice < reg::kVoiceCount; ++voice) {
    writer.SetRegister(reg::VoicePitch(voice), 0x1000);
    writer.SetRegister(reg::VoiceStartAddress(voice), AddressRegister(memory.silentBlock));
    writer.SetRegister(reg::VoiceRepeatAddress(voice), AddressRegister(memory.silentBlock));
  }

  const std::uint16_t mainVolume = VolumeRegister(score.mainVolume);
  writer.SetRegister(reg::kMainVolumeLeft, mainVolume);
  writer.SetRegister(reg::kMainVolumeRight, mainVolume);
  writer.SetRegister(reg::kRamControl, reg::kRamControlValue);
  writer.SetRegister(reg::kControl, ControlRegister(score));
  if (!score.streams.empty()) {
    writer.SetRegister(reg::kCdVolumeLeft, 0x7FFF);
    writer.SetRegister(reg::kCdVolumeRight, 0x7FFF);
  }
  if (const ReverbPreset* preset = FindReverbPreset(score.reverb.preset)) {
    const auto output = static_cast<std::uint16_t>(score.reverb.volume * 0x7FFF / 100);
    writer.SetRegister(reg::kReverbVolumeLeft, output);
    writer.SetRegister(reg::kReverbVolumeRight, output);
    writer.SetRegister(reg::kReverbBase, AddressRegister(0x80000u - preset->workAreaBytes));
    for (std::size_t i = 0; i < preset->registers.size(); ++i) {
      writer.SetRegister(reg::kReverbRegisters + 2 * static_cast<std::uint32_t>(i), preset->registers[i]);
    }
    writer.SetRegister(reg::kReverbModeLow, static_cast<std::uint16_t>(reverbVoices));
    writer.SetRegister(reg::kReverbModeHigh, static_cast<std::uint16_t>(reverbVoices >> 16));
  }
}

}  // namespace kestrel::logsynth
