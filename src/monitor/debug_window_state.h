#pragma once
// The debug window: the raw envelope, volume and pitch registers of the 24 voices as the
// plugin reports them. The open flag and the shown tab live in PlayerState, which the
// player reads on every pass; this state owns the texts of the window's value fields.

#include <array>
#include <string>
#include <string_view>

#include "abi/spu_registers.h"
#include "player/player_state.h"

namespace kestrel {

inline constexpr std::string_view kDebugWindowCaption = "Debug window";
inline constexpr std::string_view kDebugVolumeTabCaption = "Volume Level";
inline constexpr std::string_view kDebugPitchTabCaption = "Pitch Level";
inline constexpr std::string_view kDebugEnvelopeGroup = "ADSR Level";
inline constexpr std::string_view kDebugVolumeGroup = "Volume Level (Left/Right)";
inline constexpr std::string_view kDebugPitchGroup = "Pitch Level";
inline constexpr std::string_view kDebugCloseButton = "Close";
inline constexpr int kDebugVolumeTab = 1;
inline constexpr int kDebugPitchTab = 2;
inline constexpr int kDebugTimerMs = 20;

// "Ch0 :" .. "Ch23 :", the label before a voice's values.
std::string DebugChannelLabel(int voice);

class DebugWindowState {
 public:
  explicit DebugWindowState(PlayerState& state) : state_(state) {}

  // Opened (the front end then starts the 20 ms timer): the "Volume Level" tab shows the
  // values last sampled, zero before any playback.
  void Open();
  // Closed: the player stops reading for it; the front end stops the timer.
  void Close();
  // Shows tab 1 ("Volume Level") or 2 ("Pitch Level"); another number is ignored.
  void SelectTab(int tab);
  // The 20 ms timer: asks the player for the shown tab's registers, then shows the values
  // read so far (a playback that stopped or paused leaves them as they were).
  void Tick();

  bool IsOpen() const { return state_.debugWindowOpen.load(std::memory_order_relaxed); }
  int ShownTab() const { return state_.debugPage.load(std::memory_order_relaxed); }

  // The fields as "%04x", by voice; volumes are left then right of each voice.
  const std::array<std::string, spu_reg::kVoiceCount>& EnvelopeTexts() const { return envelope_; }
  const std::array<std::string, 2 * spu_reg::kVoiceCount>& VolumeTexts() const { return volume_; }
  const std::array<std::string, spu_reg::kVoiceCount>& PitchTexts() const { return pitch_; }

 private:
  void ShowValues();

  PlayerState& state_;
  std::array<std::string, spu_reg::kVoiceCount> envelope_;
  std::array<std::string, 2 * spu_reg::kVoiceCount> volume_;
  std::array<std::string, spu_reg::kVoiceCount> pitch_;
};

}  // namespace kestrel
