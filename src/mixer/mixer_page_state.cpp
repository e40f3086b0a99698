#include "mixer/mixer_page_state.h"

#include <algorithm>

namespace kestrel {

MixerPageState::MixerPageState(ChannelMixer& mixer) : mixer_(mixer) { ShowMutes(); }

void MixerPageState::MoveSlider(int channel, int position) {
  if (channel < 0 || channel >= spu_reg::kVoiceCount) return;
  mixer_.sliderPosition[channel].store(std::clamp(position, mixer_page::kSliderTop, mixer_page::kSliderBottom),
                                       std::memory_order_relaxed);
  ReadLevels(mixer_);
}

void MixerPageState::SetMuteBox(int channel, bool checked) {
  if (channel < 0 || channel >= spu_reg::kVoiceCount) return;
  SetMute(mixer_, channel, checked);
  ShowMutes();
}

void MixerPageState::MuteAll() {
  kestrel::MuteAll(mixer_);
  ShowMutes();
}

void MixerPageState::UnmuteAll() {
  kestrel::UnmuteAll(mixer_);
  ShowMutes();
}

void MixerPageState::Reset() { ResetLevels(mixer_); }

bool MixerPageState::Command(int id) {
  const int channel = id - mixer_page::kFirstMuteBox;
  if (channel >= 0 && channel < spu_reg::kVoiceCount) {
    SetMuteBox(channel, !controls.Checked(id));
  } else if (id == mixer_page::kMuteAll) {
    MuteAll();
  } else if (id == mixer_page::kUnmuteAll) {
    UnmuteAll();
  } else if (id == mixer_page::kReset) {
    Reset();
  } else {
    return false;
  }
  return true;
}

int MixerPageState::SliderPosition(int channel) const {
  return mixer_.sliderPosition[channel].load(std::memory_order_relaxed);
}

// The boxes show the mixer's mutes, the one place they are kept.
void MixerPageState::ShowMutes() {
  for (int ch = 0; ch < spu_reg::kVoiceCount; ++ch) {
    controls.SetChecked(mixer_page::kFirstMuteBox + ch, mixer_.mute[ch].load(std::memory_order_relaxed));
  }
}

}  // namespace kestrel
