#include "spulog/header_editor_dialog.h"

#include "app/controller.h"

namespace kestrel::gui {

HeaderEditorDialog::HeaderEditorDialog(Controller& controller, QWidget* parent) : QDialog(parent), controller_(controller) {}

}  // namespace kestrel::gui
