#include "monitor/level_analyzer.h"

#include <algorithm>

#include "monitor/color_schemes.h"

namespace kestrel {
namespace {

using analyzer::kColumnCount;
using analyzer::kSegmentCount;

constexpr std::int64_t kEnvelopePerSegment = 1170;

// TYPE2's k-th bar from the top sits in segment 31 - k's place but takes strip rows 2k and
// 2k + 1, one segment's colour lower; the strip has no rows for a 30th such bar.
constexpr int kMaxHangingBars = kSegmentCount - 1;

void DrawBars(AnalyzerColumn& column, int height, AnalyzerDrawType type) {
  column.barCount = 0;
  if (height < 2) return;
  if (type == AnalyzerDrawType::Type1) {
    column.barCount = std::min(height - 1, kSegmentCount);
    for (int n = 1; n <= column.barCount; ++n) column.bars[n - 1] = SegmentAt(n);
  } else if (type == AnalyzerDrawType::Type2) {
    column.barCount = std::min(height - 1, kMaxHangingBars);
    for (int k = 1; k <= column.barCount; ++k) column.bars[k - 1] = {analyzer::SegmentY(kSegmentCount + 1 - k), 2 * k};
  }
}

}  // namespace

AnalyzerDrawType AnalyzerDrawTypeOfRow(int row) {
  return row >= 0 && row < static_cast<int>(kAnalyzerDrawTypeNames.size()) ? static_cast<AnalyzerDrawType>(row)
                                                                            : AnalyzerDrawType::Type1;
}

int LevelHeight(std::uint16_t envelope, std::int32_t volume) {
  const std::int64_t scaled = std::int64_t{envelope} * std::clamp(volume, 0, 100) / 100;
  return static_cast<int>(scaled / kEnvelopePerSegment);
}

const AnalyzerFrame& LevelAnalyzer::RefreshTick(PlayerState& state, const ChannelMixer& mixer, int drawTypeRow,
                                                int colorScheme) {
  if (!levelsCleared_) {
    for (auto& level : state.analyzerEnvelope) level.store(0, std::memory_order_relaxed);
    levelsCleared_ = true;
  }
  VoiceLevels levels;
  for (int c = 0; c < kColumnCount; ++c) {
    levels.envelope[c] = state.analyzerEnvelope[c].load(std::memory_order_relaxed);
    levels.volume[c] = mixer.level[c].load(std::memory_order_relaxed);
  }
  ComposeLive(levels, AnalyzerDrawTypeOfRow(drawTypeRow), colorScheme);
  state.analyzerReadRequest.store(true, std::memory_order_release);
  return frame_;
}

const AnalyzerFrame& LevelAnalyzer::ComposeLive(const VoiceLevels& levels, AnalyzerDrawType type, int colorScheme) {
  frame_.colorScheme = ColorSchemeOfRow(colorScheme);
  for (int c = 0; c < kColumnCount; ++c) {
    AnalyzerColumn& column = frame_.columns[c];
    const int height = LevelHeight(levels.envelope[c], levels.volume[c]);
    column.x = analyzer::ColumnX(c);
    DrawBars(column, height, type);
    // The marker lands one segment below a new maximum and falls a segment per frame.
    std::int32_t& peak = peak_[c];
    peak = std::max(peak, height) - 1;
    if (type == AnalyzerDrawType::Disable) peak = 0;
    column.hasPeak = true;
    column.peak = SegmentAt(peak >= 2 && peak <= kSegmentCount ? peak : 1);
  }
  return frame_;
}

const AnalyzerFrame& LevelAnalyzer::ComposeIdle(int colorScheme) {
  frame_ = IdleFrame(ColorSchemeOfRow(colorScheme));
  return frame_;
}

const AnalyzerFrame& LevelAnalyzer::ComposeOpening(int t, int colorScheme) {
  frame_ = OpeningFrame(t, ColorSchemeOfRow(colorScheme));
  return frame_;
}

}  // namespace kestrel
