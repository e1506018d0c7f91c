#pragma once
// Runs the player inside the main window: the player panel, the remote
// commander and the 100 ms player timer over the sound system and play queue
// it is given, and every PlayList command.  The catalogue is reached only
// through TPlayerAlbumSource.
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

#include "gui/shell/CommandId.h"
#include "player/SoundSystem.h"
#include "player/Transport.h"
#include "player/Uplaylist.h"

class QAction;
class TFormRemoteCommander;
class TPlayerAlbumSource;
class TPlayerPanel;
class TPrompts;
class TSession;
class TShellPort;
class TSoundSpectrumFeed;
struct TSettings;

// The sound system, the play queue on it and the queue's transport: the
// application owns them, so that they outlive every window that shows them.
struct TPlayback {
    TSoundSystem sound;
    TPlayList queue{sound};
    TTransport transport{queue};
};

class TPlayerController : public QObject {
    Q_OBJECT
  public:
    // The panel is made here and placed by the caller; the commands are the
    // shell's.
    TPlayerController(TShellPort& shell, TPrompts& prompts, TPlayerAlbumSource& albums,
                      TPlayback& playback, QObject* parent = nullptr);
    ~TPlayerController() override;

    TSoundSystem& Sound() { return sound_; }
    TPlayList& Queue() { return queue_; }
    TTransport& Transport() { return transport_; }
    TPlayerPanel* Panel() const;
    TFormRemoteCommander* Remote() const { return remote_.get(); }
    QAction* Action(TCommandId id) const;
    QTimer& Timer() { return timer_; }

    // The list windows' progress bar around Add all albums (counting albums
    // in ProgressTotal and ProgressCount), reset when it is switched off.
    std::function<void(bool)> ShowProgress;

    // Start-up and shutdown steps.
    // Sets up the sound from the "Audio" settings; a driver of -1 (none
    // stored) is the sound layer's default device.  The failures are
    // returned for the caller to show.
    [[nodiscard]] std::vector<TSoundFailure> InitSound(const TSettings& settings);
    // Sets up the sound again; failures are shown.
    void ReinitSound(const TSoundSetup& setup);
    void ApplyWindowSettings(const TSettings& settings);
    void StoreSettings(TSettings& settings) const;
    void Start() { timer_.start(); }
    // Reads the saved queue; false when it was damaged (the songs read before
    // the damage stay).
    bool LoadQueue(const std::string& path);
    void SaveQueue(const std::string& path) const { queue_.SaveQueue(path); }
    void RefreshQueueGrid();
    void StopPlayback();

    // The PlayList commands.
    void PlayCommand(bool userStarted = true);
    // The desktop's media controls.  Play resumes a paused song, else plays
    // the selected row (the first one when none is selected); with an empty
    // queue it plays the current album, or says in the status bar that there
    // is none.
    void PlayFromDesktop();
    // A stream plays (or is paused): it can jump to a time.
    bool CanSeek() const;
    // The current stream's length and time in milliseconds (0 when none plays).
    int64_t CurrentLengthMs() const { return queue_.CurrentLengthMs(); }
    int64_t CurrentTimeMs() const { return queue_.CurrentTimeMs(); }
    // Jumps within the current stream (clamped to it) and announces the jump.
    void SeekToMs(int64_t ms);
    // 0 to 255; both volume sliders follow.
    void SetVolumeLevel(int volume);
    // Empties the queue and plays an audio file, a playlist or an album
    // folder; when nothing plays, says why in the status bar (a path that
    // is not there leaves the queue as it was).
    bool OpenAndPlay(const std::string& path);
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
    // The playing song jumped to another time (not the time running on).
    void positionJumped(qint64 ms);
    void volumeChanged();
    void shuffleChanged();

  private:
    void ConnectCommands();
    std::vector<TSoundFailure> SetUpSound(const TSoundSetup& setup);
    void ShowError(const QString& text);
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
    // The song of a grid row (counted from 1); null outside the queue.
    const TSong* SongAtRow(int row) const;

    TShellPort& shell_;
    TPrompts& prompts_;
    TPlayerAlbumSource& albums_;
    TSoundSystem& sound_;
    TPlayList& queue_;
    TTransport& transport_;
    std::unique_ptr<TSoundSpectrumFeed> feed_;
    QPointer<TPlayerPanel> panel_;
    std::unique_ptr<TFormRemoteCommander> remote_;
    QTimer timer_;
    bool volumeFromRemote_ = false;
    bool volumeFromMain_ = false;
};

// The volume hint: MulDiv(volume, 100, 255) followed by " %".
QString VolumeHint(int volume);
