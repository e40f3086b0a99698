#include "playlist/playlist_editor_page.h"

#include "app/controller.h"

namespace kestrel::gui {

PlaylistEditorPage::PlaylistEditorPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {}

void PlaylistEditorPage::Refresh() {}

}  // namespace kestrel::gui
