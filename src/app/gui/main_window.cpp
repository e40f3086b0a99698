#include "app/gui/main_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/gui/choosers.h"
#include "app/gui/console_window.h"
#include "app/gui/control_binding.h"
#include "app/gui/message_box_service.h"
#include "app/option_page.h"
#include "decoder/decode_page.h"
#include "library/file_list_page.h"
#include "mixer/mixer_page.h"
#include "monitor/analyzer_widget.h"
#include "monitor/debug_window_dialog.h"
#include "playlist/new_playlist_dialog.h"
#include "playlist/playlist_editor_page.h"
#include "playlist/playlist_slot_dialog.h"
#include "plugin/plugin_page.h"
#include "spulog/header_editor_dialog.h"

namespace kestrel::gui {
namespace {

struct MenuItem {
  const char* text;  // nullptr: a separator
  int command = 0;
  bool checkable = false;
};

// The toolbar from left to right; command 0 is the separator.
struct ToolButton {
  int command;
  const char* image;
};
constexpr ToolButton kToolButtons[] = {
    {cmd::kToolPrevious, ":/toolbar/previous.png"}, {cmd::kToolStart, ":/toolbar/start.png"},
    {cmd::kToolPause, ":/toolbar/pause.png"},       {cmd::kToolStop, ":/toolbar/stop.png"},
    {cmd::kToolNext, ":/toolbar/next.png"},         {0, nullptr},
    {cmd::kToolImport, ":/toolbar/import.png"},     {cmd::kToolVolume, ":/toolbar/volume.png"},
};

struct Tab {
  const char* title;
  const char* image;
};
constexpr Tab kTabs[kPageCount] = {
    {"SPU File List", ":/tabs/file_list.png"},    {"PlayList Editor", ":/tabs/playlist_editor.png"},
    {"Player Option", ":/tabs/player_option.png"}, {"Wave Decode", ":/tabs/wave_decode.png"},
    {"Plugin && Register", ":/tabs/plugin.png"},  {"Misc Option", ":/tabs/misc_option.png"},
};

// A slot's playlist title on a menu item: an "&" in it is shown, not a mnemonic.
QString MenuText(const std::string& title) {
  return QString::fromStdString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

MainWindow::MainWindow(ControllerOptions options)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      controller_(std::make_unique<Controller>(frontEnd_, std::move(options))) {
  setObjectName(QStringLiteral("id101"));
  setWindowTitle(QStringLiteral("Kestrel SPU Player"));
  setAcceptDrops(true);
  messages_ = new MessageBoxService(this);
  BuildMenu();
  BuildToolBar();
  BuildPages();
  BuildStatusBar();
  // A fixed-size window, as large as its pages need at the user's font and scale.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  // The dialog's Escape is the exit command.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          [this] { Command(cmd::kExit); });
}

void MainWindow::Command(int command) {
  // The exit waits for a decode to end, and the decode thread may be asking a question:
  // from here on such questions take their default answer instead of waiting for this thread.
  if (command == cmd::kExit) messages_->Close();
  controller_->CommandDispatch(command);
}

MainWindow::~MainWindow() {
  messages_->Close();
  frontEnd_.StopAllTimers();
  controller_.reset();  // waits for the player and decode threads
  delete debugWindow_;
  delete console_;
}

void MainWindow::Start() {
  controller_->CreateMainWindow();
  for (const StateArea area : {StateArea::Menu, StateArea::Toolbar, StateArea::StatusBar, StateArea::FileListPage,
                               StateArea::PlayListEditorPage, StateArea::OptionPage, StateArea::DecodePage,
                               StateArea::PluginPage, StateArea::MixerPage, StateArea::Analyzer}) {
    Refresh(area);
  }
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(available.x() + (available.width() - size.width()) / 2,
         available.y() + (available.height() - size.height()) / 2);
  }
}

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("id130"));
  const auto fill = [this](QMenu* menu, std::initializer_list<MenuItem> items) {
    for (const MenuItem& item : items) {
      if (item.text == nullptr) {
        menu->addSeparator();
        continue;
      }
      QAction* action = Named(menu->addAction(QString::fromUtf8(item.text)), item.command);
      action->setCheckable(item.checkable);
      const int command = item.command;
      connect(action, &QAction::triggered, this, [this, command] { Command(command); });
    }
  };

  QMenu* file = bar->addMenu(QStringLiteral("File"));
  fill(file, {{"&New PlayList", cmd::kNewPlayList}});
  QMenu* import = file->addMenu(QStringLiteral("&Import PlayList"));
  fill(import, {{"&Select PlayList", cmd::kSelectPlayList}, {nullptr}});
  for (int slot = 1; slot <= 5; ++slot) {
    fill(import, {{"Empty Slot #", cmd::kFirstSlot + slot - 1}});
  }
  fill(import, {{nullptr}, {"&Register PlayList Slot", cmd::kRegisterSlot}});
  fill(file, {{nullptr}, {"&Exit Player", cmd::kExit}});

  QMenu* player = bar->addMenu(QStringLiteral("Player"));
  fill(player, {{"Start &Play", cmd::kStartPlay}, {"&Stop Play", cmd::kStopPlay}, {"&Next", cmd::kNext},
                {"&Back", cmd::kBack}, {nullptr}});
  QMenu* modes = player->addMenu(QStringLiteral("PlayBack Mode"));
  fill(modes, {{"Single Play", cmd::kSingleMode, true},
               {"Repeat Play", cmd::kRepeatMode, true},
               {"Chain Play", cmd::kChainMode, true},
               {"Repeat && Chain Play", cmd::kRepeatChainMode, true}});
  player->addSeparator();
  QMenu* list = player->addMenu(QStringLiteral("SPUFile List"));
  fill(list, {{"&Check All Items", cmd::kCheckAll},
              {"&UnCheck All Items", cmd::kUnCheckAll},
              {"&Refresh FileList", cmd::kRefreshFileList},
              {"&Shuffle FileList", cmd::kShuffleFileList}});

  QMenu* plugin = bar->addMenu(QStringLiteral("Plugin"));
  fill(plugin, {{"&Configure", cmd::kPluginConfigure}, {"&Test", cmd::kPluginTest}, {"&About", cmd::kPluginAbout}});
  QMenu* debug = bar->addMenu(QStringLiteral("Debug"));
  fill(debug, {{"View SPU operation", cmd::kViewSpuOperation},
               {"Enable Console debug window", cmd::kConsoleWindow, true}});

  // Help stands at the right end of the bar.
  auto* helpBar = new QMenuBar(bar);
  QMenu* help = helpBar->addMenu(QStringLiteral("Help"));
  fill(help, {{"About...", cmd::kAbout}});
  bar->setCornerWidget(helpBar, Qt::TopRightCorner);
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Player"));
  toolBar_->setObjectName(QStringLiteral("id350"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  toolBar_->toggleViewAction()->setVisible(false);
  toolBar_->setIconSize(QSize(16, 15));
  for (const ToolButton& button : kToolButtons) {
    if (button.command == 0) {
      toolBar_->addSeparator();
      continue;
    }
    const ToolTip tip = ToolTipOf(button.command);
    QAction* action = Named(toolBar_->addAction(QIcon(QString::fromLatin1(button.image)), QString::fromUtf8(tip.text)),
                            button.command);
    action->setToolTip(QString::fromUtf8(tip.text));
    const int command = button.command;
    connect(action, &QAction::triggered, this, [this, command] { controller_->CommandDispatch(command); });
  }
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("id100"));
  bar->setSizeGripEnabled(false);
  // The fields' right edges lie at 140 and 610 pixels and at the window's right edge; the
  // time field widens when the desktop's font needs more room for the longest time.
  const int timeWidth = bar->fontMetrics().horizontalAdvance(QStringLiteral("Time : 00:00.0 / 00:00.0")) + 12;
  const int widths[] = {std::max(140, timeWidth), 470 - std::max(0, timeWidth - 140)};
  for (std::size_t i = 0; i < statusFields_.size(); ++i) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("statusField%1").arg(i));
    if (i < 2) {
      label->setFixedWidth(widths[i]);
      bar->addWidget(label);
    } else {
      bar->addWidget(label, 1);
    }
    statusFields_[i] = label;
  }
}

void MainWindow::BuildPages() {
  tabs_ = Named(new QTabWidget(this), 1000);
  tabs_->setIconSize(QSize(16, 16));
  // All six tabs stay readable: the window grows to the tab strip rather than scrolling it.
  tabs_->setUsesScrollButtons(false);
  tabs_->tabBar()->setElideMode(Qt::ElideNone);
  fileListPage_ = new FileListPage(*controller_, tabs_);
  editorPage_ = new PlaylistEditorPage(*controller_, tabs_);
  optionPage_ = new OptionPage(*controller_, tabs_);
  decodePage_ = new DecodePage(*controller_, tabs_);
  pluginPage_ = new PluginPage(*controller_, tabs_);
  mixerPage_ = new MixerPage(*controller_, tabs_);
  QWidget* const pages[kPageCount] = {fileListPage_, editorPage_, optionPage_, decodePage_, pluginPage_, mixerPage_};
  for (int tab = 0; tab < kPageCount; ++tab) {
    // As on a menu, "&&" shows one "&".
    tabs_->addTab(pages[tab], QIcon(QString::fromLatin1(kTabs[tab].image)), QString::fromUtf8(kTabs[tab].title));
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) { controller_->SelectTab(tab); });
  setCentralWidget(tabs_);
}

void MainWindow::Refresh(StateArea area) {
  switch (area) {
    case StateArea::Menu: RefreshMenu(); break;
    case StateArea::Toolbar: ApplyToActions(toolBar_, controller_->Window().toolbar); break;
    case StateArea::StatusBar: RefreshStatusBar(); break;
    case StateArea::FileListPage: fileListPage_->Refresh(); break;
    case StateArea::PlayListEditorPage: editorPage_->Refresh(); break;
    case StateArea::OptionPage: optionPage_->Refresh(); break;
    case StateArea::DecodePage: decodePage_->Refresh(); break;
    case StateArea::PluginPage: pluginPage_->Refresh(); break;
    case StateArea::MixerPage: mixerPage_->Refresh(); break;
    case StateArea::Analyzer: fileListPage_->Analyzer()->ShowFrame(controller_->Analyzer()); break;
    case StateArea::DebugWindow:
      if (debugWindow_) debugWindow_->Refresh();
      break;
  }
  if (changeListener_ && area != StateArea::Analyzer && area != StateArea::DebugWindow) changeListener_();
}

void MainWindow::RefreshMenu() {
  const auto& titles = controller_->SlotDialog().Titles();
  for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      const std::optional<int> id = IdOf(action);
      if (id && *id >= cmd::kFirstSlot && *id <= cmd::kLastSlot) {
        action->setText(MenuText(titles[static_cast<std::size_t>(*id - cmd::kFirstSlot)]));
      }
    }
  }
  ApplyToActions(menuBar(), controller_->Window().menu);
  if (auto* help = qobject_cast<QWidget*>(menuBar()->cornerWidget(Qt::TopRightCorner))) {
    ApplyToActions(help, controller_->Window().menu);
  }
}

void MainWindow::RefreshStatusBar() {
  const auto& fields = controller_->Window().statusFields;
  for (std::size_t i = 0; i < fields.size(); ++i) statusFields_[i]->setText(QString::fromStdString(fields[i]));
}

void MainWindow::OpenDialog(AppDialog dialog) {
  switch (dialog) {
    case AppDialog::About: AboutDialog(*controller_, this).exec(); break;
    case AppDialog::NewPlayList: NewPlaylistDialog(*controller_, this).exec(); break;
    case AppDialog::PlayListSlot: PlaylistSlotDialog(*controller_, this).exec(); break;
    case AppDialog::HeaderInformationEditor: HeaderEditorDialog(*controller_, this).exec(); break;
    case AppDialog::DebugWindow:
      // A window of its own beside the main window, without owner.
      if (!debugWindow_) debugWindow_ = new DebugWindowDialog(*controller_);
      debugWindow_->show();
      debugWindow_->raise();
      break;
  }
}

void MainWindow::OpenChooser(Chooser chooser, const std::string& startFolder) {
  controller_->ChooserResult(chooser, Choose(this, chooser, startFolder));
}

std::optional<std::string> MainWindow::Choose(QWidget* owner, Chooser chooser, const std::string& startFolder) {
  return chooserAnswer_ ? chooserAnswer_(chooser, startFolder) : RunChooser(owner, chooser, startFolder);
}

ConsoleLog::Output MainWindow::OpenConsoleWindow() {
  if (!console_) console_ = new ConsoleWindow();
  console_->show();
  return console_->Output();
}

void MainWindow::CloseConsoleWindow() {
  if (console_) console_->close();
}

void MainWindow::CloseForGood() {
  closing_ = true;
  messages_->Close();
  if (debugWindow_) debugWindow_->close();
  if (console_) console_->close();
  // Closed from the event loop, not from inside the close request being handled.
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // The close button is the exit command, which saves the settings first.
  event->ignore();
  Command(cmd::kExit);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  if (paths.empty()) return;
  event->acceptProposedAction();
  controller_->DropFiles(paths);
}

}  // namespace kestrel::gui
