#pragma once
// The seven thread priorities of the player and decoder, mapped best-effort onto Linux
// scheduling. A refusal by the system (no privilege) is ignored.

#include <array>
#include <string_view>

namespace kestrel {

enum class ThreadPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

// The priority sliders of the player and the decoder, with the names their labels show.
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

// The label of slider position 1..7; empty outside.
std::string_view PriorityName(int position);
// The priority of slider position 1..7, clamped into that range.
ThreadPriority PriorityAt(int position);

// Applies to the calling thread only.
void SetCurrentThreadPriority(ThreadPriority priority);

}  // namespace kestrel
