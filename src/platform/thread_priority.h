#pragma once
// The seven thread priorities of the player's option tables, mapped best-effort onto Linux
// scheduling. A refusal by the system (no privilege) is ignored, as a failed priority change
// always was.

namespace kestrel {

enum class ThreadPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

// Applies to the calling thread only.
void SetCurrentThreadPriority(ThreadPriority priority);

}  // namespace kestrel
