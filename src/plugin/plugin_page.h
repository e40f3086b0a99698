#pragma once
// The "Plugin && Register" page of the main window: the SPU plugin list with its buttons and
// the selected plugin's info, and the register and event switches the player follows.

#include <QWidget>

#include <vector>

#include "plugin/plugin_scan.h"

class QLineEdit;
class QTableWidget;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class PluginPage : public QWidget {
 public:
  PluginPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

 protected:
  // Clicks and double clicks on the list, on a row or on none.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Click(int id);
  void ShowRows(const std::vector<PluginRow>& rows);
  void ShowContextMenu(const QPoint& at);

  Controller& controller_;
  QTableWidget* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* version_ = nullptr;
  QLineEdit* path_ = nullptr;
  // What the list shows, so a refresh rebuilds it only when the rows changed.
  std::vector<PluginRow> shown_;
};

}  // namespace kestrel::gui
