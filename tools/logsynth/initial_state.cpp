#include "initial_state.h"

#include "note_sequencer.h"
#include "reverb_presets.h"
#include "abi/spu_registers.h"

namespace kestrel::logsynth {

std::uint16_t ControlRegister(const Score& score) {
  using Bits = spu_reg::ControlBits;
  std::uint16_t control = Bits::kEnable | Bits::kUnmute;
  if (!score.reverb.preset.empty()) control |= Bits::kReverbWrites;
  if (!score.streams.empty()) control |= Bits::kCdAudio;
  return control;
}

std::uint32_t SampleRamLimit(const Score& score) {
  const ReverbPreset* preset = FindReverbPreset(score.reverb.preset);
  return spu_reg::kSoundRamBytes - (preset != nullptr ? preset->workAreaBytes : 0u);
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
  for (int voice = 0; voice < spu_reg::kVoiceCount; ++voice) {
    writer.SetRegister(spu_reg::VoicePitch(voice), 0x1000);
    writer.SetRegister(spu_reg::VoiceStartAddress(voice), AddressRegister(memory.silentBlock));
    writer.SetRegister(spu_reg::VoiceRepeatAddress(voice), AddressRegister(memory.silentBlock));
  }

  const std::uint16_t mainVolume = VolumeRegister(score.mainVolume);
  writer.SetRegister(spu_reg::kMainVolumeLeft, mainVolume);
  writer.SetRegister(spu_reg::kMainVolumeRight, mainVolume);
  writer.SetRegister(spu_reg::kTransferControl, spu_reg::kTransferControlNormal);
  writer.SetRegister(spu_reg::kControl, ControlRegister(score));
  if (!score.streams.empty()) {
    writer.SetRegister(spu_reg::kCdVolumeLeft, 0x7FFF);
    writer.SetRegister(spu_reg::kCdVolumeRight, 0x7FFF);
  }
  if (const ReverbPreset* preset = FindReverbPreset(score.reverb.preset)) {
    const auto output = static_cast<std::uint16_t>(score.reverb.volume * 0x7FFF / 100);
    writer.SetRegister(spu_reg::kReverbVolumeLeft, output);
    writer.SetRegister(spu_reg::kReverbVolumeRight, output);
    writer.SetRegister(spu_reg::kReverbBase, AddressRegister(spu_reg::kSoundRamBytes - preset->workAreaBytes));
    for (std::size_t i = 0; i < preset->registers.size(); ++i) {
      writer.SetRegister(spu_reg::kReverbFirst + 2 * static_cast<std::uint32_t>(i), preset->registers[i]);
    }
    writer.SetRegister(spu_reg::kReverbModeLow, static_cast<std::uint16_t>(reverbVoices));
    writer.SetRegister(spu_reg::kReverbModeHigh, static_cast<std::uint16_t>(reverbVoices >> 16));
  }
}

}  // namespace kestrel::logsynth
