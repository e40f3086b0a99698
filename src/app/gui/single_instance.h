#pragma once
// One program window per desktop session: a second start hands its file to the instance
// that owns the player's bus name, and ends.

#include <QDBusConnection>
#include <QString>

namespace kestrel::gui {

enum class HandOver {
  NoInstance,  // nobody owns the name: this start runs on its own
  Done,        // the running instance took the file, or came to the front
  NoAnswer,    // an owner that did not answer in time, or refused
};

// Asks the running instance to play `file` (an absolute path), or with an empty `file` to
// show its window.
HandOver HandToRunningInstance(QDBusConnection& bus, const QString& file, int timeoutMs);

// The bus name of an instance that runs beside the first one.
QString SecondInstanceBusName();

}  // namespace kestrel::gui
