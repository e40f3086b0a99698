#include "app/option_page.h"

#include "app/controller.h"

namespace kestrel::gui {

OptionPage::OptionPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {}

void OptionPage::Refresh() {}

}  // namespace kestrel::gui
