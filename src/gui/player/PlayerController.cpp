#include "gui/player/PlayerController.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
#include <map>

#include "collection/UIo.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Settings.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/DesktopOpen.h"
#include "gui/common/Prompts.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/player/PlayerPanel.h"
#include "gui/player/QueueGrid.h"
#include "gui/player/Uslidecover.h"
#include "gui/player/spectrum.h"
#include "gui/shell/ShellPort.h"

namespace {
const char* const kPlaylistFilter = "m3u (*.m3u);;pls (*.pls);;b4s (*.b4s)";

QString Lang(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}
}  // namespace

QString VolumeHint(int volume) {
    return QString::number((volume * 100 + 127) / 255) + " %";
}

TPlayerController::TPlayerController(TShellPort& shell, TPrompts& prompts,
                                     TPlayerAlbumSource& albums, TPlayback& playback,
                                     QObject* parent)
    : QObject(parent),
      shell_(shell),
      prompts_(prompts),
      albums_(albums),
      sound_(playback.sound),
      queue_(playback.queue),
      transport_(playback.transport) {
    ConnectCommands();
    feed_ = std::make_unique<TSoundSpectrumFeed>(sound_);
    panel_ = new TPlayerPanel(queue_, feed_.get(), shell_, shell_.Window());
    remote_ = std::make_unique<TFormRemoteCommander>(
        QList<QAction*>{Action(TCommandId::PlaylistPrev), Action(TCommandId::PlaylistPlay),
                        Action(TCommandId::PlaylistNext), Action(TCommandId::PlaylistPause),
                        Action(TCommandId::PlaylistStop)});
    timer_.setObjectName("TimerPlay");
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &TPlayerController::TimerPlayTimer);
    ConnectWidgets();
}

TPlayerController::~TPlayerController() {
    timer_.stop();
    queue_.StopAll();
}

void TPlayerController::ConnectCommands() {
    using C = TCommandId;
    auto on = [this](TCommandId id, auto handler) {
        connect(Action(id), &QAction::triggered, this, handler);
    };
    on(C::PlaylistPlay, [this] { PlayCommand(true); });
    on(C::PlaylistPause, &TPlayerController::PauseCommand);
    on(C::PlaylistStop, &TPlayerController::StopCommand);
    on(C::PlaylistNext, &TPlayerController::NextCommand);
    on(C::PlaylistPrev, &TPlayerController::PreviousCommand);
    on(C::PlaylistPlayAlbum, &TPlayerController::PlayAlbum);
    on(C::PlaylistAddAlbum, &TPlayerController::AddAlbum);
    on(C::PlaylistAddAll, &TPlayerController::AddAllAlbums);
    on(C::PlaylistPlayTrack, &TPlayerController::PlayTrack);
    on(C::PlaylistAddTrack, &TPlayerController::AddTrack);
    on(C::PlaylistPlayAlbumExt, &TPlayerController::PlayAlbumExternal);
    on(C::PlaylistPlayTrackExt, &TPlayerController::PlayTrackExternal);
    on(C::PlaylistClear, &TPlayerController::ClearCommand);
    on(C::PlaylistRemoveTrack, &TPlayerController::RemoveTrack);
    on(C::PlaylistTrackUp, [this] { MoveTracks(true); });
    on(C::PlaylistTrackDown, [this] { MoveTracks(false); });
    on(C::PlaylistJump, &TPlayerController::JumpToPlayingAlbum);
    on(C::PlaylistLoad, &TPlayerController::LoadPlaylist);
    on(C::PlaylistSave, &TPlayerController::SavePlaylist);
    QAction* remote = Action(C::PlaylistRemoteCommander);
    remote->setCheckable(true);
    connect(remote, &QAction::toggled, this, &TPlayerController::ShowRemote);
}

TPlayerPanel* TPlayerController::Panel() const {
    return panel_.data();
}

QAction* TPlayerController::Action(TCommandId id) const {
    return shell_.Action(id);
}

void TPlayerController::ShowError(const QString& text) {
    prompts_.ErrorCaptioned(text, QApplication::applicationName());
}

void TPlayerController::ConnectWidgets() {
    TQueueGrid* grid = panel_->Grid();
    connect(grid, &TQueueGrid::playRequested, this, [this] { PlayCommand(true); });
    connect(panel_->Progress(), &TSeekBar::seekRequested, this,
            [this](int x, int width) {
                transport_.SeekToFraction(x, width);
                emit positionJumped(queue_.CurrentTimeMs());
            });
    connect(panel_->VolumeSlider(), &QSlider::valueChanged, this,
            &TPlayerController::MainVolumeChanged);
    connect(remote_.get(), &TFormRemoteCommander::volumeMoved, this,
            &TPlayerController::RemoteVolumeMoved);
    connect(remote_.get(), &TFormRemoteCommander::hidden, this,
            [this] { Action(TCommandId::PlaylistRemoteCommander)->setChecked(false); });
    connect(panel_->ShuffleButton(), &QToolButton::toggled, this, &TPlayerController::SetShuffle);
    // PopupMenuPlay
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    using C = TCommandId;
    for (C id : {C::PlaylistClear, C::PlaylistLoad, C::PlaylistSave, C::PlaylistRemoveTrack,
                 C::PlaylistTrackUp, C::PlaylistTrackDown, C::PlaylistJump})
        grid->addAction(Action(id));
}

// ---------------------------------------------------------------- start and end

std::vector<TSoundFailure> TPlayerController::InitSound(const TSettings& settings) {
    const int driver =
        settings.DriverIndex < 0 ? TSoundSystem::kDefaultDriver : settings.DriverIndex;
    const TSoundSetup setup{settings.OutputType, driver, settings.MixerType};
    std::vector<TSoundFailure> failures = SetUpSound(setup);
    // The slider starts at 128: a saved volume of 128 raises no change, yet
    // the queue (at 255 until now) must play at it too.
    QSlider* slider = panel_->VolumeSlider();
    if (slider->value() == settings.Volume)
        MainVolumeChanged(settings.Volume);
    else
        slider->setValue(settings.Volume);
    return failures;
}

std::vector<TSoundFailure> TPlayerController::SetUpSound(const TSoundSetup& setup) {
    StopCommand();
    return sound_.Init(setup);
}

void TPlayerController::ReinitSound(const TSoundSetup& setup) {
    for (const auto& failure : SetUpSound(setup))
        prompts_.ErrorCaptioned(QString::fromStdString(failure.Text),
                                QString::fromStdString(failure.Function));
}

void TPlayerController::ApplyWindowSettings(const TSettings& settings) {
    queue_.ReplayGain = ReplayGainModeFromText(settings.ReplayGain);
    queue_.ReplayGainPreampDb = settings.ReplayGainPreamp;
    panel_->SetSpectrumVisible(settings.ViewSpectrum);
    remote_->SetPlayerShown(settings.CoverViewPlayer);
}

void TPlayerController::StoreSettings(TSettings& settings) const {
    settings.Volume = queue_.Volume;
    settings.CoverViewPlayer = remote_->PlayerShown();
}

bool TPlayerController::LoadQueue(const std::string& path) {
    try {
        queue_.LoadQueue(path);
    } catch (const EMyFileError&) {
        RefreshQueueGrid();
        return false;
    }
    RefreshQueueGrid();
    return true;
}

void TPlayerController::RefreshQueueGrid() {
    panel_->Grid()->Model().SetTitleHeader(Lang("Title", "Title"));
    panel_->Grid()->Refresh();
}

void TPlayerController::StopPlayback() {
    timer_.stop();
    queue_.StopAll();
}

// ---------------------------------------------------------------- transport

void TPlayerController::PlayCommand(bool userStarted) {
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    transport_.PlayCommand(userStarted);
    panel_->Grid()->SelectRow(transport_.SelectedRow);
    AfterPlay();
}

void TPlayerController::PlayFromDesktop() {
    if (queue_.PausedIndex()) {
        PauseCommand();
        AfterPlay();
        return;
    }
    if (queue_.Current) return;
    if (queue_.Count() == 0) {
        if (albums_.CurrentAlbum())
            PlayAlbum();
        else
            shell_.ShowStatus(Lang("NothingToPlay", "There is no album to play"));
        return;
    }
    if (panel_->Grid()->SelectedRow() < 1) panel_->Grid()->SelectRow(1);
    PlayCommand(true);
}

bool TPlayerController::CanSeek() const {
    return queue_.CurrentLengthMs() > 0;
}

void TPlayerController::SeekToMs(int64_t ms) {
    if (!CanSeek()) return;
    queue_.SeekMs(std::clamp<int64_t>(ms, 0, queue_.CurrentLengthMs()));
    UpdatePlayerDisplay();
    emit positionJumped(queue_.CurrentTimeMs());
}

void TPlayerController::SetVolumeLevel(int volume) {
    panel_->VolumeSlider()->setValue(std::clamp(volume, 0, 255));
}

bool TPlayerController::OpenAndPlay(const std::string& path) {
    QString why;
    if (const TResult<std::string> file = PlayableFile(path); !file) {
        why = QString::fromStdString(file.Failure().Text());
    } else {
        StopCommand();
        const TResult<void> loaded = queue_.LoadPath(*file);
        RefreshQueueGrid();
        if (loaded) {
            panel_->Grid()->SelectRow(1);
            PlayCommand(true);
            if (queue_.Current) return true;
        }
        why = loaded ? WhyNothingPlays() : QString::fromStdString(loaded.Failure().Text());
    }
    shell_.ShowStatus(Lang("CouldNotPlayFile", "Could not play") + " " +
                      QString::fromStdString(path) + (why.isEmpty() ? "" : ": " + why));
    return false;
}

void TPlayerController::AfterPlay() {
    const TSong* playing = queue_.CurrentSong();
    remote_->SetNowPlaying(transport_.NowPlaying());
    const QString bitrate =
        playing ? QString::fromStdString(BitrateText(playing->Track.Bitrate)) : "";
    panel_->BitrateLabel()->setText(bitrate);
    remote_->SetBitrateText(bitrate);
    remote_->Refresh();
    panel_->Grid()->viewport()->update();
    UpdatePlayerDisplay();
    emit nowPlayingChanged();
    emit playbackChanged();
}

void TPlayerController::UpdatePlayerDisplay() {
    transport_.UpdateDisplay();
    const TPlayerDisplay& display = transport_.Display();
    const QString time = QString::fromStdString(display.TimeText);
    if (!queue_.Current) {
        panel_->Progress()->setValue(0);
        panel_->BitrateLabel()->setText("- kb");
    } else {
        const int maximum = std::max(1, display.ProgressMax);
        if (panel_->Progress()->maximum() != maximum) panel_->Progress()->setMaximum(maximum);
        if (panel_->Progress()->value() != display.ProgressPosition)
            panel_->Progress()->setValue(std::min(display.ProgressPosition, maximum));
    }
    panel_->TimeLabel()->setText(time);
    remote_->SetTimeText(time);
}

void TPlayerController::PauseCommand() {
    transport_.PauseCommand();
    RefreshQueueGrid();
    emit playbackChanged();
}

void TPlayerController::StopCommand() {
    transport_.StopCommand();
    panel_->Grid()->viewport()->update();
    UpdatePlayerDisplay();
    DeactivateSpectrum();
    emit playbackChanged();
}

void TPlayerController::DeactivateSpectrum() {
    panel_->Spectrum()->SetActive(false);
    panel_->Spectrum()->DrawFrame();
}

void TPlayerController::NextCommand() {
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    const std::optional<size_t> current = queue_.Current;
    transport_.NextCommand();
    panel_->Grid()->SelectRow(transport_.SelectedRow);
    if (queue_.Current != current || queue_.Current.has_value()) AfterPlay();
}

void TPlayerController::PreviousCommand() {
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    transport_.PreviousCommand();
    panel_->Grid()->SelectRow(transport_.SelectedRow);
    AfterPlay();
}

void TPlayerController::TimerPlayTimer() {
    TMiniSpectrum* spectrum = panel_->Spectrum();
    if (!queue_.Current) {
        if (spectrum->Active()) spectrum->SetActive(false);
        return;
    }
    if (!spectrum->Active()) spectrum->SetActive(true);
    spectrum->DrawFrame();
    const std::optional<size_t> before = queue_.Current;
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    transport_.Tick();
    if (queue_.Current != before) {
        panel_->Grid()->SelectRow(transport_.SelectedRow);
        if (!queue_.Current) DeactivateSpectrum();
        AfterPlay();
        return;
    }
    UpdatePlayerDisplay();
}

void TPlayerController::SetShuffle(bool on) {
    if (panel_->ShuffleButton()->isChecked() != on) {
        QSignalBlocker quiet(panel_->ShuffleButton());
        panel_->ShuffleButton()->setChecked(on);
    }
    const bool changed = queue_.Shuffle != on;
    queue_.SetShuffle(on);
    if (changed) emit shuffleChanged();
}

// ---------------------------------------------------------------- volume

void TPlayerController::MainVolumeChanged(int volume) {
    queue_.SetVolume(volume);
    emit volumeChanged();
    if (volumeFromRemote_) return;
    panel_->VolumeSlider()->setToolTip(VolumeHint(volume));
    volumeFromMain_ = true;
    remote_->VolumeSlider()->setValue(volume);
    volumeFromMain_ = false;
}

void TPlayerController::RemoteVolumeMoved(int volume) {
    if (volumeFromMain_) return;
    volumeFromRemote_ = true;
    panel_->VolumeSlider()->setValue(volume);
    volumeFromRemote_ = false;
    remote_->VolumeSlider()->setToolTip(VolumeHint(volume));
}

// ---------------------------------------------------------------- the queue

void TPlayerController::PlayInEmptyQueue(void (TPlayerController::*add)(), const QString& failure) {
    StopCommand();
    queue_.Clear();
    RefreshQueueGrid();
    (this->*add)();
    if (queue_.Count() > 0) {
        panel_->Grid()->SelectRow(1);
        PlayCommand(true);
    }
    if (!queue_.Current) ShowError(failure + "\n" + WhyNothingPlays());
}

const TSong* TPlayerController::SongAtRow(int row) const {
    if (row < 1 || static_cast<size_t>(row) > queue_.Count()) return nullptr;
    return &queue_.Song(static_cast<size_t>(row - 1));
}

QString TPlayerController::WhyNothingPlays() const {
    if (!sound_.Available()) return "Sound is not available";
    // A song that did not start knows why; a track that was not queued was
    // missing or unreadable when it was measured.
    for (size_t i = 0; i < queue_.Count(); ++i)
        if (const TSong& song = queue_.Song(i); !song.ErrorText.empty())
            return QString::fromStdString(song.ErrorText);
    std::vector<const Tmp3*> tracks;
    if (Tmp3* track = albums_.CurrentTrack(); track && queue_.Count() <= 1) tracks.push_back(track);
    if (const Tm3u* album = albums_.CurrentAlbum(); album && tracks.empty())
        for (const auto& entry : album->Tracks) tracks.push_back(entry.object);
    for (const Tmp3* track : tracks)
        if (!FileExists(track->Path))
            return QString::fromStdString("File not found " + track->Path);
    if (!tracks.empty()) return QString::fromStdString("Could not open " + tracks.front()->Path);
    return {};
}

void TPlayerController::PlayAlbum() {
    if (albums_.CurrentAlbum())
        PlayInEmptyQueue(&TPlayerController::AddAlbum,
                         Lang("CouldNotPlayAlbum", "The album could not be played:"));
}

void TPlayerController::AddAlbum() {
    Tm3u* album = albums_.CurrentAlbum();
    if (!album) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool added = transport_.AddAlbum(*album);
    QApplication::restoreOverrideCursor();
    if (!added) return;
    albums_.MarkListModified();
    RefreshQueueGrid();
}

void TPlayerController::AddAllAlbums() {
    SetShuffle(false);
    shell_.SetBusy(true);
    if (ShowProgress) ShowProgress(true);
    transport_.AddAllAlbums(albums_.ShownAlbums());
    if (ShowProgress) ShowProgress(false);
    shell_.SetBusy(false);
    RefreshQueueGrid();
}

void TPlayerController::PlayTrack() {
    if (albums_.CurrentAlbum() && albums_.CurrentTrack())
        PlayInEmptyQueue(&TPlayerController::AddTrack,
                         Lang("CouldNotPlayTrack", "The track could not be played:"));
}

void TPlayerController::AddTrack() {
    Tm3u* album = albums_.CurrentAlbum();
    Tmp3* track = albums_.CurrentTrack();
    if (!album || !track) return;
    if (transport_.AddTrack(*album, *track)) RefreshQueueGrid();
}

bool TPlayerController::OpenExternally(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (OpenWithDesktop(file)) return true;
    ShowError(CouldNotOpenText(file));
    return false;
}

void TPlayerController::PlayAlbumExternal() {
    Tm3u* album = albums_.CurrentAlbum();
    if (!album || !OpenExternally(album->PlaylistPath)) return;  // a failure is no play
    album->MarkPlayed();
    albums_.MarkListModified();
}

void TPlayerController::PlayTrackExternal() {
    if (Tmp3* track = albums_.CurrentTrack()) OpenExternally(track->Path);
}

void TPlayerController::ClearCommand() {
    StopCommand();
    queue_.Clear();
    RefreshQueueGrid();
}

void TPlayerController::RemoveTrack() {
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    const TSong* selected = SongAtRow(transport_.SelectedRow);
    const bool wasPlaying = selected && selected->Started;
    if (wasPlaying) StopCommand();
    if (transport_.RemoveSelected()) RefreshQueueGrid();
}

void TPlayerController::MoveTracks(bool up) {
    SetShuffle(false);
    int top = 0, bottom = 0;
    if (!panel_->Grid()->SelectedRange(top, bottom)) return;
    const bool moved = transport_.MoveRows(up, top, bottom);
    RefreshQueueGrid();
    if (moved) panel_->Grid()->SelectRange(up ? top - 1 : top + 1, up ? bottom - 1 : bottom + 1);
}

void TPlayerController::JumpToPlayingAlbum() {
    std::string artist, album, genre;
    int32_t year = 0;
    if (!transport_.PlayingAlbum(artist, album, genre, year)) {
        ShowError(Lang("NoPlayingAlbum", "No album is currently playing !"));
        return;
    }
    if (!albums_.SelectAlbum(artist, album, genre, year))
        ShowError(Lang("CouldNotFindAlbum", "I could not find the album"));
}

void TPlayerController::LoadPlaylist() {
    const QString path = QFileDialog::getOpenFileName(
        shell_.Window(), {}, QString::fromStdString(ProgramFolder()), kPlaylistFilter);
    if (path.isEmpty()) return;
    StopCommand();
    queue_.LoadPlaylist(path.toStdString());
    RefreshQueueGrid();
}

void TPlayerController::SavePlaylist() {
    QFileDialog dialog(shell_.Window(), {}, QString::fromStdString(ProgramFolder()),
                       kPlaylistFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("m3u");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = dialog.selectedFiles().front().toStdString();
    const std::string ext = LowerAscii(ExtractFileExt(path));
    const bool known = ext == ".m3u" || ext == ".pls" || ext == ".b4s";
    // Another extension writes nothing, silently; a failed write is told,
    // never taken for a saved playlist.
    if (const TWriteResult written = queue_.SavePlaylist(path); !written && known)
        ShowError(
            QString::fromStdString(FailureMessage("CouldNotWrite", "Could not write", path, written)));
}

void TPlayerController::ShowRemote(bool shown) {
    if (shown) {
        remote_->show();
        remote_->Refresh();
    } else {
        remote_->hide();
    }
}
