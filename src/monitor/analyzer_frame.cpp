#include "monitor/analyzer_frame.h"

#include <algorithm>

namespace kestrel {
namespace {

using analyzer::kColumnCount;
using analyzer::kSegmentCount;

// Column heights in segments, filled from the bottom.
using Heights = std::array<int, kColumnCount>;

// Columns from `first` on at start, start - 2, start - 4, ... while above 0.
void Staircase(Heights& heights, int first, int start) {
  for (int c = first, h = start; c < kColumnCount && h > 0; ++c, h -= 2) heights[c] = h;
}

Heights OpeningHeights(int t) {
  Heights heights{};
  if (t >= 2 && t <= 16) {
    heights.fill(2 * (t - 1));  // rising together
  } else if (t >= 17 && t <= 27) {
    const int full = 56 - 2 * t;  // full columns, then a falling edge moving left
    std::fill_n(heights.begin(), full, kSegmentCount);
    Staircase(heights, full, kSegmentCount - 2);
  } else if (t >= 28 && t <= 34) {
    Staircase(heights, 0, 28 - 4 * (t - 28));
  } else if (t == 35) {
    heights[0] = 2;
  } else if (t >= 40) {
    std::fill_n(heights.begin(), std::min(t - 40, kColumnCount - 1) + 1, 1);  // dots run right
  }
  return heights;
}

}  // namespace

AnalyzerFrame BackgroundFrame(int colorScheme) {
  AnalyzerFrame frame;
  frame.colorScheme = colorScheme;
  for (int c = 0; c < kColumnCount; ++c) frame.columns[c].x = analyzer::ColumnX(c);
  return frame;
}

AnalyzerFrame IdleFrame(int colorScheme) {
  AnalyzerFrame frame = BackgroundFrame(colorScheme);
  for (AnalyzerColumn& column : frame.columns) {
    column.hasPeak = true;
    column.peak = SegmentAt(1);
  }
  return frame;
}

AnalyzerFrame OpeningFrame(int t, int colorScheme) {
  if (t < 0 || t >= kOpeningFrameCount) return IdleFrame(colorScheme);
  AnalyzerFrame frame = BackgroundFrame(colorScheme);
  const Heights heights = OpeningHeights(t);
  for (int c = 0; c < kColumnCount; ++c) {
    AnalyzerColumn& column = frame.columns[c];
    column.barCount = heights[c];
    for (int n = 1; n <= heights[c]; ++n) column.bars[n - 1] = SegmentAt(n);
  }
  return frame;
}

}  // namespace kestrel
