#include "monitor/analyzer_widget.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>

#include "monitor/color_schemes.h"

// The pictures are compiled into the GUI library; naming them here keeps the linker from
// leaving them out of a program that shows the analyzer.
static void RegisterPictures() { Q_INIT_RESOURCE(resources); }

namespace kestrel::gui {
namespace {

using analyzer::kColumnWidth;
using analyzer::kPictureHeight;
using analyzer::kPictureWidth;
using analyzer::kSegmentCount;
using analyzer::kSegmentHeight;
using analyzer::kStripHeight;

struct Pictures {
  QImage background;
  std::array<QImage, kColorSchemes.size()> strips;
};

// A strip as the schemes' data give it, for a picture that failed to load.
QImage DrawnStrip(int scheme) {
  QImage strip(kColumnWidth, kStripHeight, QImage::Format_RGB32);
  for (int row = 0; row < kStripHeight; ++row) {
    for (int x = 0; x < kColumnWidth; ++x) strip.setPixel(x, row, 0xff000000 | StripPixel(scheme, row, x));
  }
  return strip;
}

// Loaded once, in the pixel format the composition copies rows of.
const Pictures& LoadedPictures() {
  static const Pictures pictures = [] {
    RegisterPictures();
    Pictures loaded;
    loaded.background = QImage(QStringLiteral(":/analyzer/background.png")).convertToFormat(QImage::Format_RGB32);
    if (loaded.background.size() != QSize(kPictureWidth, kPictureHeight)) {
      loaded.background = QImage(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
      loaded.background.fill(QColor(0x10, 0x14, 0x18));
    }
    for (int scheme = 0; scheme < static_cast<int>(loaded.strips.size()); ++scheme) {
      QImage& strip = loaded.strips[static_cast<std::size_t>(scheme)];
      strip = QImage(QStringLiteral(":/analyzer/scheme_%1.png").arg(scheme, 2, 10, QLatin1Char('0')))
                  .convertToFormat(QImage::Format_RGB32);
      if (strip.width() < kColumnWidth || strip.height() != kStripHeight) strip = DrawnStrip(scheme);
    }
    return loaded;
  }();
  return pictures;
}

bool SameSegments(const AnalyzerColumn& a, const AnalyzerColumn& b) {
  if (a.x != b.x || a.barCount != b.barCount || a.hasPeak != b.hasPeak) return false;
  if (a.hasPeak && !(a.peak == b.peak)) return false;
  const int bars = std::clamp(a.barCount, 0, kSegmentCount);
  return std::equal(a.bars.begin(), a.bars.begin() + bars, b.bars.begin());
}

bool SameFrame(const AnalyzerFrame& a, const AnalyzerFrame& b) {
  if (ColorSchemeOfRow(a.colorScheme) != ColorSchemeOfRow(b.colorScheme)) return false;
  for (std::size_t c = 0; c < a.columns.size(); ++c) {
    if (!SameSegments(a.columns[c], b.columns[c])) return false;
  }
  return true;
}

}  // namespace

AnalyzerWidget::AnalyzerWidget(QWidget* parent) : QWidget(parent) {
  setFixedSize(kPictureWidth, kPictureHeight);
  // Every pixel is painted from the composed picture; nothing below needs erasing.
  setAttribute(Qt::WA_OpaquePaintEvent);
  Compose(BackgroundFrame(kDefaultColorScheme));
}

void AnalyzerWidget::ShowFrame(const AnalyzerFrame& frame) {
  if (composed_ && SameFrame(frame, shown_)) return;
  Compose(frame);
  shown_ = frame;
  composed_ = true;
  repaint();
}

void AnalyzerWidget::Compose(const AnalyzerFrame& frame) {
  const Pictures& pictures = LoadedPictures();
  if (picture_.isNull()) picture_ = QImage(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  const QImage& background = pictures.background;
  const QImage& strip = pictures.strips[static_cast<std::size_t>(ColorSchemeOfRow(frame.colorScheme))];
  uchar* bits = picture_.bits();
  const qsizetype line = picture_.bytesPerLine();
  std::memcpy(bits, background.constBits(), static_cast<std::size_t>(background.sizeInBytes()));

  // A segment outside the picture or the strip is left out rather than drawn clipped.
  const auto blit = [&](int x, const AnalyzerSegment& segment) {
    if (segment.y < 0 || segment.y + kSegmentHeight > kPictureHeight) return;
    if (segment.stripRow < 0 || segment.stripRow + kSegmentHeight > kStripHeight) return;
    for (int r = 0; r < kSegmentHeight; ++r) {
      std::memcpy(bits + (segment.y + r) * line + x * 4, strip.constScanLine(segment.stripRow + r),
                  kColumnWidth * 4);
    }
  };
  for (const AnalyzerColumn& column : frame.columns) {
    if (column.x < 0 || column.x + kColumnWidth > kPictureWidth) continue;
    const int bars = std::clamp(column.barCount, 0, kSegmentCount);
    for (int i = 0; i < bars; ++i) blit(column.x, column.bars[static_cast<std::size_t>(i)]);
    if (column.hasPeak) blit(column.x, column.peak);
  }
}

void AnalyzerWidget::paintEvent(QPaintEvent*) {
  // Scaled without smoothing at a device pixel ratio above 1, so every pixel stays sharp.
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

}  // namespace kestrel::gui
