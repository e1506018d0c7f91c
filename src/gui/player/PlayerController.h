#pragma once
// Runs the player inside the main window: owns the sound system, the play
// queue and its transport, the player panel, the remote commander and the
// 100 ms player timer, and carries out every PlayList command.  The
// catalogue is reached only through TPlayerAlbumSource.
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "player/SoundSystem.h"
#include "player/Transport.h"
#include "player/Uplaylist.h"

class QAction;
class QWidget;
class TFormRemoteCommander;
class TPlayerAlbumSource;
class TPlayerPanel;
class TSoundSpectrumFeed;
struct TSettings;

class TPlayerController : public QObject {
    Q_OBJECT
  public:
    using ActionFinder = std::function<QAction*(const QString&)>;
    // `findAction` gives the main window's command of a name; commands it
    // does not have are created here.  `window` parents the dialogs.
    TPlayerController(TPlayerAlbumSource& albums, const ActionFinder& findAction, QWidget* window);
    ~TPlayerController() override;

    TSoundSystem& Sound() { return sound_; }
    TPlayList& Queue() { return queue_; }
    TTransport& Transport() { return transport_; }
    TPlayerPanel* Panel() const;
    TFormRemoteCommander* Remote() const { return remote_.get(); }
    QAction* Action(const QString& name) const;
    QTimer& Timer() { return timer_; }

    // How errors reach the user: (text, caption).  An error box by default.
    std::function<void(const QString&, const QString&)> ShowError;
    // Busy mode of the main window around Add all albums.
    std::function<void(bool)> SetBusy;
    // The main window's progress bar around Add all albums (counting albums
    // in ProgressTotal and ProgressCount), reset when it is switched off.
    std::function<void(bool)> ShowProgress;

    // Start-up and shutdown steps.
    // Sets up the sound from the "Audio" settings; a driver of -1 (none
    // stored) is the sound layer's default device.
    void InitSound(const TSettings& settings);
    void ReinitSound(const TSoundSetup& setup);
    void ApplyWindowSettings(const TSettings& settings);
    void StoreSettings(TSettings& settings) const;
    void Start() { timer_.start(); }
    // Offers the player to the desktop's media keys and panels (MPRIS2 on
    // the session bus); without a bus nothing happens.
    void RegisterDesktopControls();
    // Reads the saved queue; false when it was damaged (the songs read before
    // the damage stay).
    bool LoadQueue(const std::string& path);
    void SaveQueue(const std::string& path) const { queue_.SaveQueue(path); }
    void RefreshQueueGrid();
    void StopPlayback();

    // The PlayList commands.
    void PlayCommand(bool userStarted = true);
    // Play from the desktop's media controls: resumes a paused song, else
    // plays the selected row (the first one when none is selected).
    void PlayFromDesktop();
    void PauseCommand();
    void StopCommand();
    void NextCommand();
    void PreviousCommand();
    void PlayAlbum();
    void AddAlbum();
    void AddAllAlbums();
    void PlayTrack();
    void AddTrack();
    void PlayAlbumExternal();
    void PlayTrackExternal();
    void ClearCommand();
    void RemoveTrack();
    void MoveTracks(bool up);
    void JumpToPlayingAlbum();
    void LoadPlaylist();
    void SavePlaylist();
    void ShowRemote(bool shown);
    void SetShuffle(bool on);
    void TimerPlayTimer();

  signals:
    // Something the desktop's media controls show changed.
    void nowPlayingChanged();
    void playbackChanged();

  private:
    void CreateActions(const ActionFinder& findAction);
    void ConnectWidgets();
    void AfterPlay();
    void UpdatePlayerDisplay();
    void DeactivateSpectrum();
    void MainVolumeChanged(int volume);
    void RemoteVolumeMoved(int volume);
    bool OpenExternally(const std::string& path);
    // Stop, empty the queue, add (album or track) and play the first row;
    // when nothing plays, says why, naming the file.
    void PlayInEmptyQueue(void (TPlayerController::*add)(), const QString& failure);
    QString WhyNothingPlays() const;

    TPlayerAlbumSource& albums_;
    QWidget* window_;
    TSoundSystem sound_;
    mutable TPlayList queue_{sound_};
    TTransport transport_{queue_};
    std::unique_ptr<TSoundSpectrumFeed> feed_;
    QPointer<TPlayerPanel> panel_;
    std::unique_ptr<TFormRemoteCommander> remote_;
    QTimer timer_;
    std::vector<QAction*> ownActions_;
    ActionFinder findAction_;
    bool volumeFromRemote_ = false;
    bool volumeFromMain_ = false;
};

// The volume hint: MulDiv(volume, 100, 255) followed by " %".
QString VolumeHint(int volume);
