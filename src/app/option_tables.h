#pragma once
// The priority table and the option ranges that the option pages and the settings share
// (the tempo table is the player's).

#include <array>
#include <string_view>

#include "platform/thread_priority.h"
#include "player/tempo_table.h"

namespace kestrel {

struct PriorityRow {
  std::string_view label;
  ThreadPriority priority;
};

// Slider positions 1 to 7 are rows 0 to 6.
inline constexpr std::array<PriorityRow, 7> kPriorityTable = {{
    {"Idle", ThreadPriority::Idle},
    {"Lowest", ThreadPriority::Lowest},
    {"Below Normal", ThreadPriority::BelowNormal},
    {"Normal", ThreadPriority::Normal},
    {"Above Normal", ThreadPriority::AboveNormal},
    {"Higthest", ThreadPriority::Highest},
    {"Critical", ThreadPriority::TimeCritical},
}};

inline constexpr int kAnalyzerTypeCount = 4;
inline constexpr int kAnalyzerColorCount = 15;
inline constexpr int kFirstColorSchemeBitmap = 150;

}  // namespace kestrel
