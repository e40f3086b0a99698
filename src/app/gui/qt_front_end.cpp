#include "app/gui/qt_front_end.h"

#include <QProcess>
#include <QStandardPaths>

#include "app/controller.h"

namespace kestrel::gui {

QtFrontEnd::QtFrontEnd(WindowServices& window) : window_(window) {
  for (const AppTimer timer : {AppTimer::Shell, AppTimer::Refresh, AppTimer::Debug}) {
    QTimer& t = TimerOf(timer);
    t.setTimerType(Qt::PreciseTimer);
    QObject::connect(&t, &QTimer::timeout, this, [this, timer] { window_.Control().OnTimer(timer); });
  }
}

void QtFrontEnd::Post(std::function<void()> work) {
  // Thread-safe: a queued call runs on this object's thread, in the event loop.
  QMetaObject::invokeMethod(this, [work = std::move(work)] { work(); }, Qt::QueuedConnection);
}

void QtFrontEnd::StartTimer(AppTimer timer, int periodMs) { TimerOf(timer).start(periodMs); }

void QtFrontEnd::StopTimer(AppTimer timer) { TimerOf(timer).stop(); }

bool QtFrontEnd::TimerRuns(AppTimer timer) const {
  return timers_[static_cast<std::size_t>(timer)].isActive();
}

void QtFrontEnd::StopAllTimers() {
  for (QTimer& timer : timers_) timer.stop();
}

// The first volume control of the desktops we know that is installed; none is no error.
void QtFrontEnd::OpenVolumeControl() {
  static const char* const kPrograms[] = {"pavucontrol", "pavucontrol-qt", "mate-volume-control",
                                          "gnome-control-center", "xfce4-mixer", "kmix", "alsamixergui"};
  for (const char* program : kPrograms) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
    if (path.isEmpty()) continue;
    const QStringList arguments =
        path.endsWith(QLatin1String("gnome-control-center")) ? QStringList{QStringLiteral("sound")} : QStringList{};
    QProcess::startDetached(path, arguments);
    return;
  }
}

}  // namespace kestrel::gui
