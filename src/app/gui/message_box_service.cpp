#include "app/gui/message_box_service.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <chrono>
#include <future>

namespace kestrel::gui {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

MessageAnswer DefaultAnswer(const Message& message) {
  return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace

MessageBoxService::MessageBoxService(QWidget* owner) : QObject(owner), owner_(owner) {
  previous_ = MessagePort::SetHandler([this](const Message& message) { return Ask(message); });
}

MessageBoxService::~MessageBoxService() {
  Close();
  MessagePort::SetHandler(previous_);
}

void MessageBoxService::Close() { closed_->store(true); }

MessageAnswer MessageBoxService::ShowNow(QWidget* owner, const Message& message) {
  QMessageBox box(IconOf(message.icon), QString::fromStdString(message.caption),
                  QString::fromStdString(message.text),
                  message.buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  owner);
  box.setObjectName(QStringLiteral("messageBox"));
  if (!message.reason.empty()) box.setInformativeText(QString::fromStdString(message.reason));
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return DefaultAnswer(message);
  }
}

MessageAnswer MessageBoxService::Ask(const Message& message) {
  if (closed_->load()) return DefaultAnswer(message);
  if (QThread::currentThread() == thread()) return ShowNow(owner_, message);

  auto answer = std::make_shared<std::promise<MessageAnswer>>();
  std::future<MessageAnswer> future = answer->get_future();
  QMetaObject::invokeMethod(
      this,
      [this, answer, message, closed = closed_] {
        answer->set_value(closed->load() ? DefaultAnswer(message) : ShowNow(owner_, message));
      },
      Qt::QueuedConnection);
  // The user-interface thread may be closing and waiting for this very thread.
  while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    if (closed_->load()) return DefaultAnswer(message);
  }
  return future.get();
}

}  // namespace kestrel::gui
