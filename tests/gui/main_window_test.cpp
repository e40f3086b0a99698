// The main window as a person meets it: start-up, the menu and toolbar greying around a
// playback, a drop, and the close button.
#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <filesystem>

#include "app/command_ids.h"
#include "gui_fixture.h"

namespace kestrel::test {
namespace {

QAction* ToolButton(gui::MainWindow& window, int command) {
  return window.findChild<QToolBar*>(gui::IdName(350))->findChild<QAction*>(gui::IdName(command));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void StartUpWithoutSettingsShowsTheDefaults() {
    GuiRuntime runtime;
    std::filesystem::remove(runtime.folder / "config.ini");
    gui::MainWindow& window = runtime.Start();
    QCOMPARE(window.windowTitle(), QStringLiteral("Kestrel SPU Player"));
    QTabWidget* tabs = window.Tabs();
    const QStringList titles = {"SPU File List", "PlayList Editor", "Player Option",
                                "Wave Decode",   "Plugin && Register", "Misc Option"};
    QCOMPARE(tabs->count(), titles.size());
    for (int tab = 0; tab < tabs->count(); ++tab) QCOMPARE(tabs->tabText(tab), titles[tab]);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(StatusField(window, 0), QStringLiteral("Time : --:--.- / --:--.-"));
    QVERIFY(StatusField(window, 2).startsWith(QStringLiteral("Tempo :")));
    QVERIFY(!MenuItem(window, cmd::kStopPlay)->isEnabled());
    QVERIFY(!MenuItem(window, cmd::kViewSpuOperation)->isEnabled());
    QVERIFY(!ToolButton(window, cmd::kToolStop)->isEnabled());
    QVERIFY(ToolButton(window, cmd::kToolStart)->isEnabled());
    QCOMPARE(ToolButton(window, cmd::kToolVolume)->toolTip(), QStringLiteral("VolumeControl Panel"));
    QCOMPARE(MenuItem(window, cmd::kFirstSlot)->text(), QStringLiteral("Empty Slot #1"));
    // A fixed-size window that fits a 1024 x 768 screen.
    QVERIFY(window.width() <= 1024 && window.height() <= 768);
    QCOMPARE(window.minimumSize(), window.maximumSize());
  }

  void PlaybackGreysTheCommandsAndStopRestoresThem() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    runtime.Control().ClickFileRow(0);
    MenuItem(window, cmd::kStartPlay)->trigger();
    QVERIFY(WaitFor([&] { return runtime.Control().StartLock() || ToolButton(window, cmd::kToolStop)->isEnabled(); }));
    QVERIFY(!MenuItem(window, cmd::kStartPlay)->isEnabled());
    QVERIFY(MenuItem(window, cmd::kStopPlay)->isEnabled());
    QVERIFY(!ToolButton(window, cmd::kToolStart)->isEnabled());
    QVERIFY(!ToolButton(window, cmd::kToolImport)->isEnabled());
    QVERIFY(ToolButton(window, cmd::kToolStop)->isEnabled());
    // The time in the status bar moves on, and the start lock lets go of Next and Previous.
    QVERIFY(WaitFor([&] { return StatusField(window, 0).startsWith(QStringLiteral("Time : 00:00.5")) ||
                                 StatusField(window, 0) > QStringLiteral("Time : 00:00.5"); }));
    QVERIFY(WaitFor([&] { return ToolButton(window, cmd::kToolNext)->isEnabled(); }));

    ToolButton(window, cmd::kToolStop)->trigger();
    QVERIFY(WaitFor([&] { return MenuItem(window, cmd::kStartPlay)->isEnabled(); }));
    QVERIFY(!MenuItem(window, cmd::kStopPlay)->isEnabled());
    QVERIFY(ToolButton(window, cmd::kToolStart)->isEnabled());
    QVERIFY(ToolButton(window, cmd::kToolImport)->isEnabled());
    QCOMPARE(StatusField(window, 0), QStringLiteral("Time : --:--.- / --:--.-"));
  }

  void ADroppedFilePlays() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(runtime.DemoLog("lanterns.spu"))),
                  QUrl::fromLocalFile(QString::fromStdString(runtime.DemoLog("night_drive.spu")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    QCOMPARE(StatusField(window, 1), QStringLiteral("File : lanterns"));
    QVERIFY(WaitFor([&] { return ToolButton(window, cmd::kToolStop)->isEnabled(); }));
  }

  void TheCloseButtonSavesTheSettingsAndEnds() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    std::filesystem::remove(runtime.folder / "config.ini");
    window.close();
    QVERIFY(WaitFor([&] { return !window.isVisible(); }));
    QFile config(QString::fromStdString(runtime.folder / "config.ini"));
    QVERIFY(config.open(QIODevice::ReadOnly));
    QVERIFY(config.readAll().contains("SPUFileFolder="));
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::MainWindowTest)
#include "main_window_test.moc"
