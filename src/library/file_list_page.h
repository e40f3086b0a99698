#pragma once
// The "SPU File List" page of the main window: the list of logs with their check marks, the
// count and scan texts, the Location field, the page buttons, the analyzer panel, the
// "Selected File Info" panel and the position slider. It shows the controller's state and
// hands it every click, tick, edit and slider move.

#include <QWidget>

#include <array>

#include "library/file_list_page_state.h"

class QLabel;
class QLineEdit;
class QSlider;
class QTableView;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class AnalyzerWidget;
class FileListModel;

class FileListPage : public QWidget {
 public:
  FileListPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again. Rows are rebuilt only when the list's
  // rows changed; a changed check mark repaints its row alone.
  void Refresh();
  gui::AnalyzerWidget* Analyzer() const { return analyzer_; }
  QTableView* List() const { return list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildListSide();
  QWidget* BuildInfoSide();
  void ApplyDesign(const FileListDesign& design);
  void ShowSelection();
  void ShowPanel();
  void OpenContextMenu(const QPoint& globalPos);

  Controller& controller_;
  AnalyzerWidget* analyzer_;
  FileListModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  QLabel* countLabel_ = nullptr;
  QLabel* statusText_ = nullptr;
  QLineEdit* location_ = nullptr;
  QSlider* position_ = nullptr;
  std::array<QLineEdit*, 8> panel_{};
  FileListDesign shownDesign_;
  bool designShown_ = false;
  bool syncing_ = false;  // the page itself moves the view's selection
};

}  // namespace kestrel::gui
