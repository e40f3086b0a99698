// The analyzer's frames: heights, bars, falling markers, draw types, the opening animation
// and the strips' colours.

#include "monitor/level_analyzer.h"

#include <gtest/gtest.h>

#include <vector>

#include "monitor/analyzer_frame.h"
#include "monitor/color_schemes.h"

namespace kestrel {
namespace {

using analyzer::kColumnCount;

// The segment number whose place a segment takes.
int SegmentNumber(const AnalyzerSegment& s) { return (100 - s.y) / 3; }

// Column heights of a frame whose bars stand on the bottom segment, as the animation draws.
std::vector<int> StandingHeights(const AnalyzerFrame& frame) {
  std::vector<int> heights;
  for (const AnalyzerColumn& column : frame.columns) {
    for (int i = 0; i < column.barCount; ++i) EXPECT_EQ(column.bars[i], SegmentAt(i + 1)) << "bar " << i;
    EXPECT_FALSE(column.hasPeak);
    heights.push_back(column.barCount);
  }
  return heights;
}

VoiceLevels AllAt(std::uint16_t envelope, std::int32_t volume = 100) {
  VoiceLevels levels;
  levels.envelope.fill(envelope);
  levels.volume.fill(volume);
  return levels;
}

TEST(LevelAnalyzer, HeightScalesTheEnvelopeByTheMixerLevelBeforeDividing) {
  struct Row {
    std::uint16_t envelope;
    std::int32_t volume;
    int height;
  };
  for (const Row& row : {Row{0x7FFF, 100, 28}, Row{0x7FFF, 0, 0}, Row{3500, 70, 2}, Row{2339, 100, 1},
                         Row{2340, 100, 2}, Row{0xFFFF, 100, 56}}) {
    EXPECT_EQ(LevelHeight(row.envelope, row.volume), row.height) << row.envelope << " at " << row.volume;
  }
}

TEST(LevelAnalyzer, FullVoiceDrawsTwentySevenBarsAndItsMarkerFallsOnceTheLevelDrops) {
  LevelAnalyzer analyzer;
  VoiceLevels levels = AllAt(0);
  levels.envelope[4] = 0x7FFF;
  levels.envelope[9] = 0x7FFF;
  levels.volume[9] = 0;  // muted: only the marker it already had
  VoiceLevels first = AllAt(0x7FFF);
  first.envelope[0] = 0;
  const AnalyzerFrame& full = analyzer.ComposeLive(first, AnalyzerDrawType::Type1, 0);
  EXPECT_EQ(full.columns[4].barCount, 27);
  for (int n = 1; n <= 27; ++n) EXPECT_EQ(full.columns[4].bars[n - 1], SegmentAt(n));
  EXPECT_EQ(full.columns[4].peak, SegmentAt(27));
  EXPECT_EQ(full.columns[23].x, 34 + 230);

  levels.envelope[4] = 0;
  std::vector<int> markers, mutedMarkers;
  for (int frame = 0; frame < 28; ++frame) {
    const AnalyzerFrame& f = analyzer.ComposeLive(levels, AnalyzerDrawType::Type1, 0);
    EXPECT_EQ(f.columns[4].barCount, 0);
    EXPECT_EQ(f.columns[9].barCount, 0);
    EXPECT_TRUE(f.columns[0].hasPeak);
    EXPECT_EQ(f.columns[0].peak, SegmentAt(1));  // silent voices keep their bottom segment
    markers.push_back(SegmentNumber(f.columns[4].peak));
    mutedMarkers.push_back(SegmentNumber(f.columns[9].peak));
  }
  EXPECT_EQ(markers, mutedMarkers);
  EXPECT_EQ(markers.front(), 26);
  EXPECT_EQ(markers[24], 2);
  EXPECT_EQ(markers[25], 1);
  EXPECT_EQ(markers.back(), 1);
  for (std::size_t i = 1; i < 25; ++i) EXPECT_EQ(markers[i], markers[i - 1] - 1);
}

TEST(LevelAnalyzer, DrawTypesPlaceBarsAndMarkersTheirOwnWay) {
  LevelAnalyzer analyzer;
  const AnalyzerFrame& hanging = analyzer.ComposeLive(AllAt(0x7FFF), AnalyzerDrawType::Type2, 0);
  const AnalyzerColumn& column = hanging.columns[0];
  ASSERT_EQ(column.barCount, 27);
  for (int k = 1; k <= 27; ++k) EXPECT_EQ(column.bars[k - 1], (AnalyzerSegment{10 + 3 * (k - 1), 2 * k})) << k;
  EXPECT_EQ(column.peak, SegmentAt(27));  // counted from the bottom

  const AnalyzerFrame& markersOnly = analyzer.ComposeLive(AllAt(0x7FFF), AnalyzerDrawType::Type3, 0);
  EXPECT_EQ(markersOnly.columns[0].barCount, 0);
  EXPECT_EQ(markersOnly.columns[0].peak, SegmentAt(27));

  const AnalyzerFrame& disabled = analyzer.ComposeLive(AllAt(0x7FFF), AnalyzerDrawType::Disable, 0);
  EXPECT_EQ(disabled.columns[0].barCount, 0);
  EXPECT_EQ(disabled.columns[0].peak, SegmentAt(1));
  // The marker starts over from the bottom when bars come back.
  EXPECT_EQ(analyzer.ComposeLive(AllAt(0), AnalyzerDrawType::Type1, 0).columns[0].peak, SegmentAt(1));

  // An envelope with bit 15 set fills the column without leaving it; its marker sits at
  // the bottom while above the top.
  const AnalyzerFrame& over = analyzer.ComposeLive(AllAt(0xFFFF), AnalyzerDrawType::Type1, 0);
  EXPECT_EQ(over.columns[0].barCount, 30);
  EXPECT_EQ(over.columns[0].bars[29], SegmentAt(30));
  EXPECT_EQ(over.columns[0].peak, SegmentAt(1));
  const AnalyzerFrame& overHanging = analyzer.ComposeLive(AllAt(0xFFFF), AnalyzerDrawType::Type2, 0);
  EXPECT_EQ(overHanging.columns[0].barCount, 29);
  EXPECT_EQ(overHanging.columns[0].bars[28].stripRow + 1, analyzer::kStripHeight - 1);

  // Scheme and type take effect at the next frame; unknown rows fall back to the defaults.
  EXPECT_EQ(analyzer.ComposeLive(AllAt(0), AnalyzerDrawType::Type1, 13).colorScheme, 13);
  EXPECT_EQ(analyzer.ComposeLive(AllAt(0), AnalyzerDrawType::Type1, 15).colorScheme, 0);
  EXPECT_EQ(AnalyzerDrawTypeOfRow(-1), AnalyzerDrawType::Type1);
  EXPECT_EQ(AnalyzerDrawTypeOfRow(3), AnalyzerDrawType::Disable);
}

TEST(AnalyzerFrames, OpeningAnimationFrameByFrameThenIdle) {
  const std::vector<int> none(kColumnCount, 0);
  auto heights = [](std::initializer_list<int> leading) {
    std::vector<int> h(leading);
    h.resize(kColumnCount, 0);
    return h;
  };
  auto uniform = [](int h) { return std::vector<int>(kColumnCount, h); };
  std::vector<int> t17 = uniform(30);
  t17[22] = 28;
  t17[23] = 26;
  struct Row {
    int t;
    std::vector<int> heights;
  };
  const std::vector<Row> rows = {
      {0, none},
      {1, none},
      {2, uniform(2)},
      {9, uniform(16)},
      {16, uniform(30)},
      {17, t17},
      {27, heights({30, 30, 28, 26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2})},
      {28, heights({28, 26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2})},
      {33, heights({8, 6, 4, 2})},
      {34, heights({4, 2})},
      {35, heights({2})},
      {36, none},
      {39, none},
      {40, heights({1})},
      {42, heights({1, 1, 1})},
      {63, uniform(1)},
      {69, uniform(1)},
  };
  for (const Row& row : rows) {
    const AnalyzerFrame frame = OpeningFrame(row.t, 2);
    EXPECT_EQ(StandingHeights(frame), row.heights) << "t = " << row.t;
    EXPECT_EQ(frame.colorScheme, 2);
  }
  for (const int t : {70, -1}) {
    for (const AnalyzerColumn& column : OpeningFrame(t, 0).columns) {
      EXPECT_EQ(column.barCount, 0);
      EXPECT_EQ(column.peak, SegmentAt(1));
    }
  }
}

TEST(ColorSchemes, StripsRunFromTheirBottomToTheirTopColour) {
  for (int s = 0; s < static_cast<int>(kColorSchemes.size()); ++s) {
    const ColorScheme& scheme = kColorSchemes[s];
    const int middle = 4;
    for (const int row : {58, 59}) EXPECT_EQ(StripPixel(s, row, middle), scheme.bottom) << scheme.name;
    for (const int row : {0, 1}) EXPECT_EQ(StripPixel(s, row, middle), scheme.top) << scheme.name;
    const bool shaded = scheme.shape == StripShape::ShadedRamp;
    EXPECT_EQ(StripPixel(s, 30, 0) < StripPixel(s, 30, middle), shaded) << scheme.name;
  }
  EXPECT_EQ(StripPixel(13, 57, 9), 0x000000u);  // the zebra's second segment, its tenth column
  EXPECT_EQ(StripPixel(13, 55, 0), 0xffffffu);
  EXPECT_NE(StripPixel(9, 30, 4), StripPixel(9, 58, 4));  // the rainbow passes other hues
}

}  // namespace
}  // namespace kestrel
