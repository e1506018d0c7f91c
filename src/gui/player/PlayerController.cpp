#include "gui/player/PlayerController.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QToolButton>

#include <map>

#include "collection/UIo.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Settings.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/DesktopOpen.h"
#include "gui/player/Mpris.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/player/PlayerPanel.h"
#include "gui/player/QueueGrid.h"
#include "gui/player/Uslidecover.h"
#include "gui/player/spectrum.h"

namespace {
const char* const kPlaylistActions[] = {
    "ActionPlaylistPlay",         "ActionPlaylistPause",
    "ActionPlaylistStop",         "ActionPlaylistNext",
    "ActionPlaylistPrev",         "ActionPlaylistPlayAlbum",
    "ActionPlaylistAddAlbum",     "ActionPlaylistAddAll",
    "ActionPlaylistPlayTrack",    "ActionPlaylistAddTrack",
    "ActionPlaylistPlayAlbumExt", "ActionPlaylistPlayTrackExt",
    "ActionPlaylistClear",        "ActionPlaylistRemoveTrack",
    "ActionPlaylistTrackUp",      "ActionPlaylistTrackDown",
    "ActionPlaylistJump",         "ActionPlaylistLoad",
    "ActionPlaylistSave",         "ActionPlaylistRemoteCommander",
};
const char* const kPlaylistFilter = "m3u (*.m3u);;pls (*.pls);;b4s (*.b4s)";

QString Lang(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}
}  // namespace

QString VolumeHint(int volume) {
    return QString::number((volume * 100 + 127) / 255) + " %";
}

TPlayerController::TPlayerController(TPlayerAlbumSource& albums, const ActionFinder& findAction,
                                     QWidget* window)
    : QObject(window), albums_(albums), window_(window) {
    ShowError = [this](const QString& text, const QString& caption) {
        QMessageBox::critical(window_, caption, text);
    };
    CreateActions(findAction);
    feed_ = std::make_unique<TSoundSpectrumFeed>(sound_);
    panel_ = new TPlayerPanel(queue_, feed_.get(), findAction_, window);
    remote_ = std::make_unique<TFormRemoteCommander>(QList<QAction*>{
        Action("ActionPlaylistPrev"), Action("ActionPlaylistPlay"), Action("ActionPlaylistNext"),
        Action("ActionPlaylistPause"), Action("ActionPlaylistStop")});
    timer_.setObjectName("TimerPlay");
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &TPlayerController::TimerPlayTimer);
    ConnectWidgets();
}

TPlayerController::~TPlayerController() {
    timer_.stop();
    // The panel shows this queue: it goes first, unless the window already
    // took it down with its other panels.
    delete panel_.data();
    queue_.Clear();
    for (QAction* action : ownActions_) delete action;
}

void TPlayerController::CreateActions(const ActionFinder& findAction) {
    std::map<QString, QAction*> created;
    for (const char* name : kPlaylistActions) {
        QAction* action = findAction ? findAction(name) : nullptr;
        if (!action) {
            action = new QAction(name, this);
            action->setObjectName(name);
            ownActions_.push_back(action);
        }
        created[name] = action;
    }
    findAction_ = [created](const QString& name) -> QAction* {
        auto it = created.find(name);
        return it == created.end() ? nullptr : it->second;
    };
    auto on = [this](const char* name, auto handler) {
        connect(Action(name), &QAction::triggered, this, handler);
    };
    on("ActionPlaylistPlay", [this] { PlayCommand(true); });
    on("ActionPlaylistPause", &TPlayerController::PauseCommand);
    on("ActionPlaylistStop", &TPlayerController::StopCommand);
    on("ActionPlaylistNext", &TPlayerController::NextCommand);
    on("ActionPlaylistPrev", &TPlayerController::PreviousCommand);
    on("ActionPlaylistPlayAlbum", &TPlayerController::PlayAlbum);
    on("ActionPlaylistAddAlbum", &TPlayerController::AddAlbum);
    on("ActionPlaylistAddAll", &TPlayerController::AddAllAlbums);
    on("ActionPlaylistPlayTrack", &TPlayerController::PlayTrack);
    on("ActionPlaylistAddTrack", &TPlayerController::AddTrack);
    on("ActionPlaylistPlayAlbumExt", &TPlayerController::PlayAlbumExternal);
    on("ActionPlaylistPlayTrackExt", &TPlayerController::PlayTrackExternal);
    on("ActionPlaylistClear", &TPlayerController::ClearCommand);
    on("ActionPlaylistRemoveTrack", &TPlayerController::RemoveTrack);
    on("ActionPlaylistTrackUp", [this] { MoveTracks(true); });
    on("ActionPlaylistTrackDown", [this] { MoveTracks(false); });
    on("ActionPlaylistJump", &TPlayerController::JumpToPlayingAlbum);
    on("ActionPlaylistLoad", &TPlayerController::LoadPlaylist);
    on("ActionPlaylistSave", &TPlayerController::SavePlaylist);
    QAction* remote = Action("ActionPlaylistRemoteCommander");
    remote->setCheckable(true);
    connect(remote, &QAction::toggled, this, &TPlayerController::ShowRemote);
}

TPlayerPanel* TPlayerController::Panel() const {
    return panel_.data();
}

QAction* TPlayerController::Action(const QString& name) const {
    return findAction_(name);
}

void TPlayerController::ConnectWidgets() {
    TQueueGrid* grid = panel_->Grid();
    connect(grid, &TQueueGrid::playRequested, this, [this] { PlayCommand(true); });
    connect(panel_->Progress(), &TSeekBar::seekRequested, this,
            [this](int x, int width) { transport_.SeekToFraction(x, width); });
    connect(panel_->VolumeSlider(), &QSlider::valueChanged, this,
            &TPlayerController::MainVolumeChanged);
    connect(remote_.get(), &TFormRemoteCommander::volumeMoved, this,
            &TPlayerController::RemoteVolumeMoved);
    connect(remote_.get(), &TFormRemoteCommander::hidden, this,
            [this] { Action("ActionPlaylistRemoteCommander")->setChecked(false); });
    connect(panel_->ShuffleButton(), &QToolButton::toggled, this, &TPlayerController::SetShuffle);
    // PopupMenuPlay
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const char* name : {"ActionPlaylistClear", "ActionPlaylistLoad", "ActionPlaylistSave",
                             "ActionPlaylistRemoveTrack", "ActionPlaylistTrackUp",
                             "ActionPlaylistTrackDown", "ActionPlaylistJump"})
        grid->addAction(Action(name));
}

// ---------------------------------------------------------------- start and end

void TPlayerController::InitSound(const TSettings& settings) {
    const int driver =
        settings.DriverIndex < 0 ? TSoundSystem::kDefaultDriver : settings.DriverIndex;
    const TSoundSetup setup{settings.OutputType, driver, settings.MixerType};
    ReinitSound(setup);
    // The slider starts at 128: a saved volume of 128 raises no change, yet
    // the queue (at 255 until now) must play at it too.
    QSlider* slider = panel_->VolumeSlider();
    if (slider->value() == settings.Volume)
        MainVolumeChanged(settings.Volume);
    else
        slider->setValue(settings.Volume);
}

void TPlayerController::ReinitSound(const TSoundSetup& setup) {
    StopCommand();
    for (const auto& failure : sound_.Init(setup))
        ShowError(QString::fromStdString(failure.Text), QString::fromStdString(failure.Function));
}

void TPlayerController::ApplyWindowSettings(const TSettings& settings) {
    panel_->SetSpectrumVisible(settings.ViewSpectrum);
    remote_->SetPlayerShown(settings.CoverViewPlayer);
}

void TPlayerController::StoreSettings(TSettings& settings) const {
    settings.Volume = queue_.Volume;
    settings.CoverViewPlayer = remote_->PlayerShown();
}

void TPlayerController::RegisterDesktopControls() {
    new TMprisService(*this, window_);
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
    if (queue_.PausedIndex() >= 0) {
        PauseCommand();
        AfterPlay();
        return;
    }
    if (queue_.Current >= 0) return;
    if (panel_->Grid()->SelectedRow() < 1) panel_->Grid()->SelectRow(1);
    PlayCommand(true);
}

void TPlayerController::AfterPlay() {
    const bool playing = queue_.Current >= 0;
    remote_->SetNowPlaying(transport_.NowPlaying());
    const QString bitrate =
        playing ? QString::fromStdString(BitrateText(queue_.Song(queue_.Current).Track.Bitrate))
                : "";
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
    if (queue_.Current == -1) {
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
    const int current = queue_.Current;
    transport_.NextCommand();
    panel_->Grid()->SelectRow(transport_.SelectedRow);
    if (queue_.Current != current || queue_.Current >= 0) AfterPlay();
}

void TPlayerController::PreviousCommand() {
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    transport_.PreviousCommand();
    panel_->Grid()->SelectRow(transport_.SelectedRow);
    AfterPlay();
}

void TPlayerController::TimerPlayTimer() {
    TMiniSpectrum* spectrum = panel_->Spectrum();
    if (queue_.Current == -1) {
        if (spectrum->Active()) spectrum->SetActive(false);
        return;
    }
    if (!spectrum->Active()) spectrum->SetActive(true);
    spectrum->DrawFrame();
    const int before = queue_.Current;
    transport_.SelectedRow = panel_->Grid()->SelectedRow();
    transport_.Tick();
    if (queue_.Current != before) {
        panel_->Grid()->SelectRow(transport_.SelectedRow);
        if (queue_.Current == -1) DeactivateSpectrum();
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
    queue_.SetShuffle(on);
}

// ---------------------------------------------------------------- volume

void TPlayerController::MainVolumeChanged(int volume) {
    queue_.SetVolume(volume);
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
    if (queue_.Current < 0)
        ShowError(failure + "\n" + WhyNothingPlays(), QApplication::applicationName());
}

QString TPlayerController::WhyNothingPlays() const {
    if (!sound_.Available()) return "Sound is not available";
    // A song that did not start knows why; a track that was not queued was
    // missing or unreadable when it was measured.
    for (const auto& song : queue_.Songs)
        if (!song->ErrorText.empty()) return QString::fromStdString(song->ErrorText);
    std::vector<const Tmp3*> tracks;
    if (Tmp3* track = albums_.CurrentTrack(); track && queue_.Count() <= 1) tracks.push_back(track);
    if (const Tm3u* album = albums_.CurrentAlbum(); album && tracks.empty())
        for (const auto& entry : album->Tracks) tracks.push_back(entry.object.get());
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
    if (SetBusy) SetBusy(true);
    if (ShowProgress) ShowProgress(true);
    transport_.AddAllAlbums(albums_.ShownAlbums());
    if (ShowProgress) ShowProgress(false);
    if (SetBusy) SetBusy(false);
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
    ShowError(CouldNotOpenText(file), QApplication::applicationName());
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
    const bool wasPlaying = transport_.SelectedRow >= 1 &&
                            transport_.SelectedRow <= queue_.Count() &&
                            queue_.Song(transport_.SelectedRow - 1).Started;
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
        ShowError(Lang("NoPlayingAlbum", "No album is currently playing !"),
                  QApplication::applicationName());
        return;
    }
    if (!albums_.SelectAlbum(artist, album, genre, year))
        ShowError(Lang("CouldNotFindAlbum", "I could not find the album"),
                  QApplication::applicationName());
}

void TPlayerController::LoadPlaylist() {
    const QString path = QFileDialog::getOpenFileName(
        window_, {}, QString::fromStdString(ProgramFolder()), kPlaylistFilter);
    if (path.isEmpty()) return;
    StopCommand();
    queue_.LoadPlaylist(path.toStdString());
    RefreshQueueGrid();
}

void TPlayerController::SavePlaylist() {
    QFileDialog dialog(window_, {}, QString::fromStdString(ProgramFolder()), kPlaylistFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("m3u");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = dialog.selectedFiles().front().toStdString();
    const std::string ext = LowerAscii(ExtractFileExt(path));
    const bool known = ext == ".m3u" || ext == ".pls" || ext == ".b4s";
    // Another extension writes nothing, silently; a failed write is told,
    // never taken for a saved playlist.
    if (!queue_.SavePlaylist(path) && known)
        ShowError(QString::fromStdString("Could not write " + path),
                  QApplication::applicationName());
}

void TPlayerController::ShowRemote(bool shown) {
    if (shown) {
        remote_->show();
        remote_->Refresh();
    } else {
        remote_->hide();
    }
}
