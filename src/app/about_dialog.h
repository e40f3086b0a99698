#pragma once
// The About dialog: the program's name, version and credits, modal over the main window.

#include <QDialog>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class AboutDialog : public QDialog {
 public:
  // It shows fixed texts only; the controller is not asked for anything.
  AboutDialog(Controller& controller, QWidget* parent);
};

}  // namespace kestrel::gui
