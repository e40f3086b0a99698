#include "app/gui/mpris_service.h"

#include <QDBusMessage>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>

#include "app/command_ids.h"
#include "app/controller.h"
#include "app/gui/main_window.h"
#include "player/tempo_table.h"

namespace kestrel::gui {
namespace {

constexpr double kSamplesPerMicrosecond = 44100.0 / 1e6;

qlonglong Microseconds(std::uint32_t samples) {
  return static_cast<qlonglong>(static_cast<double>(samples) / kSamplesPerMicrosecond);
}

}  // namespace

MprisService::MprisService(MainWindow& window, QDBusConnection bus) : window_(window), bus_(std::move(bus)) {
  new MprisRoot(*this);
  player_ = new MprisPlayer(*this);
  // The controller's changes come in bursts (a start greys seven areas); one look at the
  // end of the burst is enough.
  window_.ListenToChanges([this] {
    if (publishQueued_) return;
    publishQueued_ = true;
    QTimer::singleShot(0, this, [this] {
      publishQueued_ = false;
      Publish();
    });
  });
}

MprisService::~MprisService() {
  window_.ListenToChanges(nullptr);
  if (busName_.isEmpty()) return;
  bus_.unregisterService(busName_);
  bus_.unregisterObject(QString::fromLatin1(kMprisObjectPath));
}

bool MprisService::Register(const QString& busName) {
  if (!busName_.isEmpty() || !bus_.registerObject(QString::fromLatin1(kMprisObjectPath), this)) return false;
  if (bus_.registerService(busName)) {
    busName_ = busName;
    published_ = Now();
    return true;
  }
  bus_.unregisterObject(QString::fromLatin1(kMprisObjectPath));
  return false;
}

Controller& MprisService::Control() { return window_.Control(); }

RemoteState MprisService::Now() { return Control().Remote(); }

QString MprisService::TrackId(const RemoteState& state) {
  if (state.track == 0) return QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
  return QStringLiteral("/org/kestrel/SpuPlayer/Track/%1").arg(state.track);
}

QVariantMap MprisService::Metadata(const RemoteState& state) {
  QVariantMap map;
  map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId(state))));
  if (state.track == 0) return map;
  map.insert(QStringLiteral("xesam:title"), QString::fromStdString(state.title));
  if (!state.album.empty()) map.insert(QStringLiteral("xesam:album"), QString::fromStdString(state.album));
  if (state.lengthSamples > 0) map.insert(QStringLiteral("mpris:length"), Microseconds(state.lengthSamples));
  map.insert(QStringLiteral("xesam:url"),
             QUrl::fromLocalFile(QString::fromStdString(state.path)).toString(QUrl::FullyEncoded));
  return map;
}

void MprisService::Publish() {
  if (!bus_.isConnected()) return;
  const RemoteState now = Now();
  const RemoteState& was = published_;
  QVariantMap changed;
  if (now.status != was.status) changed.insert(QStringLiteral("PlaybackStatus"), MprisPlayer::StatusText(now.status));
  if (now.track != was.track || now.title != was.title || now.album != was.album ||
      now.lengthSamples != was.lengthSamples || now.path != was.path) {
    changed.insert(QStringLiteral("Metadata"), Metadata(now));
  }
  const auto flag = [&](const char* name, bool a, bool b) {
    if (a != b) changed.insert(QString::fromLatin1(name), a);
  };
  flag("CanPlay", now.canPlay, was.canPlay);
  flag("CanPause", now.canPause, was.canPause);
  flag("CanGoNext", now.canGoNext, was.canGoNext);
  flag("CanGoPrevious", now.canGoPrevious, was.canGoPrevious);
  flag("CanSeek", now.canSeek, was.canSeek);
  if (now.rate != was.rate) changed.insert(QStringLiteral("Rate"), now.rate);
  const bool seeked = now.seeks != was.seeks;
  published_ = now;
  // Clients work the position out from the last one they were given and the rate; a jump
  // is the one change they are told of.
  if (seeked) emit player_->Seeked(Microseconds(now.positionSamples));
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kMprisObjectPath),
                                                   QStringLiteral("org.freedesktop.DBus.Properties"),
                                                   QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(kMprisPlayerInterface) << changed << QStringList();
  bus_.send(signal);
}

// ---- org.mpris.MediaPlayer2

MprisRoot::MprisRoot(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisRoot::Identity() const { return QStringLiteral("Kestrel SPU Player"); }

QString MprisRoot::DesktopEntry() const { return QGuiApplication::desktopFileName(); }

QStringList MprisRoot::SupportedUriSchemes() const { return {QStringLiteral("file")}; }

QStringList MprisRoot::SupportedMimeTypes() const { return {QStringLiteral("application/x-kestrel-spu-log")}; }

void MprisRoot::Raise() {
  MainWindow& window = service_.Window();
  window.showNormal();
  window.raise();
  window.activateWindow();
}

void MprisRoot::Quit() {
  // After the reply has gone: the exit ends the event loop that would send it.
  QTimer::singleShot(0, &service_, [this] { service_.Control().CommandDispatch(cmd::kExit); });
}

// ---- org.mpris.MediaPlayer2.Player

MprisPlayer::MprisPlayer(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisPlayer::StatusText(RemoteStatus status) {
  switch (status) {
    case RemoteStatus::Playing: return QStringLiteral("Playing");
    case RemoteStatus::Paused: return QStringLiteral("Paused");
    case RemoteStatus::Stopped: break;
  }
  return QStringLiteral("Stopped");
}

qlonglong MprisPlayer::Position() { return Microseconds(service_.Now().positionSamples); }

void MprisPlayer::Next() { service_.Control().RemoteNext(); }
void MprisPlayer::Previous() { service_.Control().RemotePrevious(); }
void MprisPlayer::Pause() { service_.Control().RemotePause(); }
void MprisPlayer::PlayPause() { service_.Control().RemotePlayPause(); }
void MprisPlayer::Stop() { service_.Control().RemoteStop(); }
void MprisPlayer::Play() { service_.Control().RemotePlay(); }

double MprisPlayer::MinimumRate() const { return kTempoTable.front().factor; }
double MprisPlayer::MaximumRate() const { return kTempoTable.back().factor; }

// Seeked follows from the controller's change, as for a move of the window's slider.
void MprisPlayer::Seek(qlonglong offset) {
  service_.Control().RemoteSeekBy(static_cast<double>(offset) * kSamplesPerMicrosecond);
}

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
  // A position meant for a log that is no longer the current one is stale.
  if (trackId.path() != MprisService::TrackId(service_.Now())) return;
  service_.Control().RemoteSetPosition(static_cast<double>(position) * kSamplesPerMicrosecond);
}

void MprisPlayer::OpenUri(const QString& uri) {
  const QUrl url(uri);
  QString path;
  if (url.isLocalFile()) {
    path = url.toLocalFile();
  } else if (url.scheme().isEmpty() && uri.startsWith(QLatin1Char('/'))) {
    path = uri;
  } else {
    return;  // not a scheme this player opens
  }
  service_.Control().OpenFile(path.toStdString());
}

}  // namespace kestrel::gui
