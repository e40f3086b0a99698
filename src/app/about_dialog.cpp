#include "app/about_dialog.h"

#include "app/controller.h"

namespace kestrel::gui {

AboutDialog::AboutDialog(Controller& controller, QWidget* parent) : QDialog(parent), controller_(controller) {}

}  // namespace kestrel::gui
