#pragma once
// The "New PlayList" dialog: a file name (".klt" follows it) and a title for a new playlist,
// from the menu or from "Save List" of an unbound editor. OK creates it, or keeps the
// dialog open when the controller says so.

#include <QDialog>

class QLineEdit;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class NewPlaylistDialog : public QDialog {
 public:
  NewPlaylistDialog(Controller& controller, QWidget* parent);

 private:
  bool Ok();

  Controller& controller_;
  QLineEdit* fileName_ = nullptr;
  QLineEdit* listTitle_ = nullptr;
};

}  // namespace kestrel::gui
