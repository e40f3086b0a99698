#pragma once
// Answers the message port's questions for the length of a test and records what it showed
// (YesNo questions get `answer`, the rest Ok).

#include <string>
#include <vector>

#include "platform/message_port.h"

namespace kestrel::test {

class AnswerScope {
 public:
  explicit AnswerScope(MessageAnswer answer) {
    previous_ = MessagePort::SetHandler([this, answer](const Message& m) {
      shown.push_back(m.text);
      messages.push_back(m);
      return m.buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
    });
  }
  ~AnswerScope() { MessagePort::SetHandler(previous_); }
  AnswerScope(const AnswerScope&) = delete;
  AnswerScope& operator=(const AnswerScope&) = delete;

  std::vector<std::string> shown;
  std::vector<Message> messages;

 private:
  MessagePort::Handler previous_;
};

}  // namespace kestrel::test
