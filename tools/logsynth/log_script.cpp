#include "log_script.h"

#include <algorithm>

namespace kestrel::logsynth {

std::vector<ScriptEvent> LogScript::Ordered() const {
  std::vector<ScriptEvent> ordered = events_;
  std::stable_sort(ordered.begin(), ordered.end(), [](const ScriptEvent& a, const ScriptEvent& b) {
    return a.time != b.time ? a.time < b.time : a.phase < b.phase;
  });
  return ordered;
}

std::uint32_t LogScript::EndTime() const {
  std::uint32_t end = 0;
  for (const ScriptEvent& e : events_) end = std::max(end, e.time);
  return end;
}

}  // namespace kestrel::logsynth
