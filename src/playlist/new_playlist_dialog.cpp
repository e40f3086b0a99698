#include "playlist/new_playlist_dialog.h"

#include "app/controller.h"

namespace kestrel::gui {

NewPlaylistDialog::NewPlaylistDialog(Controller& controller, QWidget* parent) : QDialog(parent), controller_(controller) {}

}  // namespace kestrel::gui
