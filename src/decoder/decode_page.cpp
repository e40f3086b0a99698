#include "decoder/decode_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/control_binding.h"
#include "platform/thread_priority.h"

namespace kestrel::gui {
namespace {

using namespace decode_page;

void ShowText(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (edit->text() != shown) edit->setText(shown);
}

}  // namespace

DecodePage::DecodePage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {
  auto field = [this](int id, bool editable) {
    auto* edit = Named(new QLineEdit, id);
    edit->setReadOnly(!editable);
    if (editable) {
      connect(edit, &QLineEdit::textEdited, this,
              [this, id](const QString& text) { controller_.EditPageField(id, text.toStdString()); });
    }
    return edit;
  };
  auto box = [this](QAbstractButton* button, int id) {
    Named(button, id);
    button->setCheckable(true);
    connect(button, &QAbstractButton::clicked, this, [this, id] { Click(id); });
    return button;
  };

  outputName_ = field(kOutputName, true);
  pluginName_ = field(kPluginName, false);
  targetFileName_ = field(kTargetFileName, false);
  decodingTime_ = field(kDecodingTime, true);
  decodingTime_->setMaximumWidth(decodingTime_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  auto* files = new QGroupBox;
  auto* filesLayout = new QGridLayout(files);
  filesLayout->addWidget(new QLabel(QStringLiteral("Output FileName :")), 0, 0);
  filesLayout->addWidget(outputName_, 0, 1);
  filesLayout->addWidget(new QLabel(QStringLiteral(".WAV")), 0, 2);
  filesLayout->addWidget(new QLabel(QStringLiteral("Use PluginName :")), 1, 0);
  filesLayout->addWidget(pluginName_, 1, 1, 1, 2);
  filesLayout->addWidget(new QLabel(QStringLiteral("Target FileName :")), 2, 0);
  filesLayout->addWidget(targetFileName_, 2, 1, 1, 2);
  filesLayout->addWidget(box(new QCheckBox(QStringLiteral("Specify Decoding Time (UnChecked --> Full Time Decoding)")),
                             kSpecifyTime),
                         3, 0, 1, 3);
  auto* time = new QHBoxLayout;
  time->addWidget(decodingTime_);
  time->addWidget(new QLabel(QStringLiteral("sec")));
  time->addStretch();
  filesLayout->addWidget(new QLabel(QStringLiteral("Decoding Time :")), 4, 0);
  filesLayout->addLayout(time, 4, 1, 1, 2);
  filesLayout->setColumnStretch(1, 1);

  // The format is the file selection's, shown and never chosen here.
  auto* format = new QGroupBox(QStringLiteral("FileFormat (Auto scan)"));
  auto* formatLayout = new QVBoxLayout(format);
  for (const auto& [text, id] : {std::pair{"Old Format (PSX internal sound only)", kOldFormat},
                                 std::pair{"New Format (All PSX sound)", kNewFormat}}) {
    auto* radio = Named(new QRadioButton(QString::fromUtf8(text)), id);
    radio->setAutoExclusive(false);
    formatLayout->addWidget(radio);
  }
  formatLayout->addStretch();

  auto* priority = new QGroupBox(QStringLiteral("Decode Process PriorityLevel"));
  auto* priorityLayout = new QVBoxLayout(priority);
  priority_ = Named(new QSlider(Qt::Horizontal), kPriority);
  priority_->setRange(1, static_cast<int>(kPriorityTable.size()));
  priority_->setPageStep(1);
  priority_->setTickPosition(QSlider::TicksBelow);
  priority_->setTickInterval(1);
  connect(priority_, &QSlider::valueChanged, this, [this](int position) {
    controller_.HorizontalSlider(kPriority, SliderCode::Track, position);
    Refresh();
  });
  priorityLabel_ = Named(new QLabel, kPriorityLabel);
  priorityLabel_->setAlignment(Qt::AlignCenter);
  priorityLayout->addWidget(priority_);
  priorityLayout->addWidget(priorityLabel_);
  priorityLayout->addStretch();

  auto* events = new QGroupBox(QStringLiteral("Decoding Event (for NewFormat)"));
  auto* eventsLayout = new QGridLayout(events);
  eventsLayout->addWidget(box(new QCheckBox(QStringLiteral("REG Write")), kRegisterWriteBox), 0, 0);
  eventsLayout->addWidget(box(new QCheckBox(QStringLiteral("DMA Write")), kDmaWriteBox), 0, 1);
  eventsLayout->addWidget(box(new QCheckBox(QStringLiteral("XA")), kXaBox), 1, 0);
  eventsLayout->addWidget(box(new QCheckBox(QStringLiteral("CDDA")), kCddaBox), 1, 1);
  eventsLayout->setRowStretch(2, 1);

  auto* options = new QHBoxLayout;
  options->addWidget(format);
  options->addWidget(priority);
  options->addWidget(events);

  progress_ = Named(new QProgressBar, kProgressBar);
  progress_->setRange(0, 1000);
  progress_->setTextVisible(false);
  percent_ = Named(new QLabel, kPercent);
  percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance(QStringLiteral("100 %  ")));
  percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  decode_ = Named(new QPushButton(QStringLiteral("Decode")), kDecode);
  // Wide enough for "Decoding..." so the row does not move when a decode starts.
  decode_->setMinimumWidth(decode_->fontMetrics().horizontalAdvance(QStringLiteral("Decoding...")) + 24);
  connect(decode_, &QPushButton::clicked, this, [this] { Click(kDecode); });
  auto* abort = Named(new QPushButton(QStringLiteral("Abort")), kAbort);
  connect(abort, &QPushButton::clicked, this, [this] { Click(kAbort); });
  auto* state = new QGroupBox;
  auto* stateLayout = new QHBoxLayout(state);
  stateLayout->addWidget(new QLabel(QStringLiteral("Decoding State :")));
  stateLayout->addWidget(progress_, 1);
  stateLayout->addWidget(percent_);
  stateLayout->addSpacing(8);
  stateLayout->addWidget(decode_);
  stateLayout->addWidget(abort);

  auto* page = new QVBoxLayout(this);
  page->addWidget(files);
  page->addLayout(options);
  page->addStretch();
  page->addWidget(state);
}

void DecodePage::Click(int id) {
  controller_.PageCommandDispatch(id);
  Refresh();
}

void DecodePage::Refresh() {
  const DecodePageState& state = controller_.DecodePage();
  ApplyEnabled(this, state.controls);
  ApplyChecked(this, state.controls, {kSpecifyTime, kOldFormat, kNewFormat, kRegisterWriteBox, kDmaWriteBox, kXaBox, kCddaBox});
  for (const int id : {kOldFormat, kNewFormat}) findChild<QWidget*>(IdName(id))->setEnabled(false);
  ShowText(outputName_, state.outputName);
  ShowText(decodingTime_, state.decodingTime);
  ShowText(pluginName_, state.pluginName);
  ShowText(targetFileName_, state.targetFileName);
  {
    const QSignalBlocker quiet(priority_);
    priority_->setValue(state.priorityPosition);
  }
  priorityLabel_->setText(QString::fromStdString(state.priorityLabel));
  progress_->setValue(state.progressPosition);
  percent_->setText(QString::fromStdString(state.progressLabel));
  decode_->setText(QString::fromStdString(state.decodeButtonText));
}

}  // namespace kestrel::gui
