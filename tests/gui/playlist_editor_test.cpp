// The "PlayList Editor" page and the playlist, slot and title dialogs as a person uses them:
// a playlist built, saved, cleared and loaded back; a playlist made from the menu and put in
// a slot; titles written into a log, and text no log can hold refused; every caption.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/command_ids.h"
#include "gui_fixture.h"
#include "playlist/new_playlist_dialog.h"
#include "playlist/playlist_editor_page.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_slot_dialog.h"
#include "spulog/header_editor_dialog.h"
#include "spulog/header_information.h"

namespace kestrel::test {
namespace {

// Answers every message box with Yes (or OK), recording "caption: text".
class YesAnswerer {
 public:
  YesAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen.append(box->windowTitle() + QStringLiteral(": ") + box->text());
      QAbstractButton* yes = box->button(QMessageBox::Yes);
      (yes ? yes : box->button(QMessageBox::Ok))->click();
    });
    timer_.start(20);
  }
  QStringList seen;

 private:
  QTimer timer_;
};

// Runs `act` on the modal dialog of type T once it shows (the caller then opens it).
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      timer->stop();
      act(dialog);
    }
  });
  timer->start(20);
}

QStringList Column(const QTableWidget* table, int column) {
  QStringList texts;
  for (int row = 0; row < table->rowCount(); ++row) texts << table->item(row, column)->text();
  return texts;
}

// Every text a person reads on `root`: its title, labels, buttons, group boxes, list
// headers and drop-down rows.
QStringList TextsOn(QWidget* root) {
  QStringList texts{root->windowTitle()};
  for (auto* label : root->findChildren<QLabel*>()) texts << label->text();
  for (auto* button : root->findChildren<QAbstractButton*>()) texts << button->text();
  for (auto* group : root->findChildren<QGroupBox*>()) texts << group->title();
  for (auto* table : root->findChildren<QTableWidget*>()) {
    for (int column = 0; column < table->columnCount(); ++column) texts << table->horizontalHeaderItem(column)->text();
  }
  for (auto* combo : root->findChildren<QComboBox*>()) {
    for (int row = 0; row < combo->count(); ++row) texts << combo->itemText(row);
  }
  return texts;
}

// Types `text` over the field's text, as an input method hands it over.
void Type(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QInputMethodEvent typed;
  typed.setCommitString(text);
  QApplication::sendEvent(field, &typed);
}

std::size_t RowOf(Controller& control, const std::string& name) {
  const auto& entries = control.FileList().entries;
  for (std::size_t row = 0; row < entries.Size(); ++row) {
    if (entries.At(row).name == name) return row;
  }
  return entries.Size();
}

}  // namespace

class PlaylistEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void APlaylistIsBuiltSavedClearedAndLoadedBack() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    window.Tabs()->setCurrentIndex(1);
    auto* page = dynamic_cast<gui::PlaylistEditorPage*>(window.Tabs()->currentWidget());
    QVERIFY(page);
    const std::string saved = runtime.folder / "list/round.klt";
    window.AnswerChoosers([&](Chooser chooser, const std::string&) -> std::optional<std::string> {
      if (chooser == Chooser::EditorFolder) return runtime.logs;
      if (chooser == Chooser::EditorPlayList) return saved;
      return std::nullopt;
    });
    YesAnswerer answers;

    QTest::mouseClick(Find<QPushButton>(page, 1059), Qt::LeftButton);
    QVERIFY(WaitFor([&] { return page->LeftList()->rowCount() == 4 && !runtime.Control().EditorPage().Loading(); }));
    QVERIFY(page->findChild<QLineEdit*>(QStringLiteral("leftFolder"))->text() == QString::fromStdString(runtime.logs));
    const QStringList names = Column(page->LeftList(), 0);
    QCOMPARE(names, (QStringList{"harbour_lights", "lanterns", "night_drive", "old_arcade"}));

    // A double-click adds one row, "Add all >>" every row again.
    QTest::mouseClick(Find<QPushButton>(page, 1057), Qt::LeftButton);
    QCOMPARE(Column(page->PlaylistList(), 0), names);
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("registeredCount"))->text(), QStringLiteral("4"));

    // The right-click menu moves the selected row up.
    page->PlaylistList()->selectRow(2);
    const QStringList moved = {"harbour_lights", "night_drive", "lanterns", "old_arcade"};
    ShowMenuAndChoose(page->PlaylistList(), 2004);
    QCOMPARE(Column(page->PlaylistList(), 0), moved);
    QCOMPARE(page->PlaylistList()->selectedRanges().front().topRow(), 1);

    // Unbound, "Save List" asks for the new playlist first.
    WhenShown<gui::NewPlaylistDialog>([](gui::NewPlaylistDialog* dialog) {
      Type(dialog->findChild<QLineEdit*>(QStringLiteral("fileName")), QStringLiteral("round"));
      Type(dialog->findChild<QLineEdit*>(QStringLiteral("listTitle")), QStringLiteral("Round & Round"));
      QTest::mouseClick(Find<QPushButton>(dialog, 1), Qt::LeftButton);
    });
    QTest::mouseClick(Find<QPushButton>(page, 1053), Qt::LeftButton);
    QVERIFY(std::filesystem::exists(saved));
    QCOMPARE(page->findChild<QLineEdit*>(QStringLiteral("playlistTitle"))->text(), QStringLiteral("Round & Round"));

    QTest::mouseClick(Find<QPushButton>(page, 1052), Qt::LeftButton);
    QCOMPARE(page->PlaylistList()->rowCount(), 0);
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("registeredCount"))->text(), QStringLiteral("0"));

    QTest::mouseClick(Find<QPushButton>(page, 1050), Qt::LeftButton);
    QVERIFY(WaitFor([&] { return page->PlaylistList()->rowCount() == 4 && !runtime.Control().EditorPage().Loading(); }));
    QCOMPARE(Column(page->PlaylistList(), 0), moved);
    QCOMPARE(Column(page->PlaylistList(), 2)[0], QString::fromStdString(runtime.DemoLog("harbour_lights.gz")));
    QCOMPARE(page->findChild<QLineEdit*>(QStringLiteral("playlistTitle"))->text(), QStringLiteral("Round & Round"));
    QVERIFY(answers.seen.contains(QStringLiteral("Confirm: Clear the PlayList, OK?")));

    // With "Remove from List" chosen, a double-click removes the row and selects the one above.
    auto* action = page->findChild<QComboBox*>(QStringLiteral("doubleClickAction"));
    QCOMPARE(action->currentIndex(), 0);
    const QRect third = page->PlaylistList()->visualRect(page->PlaylistList()->model()->index(2, 0));
    QTest::mouseClick(page->PlaylistList()->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(page->PlaylistList()->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(Column(page->PlaylistList(), 0), (QStringList{"harbour_lights", "night_drive", "old_arcade"}));
    QCOMPARE(page->PlaylistList()->selectedRanges().front().topRow(), 1);
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("registeredCount"))->text(), QStringLiteral("3"));
  }

  void APlaylistFromTheMenuGoesIntoASlot() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    YesAnswerer answers;
    const std::string made = runtime.folder / "list/evening.klt";

    // OK with a field empty keeps the dialog open with a warning.
    WhenShown<gui::NewPlaylistDialog>([](gui::NewPlaylistDialog* dialog) {
      Type(dialog->findChild<QLineEdit*>(QStringLiteral("fileName")), QStringLiteral("evening"));
      QTest::mouseClick(Find<QPushButton>(dialog, 1), Qt::LeftButton);
      QVERIFY(dialog->isVisible());
      Type(dialog->findChild<QLineEdit*>(QStringLiteral("listTitle")), QStringLiteral("Evening"));
      QTest::mouseClick(Find<QPushButton>(dialog, 1), Qt::LeftButton);
    });
    MenuItem(window, cmd::kNewPlayList)->trigger();
    QCOMPARE(answers.seen.front(), QStringLiteral("Warning: Please input the new PlayList info."));
    QCOMPARE(QString::fromStdString(ReadPlaylist(made).title), QStringLiteral("Evening"));

    window.AnswerChoosers([&](Chooser chooser, const std::string& folder) -> std::optional<std::string> {
      if (chooser != Chooser::PlayList || !std::filesystem::equivalent(folder, runtime.folder / "list")) return std::nullopt;
      return made;
    });
    WhenShown<gui::PlaylistSlotDialog>([](gui::PlaylistSlotDialog* dialog) {
      QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("slotChoose2")), Qt::LeftButton);
      QTest::mouseClick(Find<QPushButton>(dialog, 1), Qt::LeftButton);
    });
    MenuItem(window, cmd::kRegisterSlot)->trigger();
    QVERIFY(answers.seen.contains(QStringLiteral("Info: PlayList Slot Saved.")));
    QCOMPARE(MenuItem(window, cmd::kFirstSlot + 1)->text(), QStringLiteral("Evening"));
    QCOMPARE(MenuItem(window, cmd::kFirstSlot)->text(), QStringLiteral("Empty Slot #1"));

    // Opened again, the dialog shows the stored path.
    QString shown;
    WhenShown<gui::PlaylistSlotDialog>([&shown](gui::PlaylistSlotDialog* dialog) {
      shown = dialog->findChild<QLineEdit*>(QStringLiteral("slotField2"))->text();
      QTest::mouseClick(Find<QPushButton>(dialog, 2), Qt::LeftButton);
    });
    MenuItem(window, cmd::kRegisterSlot)->trigger();
    QCOMPARE(shown, QString::fromStdString(made));
  }

  void TheTitleEditorWritesTitlesAndRefusesWhatALogCannotHold() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    YesAnswerer answers;
    const std::string log = runtime.DemoLog("lanterns.spu");
    runtime.Control().ClickFileRow(RowOf(runtime.Control(), "lanterns"));

    bool stayedOpen = false;
    WhenShown<gui::HeaderEditorDialog>([&stayedOpen](gui::HeaderEditorDialog* dialog) {
      QCOMPARE(Find<QLineEdit>(dialog, 1104)->text(), QStringLiteral("lanterns"));
      // Hangul is in no code page a log's titles are written in.
      Type(Find<QLineEdit>(dialog, 1070), QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80"));
      QTest::mouseClick(Find<QPushButton>(dialog, 1), Qt::LeftButton);
      stayedOpen = dialog->isVisible();
      Type(Find<QLineEdit>(dialog, 1070), QStringLiteral("Lantern Festival"));
      Type(Find<QLineEdit>(dialog, 1067), QStringLiteral("Paper Boats"));
      Type(Find<QLineEdit>(dialog, 1068), QStringLiteral("(c) 2026 Kestrel"));
      QTest::mouseClick(Find<QPushButton>(dialog, 1), Qt::LeftButton);
    });
    runtime.Control().PageCommandDispatch(2002);
    QVERIFY(stayedOpen);
    QCOMPARE(answers.seen.size(), 2);
    QVERIFY2(answers.seen[0].startsWith(QStringLiteral("Warning: Cannot write the header information: ")),
             qPrintable(answers.seen[0]));
    QCOMPARE(answers.seen[1], QStringLiteral("Confirm: Save Header Information, OK?"));
    const HeaderInformation titles = ReadHeaderInformation(log);
    QVERIFY(titles.present);
    QCOMPARE(QString::fromStdString(titles.gameTitle), QStringLiteral("Lantern Festival"));
    QCOMPARE(QString::fromStdString(titles.musicTitle), QStringLiteral("Paper Boats"));
    QCOMPARE(QString::fromStdString(titles.copyright), QStringLiteral("(c) 2026 Kestrel"));

    // A compressed log is shown, not written.
    runtime.Control().ClickFileRow(RowOf(runtime.Control(), "harbour_lights"));
    bool saveGreyed = false;
    QString status;
    WhenShown<gui::HeaderEditorDialog>([&](gui::HeaderEditorDialog* dialog) {
      saveGreyed = !Find<QPushButton>(dialog, 1)->isEnabled() && !Find<QLineEdit>(dialog, 1070)->isEnabled();
      status = Find<QLabel>(dialog, 1182)->text();
      dialog->close();
    });
    runtime.Control().PageCommandDispatch(2002);
    QVERIFY(saveGreyed);
    QCOMPARE(status, QStringLiteral("Warning : File is Compressed!"));
    (void)window;
  }

  void EveryCaptionIsOnItsWidget() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    runtime.Control().ClickFileRow(0);
    const QStringList columns = {"SPU File Name", "Time", "File Path"};
    struct Surface {
      std::function<void(const std::function<void(QWidget*)>&)> open;
      QStringList captions;
    };
    const auto dialog = [&window](int command) {
      return [&window, command](const std::function<void(QWidget*)>& look) {
        WhenShown<QDialog>([look](QDialog* shown) {
          look(shown);
          shown->reject();
        });
        if (command == 2002) {
          window.Control().PageCommandDispatch(command);
        } else {
          MenuItem(window, command)->trigger();
        }
      };
    };
    const Surface surfaces[] = {
        {[&window](const std::function<void(QWidget*)>& look) { look(window.Tabs()->widget(1)); },
         QStringList{"SPU File List :", "PlayList Title :", "Open", "Load List", "Clear", "Save List", "Add all >>",
                     "Remove from List", "Up to above line", "Down to follow line"} +
             columns},
        {dialog(cmd::kNewPlayList),
         {"New PlayList", "+ Please input the new PlayList info +", "FileName :", ".klt", "ListTitle :", "OK",
          "Cancel"}},
        {dialog(cmd::kRegisterSlot),
         {"PlayList Slot", "Slot[1] :", "Slot[2] :", "Slot[3] :", "Slot[4] :", "Slot[5] :", "...", "OK", "Cancel"}},
        {dialog(2002),
         {"Header Information Editor", "Registered Info", "FileName :", "GameTitle :", "MusicTitle :", "Copyright :",
          "[64byte]", "[32byte]", "Save", "Cancel"}},
    };
    for (const Surface& surface : surfaces) {
      QStringList texts;
      surface.open([&texts](QWidget* shown) { texts = TextsOn(shown); });
      for (const QString& caption : surface.captions) {
        QVERIFY2(texts.contains(caption), qPrintable(caption + QStringLiteral(" is missing from ") + texts.join('|')));
      }
    }
  }

 private:
  // Right-clicks the selected row of `table` and chooses `command` from the menu.
  static void ShowMenuAndChoose(QTableWidget* table, int command) {
    QStringList shown;
    QTimer::singleShot(50, [&shown, command] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) shown << action->text();
      menu->findChild<QAction*>(gui::IdName(command))->trigger();
      menu->close();
    });
    const QRect row = table->visualRect(table->currentIndex());
    emit table->customContextMenuRequested(row.center());
    QCOMPARE(shown, (QStringList{"&Remove from List", "&Up to above Line", "&Down to follow Line"}));
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::PlaylistEditorTest)
#include "playlist_editor_test.moc"
