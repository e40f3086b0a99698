#pragma once
// The tempo and priority tables that the option pages, the settings and the engine share.

#include <array>
#include <string_view>

#include "platform/thread_priority.h"

namespace kestrel {

struct TempoRow {
  std::string_view listText;
  std::string_view statusText;
  double factor;
};

inline constexpr std::array<TempoRow, 20> kTempoTable = {{
    {"5% (Very Slow)", "Tempo : 5%", 0.05},     {"10%", "Tempo : 10%", 0.1},
    {"25%", "Tempo : 25%", 0.25},               {"50% (Half Tempo)", "Tempo : 50%", 0.5},
    {"75%", "Tempo : 75%", 0.75},               {"100% (Default)", "Tempo : 100%", 1.0},
    {"125%", "Tempo : 125%", 1.25},             {"150%", "Tempo : 150%", 1.5},
    {"175%", "Tempo : 175%", 1.75},             {"200% (Double Tempo)", "Tempo : 200%", 2.0},
    {"250%", "Tempo : 250%", 2.5},              {"300%", "Tempo : 300%", 3.0},
    {"350%", "Tempo : 350%", 3.5},              {"400%", "Tempo : 400%", 4.0},
    {"500%", "Tempo : 500%", 5.0},              {"600%", "Tempo : 600%", 6.0},
    {"700%", "Tempo : 700%", 7.0},              {"800%", "Tempo : 800%", 8.0},
    {"900%", "Tempo : 900%", 9.0},              {"1000% (Good Luck!)", "Tempo : 1000%", 10.0},
}};
inline constexpr int kDefaultTempoRow = 5;

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
