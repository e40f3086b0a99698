#include <string>

#include "app/command_ids.h"
#include "app/controller.h"
#include "library/column_sort_state.h"
#include "library/shuffle_file_list.h"

namespace kestrel {

using namespace cmd;

void Controller::CommandDispatch(int command) {
  switch (command) {
    case kAbout: frontEnd_.OpenDialog(AppDialog::About); break;
    case kNewPlayList:
      editorPage_.OpenNewPlaylistDialog(NewPlaylistFrom::Menu);
      frontEnd_.OpenDialog(AppDialog::NewPlayList);
      break;
    case kSelectPlayList:
    case kToolImport: frontEnd_.OpenChooser(Chooser::PlayList, startupFolder_ + "/list"); break;
    case kRegisterSlot:
      slotDialog_.Open();
      frontEnd_.OpenDialog(AppDialog::PlayListSlot);
      break;
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
    case cmd::kCheckAll: fileListPage_.CheckAll(); Changed({StateArea::FileListPage}); break;
    case cmd::kUnCheckAll: fileListPage_.UnCheckAll(); Changed({StateArea::FileListPage}); break;
    case kRefreshFileList: StartScan(); break;
    // The menu item only shuffles; the page's button also clears the ticks.
    case kShuffleFileList: ShuffleFileList(fileListPage_.list); Changed({StateArea::FileListPage}); break;
    case kViewSpuOperation:
      debugWindow_.Open();
      frontEnd_.OpenDialog(AppDialog::DebugWindow);
      frontEnd_.StartTimer(AppTimer::Debug, kDebugTimerMs);
      break;
    case kConsoleWindow: ToggleConsole(); break;
    case kToolVolume: frontEnd_.OpenVolumeControl(); break;
    case cmd::kPluginConfigure: pluginPage_.ConfigurePlugin(); break;
    case cmd::kPluginTest: pluginPage_.TestPlugin(); break;
    case cmd::kPluginAbout: pluginPage_.AboutPlugin(); break;
    default:
      if (command >= kFirstSlot && command <= kLastSlot) {
        const int slot = command - kFirstSlot + 1;
        LoadStarted(editorPage_.ImportSlot(slot, slotDialog_.SlotPath(slot)));
      }
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
    case decode_page::kDecode: StartDecode(); break;
    case decode_page::kAbort: AbortDecode(); break;
    case decode_page::kSpecifyTime:
      decodePage_.SetSpecifyDecodeTime(!decodePage_.SpecifyDecodeTime());
      Changed({StateArea::DecodePage});
      break;
    case file_list_id::kRefresh:
    case file_list_id::kShuffle:
    case file_list_id::kCheckAll:
    case file_list_id::kUnCheckAll:
    case file_list_id::kBrowseFolder:
    case file_list_id::kStartPlay:
    case file_list_id::kStopPlay:
    case file_list_id::kEditHeader: OnFileListAction(fileListPage_.PageCommand(control)); break;
    case playlist_id::kOpen:
      if (editorPage_.OpenFolderOffered()) frontEnd_.OpenChooser(Chooser::EditorFolder, startupFolder_);
      break;
    case playlist_id::kLoadList:
      if (const auto chooser = editorPage_.LoadListChooser()) frontEnd_.OpenChooser(Chooser::EditorPlayList, chooser->folder);
      break;
    case playlist_id::kClear:
      editorPage_.Clear();
      Changed({StateArea::PlayListEditorPage});
      break;
    case playlist_id::kSaveList:
      if (editorPage_.SaveList() == PlaylistEditorPageState::SaveStep::OpenNewPlaylistDialog) {
        frontEnd_.OpenDialog(AppDialog::NewPlayList);
      }
      Changed({StateArea::PlayListEditorPage});
      break;
    case playlist_id::kAddAll:
      editorPage_.AddAll();
      Changed({StateArea::PlayListEditorPage});
      break;
    case playlist_id::kRemoveRow:
    case playlist_id::kRowUp:
    case playlist_id::kRowDown:
      editorPage_.PageCommand(control);
      Changed({StateArea::PlayListEditorPage});
      break;
    default:
      if (mixerPage_.Command(control)) {
        Changed({StateArea::MixerPage});
      } else if (switchPage_.Toggle(control)) {
        Changed({StateArea::PluginPage});
      } else if (decodePage_.ToggleDecodingEventBox(control)) {
        Changed({StateArea::DecodePage});
      } else if (pluginPage_.Command(control)) {
        decodePage_.pluginName = pluginPage_.info;
        Changed({StateArea::PluginPage, StateArea::DecodePage});
      }
      // The editor page's and the playlist rows' commands belong to their pages.
      break;
  }
}

void Controller::HorizontalSlider(int control, SliderCode code, int position) {
  if (control == ctl::kPositionSlider) {
    PositionSliderMoved(code, position);
    return;
  }
  if (control == decode_page::kPriority) {
    decodePage_.MovePrioritySlider(position);
    Changed({StateArea::DecodePage});
    return;
  }
  optionPage_.MoveSlider(settings_, control, position);
  Changed({StateArea::OptionPage});
}

void Controller::VerticalSlider(int control, int position) {
  const int channel = control - mixer_page::kFirstSlider;
  if (channel < 0 || channel >= spu_reg::kVoiceCount) return;
  mixerPage_.MoveSlider(channel, position);
  Changed({StateArea::MixerPage});
}

void Controller::ChooserResult(Chooser chooser, const std::optional<std::string>& path) {
  if (!path) return;
  switch (chooser) {
    case Chooser::SpuFolder:
      fileListPage_.FolderChosen(*path);
      Changed({StateArea::FileListPage});
      break;
    case Chooser::BackImage:
      optionPage_.ChooseBackImage(settings_, *path);
      Changed({StateArea::OptionPage});
      break;
    case Chooser::PlayList: LoadStarted(editorPage_.ImportPlaylist(*path)); break;
    case Chooser::EditorPlayList: LoadStarted(editorPage_.LoadList(*path)); break;
    case Chooser::EditorFolder: LoadStarted(editorPage_.OpenFolder(*path)); break;
  }
}

void Controller::ClickPluginRow(int row) {
  pluginPage_.ClickRow(row);
  decodePage_.pluginName = pluginPage_.info;
  Changed({StateArea::PluginPage, StateArea::DecodePage});
}

void Controller::DoubleClickPluginRow(int row) {
  pluginPage_.DoubleClickRow(row);
  decodePage_.pluginName = pluginPage_.info;
  Changed({StateArea::PluginPage, StateArea::DecodePage});
}

void Controller::SelectPluginRow(int row) {
  pluginPage_.SelectRow(row);
  Changed({StateArea::PluginPage});
}

void Controller::EditPageField(int control, std::string text) {
  if (control == ctl::kBackImagePath) {
    optionPage_.EditBackImagePath(settings_, std::move(text));
  } else {
    decodePage_.EditField(control, std::move(text));
  }
}

void Controller::ClickPluginColumn(int column) {
  pluginPage_.SortRows(column, TheColumnSortState().Toggle(column));
  Changed({StateArea::PluginPage});
}

void Controller::OnFileListAction(FileListAction action) {
  switch (action) {
    case FileListAction::None: break;
    case FileListAction::ScanStarted: Grey(GreyMoment::ScanStarts); break;
    case FileListAction::ChooseFolder: frontEnd_.OpenChooser(Chooser::SpuFolder, fileListPage_.location); break;
    case FileListAction::StartPlayback:
      ShowFileInfo();
      StartPlayback();
      break;
    case FileListAction::SwitchToRow: SwitchWhilePlaying(std::nullopt); break;
    case FileListAction::StopPlayback: StopPlayback(); break;
    case FileListAction::EditHeader: OpenHeaderEditor(); break;
    case FileListAction::PanelChanged: ShowPanelChange(); break;
  }
  Changed({StateArea::FileListPage});
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
