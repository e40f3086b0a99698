#include "mixer/mixer_page.h"

#include "app/controller.h"

namespace kestrel::gui {

MixerPage::MixerPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {}

void MixerPage::Refresh() {}

}  // namespace kestrel::gui
