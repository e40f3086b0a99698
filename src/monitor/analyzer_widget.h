#pragma once
// The level analyzer's 310 x 120 panel (placeholder until it is built).

#include <QWidget>

namespace kestrel {
struct AnalyzerFrame;
}

namespace kestrel::gui {

class AnalyzerWidget : public QWidget {
 public:
  explicit AnalyzerWidget(QWidget* parent = nullptr);
  // Composes `frame` off screen and paints it.
  void ShowFrame(const AnalyzerFrame& frame);
};

}  // namespace kestrel::gui
