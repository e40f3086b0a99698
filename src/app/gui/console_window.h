#pragma once
// The console: a window of plain monospaced text, each line shown as it is written, and the
// same lines on standard output when the program was started from a terminal.

#include <QWidget>

#include "platform/console_log.h"

class QPlainTextEdit;

namespace kestrel::gui {

class ConsoleWindow : public QWidget {
 public:
  ConsoleWindow();

  // Where the console log's lines go; callable from any thread.
  ConsoleLog::Output Output();
  void AppendLine(const QString& line);
  QString Text() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace kestrel::gui
