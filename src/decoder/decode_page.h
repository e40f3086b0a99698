#pragma once
// The "Wave Decode" page of the main window (placeholder until the page is built).

#include <QWidget>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class DecodePage : public QWidget {
 public:
  DecodePage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

 private:
  Controller& controller_;

};

}  // namespace kestrel::gui
