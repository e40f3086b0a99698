// The analyzer panel's cost per frame: the core's frame composed from moving voice levels
// (or the opening animation), composed off screen by the widget and painted, on the
// offscreen platform. The goal is under 1 ms a frame.
//   ShowFrameOnScreen: ShowFrame on a shown widget (compose, then an immediate repaint
//                      into the window's backing store), as each refresh tick does.
//   ComposeAndRender/R: ShowFrame, then QWidget::render into a QImage at pixel ratio R.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <cmath>
#include <vector>

#include "monitor/analyzer_widget.h"
#include "monitor/level_analyzer.h"

namespace {

using kestrel::analyzer::kColumnCount;

// Attack, decay, sustain and release over `period` frames, each voice at its own phase.
std::uint16_t Envelope(int frame, int period, int phase) {
  const double x = static_cast<double>((frame + phase) % period) / period;
  const double level = x < 0.05 ? x / 0.05 : x < 0.25 ? 1.0 - 0.4 * (x - 0.05) / 0.2 : x < 0.7 ? 0.6 : 0.6 * std::exp(-8.0 * (x - 0.7));
  return static_cast<std::uint16_t>(std::lround(level * 0x7FFF));
}

std::vector<kestrel::AnalyzerFrame> LiveFrames(kestrel::AnalyzerDrawType type) {
  kestrel::LevelAnalyzer analyzer;
  std::vector<kestrel::AnalyzerFrame> frames;
  for (int f = 0; f < 512; ++f) {
    kestrel::VoiceLevels levels;
    for (int c = 0; c < kColumnCount; ++c) {
      levels.envelope[c] = Envelope(f, 20 + 7 * c, 13 * c);
      levels.volume[c] = c % 5 == 4 ? 0 : 100 - 3 * c;
    }
    frames.push_back(analyzer.ComposeLive(levels, type, f / 64 % 15));
  }
  return frames;
}

std::vector<kestrel::AnalyzerFrame> OpeningFrames() {
  std::vector<kestrel::AnalyzerFrame> frames;
  for (int t = 0; t < kestrel::kOpeningFrameCount; ++t) frames.push_back(kestrel::OpeningFrame(t, 0));
  return frames;
}

void ShowFrameOnScreen(benchmark::State& state) {
  const auto frames = state.range(0) < 0 ? OpeningFrames() : LiveFrames(static_cast<kestrel::AnalyzerDrawType>(state.range(0)));
  kestrel::gui::AnalyzerWidget widget;
  widget.show();
  QApplication::processEvents();
  std::size_t i = 0;
  for (auto _ : state) widget.ShowFrame(frames[i++ % frames.size()]);
  state.SetLabel(state.range(0) < 0 ? "opening" : "live");
}
BENCHMARK(ShowFrameOnScreen)->Arg(0)->Arg(1)->Arg(-1)->Unit(benchmark::kMicrosecond);

void ComposeAndRender(benchmark::State& state) {
  const auto frames = LiveFrames(kestrel::AnalyzerDrawType::Type1);
  kestrel::gui::AnalyzerWidget widget;
  const int ratio = static_cast<int>(state.range(0));
  QImage target(310 * ratio, 120 * ratio, QImage::Format_RGB32);
  target.setDevicePixelRatio(ratio);
  std::size_t i = 0;
  for (auto _ : state) {
    widget.ShowFrame(frames[i++ % frames.size()]);
    widget.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(ComposeAndRender)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
