#include "app/gui/single_instance.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>

#include "app/gui/mpris_service.h"

namespace kestrel::gui {

HandOver HandToRunningInstance(QDBusConnection& bus, const QString& file, int timeoutMs) {
  const QString name = QString::fromLatin1(kMprisBusName);
  if (!bus.interface()->isServiceRegistered(name).value()) return HandOver::NoInstance;
  const auto call = [&](const char* interface, const char* method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(name, QString::fromLatin1(kMprisObjectPath),
                                                          QString::fromLatin1(interface), QString::fromLatin1(method));
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, timeoutMs);
  };
  QDBusMessage reply;
  if (!file.isEmpty()) {
    reply = call(kMprisPlayerInterface, "OpenUri", {QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)});
  } else {
    reply = call(kMprisRootInterface, "Raise", {});
  }
  if (reply.type() == QDBusMessage::ErrorMessage) {
    // The owner went away in between: this start takes its place.
    return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ? HandOver::NoInstance
                                                                                          : HandOver::NoAnswer;
  }
  if (!file.isEmpty()) (void)call(kMprisRootInterface, "Raise", {});
  return HandOver::Done;
}

QString SecondInstanceBusName() {
  return QString::fromLatin1(kMprisBusName) + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
}

}  // namespace kestrel::gui
