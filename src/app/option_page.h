#pragma once
// The "Player Option" page of the main window: play mode, tempo, priority, the extend
// options, the analyzer options and the SPU file list's design. Every control edits a
// setting through the controller; Refresh shows the settings again.

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class OptionPage : public QWidget {
 public:
  OptionPage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

 private:
  QSlider* Slider(int id, int minimum, int maximum, int tickInterval);
  QComboBox* DropDown(int id, const QStringList& rows);
  // Every click is forwarded, then the page shows what the controller made of it.
  void Click(int id);

  Controller& controller_;
  QComboBox* tempo_ = nullptr;
  QComboBox* drawType_ = nullptr;
  QComboBox* color_ = nullptr;
  QSlider* priority_ = nullptr;
  QLabel* priorityLabel_ = nullptr;
  QSlider* refresh_ = nullptr;
  QLabel* refreshLabel_ = nullptr;
  std::array<QSlider*, 3> colorSliders_{};
  std::array<QLabel*, 3> colorLabels_{};
  QLineEdit* backImagePath_ = nullptr;
};

}  // namespace kestrel::gui
