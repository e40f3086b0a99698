#include "monitor/debug_window_dialog.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/control_binding.h"
#include "app/gui/program_icon.h"
#include "monitor/debug_window_state.h"

namespace kestrel::gui {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLineEdit* ValueField(QWidget* parent, const QString& name) {
  auto* field = new QLineEdit(QStringLiteral("0000"), parent);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setAlignment(Qt::AlignCenter);
  field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Four hexadecimal digits and the field's frame.
  const int digits = QFontMetrics(field->font()).horizontalAdvance(QStringLiteral("ffff"));
  field->setFixedWidth(digits + 14);
  return field;
}

QLabel* ChannelLabel(QWidget* parent, int voice) {
  auto* label = new QLabel(QString::fromStdString(DebugChannelLabel(voice)), parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// `voicesPerRow` voices side by side, each a label and `fieldsPerVoice` value fields.
template <std::size_t N>
QGroupBox* VoiceGroup(QWidget* parent, std::string_view title, int voicesPerRow, int fieldsPerVoice,
                      std::array<QLineEdit*, N>& fields, const char* fieldName) {
  auto* group = new QGroupBox(Text(title), parent);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(4);
  const int columnsPerVoice = 1 + fieldsPerVoice;
  for (int voice = 0; voice < spu_reg::kVoiceCount; ++voice) {
    const int row = voice / voicesPerRow;
    const int column = (voice % voicesPerRow) * columnsPerVoice;
    grid->addWidget(ChannelLabel(group, voice), row, column);
    for (int f = 0; f < fieldsPerVoice; ++f) {
      const int index = voice * fieldsPerVoice + f;
      const QString name = fieldsPerVoice == 1
                               ? QStringLiteral("%1%2").arg(QLatin1String(fieldName)).arg(voice)
                               : QStringLiteral("%1%2%3").arg(QLatin1String(fieldName)).arg(voice).arg(
                                     f == 0 ? QLatin1String("Left") : QLatin1String("Right"));
      fields[static_cast<std::size_t>(index)] = ValueField(group, name);
      grid->addWidget(fields[static_cast<std::size_t>(index)], row, column + 1 + f);
    }
    // A little air between one voice's fields and the next voice's label.
    if (voice % voicesPerRow != 0) grid->setColumnMinimumWidth(column, 48);
  }
  return group;
}

template <std::size_t N>
void ShowTexts(const std::array<QLineEdit*, N>& fields, const std::array<std::string, N>& texts) {
  for (std::size_t i = 0; i < N; ++i) {
    const QString text = QString::fromStdString(texts[i]);
    if (fields[i]->text() != text) fields[i]->setText(text);
  }
}

}  // namespace

DebugWindowDialog::DebugWindowDialog(Controller& controller)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      controller_(controller),
      tabs_(new QTabWidget(this)) {
  setObjectName(IdName(108));
  setWindowTitle(Text(kDebugWindowCaption));
  setWindowIcon(ProgramIcon());

  auto* volumePage = Named(new QWidget(tabs_), 109);
  auto* volumeLayout = new QVBoxLayout(volumePage);
  volumeLayout->addWidget(VoiceGroup(volumePage, kDebugEnvelopeGroup, 6, 1, envelope_, "envelope"));
  volumeLayout->addWidget(VoiceGroup(volumePage, kDebugVolumeGroup, 4, 2, volume_, "volume"));
  volumeLayout->addStretch(1);

  auto* pitchPage = Named(new QWidget(tabs_), 110);
  auto* pitchLayout = new QVBoxLayout(pitchPage);
  pitchLayout->addWidget(VoiceGroup(pitchPage, kDebugPitchGroup, 6, 1, pitch_, "pitch"));
  pitchLayout->addStretch(1);

  tabs_->addTab(volumePage, Text(kDebugVolumeTabCaption));
  tabs_->addTab(pitchPage, Text(kDebugPitchTabCaption));
  connect(tabs_, &QTabWidget::currentChanged, this,
          [this](int index) { controller_.SelectDebugTab(index == 1 ? kDebugPitchTab : kDebugVolumeTab); });

  auto* close = new QPushButton(Text(kDebugCloseButton), this);
  close->setObjectName(QStringLiteral("closeButton"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Refresh();
}

void DebugWindowDialog::Refresh() {
  const DebugWindowState& state = controller_.DebugWindow();
  {
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(state.ShownTab() == kDebugPitchTab ? 1 : 0);
  }
  if (state.ShownTab() == kDebugPitchTab) {
    ShowTexts(pitch_, state.PitchTexts());
  } else {
    ShowTexts(envelope_, state.EnvelopeTexts());
    ShowTexts(volume_, state.VolumeTexts());
  }
}

void DebugWindowDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Refresh();
  // Centred on the screen each time it opens.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(available.x() + (available.width() - size.width()) / 2,
         available.y() + (available.height() - size.height()) / 2);
  }
}

void DebugWindowDialog::closeEvent(QCloseEvent* event) {
  controller_.CloseDebugWindow();
  QDialog::closeEvent(event);
}

void DebugWindowDialog::reject() {
  // Escape closes it as the Close button does.
  controller_.CloseDebugWindow();
  QDialog::reject();
}

}  // namespace kestrel::gui
