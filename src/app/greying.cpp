#include "app/greying.h"

#include "app/command_ids.h"

namespace kestrel {
namespace {

using M = GreyMoment;
using T = GreyTarget;
using namespace cmd;
using namespace ctl;

constexpr bool kGrey = false;
constexpr bool kEnable = true;

std::vector<int> SlotItems() { return {40024, 40025, 40026, 40027, 40028}; }

std::vector<int> With(std::vector<int> ids, const std::vector<int>& more) {
  ids.insert(ids.end(), more.begin(), more.end());
  return ids;
}

// What a playback greys in the menu, and the page controls it disables.
const std::vector<int> kPlaybackMenu = With({kStartPlay, kRefreshFileList, kShuffleFileList, cmd::kPluginConfigure,
                                             kSelectPlayList},
                                            SlotItems());
const std::vector<int> kPlaybackOptions = {kPrioritySlider, kRefreshSlider, kLimiter, kFadeOut, kFadeIn,
                                           kDynamicOrchestra};
const std::vector<int> kDecodeMenu = With({kSelectPlayList, kStartPlay, kNext, kBack, kRefreshFileList,
                                           kShuffleFileList, cmd::kPluginConfigure},
                                          SlotItems());
const std::vector<int> kEditorButtons = {kOpen, kAddAll, kClear, kLoadList, kSaveList};

}  // namespace

const std::vector<GreyRule>& GreyingTable() {
  static const std::vector<GreyRule> table = {
      {M::StartUp, T::Menu, kGrey, {kStopPlay, kViewSpuOperation}},
      {M::StartUp, T::DecodePage, kGrey, {kAbort}},

      {M::ScanStarts, T::Menu, kGrey, {kStartPlay, kRefreshFileList, kShuffleFileList, kSelectPlayList}},
      {M::ScanStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious, kToolStop}},
      {M::ScanStarts, T::DecodePage, kGrey, {kDecode}},
      {M::ScanStarts, T::FileListPage, kGrey, {kRefresh, kShuffle, ctl::kCheckAll, ctl::kUnCheckAll}},

      {M::ScanEnds, T::Menu, kEnable, {kStartPlay, kRefreshFileList, kShuffleFileList, kSelectPlayList}},
      {M::ScanEnds, T::Toolbar, kEnable, {kToolStart, kToolNext, kToolPrevious}},
      {M::ScanEnds, T::DecodePage, kEnable, {kDecode}},
      {M::ScanEnds, T::FileListPage, kEnable, {kRefresh, kShuffle, ctl::kCheckAll, ctl::kUnCheckAll}},

      {M::ImportStarts, T::Menu, kGrey, {kStartPlay, kRefreshFileList, kShuffleFileList}},
      {M::ImportStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious}},
      {M::ImportStarts, T::PlayListEditorPage, kGrey, kEditorButtons},
      {M::ImportStarts, T::DecodePage, kGrey, {kDecode}},
      {M::ImportStarts, T::FileListPage, kGrey, {kRefresh, kShuffle}},

      {M::ImportEnds, T::Toolbar, kEnable, {kToolNext, kToolPrevious}},
      {M::ImportEnds, T::PlayListEditorPage, kEnable, kEditorButtons},
      {M::ImportEndsIdle, T::Menu, kEnable, {kStartPlay, kRefreshFileList, kShuffleFileList}},
      {M::ImportEndsIdle, T::Toolbar, kEnable, {kToolStart}},
      {M::ImportEndsIdle, T::DecodePage, kEnable, {kDecode}},
      {M::ImportEndsIdle, T::FileListPage, kEnable, {kRefresh, kShuffle}},

      {M::PlaybackStarts, T::Menu, kGrey, kPlaybackMenu},
      {M::PlaybackStarts, T::Menu, kEnable, {kStopPlay}},
      {M::PlaybackStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious, kToolImport}},
      {M::PlaybackStarts, T::Toolbar, kEnable, {kToolStop}},
      {M::PlaybackStarts, T::DecodePage, kGrey, {kDecode}},
      {M::PlaybackStarts, T::PluginPage, kGrey, {ctl::kPluginConfigure}},
      {M::PlaybackStarts, T::OptionPage, kGrey, kPlaybackOptions},
      {M::PlaybackStarts, T::FileListPage, kGrey, {kRefresh, kShuffle}},
      {M::PlaybackStarts, T::FileListPage, kEnable, {kPositionSlider}},

      {M::StartLockReleased, T::Toolbar, kEnable, {kToolNext, kToolPrevious}},

      {M::RestartArmed, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious}},

      {M::PlaybackStops, T::Menu, kEnable, kPlaybackMenu},
      {M::PlaybackStops, T::Menu, kGrey, {kStopPlay, kViewSpuOperation}},
      {M::PlaybackStops, T::Toolbar, kEnable, {kToolStart, kToolNext, kToolPrevious, kToolImport}},
      {M::PlaybackStops, T::Toolbar, kGrey, {kToolStop}},
      {M::PlaybackStops, T::DecodePage, kEnable, {kDecode}},
      {M::PlaybackStops, T::PluginPage, kEnable, {ctl::kPluginConfigure}},
      {M::PlaybackStops, T::OptionPage, kEnable, kPlaybackOptions},
      {M::PlaybackStops, T::FileListPage, kEnable, {kRefresh, kShuffle, kPositionSlider}},

      {M::DecodeStarts, T::Menu, kGrey, kDecodeMenu},
      {M::DecodeStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious, kToolImport}},
      {M::DecodeEnds, T::Menu, kEnable, kDecodeMenu},
      {M::DecodeEnds, T::Toolbar, kEnable, {kToolStart, kToolNext, kToolPrevious, kToolImport}},
  };
  return table;
}

void ApplyGreying(GreyMoment moment, const GreyTargets& targets) {
  for (const GreyRule& rule : GreyingTable()) {
    if (rule.moment != moment) continue;
    ControlStates* states = targets[static_cast<std::size_t>(rule.target)];
    for (const int id : rule.ids) states->SetEnabled(id, rule.enabled);
  }
}

}  // namespace kestrel
