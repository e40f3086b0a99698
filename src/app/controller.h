#pragma once
// The application controller: every command number, slider move, drop, chooser result and
// timer tick of the main window arrives here and is routed to the operation that owns it.
// It owns the main window's state and starts and stops playback, decodes, scans and the
// console. It runs on one thread (the front end's); the player, decode and scan threads
// reach it only through FrontEnd::Post.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/front_end.h"
#include "app/greying.h"
#include "app/main_window_state.h"
#include "app/option_page_state.h"
#include "app/remote_control.h"
#include "decoder/decode_page_state.h"
#include "library/file_list_page_state.h"
#include "mixer/mixer_page_state.h"
#include "monitor/debug_window_state.h"
#include "monitor/level_analyzer.h"
#include "mixer/switch_page_state.h"
#include "platform/console_log.h"
#include "platform/control_states.h"
#include "player/playback_control.h"
#include "player/player_setup.h"
#include "player/player_state.h"
#include "playlist/playlist_editor_page_state.h"
#include "playlist/playlist_slot_dialog_state.h"
#include "plugin/plugin_page_state.h"
#include "spulog/header_editor_dialog_state.h"

namespace kestrel {

inline constexpr const char* kProgramBanner = "* Running Kestrel SPU Player v.1.20RC2\n";
// The refresh ticks of a start lock add up to this many milliseconds.
inline constexpr int kStartLockMs = 800;
inline constexpr int kOpeningTicks = 70;
inline constexpr int kOpeningPeriodMs = 30;
inline constexpr int kRestartPeriodMs = 100;
inline constexpr int kRestartTick = 6;  // playback starts on this tick of the delayed restart

struct ControllerOptions {
  std::string startupFolder = ".";
  PlayerState* player = &ThePlayerState();
  ThreadSlot* playerThread = &ThePlayerThread();
  PlayerClock playerClock;  // tests give a clock that does not wait
  // Console lines of what went wrong before the controller existed (each ending in a
  // newline); any opens the console, so they reach the user with the console disabled.
  std::vector<std::string> startupWarnings;
};

// How a page control reports what happened to it.
enum class PageNotification {
  Clicked,
  SelectionConfirmed,  // a drop-down list closed with a chosen row
  SelectionCancelled,  // closed without one: changes nothing
};

// Scroll codes of the position slider.
enum class SliderCode { Track, EndScroll };

class Controller {
 public:
  Controller(FrontEnd& frontEnd, ControllerOptions options);
  // Waits for a playback and a decode still running, so no thread outlives the controller.
  ~Controller();
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  // ---- Start-up and exit
  // Before the main window: opens the console when config.ini asks for it.
  void OpenConsoleIfEnabled();
  // The main window's creation: settings into the pages, greying, the folder scan, the
  // plugin list, the opening animation.
  void CreateMainWindow();

  // ---- What the user did
  void CommandDispatch(int command);
  // `row` is the confirmed row of a drop-down list.
  void PageCommandDispatch(int control, PageNotification notification = PageNotification::Clicked, int row = -1);
  // The horizontal sliders: the position slider (1105), the option page's and the decode
  // page's sliders.
  void HorizontalSlider(int control, SliderCode code, int position);
  // The mixer page's level sliders (1127 + channel).
  void VerticalSlider(int control, int position);
  void DropFiles(const std::vector<std::string>& paths);
  // A chooser closed: the chosen path, or nullopt on cancel.
  void ChooserResult(Chooser chooser, const std::optional<std::string>& path);
  // A click on a row of the SPU file list (nullopt: on no row).
  void ClickFileRow(std::optional<std::size_t> row);
  // The user ticked or cleared a row's box.
  void CheckFileRow(std::size_t row, bool checked);
  void DoubleClickFileRow(std::optional<std::size_t> row);
  void ClickFileListColumn(int column);
  // The user typed into the file list's "Location :" field; the next Refresh scans it.
  void EditFileListLocation(std::string text);
  // The plugin list: a click or double-click on a row (-1: on none), a header click.
  void ClickPluginRow(int row);
  void DoubleClickPluginRow(int row);
  void ClickPluginColumn(int column);
  // The plugin list's selection moved by keyboard (-1: none): no field changes.
  void SelectPluginRow(int row);
  // A page's text field as typed: the decode page's output name and decoding time, the
  // option page's back-image path.
  void EditPageField(int control, std::string text);
  // The editor page's two lists: a click or double-click on a row (nullopt: on none), a
  // header click.
  void SelectEditorLeftRow(std::optional<std::size_t> row);
  void SelectEditorPlaylistRow(std::optional<std::size_t> row);
  void DoubleClickEditorLeftRow(std::optional<std::size_t> row);
  void DoubleClickEditorPlaylistRow(std::optional<std::size_t> row);
  void ClickEditorLeftColumn(int column);
  void ClickEditorPlaylistColumn(int column);
  // The editor's double-click action drop-down closed on row `index`.
  void ChooseDoubleClickAction(int index);
  // The dialogs' field edits; their OK buttons follow.
  void EditNewPlaylist(std::string fileName, std::string listTitle);
  // Slot 1..5: a typed path, or the file its "..." chooser returned.
  void EditSlotField(int slot, std::string text);
  // One of the header editor's three title fields, by control id.
  void EditHeaderField(int id, std::string text);
  // True when the dialog closes.
  bool NewPlaylistOk();
  void SlotDialogOk();
  bool HeaderDialogSave();
  // The main window's tab control changed to `tab` (0..5).
  void SelectTab(int tab);
  // The debug window's tab (1 or 2) was chosen.
  void SelectDebugTab(int tab);
  // The debug window's "Close" or close button.
  void CloseDebugWindow();
  // A tick of one of the timers started through the front end.
  void OnTimer(AppTimer timer);

  // ---- Playback
  void StartPlayback();
  void StopPlayback();
  void ScheduleDelayedRestart();
  void StopRefreshTimer();
  void Pause();

  // ---- Requests from outside the window
  // A file opened with the program (its command line, or handed over by a second start).
  // It is dropped as soon as a drop would be taken: before start-up has ended, during the
  // folder scan and in the start lock it waits, as nobody is at the window to try again.
  void OpenFile(const std::string& path);
  // A media player remote. Each does what the toolbar does and is ignored when the toolbar
  // greys it; Play with no log chosen takes the selected entry, else the first one, since a
  // remote cannot answer the warning a person would get.
  RemoteState Remote();
  void RemotePlay();
  void RemotePause();
  void RemotePlayPause();
  void RemoteStop();
  void RemoteNext();
  void RemotePrevious();
  // Seeks by an offset, or to a position, in samples; false when refused (not seekable, or
  // a position outside the log). A seek by an offset stops at the log's start and end.
  bool RemoteSeekBy(double offsetSamples);
  bool RemoteSetPosition(double samples);

  // ---- What the front end shows
  const MainWindowState& Window() const { return window_; }
  const AppSettings& Settings() const { return settings_; }
  const OptionPageState& OptionPage() const { return optionPage_; }
  const FileListPageState& FileListPage() const { return fileListPage_; }
  const SpuFileList& FileList() const { return fileListPage_.list; }
  const SelectedFilePanel& Panel() const { return fileListPage_.panel; }
  const ControlStates& FileListControls() const { return fileListPage_.controls; }
  const DecodePageState& DecodePage() const { return decodePage_; }
  const ControlStates& DecodeControls() const { return decodePage_.controls; }
  const PluginPageState& PluginPage() const { return pluginPage_; }
  const ControlStates& PluginControls() const { return pluginPage_.controls; }
  const SwitchPageState& SwitchPage() const { return switchPage_; }
  const MixerPageState& MixerPage() const { return mixerPage_; }
  const DebugWindowState& DebugWindow() const { return debugWindow_; }
  // The analyzer panel's frame: the opening animation, the live levels or the idle picture.
  const AnalyzerFrame& Analyzer() const { return analyzer_.Frame(); }
  const PlaylistEditorPageState& EditorPage() const { return editorPage_; }
  const NewPlaylistDialogState& NewPlaylistDialog() const { return editorPage_.newPlaylist; }
  const PlaylistSlotDialogState& SlotDialog() const { return slotDialog_; }
  const HeaderEditorDialogState& HeaderDialog() const { return headerDialog_; }
  const ControlStates& EditorControls() const { return editorPage_.controls; }
  int PositionSlider() const { return positionSlider_; }
  const std::string& PluginPath() const { return pluginPage_.path; }
  const std::string& ConfigFile() const { return configPath_; }
  bool StartLock() const { return startLock_; }
  bool Decoding() const { return decodePage_.Decoding(); }
  bool ConsoleOpen() const { return console_.has_value(); }

 private:
  // Work from another thread that belongs to one playback; dropped when a newer playback
  // has started since, or when the controller is gone.
  // Called on the player thread with what was taken on this one.
  void PostForPlayback(const std::weak_ptr<bool>& alive, std::uint64_t playback, std::function<void()> work);
  void Changed(std::initializer_list<StateArea> areas);
  GreyTargets Targets();
  void Grey(GreyMoment moment);

  void OnPlayerFailed(PlayerOutcome outcome);
  void HandleEndOfLog();
  void ChainAdvance();
  void RepeatDecision();
  void RefuseNextStart();
  void Jump(bool next);
  void ShowFileInfo(const std::optional<std::string>& droppedPath = std::nullopt);
  void ShowPanelChange();
  void SelectAndShow(std::size_t row);
  void SwitchWhilePlaying(const std::optional<std::string>& droppedPath);
  void OnFileListAction(FileListAction action);
  // Tells the pages that follow the program's activity what it is doing now.
  void UpdateActivity();
  void SelectPlayMode(int menuItem);
  void MirrorPlayModeMenu();
  void PositionSliderMoved(SliderCode code, int position);
  void UpdatePlayStatus();
  void ShellTick();
  int ColorScheme() const;

  void StartScan();
  void DrainScan();
  void StartDecode();
  void AbortDecode();
  void DecodeEnded(std::uint32_t job);
  // A load job of the editor page (an import, Load List, Open) has started, or was refused.
  void LoadStarted(bool started);
  void DrainLoad();
  void OpenHeaderEditor();
  void OpenPendingFile();
  void PostOpenPendingFile();
  bool RemoteSeekTo(double samples);

  void OpenConsoleLog();
  void CloseConsoleLog();
  void ToggleConsole();
  void WarnIfNotWritten(const WriteResult& result);
  void Exit();

  // Work posted from other threads runs only while this lives; first, as they use it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  FrontEnd& frontEnd_;
  PlayerState& player_;
  ThreadSlot& playerThread_;
  PlayerClock playerClock_;
  std::string startupFolder_;
  std::vector<std::string> startupWarnings_;
  std::string configPath_;

  MainWindowState window_;
  AppSettings settings_;
  OptionPageState optionPage_;

  FileListPageState fileListPage_;
  PluginPageState pluginPage_;
  SwitchPageState switchPage_;
  MixerPageState mixerPage_;
  DecodePageState decodePage_;
  PlaylistEditorPageState editorPage_;
  PlaylistSlotDialogState slotDialog_;
  HeaderEditorDialogState headerDialog_;
  DebugWindowState debugWindow_{player_};
  LevelAnalyzer analyzer_;
  MessagePort::ProgressHandler previousProgress_;

  int positionSlider_ = 0;
  bool dragging_ = false;

  bool startLock_ = false;
  bool droppedFile_ = false;
  std::uint32_t refreshTicks_ = 0;
  bool refreshTimerRunning_ = false;
  bool openingRunning_ = false;
  int openingTicks_ = 0;
  bool restartPending_ = false;
  int restartTicks_ = 0;
  bool chainInProgress_ = false;
  int chainPosition_ = 0;
  std::uint64_t playback_ = 0;  // counts the playbacks started

  bool started_ = false;  // the main window's creation has run
  std::optional<std::string> pendingOpen_;
  // The remote's track: its number changes with the log shown or a new playback.
  std::string remotePath_;
  std::uint64_t remotePlayback_ = 0;
  std::uint64_t remoteTrack_ = 0;
  std::uint32_t remoteLength_ = 0;
  std::uint32_t seeks_ = 0;

  std::optional<ConsoleLog::Attachment> console_;
};

}  // namespace kestrel
