#include "playlist/playlist_slot_dialog.h"

#include "app/controller.h"

namespace kestrel::gui {

PlaylistSlotDialog::PlaylistSlotDialog(Controller& controller, QWidget* parent) : QDialog(parent), controller_(controller) {}

}  // namespace kestrel::gui
