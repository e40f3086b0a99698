#pragma once
// The "PlayList Editor" page of the main window: a folder's logs on the left, the playlist on
// the right, the buttons that open, load, clear and save it, and the double-click action.

#include <QWidget>

#include <cstdint>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPoint;
class QTableWidget;

namespace kestrel {
class Controller;
class EntryList;
}  // namespace kestrel

namespace kestrel::gui {

class PlaylistEditorPage : public QWidget {
 public:
  PlaylistEditorPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

  QTableWidget* LeftList() const { return left_; }
  QTableWidget* PlaylistList() const { return playlist_; }

 private:
  void ShowPlaylistMenu(const QPoint& at);

  Controller& controller_;
  QLineEdit* folderField_ = nullptr;
  QLineEdit* titleField_ = nullptr;
  QLabel* leftCount_ = nullptr;
  QLabel* registeredCount_ = nullptr;
  QComboBox* action_ = nullptr;
  QTableWidget* left_ = nullptr;
  QTableWidget* playlist_ = nullptr;
  // The rows each table shows, by serial, so a refresh rebuilds a table only when its list
  // changed.
  std::vector<std::uint32_t> leftShown_;
  std::vector<std::uint32_t> playlistShown_;
};

}  // namespace kestrel::gui
