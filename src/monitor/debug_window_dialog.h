#pragma once
// The debug window: a window of its own, without owner, showing the raw envelope, volume
// and pitch registers of the 24 voices on two tabs. It reads the controller's debug window
// state on each 20 ms tick.

#include <QDialog>

#include <array>

#include "abi/spu_registers.h"

class QLineEdit;
class QTabWidget;

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class DebugWindowDialog : public QDialog {
 public:
  explicit DebugWindowDialog(Controller& controller);
  // Shows the controller's debug window state again (each 20 ms tick).
  void Refresh();

  QTabWidget* Tabs() const { return tabs_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  Controller& controller_;
  QTabWidget* tabs_;
  std::array<QLineEdit*, spu_reg::kVoiceCount> envelope_{};
  std::array<QLineEdit*, 2 * spu_reg::kVoiceCount> volume_{};
  std::array<QLineEdit*, spu_reg::kVoiceCount> pitch_{};
};

}  // namespace kestrel::gui
