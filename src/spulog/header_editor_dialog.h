#pragma once
// (placeholder until the dialog is built)

#include <QDialog>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class HeaderEditorDialog : public QDialog {
 public:
  HeaderEditorDialog(Controller& controller, QWidget* parent);

 private:
  Controller& controller_;
};

}  // namespace kestrel::gui
