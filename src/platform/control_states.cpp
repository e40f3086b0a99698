#include "platform/control_states.h"

namespace kestrel {

bool ControlStates::Enabled(int id) const {
  const auto found = disabled_.find(id);
  return found == disabled_.end() || !found->second;
}

bool ControlStates::Checked(int id) const {
  const auto found = checked_.find(id);
  return found != checked_.end() && found->second;
}

void ControlStates::SetEnabled(int id, bool enabled) { disabled_[id] = !enabled; }

void ControlStates::SetEnabled(std::initializer_list<int> ids, bool enabled) {
  for (const int id : ids) SetEnabled(id, enabled);
}

void ControlStates::SetChecked(int id, bool checked) { checked_[id] = checked; }

void ControlStates::CheckOnly(std::initializer_list<int> group, int chosen) {
  for (const int id : group) SetChecked(id, id == chosen);
}

}  // namespace kestrel
