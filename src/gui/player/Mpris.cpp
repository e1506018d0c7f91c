#include "gui/player/Mpris.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QUrl>
#include <QWidget>

#include "core/FileSystem.h"
#include "gui/player/PlayerController.h"
#include "player/SoundSource.h"

namespace {
const char* const kObjectPath = "/org/mpris/MediaPlayer2";
const char* const kServiceName = "org.mpris.MediaPlayer2.mavelo";
}  // namespace

void TMprisRoot::Raise() {
    if (!window_) return;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

QString TMprisPlayer::PlaybackStatus() const {
    const TPlayList& queue = player_.Queue();
    if (queue.PausedIndex()) return "Paused";
    return queue.Current ? "Playing" : "Stopped";
}

bool TMprisPlayer::Shuffle() const {
    return player_.Queue().Shuffle;
}

double TMprisPlayer::Volume() const {
    return player_.Queue().Volume / 255.0;
}

QVariantMap TMprisPlayer::Metadata() const {
    const TPlayList& queue = player_.Queue();
    const TSong* song = queue.CurrentSong();
    if (!song) return {};
    const Tmp3& track = song->Track;
    QVariantMap data;
    data["mpris:trackid"] = QVariant::fromValue(QDBusObjectPath(
        QString("/org/mavelo/song/%1").arg(static_cast<qulonglong>(*queue.Current))));
    data["xesam:title"] = QString::fromStdString(
        track.Title.empty() ? ChangeFileExt(ExtractFileName(track.Path), "") : track.Title.str());
    if (!track.Artist.empty())
        data["xesam:artist"] = QStringList{QString::fromStdString(track.Artist)};
    if (!track.Album.empty()) data["xesam:album"] = QString::fromStdString(track.Album);
    if (track.Duration > 0) data["mpris:length"] = qlonglong(track.Duration) * 1000;
    if (!track.PicturePath.empty())
        data["mpris:artUrl"] =
            QUrl::fromLocalFile(QString::fromStdString(track.PicturePath)).toString();
    return data;
}

qlonglong TMprisPlayer::Position() const {
    const TPlayList& queue = player_.Queue();
    const TSong* song = queue.CurrentSong();
    if (!song) return 0;
    return song->Stream ? song->Stream->TimeMs() * 1000 : 0;
}

void TMprisPlayer::Next() {
    player_.NextCommand();
}
void TMprisPlayer::Previous() {
    player_.PreviousCommand();
}
void TMprisPlayer::Stop() {
    player_.StopCommand();
}

void TMprisPlayer::Pause() {
    if (player_.Queue().Current && !player_.Queue().PausedIndex()) player_.PauseCommand();
}

void TMprisPlayer::Play() {
    player_.PlayFromDesktop();
}

void TMprisPlayer::PlayPause() {
    if (player_.Queue().Current)
        player_.PauseCommand();
    else
        player_.PlayFromDesktop();
}

TMprisService::TMprisService(TPlayerController& player, QWidget* window, QDBusConnection bus)
    : QObject(&player), bus_(bus) {
    if (!bus_.isConnected()) return;
    new TMprisRoot(this, window);
    playerAdaptor_ = new TMprisPlayer(this, player);
    if (!bus_.registerObject(kObjectPath, this)) return;
    // A second running copy takes a name of its own.
    for (const QString& name :
         {QString(kServiceName), QString(kServiceName) + ".instance" +
                                     QString::number(QCoreApplication::applicationPid())})
        if (bus_.registerService(name)) {
            serviceName_ = name;
            break;
        }
    connect(&player, &TPlayerController::nowPlayingChanged, this, [this] {
        NotifyChanged({"Metadata", "PlaybackStatus"});
    });
    connect(&player, &TPlayerController::playbackChanged, this,
            [this] { NotifyChanged({"PlaybackStatus"}); });
}

TMprisService::~TMprisService() {
    if (!bus_.isConnected()) return;
    if (!serviceName_.isEmpty()) bus_.unregisterService(serviceName_);
    bus_.unregisterObject(kObjectPath);
}

void TMprisService::NotifyChanged(const QStringList& names) {
    if (serviceName_.isEmpty()) return;
    QVariantMap changed;
    for (const QString& name : names)
        changed[name] = playerAdaptor_->property(name.toLatin1().constData());
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties",
                                                     "PropertiesChanged");
    signal << QString("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    bus_.send(signal);
}
