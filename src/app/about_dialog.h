#pragma once
// (placeholder until the dialog is built)

#include <QDialog>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class AboutDialog : public QDialog {
 public:
  AboutDialog(Controller& controller, QWidget* parent);

 private:
  Controller& controller_;
};

}  // namespace kestrel::gui
