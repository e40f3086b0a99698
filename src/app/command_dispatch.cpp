#include <string>

#include "app/command_ids.h"
#include "app/controller.h"
#include "library/shuffle_file_list.h"
#include "mixer/channel_mixer.h"
#include "mixer/register_path.h"

namespace kestrel {

using namespace cmd;

void Controller::CommandDispatch(int command) {
  switch (command) {
    case kAbout: frontEnd_.OpenDialog(AppDialog::About); break;
    case kNewPlayList: frontEnd_.OpenDialog(AppDialog::NewPlayList); break;
    case kSelectPlayList:
    case kToolImport: frontEnd_.OpenChooser(Chooser::PlayList, startupFolder_ + "/list"); break;
    case kRegisterSlot: frontEnd_.OpenDialog(AppDialog::PlayListSlot); break;
    case kExit: Exit(); break;
    case kStartPlay:
      ShowFileInfo();
      StartPlayback();
      break;
    case kToolStart: StartPlayback(); break;
    case kStopPlay:
    case kToolStop: StopPlayback(); break;
    case kNext:
    case kToolNext: Jump(true); break;
    case kBack:
    case kToolPrevious: Jump(false); break;
    case kToolPause: Pause(); break;
    case kSingleMode:
    case kRepeatMode:
    case kChainMode:
    case kRepeatChainMode: SelectPlayMode(command); break;
    case cmd::kCheckAll: CheckAllItems(fileList_); Changed({StateArea::FileListPage}); break;
    case cmd::kUnCheckAll: UnCheckAllItems(fileList_); Changed({StateArea::FileListPage}); break;
    case kRefreshFileList: StartScan(); break;
    case kShuffleFileList: ShuffleFileList(fileList_); Changed({StateArea::FileListPage}); break;
    case kViewSpuOperation: frontEnd_.OpenDialog(AppDialog::DebugWindow); break;
    case kConsoleWindow: ToggleConsole(); break;
    case kToolVolume: frontEnd_.OpenVolumeControl(); break;
    default:
      // The slot imports and the plugin commands belong to their pages.
      break;
  }
}

void Controller::PageCommandDispatch(int control, PageNotification notification, int row) {
  if (notification == PageNotification::SelectionCancelled) return;
  using namespace ctl;
  const bool confirmed = notification == PageNotification::SelectionConfirmed;
  switch (control) {
    case kTempoList:
      if (confirmed && optionPage_.ConfirmTempo(settings_, player_, row)) {
        window_.statusFields[2] = settings_.tempoStatusText;
        Changed({StateArea::StatusBar, StateArea::OptionPage});
      }
      break;
    case kDrawTypeList:
      if (confirmed) optionPage_.ConfirmDrawType(settings_, row);
      break;
    case kColorList:
      if (confirmed) optionPage_.ConfirmColor(settings_, row);
      break;
    case kSingleRadio:
    case kRepeatRadio:
    case kChainRadio:
    case kRepeatChainRadio:
      optionPage_.ClickPlayMode(settings_, control);
      MirrorPlayModeMenu();
      break;
    case kLimiter:
    case kFadeOut:
    case kFadeIn:
    case kDynamicOrchestra:
    case kCompulsivePause:
    case kSpecifyBackImage:
    case kGridLine:
      optionPage_.Click(settings_, player_, control);
      Changed({StateArea::OptionPage});
      break;
    case kChooseBackImage: frontEnd_.OpenChooser(Chooser::BackImage, startupFolder_ + "/image"); break;
    case kDecode: StartDecode(); break;
    case kAbort: AbortDecode(); break;
    case kSpecifyDecodeTime:
      settings_.SpecifyDecodeTime = !settings_.SpecifyDecodeTime;
      decodeControls_.SetEnabled(1027, settings_.SpecifyDecodeTime);
      Changed({StateArea::DecodePage});
      break;
    case kRefresh: StartScan(); break;
    case kShuffle:
      UnCheckAllItems(fileList_);
      ShuffleFileList(fileList_);
      Changed({StateArea::FileListPage});
      break;
    case ctl::kCheckAll: CommandDispatch(cmd::kCheckAll); break;
    case ctl::kUnCheckAll: CommandDispatch(cmd::kUnCheckAll); break;
    case kChooseFolder: frontEnd_.OpenChooser(Chooser::SpuFolder, settings_.SPUFileFolder); break;
    case kMuteAll:
    case kUnMuteAll:
    case kResetLevels: {
      ChannelMixer& mixer = TheRegisterPath().channelMixer;
      if (control == kMuteAll) MuteAll(mixer);
      if (control == kUnMuteAll) UnmuteAll(mixer);
      if (control == kResetLevels) ResetLevels(mixer);
      Changed({StateArea::MixerPage});
      break;
    }
    case kContextPlay: CommandDispatch(cmd::kStartPlay); break;
    case kContextStop: StopPlayback(); break;
    case kContextEditHeader: frontEnd_.OpenDialog(AppDialog::HeaderInformationEditor); break;
    default:
      if (control >= kFirstMute && control <= kLastMute) {
        ChannelMixer& mixer = TheRegisterPath().channelMixer;
        const int channel = control - kFirstMute;
        SetMute(mixer, channel, !mixer.mute[static_cast<std::size_t>(channel)].load(std::memory_order_relaxed));
        Changed({StateArea::MixerPage});
      }
      // The plugin page's, the editor page's and the playlist rows' commands belong to
      // their pages.
      break;
  }
}

void Controller::HorizontalSlider(int control, SliderCode code, int position) {
  if (control == ctl::kPositionSlider) {
    PositionSliderMoved(code, position);
    return;
  }
  optionPage_.MoveSlider(settings_, control, position);
  Changed({StateArea::OptionPage});
}

void Controller::ChooserResult(Chooser chooser, const std::optional<std::string>& path) {
  if (!path) return;
  switch (chooser) {
    case Chooser::SpuFolder:
      settings_.SPUFileFolder = *path;
      StartScan();
      break;
    case Chooser::BackImage:
      optionPage_.ChooseBackImage(settings_, *path);
      Changed({StateArea::OptionPage});
      break;
    case Chooser::PlayList: break;  // the import belongs to the playlist pages
  }
}

void Controller::SelectPlayMode(int menuItem) {
  static constexpr int kRadios[] = {ctl::kSingleRadio, ctl::kRepeatRadio, ctl::kChainRadio, ctl::kRepeatChainRadio};
  optionPage_.ClickPlayMode(settings_, kRadios[menuItem - kSingleMode]);
  MirrorPlayModeMenu();
}

void Controller::MirrorPlayModeMenu() {
  const bool radios[] = {settings_.EnableSinglePlay, settings_.EnableRepeatPlay, settings_.EnableChanePlay,
                         settings_.EnableRepeatChanePlay};
  for (int i = 0; i < 4; ++i) {
    if (radios[i]) window_.menu.CheckOnly({kSingleMode, kRepeatMode, kChainMode, kRepeatChainMode}, kSingleMode + i);
  }
  Changed({StateArea::Menu, StateArea::OptionPage});
}

}  // namespace kestrel
