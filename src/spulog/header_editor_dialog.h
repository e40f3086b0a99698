#pragma once
// The "Header Information Editor" dialog: the selected log's name and its three titles;
// Save writes them, and is greyed, with the reason below, for a log that may not be written.

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
