#pragma once
// The play queue: songs (private copies of track records with the state of
// their sound), the current song, the volume and the shuffle order.  The
// queue is independent of the catalogue, so it survives a change of list.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collection/Ump3_obj.h"
#include "core/Result.h"
#include "core/ReadSource.h"
#include "player/ReplayGain.h"

class TSoundSystem;
class TSoundSource;

class TSong {
  public:
    // Copies the track; with a measuring flag and sound available, opens the
    // file to measure it and writes the duration and bit rate found back into
    // `source`.  `duration` and `bitrate` stand in for what is not measured.
    TSong(TSoundSystem& sound, const std::string& picturePath, Tmp3& source, bool measureLength,
          bool measureBitrate, int32_t duration, int32_t bitrate);
    ~TSong();
    TSong(const TSong&) = delete;
    TSong& operator=(const TSong&) = delete;

    std::shared_ptr<TSoundSource> Module;  // set while loaded as a music module
    std::shared_ptr<TSoundSource> Stream;  // set while opened as a stream
    int32_t Channel = 0;
    bool Started = false;
    int32_t PausedAt = -1;  // whole seconds (stream) or order (module); -1 not paused
    int32_t Length = 0;     // whole seconds (stream) or number of orders (module)
    int32_t Position = 0;   // whole seconds (stream) or current order (module)
    std::string TimeText;
    Tmp3 Track;
    std::string ErrorText;
    std::optional<size_t> NextShuffled;  // the next song of the shuffle order
    int32_t TrackNumber = 0;  // its place in the album or playlist it came from; 0 unknown

    void Open(bool accurate);
    void Close();
    void Start(int volume);
    // The mixer started the opened stream after the song before it (gapless).
    void StartedInMixer();
    void Halt();
    void Stop();
    void UpdateTime();
    bool HasEnded() const;
    void SeekTo(int32_t position);
    // A stream only (a module moves by orders): to that millisecond.
    void SeekToMs(int64_t ms);
    void ApplyVolume(int volume);

  private:
    bool IsPlaying() const;
    int32_t BitrateFromLength(int32_t durationMs) const;

    TSoundSystem& sound_;
};

// The file that plays a path: the path itself for a file, the playlist of an
// album folder (the first by name; m3u before pls before b4s, as scans take
// them).  Fails, saying why, for a missing path or a folder without one.
TResult<std::string> PlayableFile(const std::string& path);

// Measures the audio file of a track: duration (ms) and bit rate (kbit/s);
// both 0 without sound or when the file cannot be opened.
void MeasureTrack(TSoundSystem& sound, Tmp3& track);

using TSongList = std::vector<std::unique_ptr<TSong>>;

class TPlayList {
  public:
    // The shuffle order covers this many songs; songs beyond it keep no
    // place in the order.
    static constexpr size_t kShuffleTableSize = 65536;

    explicit TPlayList(TSoundSystem& sound);
    ~TPlayList();

    std::optional<size_t> Current;  // the playing (or last started) song
    int32_t Volume = 255;
    bool Shuffle = false;
    // Loudness: which ReplayGain applies, and the pre-amp added to it (dB).
    TReplayGainMode ReplayGain = TReplayGainMode::Auto;
    double ReplayGainPreampDb = 0;

    size_t Count() const { return songs_.size(); }
    TSong& Song(size_t index) { return *songs_[index]; }
    const TSong& Song(size_t index) const { return *songs_[index]; }
    bool ValidIndex(size_t index) const { return index < Count(); }
    // The song at Current; null when none is current.
    TSong* CurrentSong() { return Current && ValidIndex(*Current) ? &Song(*Current) : nullptr; }
    const TSong* CurrentSong() const {
        return Current && ValidIndex(*Current) ? &Song(*Current) : nullptr;
    }

    // With shuffle on, the new song takes a random place in the shuffle order
    // (a first song starts it), so the order always covers the whole queue.
    bool Add(const std::string& picturePath, Tmp3& track, bool measureLength, bool measureBitrate);
    // Add, noting the track's place in its album or playlist (counted from 1).
    bool AddNumbered(const std::string& picturePath, Tmp3& track, bool measureLength,
                     bool measureBitrate, int32_t trackNumber);
    bool Delete(size_t index);
    // Current and the shuffle order follow the songs that move.
    bool Move(bool up, size_t first, size_t last);
    void Clear();
    void SetShuffle(bool on);
    // None for the last song of the order, a song outside it or a bad index.
    std::optional<size_t> ShuffleSuccessor(size_t index) const;
    std::optional<size_t> FirstShuffled() const { return firstShuffled_; }
    bool Play(size_t index);
    void StopAll();
    void TogglePause();
    std::optional<size_t> PausedIndex() const;
    bool CurrentEnded() const;
    struct TTimes {
        int32_t Length = 0;
        int32_t Position = 0;
        std::string TimeText;
    };
    TTimes GetTimes();
    void Seek(int32_t position);
    // The playing stream's time and length in milliseconds (0 for none or a
    // module), and a jump to a millisecond of it.
    int64_t CurrentTimeMs() const;
    int64_t CurrentLengthMs() const;
    void SeekMs(int64_t ms);
    void SetVolume(int volume);

    // Gapless playing: the song to follow the current one is opened ahead
    // and handed to the mixer, which starts it on the current song's last
    // sample.  Every change of the queue or of what plays drops it (it is
    // prepared again in time).  False when it cannot be (no stream plays, a
    // module follows, the file does not open).
    bool PrepareNext(size_t index);
    std::optional<size_t> Prepared() const { return prepared_; }
    // Once the mixer has moved on to the prepared song, it becomes the
    // current song; true when that happened.
    bool TakeOverPrepared();
    void DropPrepared();

    // The saved queue (mavelo.els).  Loading a missing file gives an empty
    // queue; a damaged one keeps the songs read before the damage and throws
    // EMyFileError.  Saving writes through a temporary file.  The queue is
    // read from the file or from its bytes in memory.
    void LoadQueue(const TReadSource& source);
    void SaveQueue(const std::string& path) const;
    // Playlist files (.m3u, .pls, .b4s).  Saving with another extension
    // writes nothing; the result says whether a playlist was written, and
    // why not.
    void LoadPlaylist(const std::string& path);
    // Empties the queue and fills it from an audio file or a playlist (see
    // PlayableFile).  Fails, saying why, when nothing was queued.
    TResult<void> LoadPath(const std::string& file);
    TWriteResult SavePlaylist(const std::string& path) const;

  private:
    void InsertIntoShuffle(TSong& song);
    void UnlinkFromShuffle(size_t index);
    void FollowMove(size_t passed, size_t passedTo, bool blockMovedUp);

    // Album gain applies by itself when the queue holds one album, in its
    // order (one folder, one album name, numbers rising), and no shuffle.
    bool HoldsOneAlbumInOrder() const;
    void ApplyLoudness(TSong& song) const;

    TSoundSystem& sound_;
    TSongList songs_;
    std::optional<size_t> firstShuffled_;
    std::optional<size_t> prepared_;
};
