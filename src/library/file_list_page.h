#pragma once
// The "SPU File List" page of the main window (placeholder until the page is built).

#include <QWidget>

namespace kestrel::gui {
class AnalyzerWidget;
}

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class FileListPage : public QWidget {
 public:
  FileListPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();
  gui::AnalyzerWidget* Analyzer() const { return analyzer_; }

 private:
  Controller& controller_;
  AnalyzerWidget* analyzer_;
};

}  // namespace kestrel::gui
