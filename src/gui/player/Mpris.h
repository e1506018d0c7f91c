#pragma once
// The desktop's media keys and panels: an MPRIS2 service on the session bus
// ("org.mpris.MediaPlayer2.mavelo") that shows what plays and forwards
// play, pause, next, previous and stop to the player.  Without a session bus
// nothing is registered and nothing is said.
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

class TPlayerController;

// org.mpris.MediaPlayer2: the program itself.  Quit closes the window as the
// end of the desktop session does (the list saved without questions).
class TMprisRoot : public QDBusAbstractAdaptor {
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
    TMprisRoot(QObject* parent, QWidget* window) : QDBusAbstractAdaptor(parent), window_(window) {}
    bool CanQuit() const { return window_ != nullptr; }
    bool CanRaise() const { return window_ != nullptr; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return "Mavelo"; }
    QString DesktopEntry() const { return "org.mavelo.Mavelo"; }
    QStringList SupportedUriSchemes() const { return {"file"}; }
    QStringList SupportedMimeTypes() const;

  public slots:
    void Raise();
    void Quit();

  private:
    QWidget* window_;
};

// org.mpris.MediaPlayer2.Player: what plays, and the transport.  Times are
// in microseconds, as the interface counts them.
class TMprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanControl)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
  public:
    TMprisPlayer(QObject* parent, TPlayerController& player)
        : QDBusAbstractAdaptor(parent), player_(player) {}
    QString PlaybackStatus() const;
    double Rate() const { return 1.0; }
    void SetRate(double) {}  // one rate only
    bool Shuffle() const;
    void SetShuffle(bool on);
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double volume);
    qlonglong Position() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPause() const;
    bool CanSeek() const;
    bool CanControl() const { return true; }
    // The object path that names the song now playing; a new one each time a
    // song starts, so that a position meant for an earlier song is ignored.
    QDBusObjectPath TrackId() const;
    void SongChanged() { ++songSerial_; }

  public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri);

  signals:
    void Seeked(qlonglong position);

  private:
    TPlayerController& player_;
    quint64 songSerial_ = 0;
};

class TMprisService : public QObject {
    Q_OBJECT
  public:
    // Registers on the session bus (or the given connection); does nothing
    // when there is no bus.
    TMprisService(TPlayerController& player, QWidget* window,
                  QDBusConnection bus = QDBusConnection::sessionBus());
    ~TMprisService() override;
    bool Registered() const { return !serviceName_.isEmpty(); }
    QString ServiceName() const { return serviceName_; }

  private:
    // Announces the properties that differ from what was announced last.
    void AnnounceChanges();

    QDBusConnection bus_;
    TMprisPlayer* playerAdaptor_ = nullptr;
    QString serviceName_;
    QVariantMap announced_;
};
