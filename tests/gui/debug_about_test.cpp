// The windows around the main window: the debug window beside it, the About dialog over it,
// the console, and a config.ini the program cannot use.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/about_dialog_state.h"
#include "app/command_ids.h"
#include "decoder/decode_page_state.h"
#include "gui_fixture.h"

namespace kestrel::test {
namespace {

QString Field(QWidget* window, const QString& name) { return window->findChild<QLineEdit*>(name)->text(); }

// Starts the first demo log and waits for the first refresh tick.
void Play(GuiRuntime& runtime) {
  runtime.Control().ClickFileRow(0);
  MenuItem(runtime.Window(), cmd::kStartPlay)->trigger();
  QVERIFY(WaitFor([&] { return MenuItem(runtime.Window(), cmd::kViewSpuOperation)->isEnabled(); }));
}

}  // namespace

class DebugAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void TheDebugWindowStandsAloneSwitchesTabsAndFollowsThePlayer() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    Play(runtime);
    QAction* view = MenuItem(window, cmd::kViewSpuOperation);
    view->trigger();
    gui::DebugWindowDialog* debug = window.DebugWindow();
    QVERIFY(debug && debug->isVisible());
    QCOMPARE(debug->parentWidget(), nullptr);
    QVERIFY(!debug->isModal());
    QCOMPARE(debug->windowTitle(), QStringLiteral("Debug window"));
    QTabWidget* tabs = debug->Tabs();
    QCOMPARE(tabs->tabText(0), QStringLiteral("Volume Level"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Pitch Level"));
    QCOMPARE(tabs->currentIndex(), 0);
    // The menu item greys on the next refresh tick while the window is open.
    QVERIFY(WaitFor([&] { return !view->isEnabled(); }));

    // The 20 ms timer brings the playing voices' volumes and envelopes.
    QVERIFY(WaitFor([&] {
      for (int voice = 0; voice < 24; ++voice) {
        if (Field(debug, QStringLiteral("volume%1Left").arg(voice)) != QStringLiteral("0000")) return true;
      }
      return false;
    }));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    QCOMPARE(runtime.Control().DebugWindow().ShownTab(), 2);
    QVERIFY(WaitFor([&] {
      for (int voice = 0; voice < 24; ++voice) {
        const QString pitch = Field(debug, QStringLiteral("pitch%1").arg(voice));
        if (pitch.size() == 4 && pitch != QStringLiteral("0000")) return true;
      }
      return false;
    }));
    // The main window stays usable beside it.
    QVERIFY(MenuItem(window, cmd::kStopPlay)->isEnabled());

    QTest::mouseClick(debug->findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
    QVERIFY(!debug->isVisible());
    QVERIFY(!runtime.Control().DebugWindow().IsOpen());
    QVERIFY(WaitFor([&] { return view->isEnabled(); }));
    // It opens again, on its first tab.
    view->trigger();
    QVERIFY(window.DebugWindow()->isVisible());
    QCOMPARE(window.DebugWindow()->Tabs()->currentIndex(), 0);
  }

  void TheAboutDialogShowsItsTextsAndClosesWithOk() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    using S = AboutDialogState;
    QStringList missing;
    int result = -1;
    QTimer::singleShot(100, [&] {
      auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!about) return;
      QStringList shown;
      for (const QLabel* label : about->findChildren<QLabel*>()) shown << label->text();
      if (about->windowTitle() != QString::fromUtf8(S::kCaption)) missing << about->windowTitle();
      for (const char* text : {S::kTitle, S::kSubtitle, S::kCredit, S::kAddress, S::kGreetingsHeading, S::kGreetings,
                               S::kClosing, S::kThanksHeading, S::kThanks, S::kContact}) {
        if (!shown.contains(QString::fromUtf8(text))) missing << QString::fromUtf8(text);
      }
      QTest::mouseClick(Find<QPushButton>(about, S::kOk), Qt::LeftButton);
      result = about->result();
    });
    MenuItem(window, cmd::kAbout)->trigger();  // runs until the dialog closes
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(" | "))));
    QCOMPARE(result, S::kOk);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  void TheConsoleOpensWithTheBannerBeforeTheWindow() {
    GuiRuntime runtime;
    runtime.WriteConfig("EnableConsoleWindow=1\n");
    gui::MainWindow& window = runtime.Start();
    QVERIFY(window.Console() && window.Console()->isVisible());
    QVERIFY(MenuItem(window, cmd::kConsoleWindow)->isChecked());
    QVERIFY(WaitFor([&] { return !window.Console()->Text().isEmpty(); }));
    QCOMPARE(window.Console()->Text().split(QLatin1Char('\n')).first(),
             QStringLiteral("* Running Kestrel SPU Player v.1.20RC2"));
  }

  void AConfigFolderGivesTheDefaultsAndAConsoleLine() {
    GuiRuntime runtime;
    std::filesystem::remove(runtime.folder / "config.ini");
    std::filesystem::create_directory(runtime.folder / "config.ini");
    gui::MainWindow& window = runtime.Start();
    QVERIFY(window.isVisible());
    QVERIFY(window.Console() && window.Console()->isVisible());
    QVERIFY(WaitFor([&] {
      return window.Console()->Text().contains(
          QStringLiteral("* Warning : config.ini can't be read: Is a directory. The defaults are used."));
    }));
    QCOMPARE(runtime.Control().Settings().PlayBackTempo, 5);
    QVERIFY(runtime.Control().FileList().entries.Empty());  // no stored folder
    window.close();
    QVERIFY(WaitFor([&] { return !window.isVisible(); }));
    QVERIFY(std::filesystem::is_directory(runtime.folder / "config.ini"));
  }

  void ClosingTheWindowDuringADecodeLeavesACompleteWav() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    runtime.Control().ClickFileRow(1);  // lanterns.spu: a compressed log is not decoded
    runtime.Control().PageCommandDispatch(decode_page::kDecode);
    QVERIFY(WaitFor([&] { return runtime.Control().DecodePage().progressPosition > 0; }));
    QVERIFY(runtime.Control().Decoding());
    // The decode thread's "aborted" message must not hold up the exit that waits for it.
    window.close();
    QVERIFY(WaitFor([&] { return !window.isVisible(); }));
    const std::string wav = runtime.folder / ("wav/" + std::string(decode_page::kInitialOutputName) + ".wav");
    std::ifstream in(wav, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QVERIFY(bytes.size() > 44);
    const auto le32 = [&](std::size_t at) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
             static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
             static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
             static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    };
    QCOMPARE(bytes.substr(0, 4), std::string("RIFF"));
    QCOMPARE(le32(4), static_cast<std::uint32_t>(bytes.size() - 8));
    QCOMPARE(bytes.substr(36, 4), std::string("data"));
    QCOMPARE(le32(40), static_cast<std::uint32_t>(bytes.size() - 44));
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::DebugAboutTest)
#include "debug_about_test.moc"
