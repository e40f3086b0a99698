#include "monitor/debug_window_dialog.h"

#include "app/controller.h"

namespace kestrel::gui {

DebugWindowDialog::DebugWindowDialog(Controller& controller) : QDialog(nullptr), controller_(controller) {}

void DebugWindowDialog::Refresh() {}

}  // namespace kestrel::gui
