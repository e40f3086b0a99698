#pragma once
// One picture of the level analyzer as a painter draws it: per voice column, the strip
// segments to copy onto a fresh copy of the background picture, then the whole picture
// copied to the page at once.

#include <array>

namespace kestrel {

namespace analyzer {

inline constexpr int kPictureWidth = 310;  // background picture
inline constexpr int kPictureHeight = 120;
inline constexpr int kPictureX = 377;  // where the picture sits on the file list page
inline constexpr int kPictureY = 12;
inline constexpr int kColumnCount = 24;  // one per voice
inline constexpr int kColumnWidth = 9;
inline constexpr int kSegmentCount = 30;  // segment 1 is the bottom one
inline constexpr int kSegmentHeight = 2;
inline constexpr int kStripHeight = 2 * kSegmentCount;

constexpr int ColumnX(int column) { return 34 + 10 * column; }
constexpr int SegmentY(int segment) { return 100 - 3 * segment; }
// The first of a segment's two rows in a colour strip, whose row 0 is its top.
constexpr int SegmentStripRow(int segment) { return kStripHeight - 2 * segment; }

}  // namespace analyzer

// A block kColumnWidth x 2: strip rows stripRow and stripRow + 1 go to rows y and y + 1 of
// the column on the background picture.
struct AnalyzerSegment {
  int y = 0;
  int stripRow = 0;
  friend bool operator==(const AnalyzerSegment&, const AnalyzerSegment&) = default;
};

// Segment n (1..30) in its own place with its own strip rows.
constexpr AnalyzerSegment SegmentAt(int segment) {
  return {analyzer::SegmentY(segment), analyzer::SegmentStripRow(segment)};
}

struct AnalyzerColumn {
  int x = 0;
  int barCount = 0;  // bars[0 .. barCount - 1] are drawn
  std::array<AnalyzerSegment, analyzer::kSegmentCount> bars{};
  bool hasPeak = false;  // drawn after the bars
  AnalyzerSegment peak{};
};

struct AnalyzerFrame {
  int colorScheme = 0;  // the strip every segment of this frame comes from
  std::array<AnalyzerColumn, analyzer::kColumnCount> columns{};
};

// A frame of `colorScheme` with empty columns: the background alone.
AnalyzerFrame BackgroundFrame(int colorScheme);

// What the analyzer shows while nothing plays: the bottom segment of every column.
AnalyzerFrame IdleFrame(int colorScheme);

// The opening animation runs for frames 0 .. kOpeningFrameCount - 1, one per shell-timer
// tick after start-up. A frame number outside that range gives the idle picture.
inline constexpr int kOpeningFrameCount = 70;
AnalyzerFrame OpeningFrame(int frame, int colorScheme);

}  // namespace kestrel
