#include "app/option_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/command_ids.h"
#include "app/controller.h"
#include "app/gui/control_binding.h"
#include "app/option_tables.h"

namespace kestrel::gui {
namespace {

using namespace ctl;

constexpr int kPriorityLabel = 1083;
constexpr int kRefreshLabel = 1087;
constexpr int kFirstColorLabel = 1095;  // 1095..1097, beside 1092..1094

constexpr std::initializer_list<int> kCheckable = {kSingleRadio, kRepeatRadio,    kChainRadio,       kRepeatChainRadio,
                                                   kLimiter,     kFadeOut,        kFadeIn,           kDynamicOrchestra,
                                                   kCompulsivePause, kSpecifyBackImage, kGridLine};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

OptionPage::OptionPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {
  auto check = [this](QAbstractButton* button, int id) {
    Named(button, id);
    button->setCheckable(true);
    connect(button, &QAbstractButton::clicked, this, [this, id] { Click(id); });
    return button;
  };
  auto radio = [&](const char* text, int id) {
    auto* button = new QRadioButton(QString::fromUtf8(text));
    // The controller keeps the four in one group; Qt's own exclusivity would fight it.
    button->setAutoExclusive(false);
    return check(button, id);
  };
  auto box = [&](const char* text, int id) { return check(new QCheckBox(QString::fromUtf8(text)), id); };

  auto* mode = new QGroupBox(QStringLiteral("PlayBack Mode"));
  auto* modeLayout = new QVBoxLayout(mode);
  modeLayout->addWidget(radio("Single Play (default)", kSingleRadio));
  modeLayout->addWidget(radio("Enable Repeat Play (play same music infinity)", kRepeatRadio));
  modeLayout->addWidget(radio("Enable Chain Play (1 loop chain play)", kChainRadio));
  modeLayout->addWidget(radio("Enable Repeat && Chain Play (play selected music infinity)", kRepeatChainRadio));

  QStringList tempoRows;
  for (const TempoRow& row : kTempoTable) tempoRows << QString::fromUtf8(row.listText);
  auto* speed = new QGroupBox(QStringLiteral("PlayBack Speed"));
  auto* speedLayout = new QHBoxLayout(speed);
  tempo_ = DropDown(kTempoList, tempoRows);
  speedLayout->addWidget(tempo_, 1);
  speedLayout->addWidget(box("Enable Limitter", kLimiter));

  auto* priority = new QGroupBox(QStringLiteral("PlayBack Process PriorityLevel"));
  auto* priorityLayout = new QVBoxLayout(priority);
  priority_ = Slider(kPrioritySlider, 1, static_cast<int>(kPriorityTable.size()), 1);
  priorityLabel_ = Named(new QLabel, kPriorityLabel);
  priorityLabel_->setAlignment(Qt::AlignCenter);
  priorityLayout->addWidget(priority_);
  priorityLayout->addWidget(priorityLabel_);

  auto* extend = new QGroupBox(QStringLiteral("Extend Option (Experimental)"));
  auto* extendLayout = new QVBoxLayout(extend);
  extendLayout->addWidget(box("Enable FadeOut (for specific plugin)", kFadeOut));
  extendLayout->addWidget(box("Enable FadeIn (for specific plugin)", kFadeIn));
  extendLayout->addWidget(box("Enable Dynamic Orchestra", kDynamicOrchestra));
  extendLayout->addWidget(box("Enable Compulsive Pause operation (for VAG stream)", kCompulsivePause));

  QStringList drawTypes, colors;
  for (const std::string_view name : kAnalyzerDrawTypeNames) drawTypes << Text(name);
  for (const ColorScheme& scheme : kColorSchemes) colors << Text(scheme.name);
  auto* analyzer = new QGroupBox(QStringLiteral("Analyzer Option"));
  auto* analyzerLayout = new QGridLayout(analyzer);
  drawType_ = DropDown(kDrawTypeList, drawTypes);
  color_ = DropDown(kColorList, colors);
  refresh_ = Slider(kRefreshSlider, 20, 100, 10);
  refreshLabel_ = Named(new QLabel, kRefreshLabel);
  refreshLabel_->setAlignment(Qt::AlignCenter);
  analyzerLayout->addWidget(new QLabel(QStringLiteral("DrawType :")), 0, 0);
  analyzerLayout->addWidget(drawType_, 0, 1);
  analyzerLayout->addWidget(new QLabel(QStringLiteral("AnalyzerColor :")), 1, 0);
  analyzerLayout->addWidget(color_, 1, 1);
  analyzerLayout->addWidget(refresh_, 2, 0, 1, 2);
  analyzerLayout->addWidget(refreshLabel_, 3, 0, 1, 2);
  analyzerLayout->setColumnStretch(1, 1);

  auto* textColor = new QGroupBox(QStringLiteral("TextColor"));
  auto* textColorLayout = new QGridLayout(textColor);
  const char* const channels[3] = {"R :", "G :", "B :"};
  for (int i = 0; i < 3; ++i) {
    colorSliders_[i] = Slider(kRedSlider + i, 0, 255, 0);
    colorLabels_[i] = Named(new QLabel, kFirstColorLabel + i);
    // Room for "255", so the slider does not shift as the number grows.
    colorLabels_[i]->setMinimumWidth(colorLabels_[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    colorLabels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    textColorLayout->addWidget(new QLabel(QString::fromUtf8(channels[i])), i, 0);
    textColorLayout->addWidget(colorSliders_[i], i, 1);
    textColorLayout->addWidget(colorLabels_[i], i, 2);
  }
  textColorLayout->setColumnStretch(1, 1);

  auto* backImage = new QGroupBox(QStringLiteral("BackImage"));
  auto* backImageLayout = new QGridLayout(backImage);
  backImagePath_ = Named(new QLineEdit, kBackImagePath);
  connect(backImagePath_, &QLineEdit::textEdited, this,
          [this](const QString& text) { controller_.EditPageField(kBackImagePath, text.toStdString()); });
  auto* chooseBackImage = Named(new QPushButton(QStringLiteral("...")), kChooseBackImage);
  chooseBackImage->setFixedWidth(chooseBackImage->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
  connect(chooseBackImage, &QPushButton::clicked, this, [this] { Click(kChooseBackImage); });
  backImageLayout->addWidget(box("Specify BackImage File Path", kSpecifyBackImage), 0, 0, 1, 2);
  backImageLayout->addWidget(backImagePath_, 1, 0);
  backImageLayout->addWidget(chooseBackImage, 1, 1);

  auto* design = new QGroupBox(QStringLiteral("List Design (SPUFile List)"));
  auto* designLayout = new QVBoxLayout(design);
  designLayout->addWidget(textColor);
  designLayout->addWidget(backImage);
  designLayout->addWidget(box("Enable Glid Line", kGridLine));

  auto* left = new QVBoxLayout;
  left->addWidget(mode);
  left->addWidget(speed);
  left->addWidget(priority);
  left->addWidget(extend);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(analyzer);
  right->addWidget(design);
  right->addStretch();
  auto* page = new QHBoxLayout(this);
  page->addLayout(left, 1);
  page->addLayout(right, 1);
}

QSlider* OptionPage::Slider(int id, int minimum, int maximum, int tickInterval) {
  auto* slider = Named(new QSlider(Qt::Horizontal), id);
  slider->setRange(minimum, maximum);
  slider->setPageStep(tickInterval > 0 ? tickInterval : 16);
  if (tickInterval > 0) {
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
  }
  connect(slider, &QSlider::valueChanged, this, [this, id](int position) {
    controller_.HorizontalSlider(id, SliderCode::Track, position);
    Refresh();
  });
  return slider;
}

QComboBox* OptionPage::DropDown(int id, const QStringList& rows) {
  auto* list = Named(new QComboBox, id);
  list->addItems(rows);
  list->setMaxVisibleItems(static_cast<int>(rows.size()));
  // Only a chosen row counts; closing the list without one sends nothing.
  connect(list, &QComboBox::activated, this, [this, id](int row) {
    controller_.PageCommandDispatch(id, PageNotification::SelectionConfirmed, row);
    Refresh();
  });
  return list;
}

void OptionPage::Click(int id) {
  controller_.PageCommandDispatch(id);
  Refresh();
}

void OptionPage::Refresh() {
  const AppSettings& s = controller_.Settings();
  const ControlStates& controls = controller_.OptionPage().controls;
  ApplyEnabled(this, controls);
  ApplyChecked(this, controls, kCheckable);
  const auto show = [](QComboBox* list, int row) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(row >= 0 && row < list->count() ? row : -1);
  };
  show(tempo_, s.PlayBackTempo);
  show(drawType_, s.AnalyzerType);
  show(color_, s.AnalyzerColor);
  const auto place = [](QSlider* slider, QLabel* label, int position, const std::string& text) {
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
    label->setText(QString::fromStdString(text));
  };
  place(priority_, priorityLabel_, s.PlayBackPriority, s.playBackPriorityLabel);
  place(refresh_, refreshLabel_, s.AnalyzerRefreshRate, s.refreshRateLabel);
  const int colors[3] = {s.ListTextColorR, s.ListTextColorG, s.ListTextColorB};
  for (std::size_t i = 0; i < 3; ++i) place(colorSliders_[i], colorLabels_[i], colors[i], s.textColorLabels[i]);
  const QString path = QString::fromStdString(s.ListBackImagePath);
  if (backImagePath_->text() != path) backImagePath_->setText(path);
}

}  // namespace kestrel::gui
