#pragma once
// The seven thread priorities of the player and decoder, mapped best-effort onto Linux
// scheduling. A refusal by the system (no privilege) is ignored.

namespace kestrel {

enum class ThreadPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

// Applies to the calling thread only.
void SetCurrentThreadPriority(ThreadPriority priority);

}  // namespace kestrel
