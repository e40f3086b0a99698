#include "monitor/debug_window_state.h"

#include <cstdio>

namespace kestrel {
namespace {

template <std::size_t N>
void Show(std::array<std::string, N>& texts, const std::array<std::atomic<std::uint16_t>, N>& values) {
  for (std::size_t i = 0; i < N; ++i) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(values[i].load(std::memory_order_relaxed)));
    texts[i] = text;
  }
}

}  // namespace

std::string DebugChannelLabel(int voice) { return "Ch" + std::to_string(voice) + " :"; }

void DebugWindowState::Open() {
  state_.debugPage.store(kDebugVolumeTab, std::memory_order_relaxed);
  state_.debugWindowOpen.store(true, std::memory_order_release);
  ShowValues();
}

void DebugWindowState::Close() {
  state_.debugWindowOpen.store(false, std::memory_order_relaxed);
}

void DebugWindowState::SelectTab(int tab) {
  if (tab != kDebugVolumeTab && tab != kDebugPitchTab) return;
  state_.debugPage.store(tab, std::memory_order_relaxed);
  ShowValues();
}

void DebugWindowState::Tick() {
  if (!IsOpen()) return;
  state_.debugReadRequest.store(true, std::memory_order_release);
  ShowValues();
}

void DebugWindowState::ShowValues() {
  if (ShownTab() == kDebugPitchTab) {
    Show(pitch_, state_.debugPitches);
  } else {
    Show(envelope_, state_.analyzerEnvelope);
    Show(volume_, state_.debugVolumes);
  }
}

}  // namespace kestrel
