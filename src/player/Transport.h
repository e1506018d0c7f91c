#pragma once
// The player's commands over the play queue: Play, Stop, Next, Previous,
// the 100 ms tick that moves to the next song, adding albums and tracks, and
// the display texts.  The queue grid's selected row lives here so that the
// windows only mirror it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/Uplaylist.h"

class Tm3u;

// What the remote commander and the desktop's media controls show.
struct TNowPlaying {
    std::string Artist;
    std::string Album;
    std::string Title;
    std::string ScrollTitle;
    int32_t Year = 0;
    std::string PicturePath;
};

struct TPlayerDisplay {
    std::string TimeText = "0:00 / 0:00";
    std::string BitrateText = "- kb";
    int32_t ProgressMax = 0;
    int32_t ProgressPosition = 0;
};

class TTransport {
  public:
    explicit TTransport(TPlayList& queue) : queue_(queue) {}

    TPlayList& Queue() { return queue_; }
    const TPlayList& Queue() const { return queue_; }
    // The queue grid's cursor row: 1 is the first song, 0 none.
    int SelectedRow = 0;

    // Plays the selected row (user-started with shuffle on: the next song of
    // the shuffle order).  False when nothing started.
    bool PlayCommand(bool userStarted);
    void StopCommand();
    void NextCommand();
    void PreviousCommand();
    void PauseCommand() { queue_.TogglePause(); }
    // The player tick: moves to the next song when the current one ended and
    // refreshes the display.  True while a song is current.
    bool Tick();
    // Seeks to the fraction x / width of the current song.
    void SeekToFraction(int x, int width);

    // Appends the album's tracks; when one was added, counts the play on the
    // album.  True when something was added.
    bool AddAlbum(Tm3u& album);
    // Appends the tracks of every album shown, switching shuffle off; counts
    // no plays.  Lets pending events run between tracks and counts albums
    // in ProgressCount.
    void AddAllAlbums(const std::vector<Tm3u*>& albums);
    bool AddTrack(const Tm3u& album, Tmp3& track);
    void PlayAlbum(Tm3u& album);
    void PlayTrack(const Tm3u& album, Tmp3& track);
    void Clear();
    // Removes the song of the selected row (stopping it when it plays).
    bool RemoveSelected();
    // Moves rows top..bottom (1-based) one place; switches shuffle off.
    // True when they moved.
    bool MoveRows(bool up, int top, int bottom);

    // The values of the started song that find its album; false when none
    // plays (or its artist is empty).
    bool PlayingAlbum(std::string& artist, std::string& album, std::string& genre,
                      int32_t& year) const;

    const TNowPlaying& NowPlaying() const { return nowPlaying_; }
    const TPlayerDisplay& Display() const { return display_; }
    void UpdateDisplay();

  private:
    void TakeNowPlaying();
    // The song that follows a song when it ends (shuffle order or next row).
    std::optional<size_t> NextToPlay(size_t after) const;
    // A few seconds before the current stream ends, the next song is opened
    // so that it follows without a gap.
    void PrepareNextWhenDue();
    static constexpr int64_t kPrepareAheadMs = 5000;
    bool AddTracksOf(Tm3u& album, bool pumpEvents);
    // SelectedRow is a grid row; these turn it into a queue position and back.
    int RowCount() const { return static_cast<int>(queue_.Count()); }
    bool ValidRow(int row) const { return row >= 1 && row <= RowCount(); }
    std::optional<size_t> SelectedIndex() const;
    void SelectIndex(size_t index) { SelectedRow = static_cast<int>(index) + 1; }

    TPlayList& queue_;
    TNowPlaying nowPlaying_;
    TPlayerDisplay display_;
};

// The scrolling title of a song: "Title - ", or the file name without its
// extension followed by " - " for an untitled track.
std::string ScrollTitleFor(const Tmp3& track);
// "192kb", or "" when the bit rate is unknown.
std::string BitrateText(int32_t kbps);
