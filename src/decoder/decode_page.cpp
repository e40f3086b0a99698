#include "decoder/decode_page.h"

#include "app/controller.h"

namespace kestrel::gui {

DecodePage::DecodePage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {}

void DecodePage::Refresh() {}

}  // namespace kestrel::gui
