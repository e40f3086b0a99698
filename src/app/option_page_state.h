#pragma once
// The "Player Option" page: play mode, tempo, limiter, priority, the extend options, the
// analyzer options and the list design. Its values live in AppSettings (what is saved at
// exit); the switches the player reads are mirrored into PlayerState as they change.

#include <string>

#include "app/app_settings.h"
#include "platform/control_states.h"
#include "player/player_state.h"

namespace kestrel {

enum class PlayMode { Single, Repeat, Chain, RepeatChain };

// The selected radio's mode; with none selected a log ends as in Single.
PlayMode PlayModeOf(const AppSettings& settings);

class OptionPageState {
 public:
  // Enabled flags, and the checked flags of the radios and boxes (shown from the settings).
  ControlStates controls;

  // Shows `settings` in the check marks and the back-image controls' enabled state, and
  // hands the switches to the player.
  void Show(const AppSettings& settings, PlayerState& player);

  // A click on one of the four play-mode radios (1063, 1020, 1029, 1031).
  void ClickPlayMode(AppSettings& settings, int radio);
  // A confirmed row of the tempo list; a row outside the table changes nothing. The
  // running playback takes the factor at once.
  bool ConfirmTempo(AppSettings& settings, PlayerState& player, int row);
  // Clicks on the check boxes 1088, 1085, 1090, 1181, 1183, 1099, 1103.
  void Click(AppSettings& settings, PlayerState& player, int box);
  // Slider moves: 1080 priority, 1180 refresh, 1092..1094 text colour.
  void MoveSlider(AppSettings& settings, int slider, int position);
  void ConfirmDrawType(AppSettings& settings, int row);
  void ConfirmColor(AppSettings& settings, int row);
  // The back-image chooser's result.
  void ChooseBackImage(AppSettings& settings, const std::string& path);
  // The path edit as typed; an emptied edit is kept (and saved) empty.
  void EditBackImagePath(AppSettings& settings, std::string text);
};

}  // namespace kestrel
