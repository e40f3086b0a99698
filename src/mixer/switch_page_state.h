#pragma once
// The register and event switches' check boxes of the "Plugin && Register" page. The
// boxes are what the user sets; the player's switches follow them on every refresh tick.

#include "mixer/register_path.h"
#include "platform/control_states.h"

namespace kestrel {

namespace switch_page {
inline constexpr int kFirstRegisterBox = 1106;  // 1106..1115, in RegisterControl::kRegisters order
inline constexpr int kLastRegisterBox = 1115;
inline constexpr int kXaBox = 1116;             // "Enable XA Play"
inline constexpr int kDmaBox = 1117;            // "Enable DMA Write"
inline constexpr int kCddaBox = 1118;           // "Enable CDDA Play"
inline constexpr int kRegisterWriteBox = 1119;  // "Enable REG Write"
}  // namespace switch_page

class SwitchPageState {
 public:
  // Every box starts checked.
  explicit SwitchPageState(RegisterPath& path = TheRegisterPath());

  // A box set or clicked (Toggle); false for an id that is no box of this page.
  bool SetBox(int id, bool checked);
  bool Toggle(int id);

  // Copies the boxes into RegisterControl and EventControl (a checked box lets through).
  // Cheap: the controller calls it on every refresh tick and when playback starts.
  void ReadSwitches() const;

  ControlStates controls;

 private:
  RegisterPath& path_;
};

}  // namespace kestrel
