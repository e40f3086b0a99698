#pragma once
// The "PlayList Slot" dialog: the five slots' playlist paths, each typed or picked with its
// "..." chooser; OK stores them and titles the menu's slot items.

#include <QDialog>

#include <array>

class QLineEdit;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class PlaylistSlotDialog : public QDialog {
 public:
  PlaylistSlotDialog(Controller& controller, QWidget* parent);

 private:
  void Choose(int slot);

  Controller& controller_;
  std::array<QLineEdit*, 5> fields_{};
};

}  // namespace kestrel::gui
