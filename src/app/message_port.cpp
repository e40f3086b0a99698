#include "app/message_port.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace kestrel {
namespace {

std::mutex handlerMutex;
MessagePort::Handler& CurrentHandler() {
  static MessagePort::Handler handler;
  return handler;
}

MessagePort::ProgressHandler& CurrentProgressHandler() {
  static MessagePort::ProgressHandler handler;
  return handler;
}

MessageAnswer ShowOnStandardError(const Message& message) {
  std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
  return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace

MessagePort::Handler MessagePort::SetHandler(Handler handler) {
  std::lock_guard lock(handlerMutex);
  return std::exchange(CurrentHandler(), std::move(handler));
}

MessageAnswer MessagePort::Show(const Message& message) {
  Handler handler;
  {
    std::lock_guard lock(handlerMutex);
    handler = CurrentHandler();
  }
  return handler ? handler(message) : ShowOnStandardError(message);
}

MessageAnswer MessagePort::Show(std::string text, std::string caption, MessageIcon icon,
                                MessageButtons buttons) {
  return Show(Message{std::move(text), std::move(caption), icon, buttons});
}

MessagePort::ProgressHandler MessagePort::SetProgressHandler(ProgressHandler handler) {
  std::lock_guard lock(handlerMutex);
  return std::exchange(CurrentProgressHandler(), std::move(handler));
}

void MessagePort::PublishProgress(const Progress& progress) {
  ProgressHandler handler;
  {
    std::lock_guard lock(handlerMutex);
    handler = CurrentProgressHandler();
  }
  if (handler) handler(progress);
}

}  // namespace kestrel
