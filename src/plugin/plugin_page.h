#pragma once
// The "Plugin && Register" page of the main window (placeholder until the page is built).

#include <QWidget>

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class PluginPage : public QWidget {
 public:
  PluginPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

 private:
  Controller& controller_;

};

}  // namespace kestrel::gui
