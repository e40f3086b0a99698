#pragma once
// The debug window: a window of its own, without owner (placeholder until it is built).

#include <QDialog>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class DebugWindowDialog : public QDialog {
 public:
  explicit DebugWindowDialog(Controller& controller);
  // Shows the controller's debug window state again (each 20 ms tick).
  void Refresh();

 private:
  Controller& controller_;
};

}  // namespace kestrel::gui
