#pragma once
// The live level analyzer: each voice's envelope level, scaled by its mixer level, as a bar
// of segments with a falling peak marker. The owner composes one frame per refresh tick
// and keeps it for repaints, so that a repaint alone never moves a marker.

#include <array>
#include <cstdint>
#include <string_view>

#include "mixer/channel_mixer.h"
#include "monitor/analyzer_frame.h"
#include "player/player_state.h"

namespace kestrel {

enum class AnalyzerDrawType {
  Type1 = 0,    // bars grow from the bottom
  Type2 = 1,    // bars hang from the top; markers still count from the bottom
  Type3 = 2,    // markers only
  Disable = 3,  // every marker held at the bottom segment
};

inline constexpr std::array<std::string_view, 4> kAnalyzerDrawTypeNames = {"TYPE1 (Default)", "TYPE2", "TYPE3",
                                                                          "Disable"};

// The draw type of a row of the option page's list; an unknown row draws as the default.
AnalyzerDrawType AnalyzerDrawTypeOfRow(int row);

// What one frame is drawn from.
struct VoiceLevels {
  std::array<std::uint16_t, analyzer::kColumnCount> envelope{};  // current envelope volume
  std::array<std::int32_t, analyzer::kColumnCount> volume{};     // mixer level, percent
};

// A column's height in segments: the envelope scaled by the mixer level, 28 for 0x7FFF at
// 100 %. An envelope with bit 15 set (a plugin reporting a raw value) gives up to 56.
int LevelHeight(std::uint16_t envelope, std::int32_t volume);

class LevelAnalyzer {
 public:
  // A refresh-timer tick while playing: composes the frame from the levels the player
  // sampled after the previous tick, then asks the player for fresh ones. The first tick
  // of the program's run draws from zeroed levels, whatever the shared array held.
  const AnalyzerFrame& RefreshTick(PlayerState& state, const ChannelMixer& mixer, int drawTypeRow,
                                   int colorScheme);

  // One live frame from `levels`; every column's peak moves as the frame is drawn.
  const AnalyzerFrame& ComposeLive(const VoiceLevels& levels, AnalyzerDrawType type, int colorScheme);

  // Playback stopped, or nothing plays: the bottom segment of every column.
  const AnalyzerFrame& ComposeIdle(int colorScheme);

  // Frame `t` of the opening animation.
  const AnalyzerFrame& ComposeOpening(int t, int colorScheme);

  // The last composed frame, for a repaint.
  const AnalyzerFrame& Frame() const { return frame_; }

  // Marker positions; they start at 0 and carry over from one log to the next.
  const std::array<std::int32_t, analyzer::kColumnCount>& Peaks() const { return peak_; }

 private:
  std::array<std::int32_t, analyzer::kColumnCount> peak_{};
  bool levelsCleared_ = false;
  AnalyzerFrame frame_ = IdleFrame(0);
};

}  // namespace kestrel
