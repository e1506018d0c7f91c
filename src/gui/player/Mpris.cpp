#include "gui/player/Mpris.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "core/FileSystem.h"
#include "gui/player/PlayerController.h"
#include "gui/shell/SignalClose.h"
#include "player/SoundSource.h"

namespace {
const char* const kObjectPath = "/org/mpris/MediaPlayer2";
const char* const kServiceName = "org.mpris.MediaPlayer2.mavelo";
const char* const kPlayerInterface = "org.mpris.MediaPlayer2.Player";
// The properties a panel shows and is told about when they change (Position
// runs on by itself and is announced only by Seeked).
const char* const kAnnounced[] = {"PlaybackStatus", "Metadata", "Volume",     "Shuffle",
                                  "CanGoNext",      "CanGoPrevious", "CanPause", "CanSeek"};
// How often queue edits, which raise no signal of their own, are looked for.
constexpr int kAnnounceIntervalMs = 1000;
}  // namespace

QStringList TMprisRoot::SupportedMimeTypes() const {
    return {"audio/mpeg",      "audio/ogg",      "audio/x-vorbis+ogg", "audio/opus",
            "audio/flac",      "audio/x-flac",   "audio/mp4",          "audio/x-m4a",
            "audio/x-ms-wma",  "audio/x-wav",    "audio/x-mod",        "audio/x-s3m",
            "audio/x-xm",      "audio/x-it",     "audio/x-mpegurl",    "audio/x-scpls",
            "inode/directory"};
}

void TMprisRoot::Raise() {
    if (!window_) return;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void TMprisRoot::Quit() {
    if (!window_) return;
    // After the reply has gone out: closing may take a while (the list is saved).
    QTimer::singleShot(0, window_, [window = window_] {
        window->setProperty(kClosingBySignal, true);
        window->close();
    });
}

QString TMprisPlayer::PlaybackStatus() const {
    const TPlayList& queue = player_.Queue();
    if (queue.PausedIndex()) return "Paused";
    return queue.Current ? "Playing" : "Stopped";
}

bool TMprisPlayer::Shuffle() const {
    return player_.Queue().Shuffle;
}

void TMprisPlayer::SetShuffle(bool on) {
    player_.SetShuffle(on);
}

double TMprisPlayer::Volume() const {
    return player_.Queue().Volume / 255.0;
}

void TMprisPlayer::SetVolume(double volume) {
    player_.SetVolumeLevel(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 255)));
}

QDBusObjectPath TMprisPlayer::TrackId() const {
    return QDBusObjectPath(QString("/org/mavelo/song/%1").arg(songSerial_));
}

QVariantMap TMprisPlayer::Metadata() const {
    const TPlayList& queue = player_.Queue();
    const TSong* song = queue.CurrentSong();
    if (!song) return {};
    const Tmp3& track = song->Track;
    auto text = [](const TSharedText& value) { return QString::fromStdString(value.str()); };
    QVariantMap data;
    data["mpris:trackid"] = QVariant::fromValue(TrackId());
    data["xesam:title"] = track.Title.empty()
                              ? QString::fromStdString(ChangeFileExt(ExtractFileName(track.Path), ""))
                              : text(track.Title);
    if (!track.Artist.empty()) data["xesam:artist"] = QStringList{text(track.Artist)};
    if (!track.Album.empty()) data["xesam:album"] = text(track.Album);
    if (!track.Genre.empty()) data["xesam:genre"] = QStringList{text(track.Genre)};
    if (song->TrackNumber > 0) data["xesam:trackNumber"] = song->TrackNumber;
    data["xesam:url"] = QUrl::fromLocalFile(text(track.Path)).toString();
    if (const int64_t length = player_.CurrentLengthMs(); length > 0)
        data["mpris:length"] = qlonglong(length) * 1000;
    else if (track.Duration > 0)
        data["mpris:length"] = qlonglong(track.Duration) * 1000;
    if (!track.PicturePath.empty() && FileExists(track.PicturePath))
        data["mpris:artUrl"] = QUrl::fromLocalFile(text(track.PicturePath)).toString();
    return data;
}

qlonglong TMprisPlayer::Position() const {
    return player_.CurrentTimeMs() * 1000;
}

bool TMprisPlayer::CanGoNext() const {
    return player_.Queue().Count() > 0;
}

bool TMprisPlayer::CanGoPrevious() const {
    return player_.Queue().Count() > 0;
}

bool TMprisPlayer::CanPause() const {
    return player_.Queue().Current.has_value();
}

bool TMprisPlayer::CanSeek() const {
    return player_.CanSeek();
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

void TMprisPlayer::Seek(qlonglong offset) {
    if (!player_.CanSeek()) return;
    const qlonglong target = Position() + offset;
    // Past the end is the next song, as the interface asks; after the last
    // one, the end of playing.
    if (target > player_.CurrentLengthMs() * 1000) {
        const auto before = player_.Queue().Current;
        player_.NextCommand();
        if (player_.Queue().Current == before) player_.StopCommand();
    } else
        player_.SeekToMs(std::max<qlonglong>(0, target) / 1000);
}

void TMprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    if (trackId != TrackId() || !player_.CanSeek()) return;
    if (position < 0 || position > player_.CurrentLengthMs() * 1000) return;
    player_.SeekToMs(position / 1000);
}

void TMprisPlayer::OpenUri(const QString& uri) {
    const QUrl url(uri);
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    if (path.isEmpty()) return;  // only local files, as SupportedUriSchemes says
    player_.OpenAndPlay(path.toStdString());
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
    for (const char* name : kAnnounced)
        announced_[name] = playerAdaptor_->property(name);
    connect(&player, &TPlayerController::nowPlayingChanged, this, [this] {
        playerAdaptor_->SongChanged();
        AnnounceChanges();
    });
    for (auto signal : {&TPlayerController::playbackChanged, &TPlayerController::volumeChanged,
                        &TPlayerController::shuffleChanged})
        connect(&player, signal, this, &TMprisService::AnnounceChanges);
    connect(&player, &TPlayerController::positionJumped, playerAdaptor_,
            [this](qint64 ms) { emit playerAdaptor_->Seeked(ms * 1000); });
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &TMprisService::AnnounceChanges);
    poll->start(kAnnounceIntervalMs);
}

TMprisService::~TMprisService() {
    if (!bus_.isConnected()) return;
    if (!serviceName_.isEmpty()) bus_.unregisterService(serviceName_);
    bus_.unregisterObject(kObjectPath);
}

void TMprisService::AnnounceChanges() {
    if (serviceName_.isEmpty()) return;
    QVariantMap changed;
    for (const char* name : kAnnounced) {
        const QVariant value = playerAdaptor_->property(name);
        if (announced_.value(name) == value) continue;
        announced_[name] = value;
        changed[name] = value;
    }
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties",
                                                     "PropertiesChanged");
    signal << QString(kPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}
