#include "monitor/analyzer_widget.h"

#include "monitor/analyzer_frame.h"

namespace kestrel::gui {

AnalyzerWidget::AnalyzerWidget(QWidget* parent) : QWidget(parent) { setFixedSize(310, 120); }

void AnalyzerWidget::ShowFrame(const AnalyzerFrame&) { update(); }

}  // namespace kestrel::gui
