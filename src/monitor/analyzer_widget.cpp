#include "monitor/analyzer_widget.h"

#include "monitor/analyzer_frame.h"

// The pictures are compiled into the GUI library; naming them here keeps the linker from
// leaving them out of a program that shows the analyzer.
static void RegisterPictures() { Q_INIT_RESOURCE(resources); }

namespace kestrel::gui {

AnalyzerWidget::AnalyzerWidget(QWidget* parent) : QWidget(parent) {
  RegisterPictures();
  setFixedSize(310, 120);
}

void AnalyzerWidget::ShowFrame(const AnalyzerFrame&) { update(); }

}  // namespace kestrel::gui
