#include "app/greying.h"

#include "app/command_ids.h"
#include "decoder/decode_page_state.h"
#include "library/file_list_page_state.h"
#include "playlist/playlist_editor_page_state.h"
#include "plugin/plugin_page_state.h"

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
const std::vector<int> kEditorButtons = {playlist_id::kOpen, playlist_id::kAddAll, playlist_id::kClear, playlist_id::kLoadList, playlist_id::kSaveList};

}  // namespace

const std::vector<GreyRule>& GreyingTable() {
  static const std::vector<GreyRule> table = {
      {M::StartUp, T::Menu, kGrey, {kStopPlay, kViewSpuOperation}},
      {M::StartUp, T::DecodePage, kGrey, {decode_page::kAbort}},

      {M::ScanStarts, T::Menu, kGrey, {kStartPlay, kRefreshFileList, kShuffleFileList, kSelectPlayList}},
      {M::ScanStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious, kToolStop}},
      {M::ScanStarts, T::DecodePage, kGrey, {decode_page::kDecode}},
      {M::ScanStarts, T::FileListPage, kGrey, {file_list_id::kRefresh, file_list_id::kShuffle, file_list_id::kCheckAll, file_list_id::kUnCheckAll}},

      {M::ScanEnds, T::Menu, kEnable, {kStartPlay, kRefreshFileList, kShuffleFileList, kSelectPlayList}},
      {M::ScanEnds, T::Toolbar, kEnable, {kToolStart, kToolNext, kToolPrevious}},
      {M::ScanEnds, T::DecodePage, kEnable, {decode_page::kDecode}},
      {M::ScanEnds, T::FileListPage, kEnable, {file_list_id::kRefresh, file_list_id::kShuffle, file_list_id::kCheckAll, file_list_id::kUnCheckAll}},

      {M::ImportStarts, T::Menu, kGrey, {kStartPlay, kRefreshFileList, kShuffleFileList}},
      {M::ImportStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious}},
      {M::ImportStarts, T::PlayListEditorPage, kGrey, kEditorButtons},
      {M::ImportStarts, T::DecodePage, kGrey, {decode_page::kDecode}},
      {M::ImportStarts, T::FileListPage, kGrey, {file_list_id::kRefresh, file_list_id::kShuffle}},

      {M::ImportEnds, T::Toolbar, kEnable, {kToolNext, kToolPrevious}},
      {M::ImportEnds, T::PlayListEditorPage, kEnable, kEditorButtons},
      {M::ImportEndsIdle, T::Menu, kEnable, {kStartPlay, kRefreshFileList, kShuffleFileList}},
      {M::ImportEndsIdle, T::Toolbar, kEnable, {kToolStart}},
      {M::ImportEndsIdle, T::DecodePage, kEnable, {decode_page::kDecode}},
      {M::ImportEndsIdle, T::FileListPage, kEnable, {file_list_id::kRefresh, file_list_id::kShuffle}},

      {M::PlaybackStarts, T::Menu, kGrey, kPlaybackMenu},
      {M::PlaybackStarts, T::Menu, kEnable, {kStopPlay}},
      {M::PlaybackStarts, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious, kToolImport}},
      {M::PlaybackStarts, T::Toolbar, kEnable, {kToolStop}},
      {M::PlaybackStarts, T::DecodePage, kGrey, {decode_page::kDecode}},
      {M::PlaybackStarts, T::PluginPage, kGrey, {plugin_page::kConfigure}},
      {M::PlaybackStarts, T::OptionPage, kGrey, kPlaybackOptions},
      {M::PlaybackStarts, T::FileListPage, kGrey, {file_list_id::kRefresh, file_list_id::kShuffle}},
      {M::PlaybackStarts, T::FileListPage, kEnable, {kPositionSlider}},

      {M::StartLockReleased, T::Toolbar, kEnable, {kToolNext, kToolPrevious}},

      {M::RestartArmed, T::Toolbar, kGrey, {kToolStart, kToolNext, kToolPrevious}},

      {M::PlaybackStops, T::Menu, kEnable, kPlaybackMenu},
      {M::PlaybackStops, T::Menu, kGrey, {kStopPlay, kViewSpuOperation}},
      {M::PlaybackStops, T::Toolbar, kEnable, {kToolStart, kToolNext, kToolPrevious, kToolImport}},
      {M::PlaybackStops, T::Toolbar, kGrey, {kToolStop}},
      {M::PlaybackStops, T::DecodePage, kEnable, {decode_page::kDecode}},
      {M::PlaybackStops, T::PluginPage, kEnable, {plugin_page::kConfigure}},
      {M::PlaybackStops, T::OptionPage, kEnable, kPlaybackOptions},
      {M::PlaybackStops, T::FileListPage, kEnable, {file_list_id::kRefresh, file_list_id::kShuffle, kPositionSlider}},

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
