// The player on the session bus, seen by a client as the desktop sees it (run on a bus of
// its own): the MPRIS properties, commands and signals over a demo log, and the hand-over of
// a second start's file to the running instance.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

#include "app/gui/mpris_service.h"
#include "gui_fixture.h"
#include "support/temp_folder.h"

namespace kestrel::test {
namespace {

const QString kName = QString::fromLatin1(gui::kMprisBusName);
const QString kPath = QString::fromLatin1(gui::kMprisObjectPath);
const QString kPlayer = QString::fromLatin1(gui::kMprisPlayerInterface);
const QString kRoot = QString::fromLatin1(gui::kMprisRootInterface);

QVariant Plain(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
  return value;
}

// A client on a connection of its own; its calls let this thread serve the player meanwhile.
class Client : public QObject {
  Q_OBJECT

 public:
  explicit Client(const QString& service = kName)
      : service_(service), bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"))) {
    bus_.connect(service_, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                 this, SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList)));
    bus_.connect(service_, kPath, kPlayer, QStringLiteral("Seeked"), this, SLOT(OnSeeked(qlonglong)));
  }
  ~Client() override { QDBusConnection::disconnectFromBus(QStringLiteral("client")); }

  QDBusMessage Call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(service_, kPath, interface, method);
    message.setArguments(arguments);
    return bus_.call(message, QDBus::BlockWithGui, 5000);
  }
  QVariant Get(const QString& interface, const QString& property) {
    const QDBusMessage reply = Call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                    {interface, property});
    if (reply.type() != QDBusMessage::ReplyMessage) return {};
    return Plain(reply.arguments().value(0).value<QDBusVariant>().variant());
  }
  bool Owned(const QString& name) { return bus_.interface()->isServiceRegistered(name).value(); }

  // The value of `property` in the latest PropertiesChanged that carried it.
  QVariant LastSignalled(const QString& property) const { return signalled_.value(property); }
  void ForgetSignals() { signalled_.clear(); }
  QList<qlonglong> seeked;

 private Q_SLOTS:
  void OnPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
    if (interface != kPlayer) return;
    for (auto it = changed.begin(); it != changed.end(); ++it) signalled_[it.key()] = Plain(it.value());
  }
  void OnSeeked(qlonglong position) { seeked << position; }

 private:
  QString service_;
  QDBusConnection bus_;
  QVariantMap signalled_;
};

QProcess* StartPlayer(const QStringList& arguments, const QString& folder) {
  auto* process = new QProcess;
  process->setWorkingDirectory(folder);
  process->start(QStringLiteral(KESTREL_PLAYER_PROGRAM), arguments);
  return process;
}

bool Ended(QProcess& process, int ms = 20000) {
  return WaitFor([&] { return process.state() == QProcess::NotRunning; }, ms);
}

}  // namespace

class MprisTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!QDBusConnection::sessionBus().isConnected()) QFAIL("no session bus: run this under dbus-run-session");
  }

  void AClientPlaysPausesSeeksAndStopsADemoLog() {
    GuiRuntime runtime;
    runtime.Start();
    gui::MprisService service(runtime.Window(), QDBusConnection::sessionBus());
    QVERIFY(service.Register(kName));
    Client client;
    QVERIFY(client.Owned(kName));
    QCOMPARE(client.Get(kRoot, QStringLiteral("Identity")).toString(), QStringLiteral("Kestrel SPU Player"));
    QCOMPARE(client.Get(kRoot, QStringLiteral("SupportedMimeTypes")).toStringList(),
             QStringList{QStringLiteral("application/x-kestrel-spu-log")});
    QCOMPARE(client.Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    QVERIFY(!client.Get(kPlayer, QStringLiteral("CanPause")).toBool());

    // Nothing chosen: Play takes the list's first entry.
    QVERIFY(!runtime.Control().FileList().entries.Selected());
    client.Call(kPlayer, QStringLiteral("Play"));
    QVERIFY(WaitFor([&] { return client.LastSignalled(QStringLiteral("PlaybackStatus")) == QStringLiteral("Playing"); }));
    const std::string& first = runtime.Control().FileList().entries.At(0).path;
    QVERIFY(WaitFor([&] { return client.LastSignalled(QStringLiteral("Metadata")).toMap().contains("mpris:length"); }));
    const QVariantMap metadata = client.LastSignalled(QStringLiteral("Metadata")).toMap();
    QCOMPARE(metadata.value("xesam:url").toString(), QUrl::fromLocalFile(QString::fromStdString(first)).toString());
    QVERIFY(!metadata.value("xesam:title").toString().isEmpty());
    const qlonglong length = metadata.value("mpris:length").toLongLong();
    QVERIFY(length > 10'000'000);
    QVERIFY(client.LastSignalled(QStringLiteral("CanPause")).toBool());

    client.Call(kPlayer, QStringLiteral("Pause"));
    QVERIFY(WaitFor([&] { return client.LastSignalled(QStringLiteral("PlaybackStatus")) == QStringLiteral("Paused"); }));
    client.Call(kPlayer, QStringLiteral("PlayPause"));
    QVERIFY(WaitFor([&] { return client.LastSignalled(QStringLiteral("PlaybackStatus")) == QStringLiteral("Playing"); }));

    QVERIFY(WaitFor([&] { return client.Get(kPlayer, QStringLiteral("CanSeek")).toBool(); }));
    const QVariant trackId = metadata.value("mpris:trackid");
    client.Call(kPlayer, QStringLiteral("SetPosition"), {trackId, length / 2});
    QVERIFY(WaitFor([&] { return !client.seeked.isEmpty(); }));
    const qlonglong moved = client.Get(kPlayer, QStringLiteral("Position")).toLongLong();
    QVERIFY2(moved > length / 2 - 1000 && moved < length / 2 + 2'000'000, QByteArray::number(moved));
    client.Call(kPlayer, QStringLiteral("Seek"), {qlonglong{-5'000'000}});
    QVERIFY(WaitFor([&] { return client.seeked.size() == 2; }));
    QVERIFY2(client.seeked[1] < length / 2 && client.seeked[1] > length / 2 - 5'001'000, QByteArray::number(client.seeked[1]));
    // A position for another track is stale, and ignored.
    client.Call(kPlayer, QStringLiteral("SetPosition"),
                {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/kestrel/SpuPlayer/Track/999"))), qlonglong{0}});
    QCOMPARE(client.seeked.size(), 2);

    client.Call(kPlayer, QStringLiteral("Stop"));
    QVERIFY(WaitFor([&] { return client.LastSignalled(QStringLiteral("PlaybackStatus")) == QStringLiteral("Stopped"); }));
    QVERIFY(WaitFor([&] { return !runtime.Control().Window().menu.Enabled(40015); }));
  }

  void ASecondStartHandsItsFileOverAndANewInstanceRunsBeside() {
    GuiRuntime runtime;
    runtime.Start();
    gui::MprisService service(runtime.Window(), QDBusConnection::sessionBus());
    QVERIFY(service.Register(kName));

    // A path relative to where the second start runs.
    std::unique_ptr<QProcess> second(StartPlayer({QStringLiteral("night_drive.spu")}, QString::fromStdString(runtime.logs)));
    QVERIFY(Ended(*second));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(WaitFor([&] { return runtime.Control().Remote().status == RemoteStatus::Playing; }));
    QCOMPARE(runtime.Control().Panel().path, runtime.DemoLog("night_drive.spu"));

    TempFolder elsewhere;
    std::unique_ptr<QProcess> beside(StartPlayer({QStringLiteral("--new-instance")}, QString::fromStdString(elsewhere.Path())));
    QVERIFY(beside->waitForStarted());
    const QString besideName = kName + QStringLiteral(".instance%1").arg(beside->processId());
    Client client(besideName);
    QVERIFY(WaitFor([&] { return client.Owned(besideName); }));
    QCOMPARE(client.Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    client.Call(kRoot, QStringLiteral("Quit"));
    QVERIFY(Ended(*beside));
    QCOMPARE(beside->exitCode(), 0);
  }

  void WithoutASessionBusItRunsAndSaysSo() {
    TempFolder folder;
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(QString::fromStdString(folder.Path()));
    player.start(QStringLiteral(KESTREL_PLAYER_PROGRAM), {});
    QByteArray said;
    QVERIFY(WaitFor([&] { return (said += player.readAllStandardError()).contains("* Warning : no D-Bus session bus"); }));
    QCOMPARE(player.state(), QProcess::Running);
    player.kill();
    QVERIFY(Ended(player));
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::MprisTest)
#include "mpris_test.moc"
