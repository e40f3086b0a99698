#include "app/gui/console_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <cstdio>
#include <unistd.h>

namespace kestrel::gui {

ConsoleWindow::ConsoleWindow() : text_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("consoleWindow"));
  setWindowTitle(QStringLiteral("Console"));
  text_->setReadOnly(true);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setMaximumBlockCount(20000);  // a long session does not grow without bound
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  resize(640, 360);
}

ConsoleLog::Output ConsoleWindow::Output() {
  const bool toTerminal = isatty(STDOUT_FILENO) != 0;
  QPointer<ConsoleWindow> window(this);
  return [window, toTerminal](std::string_view line) {
    if (toTerminal) {
      std::fwrite(line.data(), 1, line.size(), stdout);
      std::fflush(stdout);
    }
    QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    // The pointer is only looked at on the user-interface thread, where the window lives.
    QMetaObject::invokeMethod(
        qApp, [window, text] {
          if (window) window->AppendLine(text);
        }, Qt::QueuedConnection);
  };
}

void ConsoleWindow::AppendLine(const QString& line) { text_->appendPlainText(line); }

QString ConsoleWindow::Text() const { return text_->toPlainText(); }

}  // namespace kestrel::gui
