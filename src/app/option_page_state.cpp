#include "app/option_page_state.h"

#include <algorithm>

#include "app/command_ids.h"
#include "app/option_tables.h"
#include "player/playback_control.h"
#include "player/tempo_table.h"

namespace kestrel {

using namespace ctl;

PlayMode PlayModeOf(const AppSettings& s) {
  if (s.EnableRepeatPlay) return PlayMode::Repeat;
  if (s.EnableChanePlay) return PlayMode::Chain;
  if (s.EnableRepeatChanePlay) return PlayMode::RepeatChain;
  return PlayMode::Single;
}

void OptionPageState::Show(const AppSettings& s, PlayerState& player) {
  controls.SetChecked(kSingleRadio, s.EnableSinglePlay);
  controls.SetChecked(kRepeatRadio, s.EnableRepeatPlay);
  controls.SetChecked(kChainRadio, s.EnableChanePlay);
  controls.SetChecked(kRepeatChainRadio, s.EnableRepeatChanePlay);
  controls.SetChecked(kLimiter, s.limiter);
  controls.SetChecked(kFadeOut, s.EnableFadeOut);
  controls.SetChecked(kFadeIn, s.EnableFadeIn);
  controls.SetChecked(kDynamicOrchestra, s.EnableDynamicOrchestra);
  controls.SetChecked(kCompulsivePause, s.EnableCompulsivePause);
  controls.SetChecked(kSpecifyBackImage, s.SpecifyListBackImage);
  controls.SetChecked(kGridLine, s.EnableGlidLine);
  controls.SetEnabled({kBackImagePath, kChooseBackImage}, s.SpecifyListBackImage);
  player.limiter.store(s.limiter, std::memory_order_relaxed);
  player.fadeOut.store(s.EnableFadeOut, std::memory_order_relaxed);
  player.fadeIn.store(s.EnableFadeIn, std::memory_order_relaxed);
  player.dynamicOrchestra.store(s.EnableDynamicOrchestra, std::memory_order_relaxed);
  player.tempoFactor.store(s.tempoFactor, std::memory_order_relaxed);
}

void OptionPageState::ClickPlayMode(AppSettings& s, int radio) {
  s.EnableSinglePlay = radio == kSingleRadio;
  s.EnableRepeatPlay = radio == kRepeatRadio;
  s.EnableChanePlay = radio == kChainRadio;
  s.EnableRepeatChanePlay = radio == kRepeatChainRadio;
  controls.CheckOnly({kSingleRadio, kRepeatRadio, kChainRadio, kRepeatChainRadio}, radio);
}

bool OptionPageState::ConfirmTempo(AppSettings& s, PlayerState& player, int row) {
  if (!SetTempoRow(player, row)) return false;
  s.PlayBackTempo = row;
  s.tempoFactor = *TempoFactorOfRow(row);
  s.tempoStatusText = kTempoTable[static_cast<std::size_t>(row)].statusText;
  return true;
}

void OptionPageState::Click(AppSettings& s, PlayerState& player, int box) {
  switch (box) {
    case kLimiter: s.limiter = !s.limiter; break;
    case kFadeOut: s.EnableFadeOut = !s.EnableFadeOut; break;
    case kFadeIn: s.EnableFadeIn = !s.EnableFadeIn; break;
    case kDynamicOrchestra: s.EnableDynamicOrchestra = !s.EnableDynamicOrchestra; break;
    case kCompulsivePause: s.EnableCompulsivePause = !s.EnableCompulsivePause; break;
    case kSpecifyBackImage: s.SpecifyListBackImage = !s.SpecifyListBackImage; break;
    case kGridLine: s.EnableGlidLine = !s.EnableGlidLine; break;
    default: return;
  }
  Show(s, player);
}

void OptionPageState::MoveSlider(AppSettings& s, int slider, int position) {
  if (slider == kPrioritySlider) {
    s.PlayBackPriority = std::clamp(position, 1, 7);
    s.playBackPriorityLabel = PriorityLabel(s.PlayBackPriority);
  } else if (slider == kRefreshSlider) {
    s.AnalyzerRefreshRate = std::clamp(position, 20, 100);
    s.refreshRateLabel = RefreshRateLabel(s.AnalyzerRefreshRate);
  } else if (slider >= kRedSlider && slider < kRedSlider + 3) {
    int* const colors[3] = {&s.ListTextColorR, &s.ListTextColorG, &s.ListTextColorB};
    const auto i = static_cast<std::size_t>(slider - kRedSlider);
    *colors[i] = std::clamp(position, 0, 255);
    s.textColorLabels[i] = std::to_string(*colors[i]);
  }
}

void OptionPageState::ConfirmDrawType(AppSettings& s, int row) {
  if (row < 0 || row >= kAnalyzerTypeCount) return;
  s.AnalyzerType = s.analyzerType = row;
}

void OptionPageState::ConfirmColor(AppSettings& s, int row) {
  if (row < 0 || row >= kAnalyzerColorCount) return;
  s.AnalyzerColor = row;
  s.colorSchemeBitmap = kFirstColorSchemeBitmap + row;
}

void OptionPageState::ChooseBackImage(AppSettings& s, const std::string& path) {
  if (!path.empty()) s.ListBackImagePath = path;
}

void OptionPageState::EditBackImagePath(AppSettings& s, std::string text) { s.ListBackImagePath = std::move(text); }

}  // namespace kestrel
