#pragma once
// Serves the core's MessagePort with QMessageBoxes owned by the main window. A box asked
// for on another thread is shown on the user-interface thread while the asking thread waits;
// once the window is closing, askers get the box's default answer instead of waiting for a
// loop that may itself be waiting for them.

#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>

#include "platform/message_port.h"

class QWidget;

namespace kestrel::gui {

class MessageBoxService : public QObject {
 public:
  explicit MessageBoxService(QWidget* owner);
  ~MessageBoxService() override;
  MessageBoxService(const MessageBoxService&) = delete;
  MessageBoxService& operator=(const MessageBoxService&) = delete;

  // From now on, no new box opens; waiting askers are answered at once.
  void Close();

  // Shows one box on this thread and returns the answer.
  static MessageAnswer ShowNow(QWidget* owner, const Message& message);

 private:
  MessageAnswer Ask(const Message& message);

  QPointer<QWidget> owner_;
  std::shared_ptr<std::atomic<bool>> closed_ = std::make_shared<std::atomic<bool>>(false);
  MessagePort::Handler previous_;
};

}  // namespace kestrel::gui
