#pragma once
// How the core's threads show a message box to whichever front end runs them. The call
// blocks the calling thread until the front end has the answer, as a modal box does.

#include <functional>
#include <string>

namespace kestrel {

enum class MessageIcon { Information, Exclamation, Stop, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::Information;
  MessageButtons buttons = MessageButtons::Ok;
  // Why, in the system's own words (the loader's text, errno's), when the text only says what
  // to do about it. A window shows it under the text; a terminal, where advice such as "select
  // from list" has no place, shows it instead of the text.
  std::string reason = {};
};

// What a terminal prints of a message.
inline const std::string& TerminalText(const Message& message) {
  return message.reason.empty() ? message.text : message.reason;
}

// A progress bar and its label, as a long job on a core thread reports them.
struct Progress {
  int position = 0;
  int maximum = 1000;
  std::string label;
};

class MessagePort {
 public:
  using Handler = std::function<MessageAnswer(const Message&)>;

  // Installs the front end's handler (called on the asking thread; a GUI forwards it to
  // its own thread and waits). Returns the previous one. Without a handler, messages go
  // to standard error and questions are answered No, so nothing changes unasked.
  static Handler SetHandler(Handler handler);

  static MessageAnswer Show(const Message& message);
  static MessageAnswer Show(std::string text, std::string caption, MessageIcon icon,
                            MessageButtons buttons = MessageButtons::Ok);

  // Progress goes to the front end's progress handler (called on the reporting thread,
  // which must not wait for it); without one it is dropped. Returns the previous one.
  using ProgressHandler = std::function<void(const Progress&)>;
  static ProgressHandler SetProgressHandler(ProgressHandler handler);
  static void PublishProgress(const Progress& progress);
};

}  // namespace kestrel
