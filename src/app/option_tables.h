#pragma once
// The option ranges that the option pages and the settings share (the priority table is the
// platform's, the tempo table the player's, the analyzer's lists the monitor's).

#include "monitor/color_schemes.h"
#include "monitor/level_analyzer.h"
#include "platform/thread_priority.h"
#include "player/tempo_table.h"

namespace kestrel {

inline constexpr int kAnalyzerTypeCount = static_cast<int>(kAnalyzerDrawTypeNames.size());
inline constexpr int kAnalyzerColorCount = static_cast<int>(kColorSchemes.size());
inline constexpr int kFirstColorSchemeBitmap = 150;

}  // namespace kestrel
