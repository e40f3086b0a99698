#pragma once
// The "Misc Option" page: a level slider and a mute box per voice and three buttons for all
// voices. The sliders' positions live in the ChannelMixer; every action sets its `changed`,
// so a playing log hears it on the player's next pass.

#include "mixer/register_path.h"
#include "platform/control_states.h"

namespace kestrel {

namespace mixer_page {
inline constexpr int kFirstSlider = 1127;  // 1127 + channel
inline constexpr int kFirstMuteBox = 1151;  // 1151 + channel
inline constexpr int kMuteAll = 1175;
inline constexpr int kUnmuteAll = 1176;
inline constexpr int kReset = 1177;
inline constexpr int kSliderTop = 0;  // level 100
inline constexpr int kSliderBottom = 100;  // level 0
}  // namespace mixer_page

class MixerPageState {
 public:
  explicit MixerPageState(ChannelMixer& mixer = TheRegisterPath().channelMixer);

  // Any movement of a slider, each step of a drag included; clamped to 0..100.
  void MoveSlider(int channel, int position);
  void SetMuteBox(int channel, bool checked);
  void MuteAll();
  void UnmuteAll();
  void Reset();  // sliders to the top; the mute boxes stay
  // A click on a mute box (toggles it) or a button; false for an id not on this page.
  bool Command(int id);

  int SliderPosition(int channel) const;
  // The mute boxes' checks (ids 1151..1174).
  ControlStates controls;

 private:
  void ShowMutes();

  ChannelMixer& mixer_;
};

}  // namespace kestrel
