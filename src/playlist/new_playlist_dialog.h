#pragma once
// (placeholder until the dialog is built)

#include <QDialog>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class NewPlaylistDialog : public QDialog {
 public:
  NewPlaylistDialog(Controller& controller, QWidget* parent);

 private:
  Controller& controller_;
};

}  // namespace kestrel::gui
