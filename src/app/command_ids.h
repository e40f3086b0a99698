#pragma once
// The command numbers of the main window's menu and toolbar and the ids of the controls the
// controller owns. A front end names its widgets by them.

namespace kestrel::cmd {

// Menu.
inline constexpr int kAbout = 40001;
inline constexpr int kNewPlayList = 40005;
inline constexpr int kSelectPlayList = 40006;
inline constexpr int kSingleMode = 40007;
inline constexpr int kRepeatMode = 40008;
inline constexpr int kChainMode = 40009;
inline constexpr int kRepeatChainMode = 40010;
inline constexpr int kPluginConfigure = 40011;
inline constexpr int kPluginTest = 40012;
inline constexpr int kPluginAbout = 40013;
inline constexpr int kStartPlay = 40014;
inline constexpr int kStopPlay = 40015;
inline constexpr int kNext = 40016;
inline constexpr int kBack = 40017;
inline constexpr int kCheckAll = 40018;
inline constexpr int kUnCheckAll = 40019;
inline constexpr int kRefreshFileList = 40020;
inline constexpr int kShuffleFileList = 40021;
inline constexpr int kRegisterSlot = 40023;
inline constexpr int kFirstSlot = 40024;  // ... 40028
inline constexpr int kLastSlot = 40028;
inline constexpr int kViewSpuOperation = 40037;
inline constexpr int kConsoleWindow = 40038;
inline constexpr int kExit = 2;

// Toolbar.
inline constexpr int kToolStart = 352;
inline constexpr int kToolStop = 353;
inline constexpr int kToolNext = 354;
inline constexpr int kToolPrevious = 355;
inline constexpr int kToolPause = 356;
inline constexpr int kToolImport = 357;
inline constexpr int kToolVolume = 358;

}  // namespace kestrel::cmd

namespace kestrel::ctl {

// The controls the controller itself owns; each page state names its own controls.
// "SPU File List" page.
inline constexpr int kPositionSlider = 1105;

// "Player Option" page.
inline constexpr int kTempoList = 1019;
inline constexpr int kRepeatRadio = 1020;
inline constexpr int kDrawTypeList = 1022;
inline constexpr int kColorList = 1024;
inline constexpr int kChainRadio = 1029;
inline constexpr int kRepeatChainRadio = 1031;
inline constexpr int kSingleRadio = 1063;
inline constexpr int kPrioritySlider = 1080;
inline constexpr int kFadeOut = 1085;
inline constexpr int kLimiter = 1088;
inline constexpr int kFadeIn = 1090;
inline constexpr int kRedSlider = 1092;  // 1093 green, 1094 blue
inline constexpr int kSpecifyBackImage = 1099;
inline constexpr int kBackImagePath = 1100;
inline constexpr int kChooseBackImage = 1102;
inline constexpr int kGridLine = 1103;
inline constexpr int kRefreshSlider = 1180;
inline constexpr int kDynamicOrchestra = 1181;
inline constexpr int kCompulsivePause = 1183;

}  // namespace kestrel::ctl
