#pragma once
// The "Misc Option" page of the main window: the 24-voice mixer. The sliders and mute boxes
// show the channel mixer's state and hand every move and click to the controller.

#include <QWidget>

#include <array>

class QCheckBox;
class QSlider;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class MixerPage : public QWidget {
 public:
  MixerPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

 private:
  static constexpr int kChannels = 24;

  void Click(int id);

  Controller& controller_;
  std::array<QSlider*, kChannels> sliders_{};
};

}  // namespace kestrel::gui
