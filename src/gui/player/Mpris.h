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
    bool CanQuit() const { return false; }
    bool CanRaise() const { return window_ != nullptr; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return "Mavelo"; }
    QString DesktopEntry() const { return "mavelo"; }
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

  public slots:
    void Raise();
    void Quit() {}

  private:
    QWidget* window_;
};

class TMprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool Shuffle READ Shuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanControl)
    Q_PROPERTY(bool CanGoPrevious READ CanControl)
    Q_PROPERTY(bool CanPlay READ CanControl)
    Q_PROPERTY(bool CanPause READ CanControl)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
  public:
    TMprisPlayer(QObject* parent, TPlayerController& player)
        : QDBusAbstractAdaptor(parent), player_(player) {}
    QString PlaybackStatus() const;
    double Rate() const { return 1.0; }
    bool Shuffle() const;
    QVariantMap Metadata() const;
    double Volume() const;
    qlonglong Position() const;
    bool CanControl() const { return true; }
    bool CanSeek() const { return false; }

  public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();

  signals:
    void Seeked(qlonglong position);

  private:
    TPlayerController& player_;
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
    void NotifyChanged(const QStringList& names);

    QDBusConnection bus_;
    TMprisPlayer* playerAdaptor_ = nullptr;
    QString serviceName_;
};
