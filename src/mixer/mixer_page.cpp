#include "mixer/mixer_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/control_binding.h"

namespace kestrel::gui {

using namespace mixer_page;

MixerPage::MixerPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller) {
  auto* mixer = new QGroupBox(QStringLiteral("SPU Volume Mixer"));
  auto* grid = new QGridLayout(mixer);
  grid->setHorizontalSpacing(4);
  grid->addWidget(new QLabel(QStringLiteral("CH :")), 0, 0, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("Mute :")), 2, 0, Qt::AlignRight);
  for (int ch = 0; ch < kChannels; ++ch) {
    grid->addWidget(new QLabel(QString::number(ch)), 0, ch + 1, Qt::AlignHCenter);
    QSlider* slider = Named(new QSlider(Qt::Vertical), kFirstSlider + ch);
    // Position 0 at the top is full volume; the keys move the thumb the way they point.
    slider->setRange(kSliderTop, kSliderBottom);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setMinimumHeight(160);
    connect(slider, &QSlider::valueChanged, this, [this, ch](int position) {
      controller_.VerticalSlider(kFirstSlider + ch, position);
      Refresh();
    });
    sliders_[static_cast<std::size_t>(ch)] = slider;
    grid->addWidget(slider, 1, ch + 1, Qt::AlignHCenter);
    auto* mute = Named(new QCheckBox, kFirstMuteBox + ch);
    connect(mute, &QCheckBox::clicked, this, [this, id = kFirstMuteBox + ch] { Click(id); });
    grid->addWidget(mute, 2, ch + 1, Qt::AlignHCenter);
  }

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  buttons->addStretch();
  for (const auto& [text, id] : {std::pair{"Mute all", kMuteAll}, std::pair{"UnMute all", kUnmuteAll},
                                 std::pair{"Reset", kReset}}) {
    auto* button = Named(new QPushButton(QString::fromUtf8(text)), id);
    connect(button, &QPushButton::clicked, this, [this, id = id] { Click(id); });
    buttons->addWidget(button);
  }
  grid->addLayout(buttons, 3, 0, 1, kChannels + 1);

  auto* page = new QVBoxLayout(this);
  page->addWidget(mixer);
}

void MixerPage::Click(int id) {
  controller_.PageCommandDispatch(id);
  Refresh();
}

void MixerPage::Refresh() {
  const MixerPageState& state = controller_.MixerPage();
  for (int ch = 0; ch < kChannels; ++ch) {
    QSlider* slider = sliders_[static_cast<std::size_t>(ch)];
    const QSignalBlocker quiet(slider);
    slider->setValue(state.SliderPosition(ch));
  }
  for (int ch = 0; ch < kChannels; ++ch) ApplyChecked(this, state.controls, {kFirstMuteBox + ch});
}

}  // namespace kestrel::gui
