// The editor page's lists and the playlist and header dialogs' fields: what the user did
// there, handed to the page that owns it.
#include "app/controller.h"

namespace kestrel {

void Controller::SelectEditorLeftRow(std::optional<std::size_t> row) {
  editorPage_.SelectLeftRow(row);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::SelectEditorPlaylistRow(std::optional<std::size_t> row) {
  editorPage_.SelectPlaylistRow(row);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::DoubleClickEditorLeftRow(std::optional<std::size_t> row) {
  editorPage_.DoubleClickLeftRow(row);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::DoubleClickEditorPlaylistRow(std::optional<std::size_t> row) {
  editorPage_.DoubleClickPlaylistRow(row);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::ClickEditorLeftColumn(int column) {
  editorPage_.ClickLeftColumn(column);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::ClickEditorPlaylistColumn(int column) {
  editorPage_.ClickPlaylistColumn(column);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::ChooseDoubleClickAction(int index) {
  editorPage_.SetDoubleClickAction(index);
  Changed({StateArea::PlayListEditorPage});
}

void Controller::SelectTab(int tab) { window_.ShowMainPage(tab); }

void Controller::EditNewPlaylist(std::string fileName, std::string listTitle) {
  editorPage_.newPlaylist.fileName = std::move(fileName);
  editorPage_.newPlaylist.listTitle = std::move(listTitle);
}

void Controller::EditSlotField(int slot, std::string text) { slotDialog_.SetField(slot, std::move(text)); }

void Controller::EditHeaderField(int id, std::string text) { headerDialog_.Edit(id, std::move(text)); }

}  // namespace kestrel
