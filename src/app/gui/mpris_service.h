#pragma once
// The program as a media player on the session bus (MPRIS 2), so that desktops, their media
// keys and their sound menus can see and drive it. It translates only: what each request
// does, and what is possible, is the controller's (Controller::Remote*).

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include "app/remote_control.h"

namespace kestrel {
class Controller;
}

namespace kestrel::gui {

class MainWindow;
class MprisPlayer;

inline constexpr const char* kMprisBusName = "org.mpris.MediaPlayer2.KestrelSpuPlayer";
inline constexpr const char* kMprisObjectPath = "/org/mpris/MediaPlayer2";
inline constexpr const char* kMprisRootInterface = "org.mpris.MediaPlayer2";
inline constexpr const char* kMprisPlayerInterface = "org.mpris.MediaPlayer2.Player";

class MprisService : public QObject {
  Q_OBJECT

 public:
  MprisService(MainWindow& window, QDBusConnection bus);
  // Gives the name and the object up, and stops listening to the window.
  ~MprisService() override;
  MprisService(const MprisService&) = delete;
  MprisService& operator=(const MprisService&) = delete;

  // Exports the object, then takes `busName`; false, with nothing taken, when the object
  // cannot be exported or the name is someone else's.
  bool Register(const QString& busName);

  Controller& Control();
  MainWindow& Window() { return window_; }
  // The state last published, and the state now.
  const RemoteState& Published() const { return published_; }
  RemoteState Now();
  static QString TrackId(const RemoteState& state);
  static QVariantMap Metadata(const RemoteState& state);

 private:
  // Sends PropertiesChanged for what differs from the state last published.
  void Publish();

  MainWindow& window_;
  MprisPlayer* player_ = nullptr;
  QDBusConnection bus_;
  QString busName_;
  RemoteState published_;
  bool publishQueued_ = false;
};

class MprisRoot : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool HasTrackList READ HasTrackList)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

 public:
  explicit MprisRoot(MprisService& service);
  bool CanQuit() const { return true; }
  bool CanRaise() const { return true; }
  bool HasTrackList() const { return false; }
  QString Identity() const;
  QString DesktopEntry() const;
  QStringList SupportedUriSchemes() const;
  QStringList SupportedMimeTypes() const;

 public Q_SLOTS:
  void Raise();
  void Quit();

 private:
  MprisService& service_;
};

class MprisPlayer : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ Rate)
  Q_PROPERTY(double MinimumRate READ MinimumRate)
  Q_PROPERTY(double MaximumRate READ MaximumRate)
  Q_PROPERTY(double Volume READ Volume)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanControl)

 public:
  explicit MprisPlayer(MprisService& service);
  static QString StatusText(RemoteStatus status);
  QString PlaybackStatus() { return StatusText(service_.Now().status); }
  double Rate() { return service_.Now().rate; }
  double MinimumRate() const;
  double MaximumRate() const;
  double Volume() const { return 1.0; }
  QVariantMap Metadata() { return MprisService::Metadata(service_.Now()); }
  qlonglong Position();
  bool CanGoNext() { return service_.Now().canGoNext; }
  bool CanGoPrevious() { return service_.Now().canGoPrevious; }
  bool CanPlay() { return service_.Now().canPlay; }
  bool CanPause() { return service_.Now().canPause; }
  bool CanSeek() { return service_.Now().canSeek; }
  bool CanControl() const { return true; }

 public Q_SLOTS:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong offset);
  void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
  void OpenUri(const QString& uri);

 Q_SIGNALS:
  void Seeked(qlonglong position);

 private:
  MprisService& service_;
};

}  // namespace kestrel::gui
