#pragma once
// The level analyzer's 310 x 120 panel. Each frame is composed off screen on a fresh copy
// of the background picture, with the bar and peak segments cut from the frame's colour
// strip, and the result is painted in one operation.

#include <QImage>
#include <QWidget>

#include "monitor/analyzer_frame.h"

namespace kestrel::gui {

class AnalyzerWidget : public QWidget {
  Q_OBJECT

 public:
  explicit AnalyzerWidget(QWidget* parent = nullptr);
  // Composes `frame` off screen and paints it at once; the same frame again costs nothing.
  void ShowFrame(const AnalyzerFrame& frame);
  // The composed picture, 310 x 120 pixels.
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Compose(const AnalyzerFrame& frame);

  QImage picture_;
  AnalyzerFrame shown_;
  bool composed_ = false;
};

}  // namespace kestrel::gui
