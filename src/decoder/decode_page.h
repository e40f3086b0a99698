#pragma once
// The "Wave Decode" page of the main window: what a decode renders and where to, its
// progress, "Decode" and "Abort". The page forwards edits and clicks; the controller's
// decode page state says what is shown and what is greyed.

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class DecodePage : public QWidget {
 public:
  DecodePage(Controller& controller, QWidget* parent = nullptr);
  // Shows the controller's state of this page again.
  void Refresh();

 private:
  void Click(int id);

  Controller& controller_;
  QLineEdit* outputName_ = nullptr;
  QLineEdit* decodingTime_ = nullptr;
  QLineEdit* pluginName_ = nullptr;
  QLineEdit* targetFileName_ = nullptr;
  QSlider* priority_ = nullptr;
  QLabel* priorityLabel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* percent_ = nullptr;
  QPushButton* decode_ = nullptr;
};

}  // namespace kestrel::gui
