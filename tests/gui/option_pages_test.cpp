// The "Player Option", "Wave Decode", "Plugin && Register" and "Misc Option" pages as a
// person uses them: every caption on its widget, the tempo list and the play-mode radios
// reaching the status bar and the menu, the mixer reaching the channel mixer, a decode
// writing a WAV file, and the plugin list showing our plugin.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <filesystem>

#include "app/command_ids.h"
#include "gui_fixture.h"
#include "mixer/register_path.h"

namespace kestrel::test {
namespace {

constexpr int kOptionTab = 2, kDecodeTab = 3, kPluginTab = 4, kMixerTab = 5;

QString Shown(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  return {};
}

// A widget of `page` showing exactly `text`, or among a list's rows or headers.
bool PageShows(QWidget* page, const QString& text) {
  for (QWidget* widget : page->findChildren<QWidget*>()) {
    if (Shown(widget) == text) return true;
    if (auto* list = qobject_cast<QComboBox*>(widget); list && list->findText(text) >= 0) return true;
    if (auto* table = qobject_cast<QTableWidget*>(widget)) {
      for (int c = 0; c < table->columnCount(); ++c) {
        if (table->horizontalHeaderItem(c)->text() == text) return true;
      }
    }
  }
  return false;
}

template <typename T = QWidget>
T* OnTab(gui::MainWindow& window, int tab, int id) {
  window.Tabs()->setCurrentIndex(tab);
  T* widget = Find<T>(window.Tabs()->widget(tab), id);
  if (widget == nullptr) qFatal("no control %d on tab %d", id, tab);
  return widget;
}

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2)); }

// Replaces a line edit's text as typing would.
void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

}  // namespace

class OptionPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryCaptionIsOnItsWidget() {
    struct Caption {
      int tab;
      int id;  // 0: any widget of the page
      const char* text;
    };
    const Caption captions[] = {
        {kOptionTab, 0, "PlayBack Mode"},
        {kOptionTab, 1063, "Single Play (default)"},
        {kOptionTab, 1020, "Enable Repeat Play (play same music infinity)"},
        {kOptionTab, 1029, "Enable Chain Play (1 loop chain play)"},
        {kOptionTab, 1031, "Enable Repeat && Chain Play (play selected music infinity)"},
        {kOptionTab, 0, "PlayBack Speed"},
        {kOptionTab, 0, "5% (Very Slow)"},
        {kOptionTab, 0, "1000% (Good Luck!)"},
        {kOptionTab, 1088, "Enable Limitter"},
        {kOptionTab, 0, "PlayBack Process PriorityLevel"},
        {kOptionTab, 1083, "Above Normal"},
        {kOptionTab, 0, "Extend Option (Experimental)"},
        {kOptionTab, 1085, "Enable FadeOut (for specific plugin)"},
        {kOptionTab, 1090, "Enable FadeIn (for specific plugin)"},
        {kOptionTab, 1181, "Enable Dynamic Orchestra"},
        {kOptionTab, 1183, "Enable Compulsive Pause operation (for VAG stream)"},
        {kOptionTab, 0, "Analyzer Option"},
        {kOptionTab, 0, "DrawType :"},
        {kOptionTab, 0, "TYPE1 (Default)"},
        {kOptionTab, 0, "Disable"},
        {kOptionTab, 0, "AnalyzerColor :"},
        {kOptionTab, 0, "Kestrel Fire (Default)"},
        {kOptionTab, 0, "Fresh Green Salad"},
        {kOptionTab, 1087, "Refresh / 50 (ms)"},
        {kOptionTab, 0, "List Design (SPUFile List)"},
        {kOptionTab, 0, "TextColor"},
        {kOptionTab, 0, "R :"},
        {kOptionTab, 0, "G :"},
        {kOptionTab, 0, "B :"},
        {kOptionTab, 1095, "255"},
        {kOptionTab, 0, "BackImage"},
        {kOptionTab, 1099, "Specify BackImage File Path"},
        {kOptionTab, 1102, "..."},
        {kOptionTab, 1103, "Enable Glid Line"},
        {kDecodeTab, 0, "Output FileName :"},
        {kDecodeTab, 1023, "I Love Sunmoth !!"},
        {kDecodeTab, 0, ".WAV"},
        {kDecodeTab, 0, "Use PluginName :"},
        {kDecodeTab, 0, "Target FileName :"},
        {kDecodeTab, 1028, "Specify Decoding Time (UnChecked --> Full Time Decoding)"},
        {kDecodeTab, 0, "Decoding Time :"},
        {kDecodeTab, 0, "sec"},
        {kDecodeTab, 0, "FileFormat (Auto scan)"},
        {kDecodeTab, 1086, "Old Format (PSX internal sound only)"},
        {kDecodeTab, 1089, "New Format (All PSX sound)"},
        {kDecodeTab, 0, "Decode Process PriorityLevel"},
        {kDecodeTab, 1084, "Normal"},
        {kDecodeTab, 0, "Decoding Event (for NewFormat)"},
        {kDecodeTab, 1120, "REG Write"},
        {kDecodeTab, 1121, "DMA Write"},
        {kDecodeTab, 1123, "XA"},
        {kDecodeTab, 1125, "CDDA"},
        {kDecodeTab, 0, "Decoding State :"},
        {kDecodeTab, 1041, "0 %"},
        {kDecodeTab, 1021, "Decode"},
        {kDecodeTab, 1039, "Abort"},
        {kPluginTab, 0, "SPU Plugin List :"},
        {kPluginTab, 0, "SPU Plugin Info"},
        {kPluginTab, 0, "Support"},
        {kPluginTab, 0, "File Name"},
        {kPluginTab, 1005, "Configure"},
        {kPluginTab, 1006, "About"},
        {kPluginTab, 1007, "Test"},
        {kPluginTab, 0, "Selected Plugin Info"},
        {kPluginTab, 0, "Name :"},
        {kPluginTab, 0, "Version :"},
        {kPluginTab, 0, "Path :"},
        {kPluginTab, 0, "Register Control"},
        {kPluginTab, 1106, "0x1f801d88 : Voice ON (0-15ch)"},
        {kPluginTab, 1107, "0x1f801d8a : Voice ON (16-23ch)"},
        {kPluginTab, 1108, "0x1f801d8c : Voice OFF (0-15ch)"},
        {kPluginTab, 1109, "0x1f801d8e : Voice OFF (16-23ch)"},
        {kPluginTab, 1110, "0x1f801d90 : Channel FM Mode (0-15ch)"},
        {kPluginTab, 1111, "0x1f801d92 : Channel FM Mode (16-23ch)"},
        {kPluginTab, 1112, "0x1f801d94 : Channel Noise Mode (0-15ch)"},
        {kPluginTab, 1113, "0x1f801d96 : Channel Noise Mode (16-23ch)"},
        {kPluginTab, 1114, "0x1f801d98 : Channel Reverb Mode (0-15ch)"},
        {kPluginTab, 1115, "0x1f801d9a : Channel Reverb Mode (16-23ch)"},
        {kPluginTab, 0, "Event Control (for NewFormat)"},
        {kPluginTab, 1119, "Enable REG Write"},
        {kPluginTab, 1117, "Enable DMA Write"},
        {kPluginTab, 1116, "Enable XA Play"},
        {kPluginTab, 1118, "Enable CDDA Play"},
        {kMixerTab, 0, "SPU Volume Mixer"},
        {kMixerTab, 0, "CH :"},
        {kMixerTab, 0, "23"},
        {kMixerTab, 0, "Mute :"},
        {kMixerTab, 1175, "Mute all"},
        {kMixerTab, 1176, "UnMute all"},
        {kMixerTab, 1177, "Reset"},
    };
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    for (const Caption& c : captions) {
      QWidget* page = window.Tabs()->widget(c.tab);
      const QString text = QString::fromUtf8(c.text);
      if (c.id == 0) {
        QVERIFY2(PageShows(page, text), c.text);
      } else {
        QWidget* widget = Find(page, c.id);
        QVERIFY2(widget != nullptr, c.text);
        QCOMPARE(Shown(widget), text);
      }
    }
    // The 24 channels: a slider and a mute box each.
    for (int ch = 0; ch < 24; ++ch) {
      QVERIFY(Find<QSlider>(window.Tabs()->widget(kMixerTab), 1127 + ch) != nullptr);
      QVERIFY(Find<QCheckBox>(window.Tabs()->widget(kMixerTab), 1151 + ch) != nullptr);
    }
    // Every page fits the window's page area.
    for (const int tab : {kOptionTab, kDecodeTab, kPluginTab, kMixerTab}) {
      const QSize hint = window.Tabs()->widget(tab)->sizeHint();
      QVERIFY2(hint.width() <= 760 && hint.height() <= 470, qPrintable(QString::number(tab)));
    }
  }

  void TheTempoListActsOnlyOnAChosenRowAndTheRadiosMoveTheMenuMark() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    auto* tempo = OnTab<QComboBox>(window, kOptionTab, ctl::kTempoList);
    const QString before = StatusField(window, 2);
    tempo->showPopup();
    QTest::keyClick(tempo->view(), Qt::Key_Escape);
    QCOMPARE(StatusField(window, 2), before);
    tempo->showPopup();
    tempo->view()->setCurrentIndex(tempo->model()->index(16, 0));
    QTest::keyClick(tempo->view(), Qt::Key_Return);
    QCOMPARE(StatusField(window, 2), QStringLiteral("Tempo : 700%"));
    QCOMPARE(tempo->currentText(), QStringLiteral("700%"));

    auto* chain = OnTab<QAbstractButton>(window, kOptionTab, ctl::kChainRadio);
    Click(chain);
    QVERIFY(MenuItem(window, cmd::kChainMode)->isChecked());
    QVERIFY(!MenuItem(window, cmd::kSingleMode)->isChecked());
    QVERIFY(chain->isChecked());
    QVERIFY(!OnTab<QAbstractButton>(window, kOptionTab, ctl::kSingleRadio)->isChecked());
    Click(chain);  // a second click keeps it chosen
    QVERIFY(chain->isChecked());

    // The back-image box enables its path edit and "..." button.
    auto* path = OnTab<QLineEdit>(window, kOptionTab, ctl::kBackImagePath);
    QVERIFY(!path->isEnabled());
    Click(OnTab<QAbstractButton>(window, kOptionTab, ctl::kSpecifyBackImage));
    QVERIFY(path->isEnabled());
    QVERIFY(OnTab(window, kOptionTab, ctl::kChooseBackImage)->isEnabled());
    Type(path, QStringLiteral("/img/tiles.bmp"));
    QCOMPARE(runtime.Control().Settings().ListBackImagePath, std::string("/img/tiles.bmp"));
  }

  void TheMixerSlidersAndMuteBoxesReachTheMixer() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    ChannelMixer& mixer = TheRegisterPath().channelMixer;
    auto* slider = OnTab<QSlider>(window, kMixerTab, 1127 + 5);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);  // to the bottom: silence
    QCOMPARE(mixer.level[5].load(), 0);
    QTest::keyClick(slider, Qt::Key_Up);
    QCOMPARE(mixer.level[5].load(), 1);
    QCOMPARE(mixer.level[4].load(), 100);

    auto* mute = OnTab<QCheckBox>(window, kMixerTab, 1151 + 3);
    Click(mute);
    QVERIFY(mixer.mute[3].load());
    QVERIFY(mute->isChecked());

    Click(OnTab<QAbstractButton>(window, kMixerTab, 1175));  // Mute all
    for (int ch = 0; ch < 24; ++ch) {
      QVERIFY(mixer.mute[ch].load());
      QVERIFY(OnTab<QCheckBox>(window, kMixerTab, 1151 + ch)->isChecked());
    }
    Click(OnTab<QAbstractButton>(window, kMixerTab, 1177));  // Reset: sliders up, mutes stay
    QCOMPARE(slider->value(), 0);
    QCOMPARE(mixer.sliderPosition[5].load(), 0);
    QVERIFY(mixer.mute[5].load());
    Click(OnTab<QAbstractButton>(window, kMixerTab, 1176));  // UnMute all
    for (int ch = 0; ch < 24; ++ch) {
      QVERIFY(!mixer.mute[ch].load());
      QVERIFY(!OnTab<QCheckBox>(window, kMixerTab, 1151 + ch)->isChecked());
      QCOMPARE(mixer.level[ch].load(), 100);
    }
  }

  void ADecodeWritesAWavFileAndTheBarReachesItsEnd() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    // An uncompressed log (a .gz one is refused).
    for (std::size_t row = 0; !runtime.Control().Panel().path.ends_with(".spu"); ++row) {
      QVERIFY(row < 4);
      runtime.Control().ClickFileRow(row);
    }
    auto* bar = OnTab<QProgressBar>(window, kDecodeTab, decode_page::kProgressBar);
    auto* percent = OnTab<QLabel>(window, kDecodeTab, decode_page::kPercent);
    auto* decode = OnTab<QPushButton>(window, kDecodeTab, decode_page::kDecode);
    auto* abort = OnTab<QPushButton>(window, kDecodeTab, decode_page::kAbort);
    auto* time = OnTab<QLineEdit>(window, kDecodeTab, decode_page::kDecodingTime);
    QVERIFY(!time->isEnabled());
    Click(OnTab<QAbstractButton>(window, kDecodeTab, decode_page::kSpecifyTime));
    QVERIFY(time->isEnabled());
    Type(time, QStringLiteral("1"));
    Type(OnTab<QLineEdit>(window, kDecodeTab, decode_page::kOutputName), QStringLiteral("take1"));

    // What the page shows when the decode's closing message comes up.
    QStringList messages;
    int barAtMessage = -1;
    QString percentAtMessage;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      messages << box->text();
      barAtMessage = bar->value();
      percentAtMessage = percent->text();
      box->accept();
    });
    answer.start(10);
    Click(decode);
    QCOMPARE(decode->text(), QStringLiteral("Decoding..."));
    QVERIFY(!decode->isEnabled());
    QVERIFY(WaitFor([&] { return !runtime.Control().Decoding(); }));
    QCOMPARE(messages, QStringList{QStringLiteral("WAVE Decoding has been successful.")});
    QCOMPARE(barAtMessage, bar->maximum());
    QCOMPARE(percentAtMessage, QStringLiteral("100 %"));
    QVERIFY(!abort->isEnabled());
    QVERIFY(decode->isEnabled());
    QCOMPARE(decode->text(), QStringLiteral("Decode"));

    // One second: 1,380 chunks of 128 bytes after the 44-byte header.
    QFile wav(QString::fromStdString(runtime.folder / "wav/take1.wav"));
    QVERIFY(wav.open(QIODevice::ReadOnly));
    const QByteArray bytes = wav.readAll();
    QCOMPARE(bytes.size(), 176684);
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(u32(4), 176676u);
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u32(24), 44100u);
    QCOMPARE(bytes.mid(36, 4), QByteArray("data"));
    QCOMPARE(u32(40), 176640u);
  }

  void ThePluginListShowsOurPluginAndTheSwitchesReachTheCore() {
    GuiRuntime runtime;
    gui::MainWindow& window = runtime.Start();
    auto* list = OnTab<QTableWidget>(window, kPluginTab, plugin_page::kPluginList);
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("Play & Decode"));
    QCOMPARE(list->item(0, 2)->text(), QStringLiteral("libkestrel_spu.so"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0, 0)).center());
    QVERIFY(list->item(0, 0)->isSelected());
    auto* path = OnTab<QLineEdit>(window, kPluginTab, plugin_page::kPath);
    QVERIFY(path->text().endsWith(QStringLiteral("plugins/libkestrel_spu.so")));
    QCOMPARE(OnTab<QLineEdit>(window, kDecodeTab, decode_page::kPluginName)->text(), list->item(0, 0)->text());

    // The right-click menu: its three items, Configure usable while idle.
    QStringList items;
    QTimer::singleShot(50, [&] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QAction* action : menu->actions()) items << action->text() + (action->isEnabled() ? "" : " (grey)");
        menu->close();
      }
    });
    const QPoint row = list->visualItemRect(list->item(0, 0)).center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, row, list->viewport()->mapToGlobal(row));
    QCoreApplication::sendEvent(list->viewport(), &rightClick);
    QCOMPARE(items, (QStringList{"&Configure", "&About", "&Test"}));

    auto* voiceOn = OnTab<QCheckBox>(window, kPluginTab, switch_page::kFirstRegisterBox);
    Click(voiceOn);
    QVERIFY(!voiceOn->isChecked());
    QVERIFY(!runtime.Control().SwitchPage().controls.Checked(switch_page::kFirstRegisterBox));
    QVERIFY(runtime.Control().SwitchPage().controls.Checked(switch_page::kFirstRegisterBox + 1));
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::OptionPagesTest)
#include "option_pages_test.moc"
