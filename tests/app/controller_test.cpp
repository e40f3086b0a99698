// The controller headless: start-up, the greying rules, playback start and stop, the play
// modes, Next and Back, drops, pause, the position slider, the console and exit.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/command_ids.h"
#include "app/controller_fixture.h"
#include "app/greying.h"
#include "mixer/register_path.h"
#include "platform/ini_file.h"
#include "playlist/playlist_file.h"
#include "support/log_files.h"

namespace kestrel::test {
namespace {

using namespace cmd;

std::string Key(const std::string& folder, const char* key) {
  return IniFile(folder + "/config.ini").ReadString(kSettingsSection, key, "(absent)");
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class PlaybackTest : public ControllerTest {
 protected:
  // Five short logs a..e, all checked, limiter off so they play at once.
  void StartUpWithFiveLogs(const std::string& keys = "") {
    for (const char* name : {"a", "b", "c", "d", "e"}) AddLog(name, 2);
    WriteConfig(keys);
    StartUp();
    CommandDispatch(kCheckAll);
    controller->PageCommandDispatch(ctl::kLimiter);
  }
  void CommandDispatch(int command) { controller->CommandDispatch(command); }
  void StartOn(std::size_t row) {
    controller->ClickFileRow(row);
    CommandDispatch(kStartPlay);
  }
  const MainWindowState& W() const { return controller->Window(); }
};

TEST_F(ControllerTest, StartUpWithoutConfigCreatesItAndGreysAsAtFirstStart) {
  controller->OpenConsoleIfEnabled();
  controller->CreateMainWindow();
  EXPECT_EQ(Key(folder.Path(), "EnableConsoleWindow"), "0");
  EXPECT_FALSE(controller->ConsoleOpen());
  const MainWindowState& w = controller->Window();
  EXPECT_FALSE(w.menu.Enabled(kStopPlay));
  EXPECT_FALSE(w.menu.Enabled(kViewSpuOperation));
  EXPECT_FALSE(controller->DecodeControls().Enabled(decode_page::kAbort));
  EXPECT_TRUE(w.menu.Checked(kSingleMode));
  EXPECT_FALSE(w.menu.Checked(kRepeatMode));
  EXPECT_EQ(w.statusFields[2], "Tempo : 100%");
  EXPECT_EQ(controller->SlotDialog().Titles()[2], "Empty Slot #3");
  EXPECT_EQ(ToolTipOf(kToolPrevious).text, std::string("Previous Music"));
  EXPECT_FALSE(controller->PluginPath().empty());
  // The creation steps' initial values: the first page shown, empty counts, the decoder's name.
  EXPECT_EQ(w.shownPage, 0);
  EXPECT_EQ(controller->EditorPage().RegisteredCountLabel(), "0");
  EXPECT_EQ(controller->DecodePage().outputName, "I Love Sunmoth !!");
  EXPECT_TRUE(controller->OptionPage().controls.Checked(ctl::kLimiter));
  // The list's look at defaults: the runtime folder's image, white text, no grid.
  const FileListDesign expected{folder / "image/default.bmp", false, 255, 255, 255};
  EXPECT_EQ(controller->FileListPage().design, expected);

  // The opening animation runs for 70 ticks of 30 ms.
  EXPECT_EQ(frontEnd.timers[AppTimer::Shell], 30);
  Tick(AppTimer::Shell, 70);
  EXPECT_TRUE(frontEnd.TimerRuns(AppTimer::Shell));
  Tick(AppTimer::Shell);
  EXPECT_FALSE(frontEnd.TimerRuns(AppTimer::Shell));
}

TEST_F(ControllerTest, OptionPageControlsEditTheSettingsTheExitSaves) {
  WriteConfig("SpecifyListBackImage=1\nListBackImagePath=/img/a.bmp\n");
  StartUp();
  const OptionPageState& page = controller->OptionPage();
  EXPECT_TRUE(page.controls.Enabled(ctl::kChooseBackImage));
  controller->PageCommandDispatch(ctl::kSpecifyBackImage);
  EXPECT_FALSE(page.controls.Enabled(ctl::kBackImagePath));
  EXPECT_FALSE(page.controls.Enabled(ctl::kChooseBackImage));
  EXPECT_EQ(controller->Settings().ListBackImagePath, "/img/a.bmp");
  controller->EditPageField(ctl::kBackImagePath, "/img/typed.bmp");

  controller->HorizontalSlider(ctl::kRedSlider, SliderCode::Track, 0);
  controller->PageCommandDispatch(ctl::kGridLine);
  // The list keeps the look it was built with until the next start.
  const FileListDesign chosen{"/img/a.bmp", false, 255, 255, 255};
  EXPECT_EQ(controller->FileListPage().design, chosen);
  controller->HorizontalSlider(ctl::kPrioritySlider, SliderCode::Track, 6);
  controller->HorizontalSlider(ctl::kRefreshSlider, SliderCode::Track, 70);
  EXPECT_EQ(controller->Settings().textColorLabels[0], "0");
  EXPECT_EQ(controller->Settings().playBackPriorityLabel, "Higthest");
  EXPECT_EQ(controller->Settings().refreshRateLabel, "Refresh / 70 (ms)");
  controller->PageCommandDispatch(ctl::kColorList, PageNotification::SelectionConfirmed, 3);
  EXPECT_EQ(controller->Settings().colorSchemeBitmap, 153);
  controller->PageCommandDispatch(ctl::kRepeatChainRadio);
  EXPECT_TRUE(controller->Window().menu.Checked(kRepeatChainMode));
  EXPECT_FALSE(controller->Window().menu.Checked(kSingleMode));

  controller->CommandDispatch(kExit);
  const IniDocument ini = IniFile(folder / "config.ini").Read();
  EXPECT_EQ(ini.GetInt(kSettingsSection, "ListTextColorR", -1), 0);
  EXPECT_EQ(ini.GetInt(kSettingsSection, "AnalyzerRefreshRate", -1), 70);
  EXPECT_EQ(ini.GetInt(kSettingsSection, "SpecifyListBackImage", -1), 0);
  EXPECT_EQ(ini.GetString(kSettingsSection, "ListBackImagePath"), "/img/typed.bmp");
  EXPECT_EQ(ini.GetInt(kSettingsSection, "EnableRepeatChanePlay", -1), 1);
}

TEST_F(PlaybackTest, TheScanGreysUntilItEndsAndStopPlayStaysGrey) {
  StartUpWithFiveLogs();
  EXPECT_EQ(controller->FileList().count, 5);
  for (const int item : {kStartPlay, kRefreshFileList, kShuffleFileList, kSelectPlayList}) {
    EXPECT_TRUE(W().menu.Enabled(item)) << item;
  }
  EXPECT_TRUE(W().toolbar.Enabled(kToolStart));
  EXPECT_FALSE(W().toolbar.Enabled(kToolStop));
  EXPECT_FALSE(W().menu.Enabled(kStopPlay));
  EXPECT_TRUE(controller->FileListControls().Enabled(file_list_id::kRefresh));
}

// Every moment's rules, applied to fresh states, leave exactly what the moment that ends it
// gives back: what a playback, a scan or a decode greys, its end enables again.
TEST(GreyingTableTest, EveryEndGivesBackWhatItsStartTookAway) {
  const std::pair<GreyMoment, GreyMoment> pairs[] = {{GreyMoment::PlaybackStarts, GreyMoment::PlaybackStops},
                                                     {GreyMoment::ScanStarts, GreyMoment::ScanEnds},
                                                     {GreyMoment::DecodeStarts, GreyMoment::DecodeEnds}};
  for (const auto& [start, end] : pairs) {
    std::array<ControlStates, kGreyTargetCount> states;
    GreyTargets targets;
    for (int i = 0; i < kGreyTargetCount; ++i) targets[i] = &states[i];
    ApplyGreying(start, targets);
    ApplyGreying(end, targets);
    for (const GreyRule& rule : GreyingTable()) {
      if (rule.moment != start || rule.enabled) continue;
      for (const int id : rule.ids) {
        // The scan's end leaves Stop Play grey, which only a playback enables.
        if (start == GreyMoment::ScanStarts && id == kToolStop) continue;
        EXPECT_TRUE(states[static_cast<int>(rule.target)].Enabled(id)) << static_cast<int>(start) << " " << id;
      }
    }
  }
}

TEST_F(PlaybackTest, StartPlayGreysTheTableRowAndStopGivesTheIdleTextsBack) {
  AddLog("long", 60);
  StartUpWithFiveLogs();
  controller->PageCommandDispatch(ctl::kLimiter);  // on again: the long log plays in real time
  controller->PageCommandDispatch(ctl::kTempoList, PageNotification::SelectionCancelled, 16);
  EXPECT_EQ(W().statusFields[2], "Tempo : 100%");

  controller->ClickFileRow(std::nullopt);
  controller->CommandDispatch(kToolStart);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Warning: Please select the PSX SPU LogFile from list."});
  EXPECT_TRUE(W().menu.Enabled(kStartPlay));
  EXPECT_FALSE(Playing());

  StartOn(5);  // "long", the sixth row: StartPoint is its index less one
  ASSERT_TRUE(Playing());
  EXPECT_EQ(Key(folder.Path(), "StartPoint"), "4");
  for (const int item : {kStartPlay, kRefreshFileList, kShuffleFileList, kPluginConfigure, kSelectPlayList, kFirstSlot,
                         kLastSlot}) {
    EXPECT_FALSE(W().menu.Enabled(item)) << item;
  }
  EXPECT_TRUE(W().menu.Enabled(kStopPlay));
  EXPECT_TRUE(W().menu.Enabled(kNext));  // the menu's Next is not held by the start lock
  for (const int button : {kToolStart, kToolNext, kToolPrevious, kToolImport}) {
    EXPECT_FALSE(W().toolbar.Enabled(button)) << button;
  }
  EXPECT_TRUE(W().toolbar.Enabled(kToolStop));
  for (const int box : {ctl::kPrioritySlider, ctl::kRefreshSlider, ctl::kLimiter, ctl::kFadeOut, ctl::kFadeIn,
                        ctl::kDynamicOrchestra}) {
    EXPECT_FALSE(controller->OptionPage().controls.Enabled(box)) << box;
  }
  EXPECT_TRUE(controller->OptionPage().controls.Enabled(ctl::kCompulsivePause));
  EXPECT_FALSE(controller->DecodeControls().Enabled(decode_page::kDecode));
  EXPECT_FALSE(controller->PluginControls().Enabled(plugin_page::kConfigure));
  EXPECT_FALSE(frontEnd.TimerRuns(AppTimer::Shell)) << "a start ends the opening animation";
  EXPECT_EQ(frontEnd.timers[AppTimer::Refresh], 50);

  // The tempo list acts on the running playback.
  controller->PageCommandDispatch(ctl::kTempoList, PageNotification::SelectionConfirmed, 16);
  EXPECT_EQ(W().statusFields[2], "Tempo : 700%");
  EXPECT_DOUBLE_EQ(state.tempoFactor.load(), 7.0);

  // The start lock holds Next and Previous until 800 ms of 50 ms ticks.
  ASSERT_TRUE(WaitForSound());
  Tick(AppTimer::Refresh, 15);
  EXPECT_TRUE(controller->StartLock());
  EXPECT_FALSE(W().toolbar.Enabled(kToolNext));
  Tick(AppTimer::Refresh);
  EXPECT_FALSE(controller->StartLock());
  EXPECT_TRUE(W().toolbar.Enabled(kToolNext));
  EXPECT_EQ(W().statusFields[0].rfind("Time : 00:", 0), 0u) << W().statusFields[0];
  EXPECT_NE(W().statusFields[0].find(" / 01:00.0"), std::string::npos) << W().statusFields[0];

  // A drag shows its target and holds the status; the release seeks there.
  controller->HorizontalSlider(ctl::kPositionSlider, SliderCode::Track, 50);
  EXPECT_EQ(W().statusFields[0], "Time : 00:30.0 / 01:00.0");
  Tick(AppTimer::Refresh);
  EXPECT_EQ(W().statusFields[0], "Time : 00:30.0 / 01:00.0");
  controller->HorizontalSlider(ctl::kPositionSlider, SliderCode::EndScroll, 50);
  EXPECT_GE(state.position.load(), 30u * 44100);

  controller->CommandDispatch(kStopPlay);
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(playerThread.Holds());
  EXPECT_EQ(W().statusFields[0], "Time : --:--.- / --:--.-");
  EXPECT_EQ(controller->PositionSlider(), 0);
  EXPECT_FALSE(frontEnd.TimerRuns(AppTimer::Refresh));
  EXPECT_TRUE(W().menu.Enabled(kStartPlay));
  EXPECT_FALSE(W().menu.Enabled(kStopPlay));
  EXPECT_FALSE(W().toolbar.Enabled(kToolStop));
  EXPECT_TRUE(controller->OptionPage().controls.Enabled(ctl::kLimiter));

  // Stopped, the slider snaps back at every move.
  controller->HorizontalSlider(ctl::kPositionSlider, SliderCode::Track, 40);
  EXPECT_EQ(controller->PositionSlider(), 0);
  EXPECT_FALSE(state.seekRequest.load());
  RunUntilStopped();
}

TEST_F(ControllerTest, StartLockLastsEightHundredMillisecondsOfTicks) {
  for (const auto& [rate, ticks] : {std::pair{20, 40}, std::pair{100, 8}}) {
    // A playback stands in for itself: only the ticks matter here.
    ControllerTest::WriteConfig("AnalyzerRefreshRate=" + std::to_string(rate) + "\n");
    auto fresh = std::make_unique<Controller>(frontEnd, ControllerOptions{folder.Path(), &state, &playerThread, {}, {}});
    fresh->CreateMainWindow();
    frontEnd.RunUntil([&] { return !fresh->FileList().detecting; });
    Tick(AppTimer::Shell, 71);
    AddLog("x", 60);
    fresh->ClickFileRow(std::nullopt);
    fresh->DropFiles({listFolder + "/x.spu"});
    ASSERT_TRUE(Playing());
    for (int i = 1; i < ticks; ++i) fresh->OnTimer(AppTimer::Refresh);
    EXPECT_TRUE(fresh->StartLock()) << rate;
    fresh->OnTimer(AppTimer::Refresh);
    EXPECT_FALSE(fresh->StartLock()) << rate;
    fresh->StopPlayback();
    frontEnd.RunUntil([&] { return !playerThread.Holds(); });
    fresh.reset();
  }
}

TEST_F(PlaybackTest, PlayModesOverAListWithAnUncheckedEntry) {
  StartUpWithFiveLogs();
  controller->ClickFileRow(2);
  controller->CheckFileRow(2, false);

  StartOn(1);
  EXPECT_EQ(PlayOn(), (std::vector<std::string>{"b"})) << "Single stops after one log";

  CommandDispatch(kChainMode);
  EXPECT_TRUE(controller->OptionPage().controls.Checked(ctl::kChainRadio));
  StartOn(1);
  EXPECT_EQ(PlayOn(), (std::vector<std::string>{"b", "d", "e"}));
  EXPECT_TRUE(W().menu.Enabled(kStartPlay));

  CommandDispatch(kRepeatChainMode);
  StartOn(3);
  EXPECT_EQ(PlayOn(), (std::vector<std::string>{"d", "e", "a", "b", "d", "e", "a", "b", "d", "e", "a", "b"}));

  CommandDispatch(kRepeatMode);
  StartOn(4);
  EXPECT_EQ(PlayOn(), std::vector<std::string>(12, "e"));

  // A chained log that ends inside the start lock cannot start the next one.
  CommandDispatch(kChainMode);
  StartOn(0);
  ASSERT_TRUE(frontEnd.RunUntil([&] { return !Playing(); }));
  RunUntilStopped();
  EXPECT_TRUE(Contains(Messages(), "Warning: Not ready to start playing next music."));
  EXPECT_EQ(controller->Panel().fileName, "b") << "the chain had moved on to the next entry";
}

TEST_F(PlaybackTest, RepeatChainWithNothingCheckedStopsAfterTheFirstLog) {
  StartUpWithFiveLogs();
  CommandDispatch(kUnCheckAll);
  CommandDispatch(kRepeatChainMode);
  StartOn(2);
  EXPECT_EQ(PlayOn(), (std::vector<std::string>{"c"}));
}

TEST_F(PlaybackTest, NextAndBackWhilePlayingRestartOnTheSixthTickAndOnlyMoveWhenStopped) {
  AddLog("f", 60);
  StartUpWithFiveLogs();
  controller->PageCommandDispatch(ctl::kLimiter);
  std::vector<std::string> lines;
  const ConsoleLog::Attachment console = ConsoleLog::Attach([&](std::string_view l) { lines.emplace_back(l); });

  controller->ClickFileRow(0);
  CommandDispatch(kBack);
  EXPECT_EQ(controller->FileList().entries.Selected(), 0u);
  CommandDispatch(kNext);
  EXPECT_EQ(controller->FileList().entries.Selected(), 1u);
  EXPECT_FALSE(Playing());
  EXPECT_TRUE(lines.empty());

  StartOn(5);
  Tick(AppTimer::Refresh, 16);
  CommandDispatch(kToolNext);  // on the last row: the same log again
  EXPECT_EQ(controller->FileList().entries.Selected(), 5u);
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(W().toolbar.Enabled(kToolStart));
  EXPECT_FALSE(W().toolbar.Enabled(kToolNext));
  EXPECT_EQ(frontEnd.timers[AppTimer::Shell], 100);
  EXPECT_TRUE(Contains(lines, "* Jump to Next Music .....\n"));
  Tick(AppTimer::Shell, 5);
  EXPECT_FALSE(Playing());
  Tick(AppTimer::Shell);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(controller->Panel().fileName, "f");

  Tick(AppTimer::Refresh, 16);
  CommandDispatch(kBack);
  EXPECT_TRUE(Contains(lines, "* Jump to Previous Music .....\n"));
  Tick(AppTimer::Shell, 6);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(controller->Panel().fileName, "e");
  EXPECT_EQ(Key(folder.Path(), "StartPoint"), "3") << "a jump starts a new chain point";

  // Start Play from the menu while a restart is pending starts once, not twice.
  Tick(AppTimer::Refresh, 16);
  CommandDispatch(kNext);
  int starts = 0;
  frontEnd.onPlaybackStart = [&] { ++starts; };
  CommandDispatch(kStartPlay);
  EXPECT_FALSE(frontEnd.TimerRuns(AppTimer::Shell));
  Tick(AppTimer::Shell, 6);
  EXPECT_EQ(starts, 1);
  frontEnd.onPlaybackStart = nullptr;
  CommandDispatch(kStopPlay);
  RunUntilStopped();

  // A double-click plays a row, or switches to it through the delayed restart.
  controller->DoubleClickFileRow(5);
  EXPECT_TRUE(Playing());
  Tick(AppTimer::Refresh, 16);
  controller->DoubleClickFileRow(2);
  EXPECT_FALSE(Playing());
  Tick(AppTimer::Shell, 6);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(controller->Panel().fileName, "c");
  CommandDispatch(kStopPlay);
  RunUntilStopped();
}

TEST_F(PlaybackTest, DropsWhileStoppedPlayingInTheStartLockAndDuringAScan) {
  AddLog("long", 60);
  StartUpWithFiveLogs();
  controller->PageCommandDispatch(ctl::kLimiter);
  const std::string longLog = listFolder + "/long.spu";
  const std::string other = listFolder + "/b.spu";

  CommandDispatch(kRefreshFileList);
  controller->DropFiles({longLog});
  EXPECT_FALSE(Playing());
  ASSERT_TRUE(frontEnd.RunUntil([&] { return !controller->FileList().detecting; }));

  controller->DropFiles({longLog, other});  // only the first one plays
  ASSERT_TRUE(Playing());
  EXPECT_EQ(controller->Panel().fileName, "long");
  controller->DropFiles({other});
  EXPECT_EQ(controller->Panel().fileName, "long") << "refused in the start lock";

  Tick(AppTimer::Refresh, 16);
  controller->DropFiles({other});
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(W().toolbar.Enabled(kToolStart));
  Tick(AppTimer::Shell, 6);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(controller->Panel().fileName, "b");
  const auto shown = Messages();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "Warning: Not ready to start playing music."), 2);
  CommandDispatch(kStopPlay);
  RunUntilStopped();

  // A file that is no log says so once the player has refused it.
  controller->DropFiles({folder.Write("logs/notes.spu", "not a log at all")});
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_TRUE(
      Contains(Messages(), "SPUFile Load Error: Selected SPUFile is broken or is no SPU log; it can't be played."));
  EXPECT_TRUE(W().menu.Enabled(kStartPlay));
}

// The player's state stands in for a playback here: only the controller's side matters.
TEST_F(ControllerTest, PauseCompulsiveResumeAndALogOfNoLength) {
  StartUp();
  state.running = true;
  state.totalLength = 1000;
  controller->HorizontalSlider(ctl::kPositionSlider, SliderCode::Track, 37);
  controller->HorizontalSlider(ctl::kPositionSlider, SliderCode::EndScroll, 37);
  state.seekRequest = false;

  controller->CommandDispatch(kToolPause);
  EXPECT_TRUE(state.paused.load());
  controller->CommandDispatch(kToolPause);
  EXPECT_FALSE(state.paused.load());
  EXPECT_FALSE(state.seekRequest.load()) << "no re-seek without the compulsive pause";

  controller->PageCommandDispatch(ctl::kCompulsivePause);
  controller->CommandDispatch(kToolPause);
  controller->CommandDispatch(kToolPause);
  EXPECT_TRUE(state.seekRequest.load());
  EXPECT_DOUBLE_EQ(state.seekTarget.load(), 370.0);

  state.running = false;
  state.paused = true;
  state.seekRequest = false;
  controller->CommandDispatch(kToolPause);
  EXPECT_FALSE(state.paused.load());
  EXPECT_FALSE(state.seekRequest.load());

  state.running = true;
  state.totalLength = 0;
  Tick(AppTimer::Shell, 71);
  Tick(AppTimer::Refresh, 20);
  EXPECT_EQ(controller->PositionSlider(), 0);

  // The debug window greys its menu item while open, on the next tick.
  controller->CommandDispatch(kViewSpuOperation);
  EXPECT_EQ(frontEnd.timers[AppTimer::Debug], 20);
  Tick(AppTimer::Refresh);
  EXPECT_FALSE(controller->Window().menu.Enabled(kViewSpuOperation));
  controller->CloseDebugWindow();
  EXPECT_FALSE(frontEnd.TimerRuns(AppTimer::Debug));
  Tick(AppTimer::Refresh);
  EXPECT_TRUE(controller->Window().menu.Enabled(kViewSpuOperation));
  state.running = false;
}

TEST_F(ControllerTest, TheConsoleToggleFollowsTheFileAndSaysWhenItCannotWrite) {
  WriteConfig("EnableConsoleWindow=1\n");
  StartUp();
  EXPECT_TRUE(controller->ConsoleOpen());
  EXPECT_TRUE(controller->Window().menu.Checked(kConsoleWindow));
  controller->CommandDispatch(kConsoleWindow);
  EXPECT_FALSE(controller->ConsoleOpen());
  EXPECT_EQ(Key(folder.Path(), "EnableConsoleWindow"), "0");
  controller->CommandDispatch(kConsoleWindow);
  EXPECT_TRUE(controller->ConsoleOpen());
  EXPECT_TRUE(controller->Window().menu.Checked(kConsoleWindow));
  EXPECT_EQ(Key(folder.Path(), "EnableConsoleWindow"), "1");
  const auto lines = frontEnd.ConsoleLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), kProgramBanner), 2);

  // config.ini replaced by a folder: no write can succeed.
  std::filesystem::remove(folder / "config.ini");
  std::filesystem::create_directory(folder / "config.ini");
  // The folder says nothing, so the toggle follows the console: it closes, then opens.
  controller->CommandDispatch(kConsoleWindow);
  EXPECT_FALSE(controller->ConsoleOpen());
  controller->CommandDispatch(kConsoleWindow);
  EXPECT_TRUE(controller->ConsoleOpen());
  controller->CommandDispatch(kExit);
  const auto warnings = frontEnd.ConsoleLines();
  EXPECT_EQ(std::count_if(warnings.begin(), warnings.end(),
                          [](const std::string& l) { return l.rfind("* Warning : config.ini can't be written: ", 0) == 0; }),
            3);
  EXPECT_TRUE(frontEnd.closed);
}

TEST_F(ControllerTest, AConfigThatCannotBeReadGivesTheDefaultsAndSaysSoOnTheConsole) {
  std::filesystem::create_directory(folder / "config.ini");
  StartUp();
  EXPECT_TRUE(controller->ConsoleOpen());
  EXPECT_TRUE(controller->Window().menu.Checked(kConsoleWindow));
  EXPECT_EQ(controller->Settings().PlayBackTempo, 5);
  EXPECT_TRUE(controller->Settings().EnableSinglePlay);
  const auto lines = frontEnd.ConsoleLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], kProgramBanner);
  EXPECT_EQ(lines[1], "* Warning : config.ini can't be read: Is a directory. The defaults are used.\n");
  EXPECT_EQ(lines[2], "* Warning : config.ini can't be written: it is not a regular file\n");
}

TEST_F(ControllerTest, AStartUpWarningOpensTheConsoleEvenWhenItIsDisabled) {
  const std::string warning = "* Warning : The per-user folder /x can't be created: Permission denied.\n";
  controller.reset();
  controller = std::make_unique<Controller>(frontEnd, ControllerOptions{folder.Path(), &state, &playerThread, {}, {warning}});
  WriteConfig("EnableConsoleWindow=0\n");
  StartUp();
  EXPECT_TRUE(controller->ConsoleOpen());
  const auto lines = frontEnd.ConsoleLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], kProgramBanner);
  EXPECT_EQ(lines[1], warning);
}

TEST_F(PlaybackTest, ExitStopsThePlaybackClosesThePluginAndSavesTheSettings) {
  AddLog("long", 60);
  StartUpWithFiveLogs("PlayBackPriority=9\nEnableFadeOut=2\n");
  controller->PageCommandDispatch(ctl::kLimiter);
  controller->PageCommandDispatch(ctl::kTempoList, PageNotification::SelectionConfirmed, 16);
  CommandDispatch(kChainMode);
  StartOn(5);
  ASSERT_TRUE(Playing());
  recording.Reset();
  CommandDispatch(kExit);
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(playerThread.Holds());
  const std::string calls = recording.Calls();
  EXPECT_NE(calls.find("SPUclose"), std::string::npos) << calls;
  EXPECT_NE(calls.find("SPUshutdown"), std::string::npos) << calls;
  EXPECT_TRUE(frontEnd.closed);

  const IniDocument ini = IniFile(folder / "config.ini").Read();
  EXPECT_EQ(ini.Keys(kSettingsSection).size(), 25u) << "the 23 keys, the console switch and StartPoint";
  EXPECT_EQ(ini.GetInt(kSettingsSection, "PlayBackTempo", 0), 16);
  EXPECT_EQ(ini.GetInt(kSettingsSection, "PlayBackPriority", 0), 7);
  EXPECT_EQ(ini.GetInt(kSettingsSection, "EnableChanePlay", 0), 1);
  EXPECT_EQ(ini.GetInt(kSettingsSection, "EnableSinglePlay", 1), 0);
  EXPECT_EQ(ini.GetInt(kSettingsSection, "EnableFadeOut", 1), 0);
  EXPECT_EQ(ini.GetString(kSettingsSection, "SPUFileFolder"), listFolder);
}

TEST_F(PlaybackTest, TheSwitchesMixerAndDecodePagesFollowTheController) {
  StartUpWithFiveLogs();
  Tick(AppTimer::Shell, 71);
  RegisterPath& path = TheRegisterPath();

  // A register box takes effect on the next refresh tick.
  controller->PageCommandDispatch(switch_page::kFirstRegisterBox);
  EXPECT_TRUE(path.registerControl.allow[0].load());
  Tick(AppTimer::Refresh);
  EXPECT_FALSE(path.registerControl.allow[0].load());

  controller->PageCommandDispatch(mixer_page::kMuteAll);
  EXPECT_TRUE(path.channelMixer.mute[23].load());
  EXPECT_TRUE(controller->MixerPage().controls.Checked(mixer_page::kFirstMuteBox + 23));
  controller->PageCommandDispatch(mixer_page::kFirstMuteBox + 23);
  EXPECT_FALSE(path.channelMixer.mute[23].load());

  // A decode greys the menu and toolbar until it ends by itself.
  controller->ClickFileRow(0);
  controller->PageCommandDispatch(decode_page::kDecode);
  ASSERT_TRUE(controller->Decoding());
  for (const int item : {kStartPlay, kNext, kBack, kSelectPlayList, kPluginConfigure}) {
    EXPECT_FALSE(W().menu.Enabled(item)) << item;
  }
  EXPECT_FALSE(W().toolbar.Enabled(kToolImport));
  EXPECT_FALSE(controller->PluginControls().Enabled(plugin_page::kConfigure));
  controller->DropFiles({listFolder + "/b.spu"});
  EXPECT_FALSE(Playing()) << "a drop during a decode is ignored";
  ASSERT_TRUE(frontEnd.RunUntil([&] { return !controller->Decoding(); }));
  EXPECT_TRUE(W().menu.Enabled(kStartPlay));
  EXPECT_TRUE(W().toolbar.Enabled(kToolImport));
  EXPECT_FALSE(controller->DecodeControls().Enabled(decode_page::kAbort));

  // Exit in the middle of a decode waits for a whole WAV file; the typed name gets ".wav".
  controller->EditPageField(decode_page::kOutputName, "take1.wav");
  controller->PageCommandDispatch(decode_page::kDecode);
  CommandDispatch(kExit);
  const auto wav = ReadFileBytes(folder / "wav/take1.wav.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(U32At(wav, 4), wav.size() - 8);
  EXPECT_EQ(U32At(wav, 40), wav.size() - 44);
}

TEST_F(PlaybackTest, PlaylistImportsGreyWhileTheyLoadAndSlotsImportTheirPlaylist) {
  StartUpWithFiveLogs();
  const std::string playlist = folder / "list/two.klt";
  std::filesystem::create_directories(folder / "list");
  ASSERT_TRUE(WritePlaylistRows(playlist, {listFolder + "/e.spu", listFolder + "/a.spu"}));
  ASSERT_TRUE(WritePlaylistTitle(playlist, "Two"));

  controller->ChooserResult(Chooser::PlayList, playlist);
  ASSERT_TRUE(controller->EditorPage().Loading());
  EXPECT_FALSE(W().menu.Enabled(kStartPlay));
  EXPECT_FALSE(W().toolbar.Enabled(kToolNext));
  EXPECT_FALSE(controller->EditorControls().Enabled(playlist_id::kOpen));
  EXPECT_FALSE(controller->DecodeControls().Enabled(decode_page::kDecode));
  controller->PageCommandDispatch(playlist_id::kOpen);
  EXPECT_TRUE(frontEnd.choosers.empty()) << "no second job while one loads";
  ASSERT_TRUE(frontEnd.RunUntil([&] { return !controller->EditorPage().Loading(); }));
  EXPECT_TRUE(W().menu.Enabled(kStartPlay));
  EXPECT_TRUE(W().toolbar.Enabled(kToolNext));
  EXPECT_TRUE(controller->EditorControls().Enabled(playlist_id::kOpen));
  EXPECT_EQ(controller->FileList().count, 2);
  EXPECT_EQ(controller->FileList().entries.At(0).name, "e");

  controller->EditSlotField(2, playlist);
  controller->SlotDialogOk();
  EXPECT_EQ(controller->SlotDialog().Titles()[1], "Two");
  EXPECT_EQ(IniFile(folder / "config.ini").ReadString("PlayList", "PlayListPath[2]"), playlist);
  controller->ChooserResult(Chooser::PlayList, std::nullopt);  // a cancelled chooser changes nothing
  CommandDispatch(kFirstSlot + 1);
  ASSERT_TRUE(frontEnd.RunUntil([&] { return !controller->EditorPage().Loading(); }));
  EXPECT_EQ(controller->FileList().count, 2);
}

// A file opened with the program waits for what would refuse a drop, instead of a warning
// nobody is at the window to read.
TEST_F(PlaybackTest, AFileOpenedFromOutsideWaitsForTheStartTheScanAndTheStartLock) {
  const std::string longLog = AddLog("long", 60);
  const std::string other = AddLog("other", 60);
  WriteConfig("");
  controller->OpenFile(longLog);
  controller->OpenConsoleIfEnabled();
  controller->CreateMainWindow();
  EXPECT_FALSE(Playing()) << "not during the start-up's scan";
  ASSERT_TRUE(frontEnd.RunUntil([&] { return Playing(); }));
  EXPECT_EQ(controller->Panel().fileName, "long");

  controller->OpenFile(other);
  EXPECT_EQ(controller->Panel().fileName, "long") << "held in the start lock";
  Tick(AppTimer::Refresh, 16);  // the lock ends: the file switches as a drop while playing does
  EXPECT_FALSE(Playing());
  Tick(AppTimer::Shell, 6);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(controller->Panel().fileName, "other");

  // A stop in the lock lets the waiting file through, and a file that is no log gets the
  // drop's message.
  CommandDispatch(kStopPlay);
  RunUntilStopped();
  CommandDispatch(kToolStart);
  controller->OpenFile(folder.Write("logs/notes.spu", "not a log at all"));
  CommandDispatch(kStopPlay);
  ASSERT_TRUE(frontEnd.RunUntil([&] {
    return Contains(Messages(), "SPUFile Load Error: Selected SPUFile is broken or is no SPU log; it can't be played.");
  }));
  EXPECT_FALSE(Contains(Messages(), "Warning: Not ready to start playing music."));
  RunUntilStopped();
}

TEST_F(PlaybackTest, ARemoteFollowsTheToolbarsGreyingAndPlayTakesTheFirstEntry) {
  AddLog("long", 60);
  AddLog("more", 60);
  WriteConfig("");
  StartUp();
  RemoteState remote = controller->Remote();
  EXPECT_EQ(remote.status, RemoteStatus::Stopped);
  EXPECT_TRUE(remote.canPlay);
  EXPECT_FALSE(remote.canPause || remote.canSeek || remote.canGoNext);
  EXPECT_TRUE(remote.path.empty()) << "no log chosen yet";

  controller->RemotePlay();
  ASSERT_TRUE(Playing());
  EXPECT_TRUE(Messages().empty()) << "no warning for a remote";
  remote = controller->Remote();
  EXPECT_EQ(remote.status, RemoteStatus::Playing);
  EXPECT_EQ(controller->FileList().entries.Selected(), std::optional<std::size_t>(0));
  EXPECT_EQ(remote.title, "long");
  EXPECT_EQ(remote.lengthSamples, 60u * 44100);
  EXPECT_FALSE(remote.canGoNext) << "the toolbar greys Next in the start lock";
  controller->RemoteNext();
  EXPECT_TRUE(Playing());
  const std::uint64_t firstTrack = remote.track;

  ASSERT_TRUE(WaitForSound());
  Tick(AppTimer::Refresh, 16);
  EXPECT_TRUE(controller->Remote().canGoNext);
  controller->RemotePause();
  EXPECT_EQ(controller->Remote().status, RemoteStatus::Paused);
  controller->RemotePause();
  EXPECT_EQ(controller->Remote().status, RemoteStatus::Paused) << "Pause does not resume";
  controller->RemotePlayPause();
  EXPECT_EQ(controller->Remote().status, RemoteStatus::Playing);

  EXPECT_FALSE(controller->RemoteSetPosition(61.0 * 44100)) << "outside the log";
  EXPECT_TRUE(controller->RemoteSetPosition(30.0 * 44100));
  EXPECT_GE(controller->Remote().positionSamples, 30u * 44100);
  EXPECT_EQ(controller->PositionSlider(), 50);
  EXPECT_TRUE(controller->RemoteSeekBy(-120.0 * 44100));
  EXPECT_LT(controller->Remote().positionSamples, 44100u) << "stops at the start";
  const std::uint32_t seeks = controller->Remote().seeks;
  EXPECT_EQ(seeks, 2u);
  controller->HorizontalSlider(ctl::kPositionSlider, SliderCode::EndScroll, 10);
  EXPECT_EQ(controller->Remote().seeks, seeks + 1) << "the window's slider jumps too";
  controller->PageCommandDispatch(ctl::kTempoList, PageNotification::SelectionConfirmed, 9);
  EXPECT_DOUBLE_EQ(controller->Remote().rate, 2.0);

  controller->RemoteNext();
  Tick(AppTimer::Shell, 6);
  ASSERT_TRUE(Playing());
  remote = controller->Remote();
  EXPECT_EQ(remote.title, "more");
  EXPECT_NE(remote.track, firstTrack);
  controller->RemoteStop();
  ASSERT_TRUE(RunUntilStopped());
  remote = controller->Remote();
  EXPECT_EQ(remote.status, RemoteStatus::Stopped);
  EXPECT_FALSE(controller->RemoteSeekBy(44100));
  EXPECT_EQ(remote.title, "more") << "Play would play it again";

  // Greyed as the toolbar is during a scan: Play is refused.
  CommandDispatch(kRefreshFileList);
  EXPECT_FALSE(controller->Remote().canPlay);
  controller->RemotePlay();
  EXPECT_FALSE(Playing());
  ASSERT_TRUE(frontEnd.RunUntil([&] { return !controller->FileList().detecting; }));
}

}  // namespace
}  // namespace kestrel::test
