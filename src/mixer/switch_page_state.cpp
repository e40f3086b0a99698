#include "mixer/switch_page_state.h"

namespace kestrel {
namespace {

bool IsBox(int id) { return id >= switch_page::kFirstRegisterBox && id <= switch_page::kRegisterWriteBox; }

}  // namespace

SwitchPageState::SwitchPageState(RegisterPath& path) : path_(path) {
  for (int id = switch_page::kFirstRegisterBox; id <= switch_page::kRegisterWriteBox; ++id) controls.SetChecked(id, true);
}

bool SwitchPageState::SetBox(int id, bool checked) {
  if (!IsBox(id)) return false;
  controls.SetChecked(id, checked);
  return true;
}

bool SwitchPageState::Toggle(int id) { return SetBox(id, !controls.Checked(id)); }

void SwitchPageState::ReadSwitches() const {
  for (std::size_t i = 0; i < RegisterControl::kRegisters.size(); ++i) {
    path_.registerControl.allow[i].store(controls.Checked(switch_page::kFirstRegisterBox + static_cast<int>(i)),
                                         std::memory_order_relaxed);
  }
  EventControl& events = path_.eventControl;
  events.xa.store(controls.Checked(switch_page::kXaBox), std::memory_order_relaxed);
  events.dmaWrite.store(controls.Checked(switch_page::kDmaBox), std::memory_order_relaxed);
  events.cdda.store(controls.Checked(switch_page::kCddaBox), std::memory_order_relaxed);
  events.registerWrite.store(controls.Checked(switch_page::kRegisterWriteBox), std::memory_order_relaxed);
}

}  // namespace kestrel
