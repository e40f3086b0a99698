#include "platform/message_port.h"

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

// Handlers are swapped and copied under the lock and called outside it, so a handler
// may block (a modal box) or set another.
template <typename Handler>
Handler SwapHandler(Handler& slot, Handler next) {
  std::lock_guard lock(handlerMutex);
  return std::exchange(slot, std::move(next));
}
template <typename Handler>
Handler CopyHandler(const Handler& slot) {
  std::lock_guard lock(handlerMutex);
  return slot;
}

MessageAnswer ShowOnStandardError(const Message& message) {
  std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), TerminalText(message).c_str());
  return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace

MessagePort::Handler MessagePort::SetHandler(Handler handler) {
  return SwapHandler(CurrentHandler(), std::move(handler));
}

MessageAnswer MessagePort::Show(const Message& message) {
  const Handler handler = CopyHandler(CurrentHandler());
  return handler ? handler(message) : ShowOnStandardError(message);
}

MessageAnswer MessagePort::Show(std::string text, std::string caption, MessageIcon icon,
                                MessageButtons buttons) {
  return Show(Message{std::move(text), std::move(caption), icon, buttons});
}

MessagePort::ProgressHandler MessagePort::SetProgressHandler(ProgressHandler handler) {
  return SwapHandler(CurrentProgressHandler(), std::move(handler));
}

void MessagePort::PublishProgress(const Progress& progress) {
  const ProgressHandler handler = CopyHandler(CurrentProgressHandler());
  if (handler) handler(progress);
}

}  // namespace kestrel
