#include "plugin/plugin_page.h"

#include "app/controller.h"

namespace kestrel::gui {

PluginPage::PluginPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {}

void PluginPage::Refresh() {}

}  // namespace kestrel::gui
