// The "SPU File List" page as a person uses it: the listed demo logs, clicks, ticks and
// double-clicks on rows, the page buttons, the right-click menu, the position slider, and
// every caption on its widget.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <filesystem>

#include "app/command_ids.h"
#include "gui_fixture.h"
#include "library/file_list_page.h"
#include "monitor/analyzer_widget.h"

namespace kestrel::test {
namespace {

constexpr int kDemoLogs = 4;

QTableView* List(gui::MainWindow& window) { return window.FileList()->List(); }

QPoint CellCentre(QTableView* list, int row, int column = 1) {
  return list->visualRect(list->model()->index(row, column)).center();
}

void ClickRow(QTableView* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, row));
}

QString Field(gui::MainWindow& window, const char* name) {
  return window.FileList()->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}

QString CountLabel(gui::MainWindow& window) {
  return window.FileList()->findChild<QLabel*>(QStringLiteral("fileCount"))->text();
}

void Press(gui::MainWindow& window, int id) {
  auto* button = Find<QPushButton>(window.FileList(), id);
  QVERIFY(button && button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
}

int CheckedRows(QTableView* list) {
  int checked = 0;
  for (int row = 0; row < list->model()->rowCount(); ++row) {
    checked += list->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  return checked;
}

// Right-clicks the list and returns the menu it opens: caption -> enabled, top to bottom.
QList<QPair<QString, bool>> OpenMenu(gui::MainWindow& window) {
  QTableView* list = List(window);
  const QPoint at = CellCentre(list, 0);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(list->viewport(), &event);
  QList<QPair<QString, bool>> entries;
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (!menu) return entries;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) entries.append({action->text(), action->isEnabled()});
  }
  menu->close();
  return entries;
}

}  // namespace

class FileListPageTest : public QObject {
  Q_OBJECT

 private slots:
  void TheDemoLogsAreListedAndARowClickFillsThePanel() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    QTableView* list = List(window);
    QCOMPARE(CountLabel(window), QString::number(kDemoLogs));
    QCOMPARE(list->model()->rowCount(), kDemoLogs);
    // Sorted by name after the scan; the gzip log is named without its last extension.
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("harbour_lights"));
    QCOMPARE(list->model()->index(0, 2).data().toString(), QString::fromStdString(runtime.DemoLog("harbour_lights.gz")));
    QVERIFY(list->model()->index(0, 1).data().toString().contains(QLatin1Char(':')));
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
    QVERIFY(Field(window, "infoFileName").isEmpty());

    ClickRow(list, 1);
    QCOMPARE(runtime.Control().FileList().entries.Selected(), std::optional<std::size_t>(1));
    QCOMPARE(Field(window, "infoFileName"), QStringLiteral("lanterns"));
    QCOMPARE(Field(window, "infoPath"), QString::fromStdString(runtime.DemoLog("lanterns.spu")));
    QVERIFY(Field(window, "infoSize").endsWith(QStringLiteral(", UnCompressed")));
    QVERIFY(Field(window, "infoTime").contains(QStringLiteral(" : ")));
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 1);
    // The arrow key moves on as a click would.
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(Field(window, "infoFileName"), QStringLiteral("night_drive"));

    // A header click sorts through the core: "SPU File Name" was ascending, now descending,
    // and the selection stays on its log.
    QTest::mouseClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(list->horizontalHeader()->sectionViewportPosition(0) + 20, 5));
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("old_arcade"));
    QCOMPARE(list->selectionModel()->selectedRows().value(0).data().toString(), QStringLiteral("night_drive"));
  }

  void TicksButtonsAndShuffleReachTheCore() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    QTableView* list = List(window);
    const QRect box = list->visualRect(list->model()->index(2, 0));
    // The check box sits at the cell's left edge.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(box.left() + box.height() / 2 + 2, box.center().y()));
    QVERIFY(runtime.Control().FileList().entries.At(2).checked);
    QCOMPARE(CheckedRows(list), 1);

    Press(window, file_list_id::kCheckAll);
    QCOMPARE(CheckedRows(list), kDemoLogs);
    Press(window, file_list_id::kUnCheckAll);
    QCOMPARE(CheckedRows(list), 0);
    QVERIFY(!runtime.Control().FileList().entries.At(2).checked);

    // Shuffle ticks every row and shows row 0.
    Press(window, file_list_id::kShuffle);
    QCOMPARE(CheckedRows(list), kDemoLogs);
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 0);
    QCOMPARE(Field(window, "infoFileName"), list->model()->index(0, 0).data().toString());

    // Refresh scans the folder typed into Location: the list and the count follow.
    std::filesystem::remove(runtime.DemoLog("lanterns.spu"));
    QLineEdit* location = window.FileList()->findChild<QLineEdit*>(QStringLiteral("location"));
    QCOMPARE(location->text(), QString::fromStdString(runtime.logs));
    Press(window, file_list_id::kRefresh);
    // The scan's rows come through the event loop; until then the page says it is scanning.
    QLabel* status = window.FileList()->findChild<QLabel*>(QStringLiteral("scanStatus"));
    QCOMPARE(status->text(), QStringLiteral("Detecting files..."));
    QVERIFY(!Find<QPushButton>(window.FileList(), file_list_id::kCheckAll)->isEnabled());
    QVERIFY(WaitFor([&] { return !runtime.Control().FileListPage().Scanning(); }));
    QVERIFY(status->text().isEmpty());
    QCOMPARE(CountLabel(window), QString::number(kDemoLogs - 1));
    QCOMPARE(list->model()->rowCount(), kDemoLogs - 1);
    QCOMPARE(CheckedRows(list), 0);

    location->selectAll();
    QTest::keyClicks(location, QString::fromStdString(runtime.folder / "nowhere"));
    Press(window, file_list_id::kRefresh);
    QVERIFY(WaitFor([&] { return !runtime.Control().FileListPage().Scanning(); }));
    QCOMPARE(CountLabel(window), QStringLiteral("0"));
    QCOMPARE(list->model()->rowCount(), 0);
  }

  void TheMenuGreysAsTheProgramDoesAndADoubleClickPlays() {
    MessageBoxAnswerer answerer;
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    QTableView* list = List(window);
    using Menu = QList<QPair<QString, bool>>;
    const Menu idle = {{"&Check All Items", true},  {"&UnCheck All Items", true}, {"&Refresh FileList", true},
                       {"&Shuffle FileList", true}, {"Start Play", true},         {"Stop Play", false},
                       {"&Edit Header Information", false}, {"Close PopUp Menu (&X)", true}};
    QCOMPARE(OpenMenu(window), idle);
    // A right-click selects nothing of its own.
    QVERIFY(!runtime.Control().FileList().entries.Selected());

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, 1));
    QVERIFY(WaitFor([&] { return runtime.Control().StartLock() || runtime.Control().FileListControls().Enabled(ctl::kPositionSlider); }));
    QVERIFY(WaitFor([&] { return !Find<QPushButton>(window.FileList(), file_list_id::kRefresh)->isEnabled(); }));
    QCOMPARE(Field(window, "infoFileName"), QStringLiteral("lanterns"));
    QVERIFY(!Find<QPushButton>(window.FileList(), file_list_id::kShuffle)->isEnabled());
    QVERIFY(Find<QPushButton>(window.FileList(), file_list_id::kCheckAll)->isEnabled());
    const Menu playing = {{"&Check All Items", true},  {"&UnCheck All Items", true}, {"&Refresh FileList", false},
                          {"&Shuffle FileList", false}, {"Start Play", false},        {"Stop Play", true},
                          {"&Edit Header Information", true}, {"Close PopUp Menu (&X)", true}};
    QCOMPARE(OpenMenu(window), playing);
    // While playing a click only selects: the panel keeps the playing log.
    ClickRow(list, 3);
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 3);
    QCOMPARE(Field(window, "infoFileName"), QStringLiteral("lanterns"));

    // "Stop Play" from the menu.
    const QPoint at = CellCentre(list, 0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list->viewport(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    menu->findChild<QAction*>(gui::IdName(file_list_id::kStopPlay))->trigger();
    QVERIFY(WaitFor([&] { return Find<QPushButton>(window.FileList(), file_list_id::kRefresh)->isEnabled(); }));
    QVERIFY(answerer.Seen().isEmpty());
  }

  void TheSliderSnapsBackWhileStopped() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    auto* slider = Find<QSlider>(window.FileList(), ctl::kPositionSlider);
    QVERIFY(slider);
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->tickInterval(), 10);
    slider->setSliderDown(true);
    slider->setSliderPosition(60);  // a drag
    QCOMPARE(slider->value(), 0);
    slider->setSliderDown(false);
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(runtime.Control().PositionSlider(), 0);
  }

  void AMissingOrBrokenBackgroundIsPlainAndSilent() {
    MessageBoxAnswerer answerer;
    GuiRuntime runtime;
    runtime.folder.Write("broken.bmp", "BM not a picture");
    runtime.WriteConfig("SpecifyListBackImage=1\nListBackImagePath=" + runtime.folder / "broken.bmp" +
                        "\nListTextColorR=10\nListTextColorG=20\nListTextColorB=30\nEnableGlidLine=1\n");
    gui::MainWindow& window = runtime.Start();
    QTableView* list = List(window);
    QCOMPARE(list->viewport()->palette().base().style(), Qt::SolidPattern);
    QCOMPARE(list->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(10, 20, 30));
    QVERIFY(list->showGrid());
    QTest::qWait(50);
    QVERIFY(answerer.Seen().isEmpty());
  }

  void TheBackgroundIsTiledFromTheStartupImage() {
    GuiRuntime runtime;
    std::filesystem::create_directories(runtime.folder / "image");
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(QColor(10, 40, 90));
    QVERIFY(tile.save(QString::fromStdString(runtime.folder / "image/default.bmp"), "BMP"));
    gui::MainWindow& window = runtime.Start();
    const QBrush base = List(window)->viewport()->palette().base();
    QCOMPARE(base.style(), Qt::TexturePattern);
    QCOMPARE(base.texture().size(), QSize(8, 8));
    QVERIFY(!List(window)->showGrid());
  }

  void EveryCaptionIsOnItsWidget() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    gui::FileListPage* page = window.FileList();
    const struct {
      int id;
      const char* caption;
    } buttons[] = {{file_list_id::kRefresh, "Refresh"},     {file_list_id::kShuffle, "Shuffle"},
                   {file_list_id::kCheckAll, "Check all"},  {file_list_id::kUnCheckAll, "UnCheck all"},
                   {file_list_id::kBrowseFolder, "..."}};
    for (const auto& button : buttons) {
      auto* widget = Find<QPushButton>(page, button.id);
      QVERIFY2(widget, button.caption);
      QCOMPARE(widget->text(), QString::fromLatin1(button.caption));
    }
    QStringList labels;
    for (const QLabel* label : page->findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"SPU File List :", "File(s) are detected.", "Location :", "FileName :", "Time :", "Path :",
                             "GameTilte :", "MusicTilte :", "Copyright :", "Format :", "Size :"}) {
      QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
    }
    QCOMPARE(page->findChild<QGroupBox*>()->title(), QStringLiteral("Selected File Info"));
    const QStringList headers = {"SPU File Name", "Time", "File Path"};
    const int widths[] = {250, 60, 500};
    for (int c = 0; c < 3; ++c) {
      QCOMPARE(List(window)->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
      QCOMPARE(List(window)->horizontalHeader()->sectionSize(c), widths[c]);
    }
    QCOMPARE(page->Analyzer()->size(), QSize(310, 120));
    // The analyzer stands at the page's top right.
    const QPoint corner = page->Analyzer()->mapTo(page, QPoint(page->Analyzer()->width(), 0));
    QVERIFY(page->width() - corner.x() < 20);
    QVERIFY(corner.y() < 30);
    QVERIFY(page->sizeHint().width() <= 760 && page->sizeHint().height() <= 470);
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::FileListPageTest)
#include "file_list_page_test.moc"
