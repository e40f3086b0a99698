#pragma once
// (placeholder until the dialog is built)

#include <QDialog>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class PlaylistSlotDialog : public QDialog {
 public:
  PlaylistSlotDialog(Controller& controller, QWidget* parent);

 private:
  Controller& controller_;
};

}  // namespace kestrel::gui
