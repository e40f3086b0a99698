// The analyzer panel as a person sees it: the frames of the core's analyzer composed from
// the scheme's strip onto the background picture, pixel for pixel, and sharp when scaled.
#include <QImage>
#include <QTest>

#include "monitor/analyzer_widget.h"
#include "monitor/color_schemes.h"
#include "monitor/level_analyzer.h"

namespace kestrel::test {
namespace {

using analyzer::ColumnX;
using analyzer::SegmentY;

QImage Grab(gui::AnalyzerWidget& widget, const AnalyzerFrame& frame) {
  widget.ShowFrame(frame);
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Background() {
  return QImage(QStringLiteral(":/analyzer/background.png")).convertToFormat(QImage::Format_RGB32);
}

// Segment n (1 at the bottom) of a column, both rows and all nine pixels: its strip rows
// (lit) or the background picture (dark).
void CheckSegment(const QImage& shown, int column, int n, int scheme, bool lit) {
  static const QImage background = Background();
  for (int r = 0; r < 2; ++r) {
    for (int x = 0; x < analyzer::kColumnWidth; ++x) {
      const int px = ColumnX(column) + x, py = SegmentY(n) + r;
      const QRgb want = lit ? 0xff000000 | StripPixel(scheme, analyzer::kStripHeight - 2 * n + r, x)
                            : background.pixel(px, py);
      if (shown.pixel(px, py) != want) {
        QFAIL(qPrintable(QStringLiteral("column %1 segment %2 pixel (%3, %4): %5, want %6 (%7)")
                             .arg(column).arg(n).arg(px).arg(py)
                             .arg(shown.pixel(px, py), 8, 16).arg(want, 8, 16).arg(lit ? "lit" : "dark")));
      }
    }
  }
}

}  // namespace

class AnalyzerWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void IsExactlyThePanelsSize() {
    gui::AnalyzerWidget widget;
    QCOMPARE(widget.minimumSize(), QSize(310, 120));
    QCOMPARE(widget.maximumSize(), QSize(310, 120));
    QCOMPARE(widget.grab().size(), QSize(310, 120));
  }

  // Voice 1 at full level draws 27 bars and its marker at 27; a silent voice 2 shows only
  // its bottom segment. A shaded and a ten-pixel strip check that rows and columns of the
  // strip land where they belong, and a scheme change shows at the next frame.
  void LiveBarsShowTheirStripRowsInTheirPlaces() {
    gui::AnalyzerWidget widget;
    widget.show();
    VoiceLevels levels;
    levels.volume.fill(100);
    levels.envelope[0] = 0x7FFF;
    for (const int scheme : {8, 13}) {
      LevelAnalyzer analyzer;
      const QImage shown = Grab(widget, analyzer.ComposeLive(levels, AnalyzerDrawType::Type1, scheme));
      for (int n = 1; n <= 30; ++n) CheckSegment(shown, 0, n, scheme, n <= 27);
      for (int n = 1; n <= 30; ++n) CheckSegment(shown, 1, n, scheme, n == 1);
      if (QTest::currentTestFailed()) return;
    }
  }

  void IdleOpeningAndBackgroundPicturesDiffer() {
    gui::AnalyzerWidget widget;
    const QImage background = Grab(widget, OpeningFrame(0, 0));
    QCOMPARE(background, Background());
    const QImage rising = Grab(widget, OpeningFrame(10, 0));
    const QImage idle = Grab(widget, IdleFrame(0));
    QVERIFY(rising != idle);
    QVERIFY(idle != background);
    for (int c = 0; c < analyzer::kColumnCount; ++c) {
      CheckSegment(idle, c, 1, 0, true);
      CheckSegment(idle, c, 2, 0, false);
      CheckSegment(rising, c, 18, 0, true);
      CheckSegment(rising, c, 19, 0, false);
    }
  }

  // Segments off the picture or the strip and an unknown scheme draw nothing wrong and
  // crash nothing; the scheme falls back to the default one.
  void FramesOutsideThePictureAreLeftOut() {
    gui::AnalyzerWidget widget;
    AnalyzerFrame frame = BackgroundFrame(77);
    frame.columns[0].x = 305;
    frame.columns[0].barCount = 99;
    frame.columns[1].x = -4;
    frame.columns[1].hasPeak = true;
    frame.columns[2].barCount = 3;
    frame.columns[2].bars[0] = {-1, 0};
    frame.columns[2].bars[1] = {119, 0};
    frame.columns[2].bars[2] = {50, 59};
    frame.columns[3].hasPeak = true;
    frame.columns[3].peak = SegmentAt(4);
    const QImage shown = Grab(widget, frame);
    QImage expected = Background();
    CheckSegment(shown, 3, 4, kDefaultColorScheme, true);
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 310; ++x) {
        const bool peak = x >= ColumnX(3) && x < ColumnX(3) + 9 && y >= SegmentY(4) && y < SegmentY(4) + 2;
        if (!peak && shown.pixel(x, y) != expected.pixel(x, y)) QFAIL(qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
      }
    }
  }

  // At twice the pixel ratio each picture pixel becomes a 2 x 2 block, not a blur.
  void ScalesWithoutBlurring() {
    gui::AnalyzerWidget widget;
    const QImage one = Grab(widget, IdleFrame(9));
    QImage two(620, 240, QImage::Format_RGB32);
    two.setDevicePixelRatio(2);
    widget.render(&two);
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 310; ++x) {
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
          if (two.pixel(2 * x + d.x(), 2 * y + d.y()) != one.pixel(x, y)) QFAIL(qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
      }
    }
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::AnalyzerWidgetTest)
#include "analyzer_widget_test.moc"
