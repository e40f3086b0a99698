#pragma once
// The option ranges that the option pages and the settings share (the priority table is the
// platform's, the tempo table the player's).

#include "platform/thread_priority.h"
#include "player/tempo_table.h"

namespace kestrel {

inline constexpr int kAnalyzerTypeCount = 4;
inline constexpr int kAnalyzerColorCount = 15;
inline constexpr int kFirstColorSchemeBitmap = 150;

}  // namespace kestrel
