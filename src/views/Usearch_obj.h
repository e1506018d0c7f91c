#pragma once
// The search through the view list, one hit at a time: an album that
// matches, then the matching tracks of that album, then the next album...
// The cursors are positions, so a change of order between two searches
// continues at the same position of the new order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class Tm3u;

struct TSearchSettings {
    std::string Text;
    int32_t Mode = 0;    // 0 words only, 1 full string
    int32_t Fields = 0;  // TSearchField bits: 1 artist, 2 album, 4 tracks, 8 file names

    bool WordsOnly() const { return Mode == 0; }
};

enum class TSearchStep {
    NeedsQuery,    // no search defined yet: ask for one, then Start
    AlbumHit,      // make the album's row current
    TrackHit,      // ... and the track's row in the track grid
    NothingFound,  // end of the view: say so; the next search starts over
};

struct TSearchResult {
    TSearchStep step = TSearchStep::NothingFound;
    size_t row = 0;    // a hit's album row in the view (0-based)
    size_t track = 0;  // a track hit's index in that album
};

class TSearch {
  public:
    TSearchSettings Settings;
    long AlbumCursor = -2;  // last album examined; -1 before the first; -2 no search yet
    long TrackCursor = -1;  // next track to examine in that album; -1 none pending

    bool Defined() const { return AlbumCursor != -2; }
    // Stores a new search and rewinds to the first album.
    void Start(const TSearchSettings& settings);
    // The next hit among the rows, from where the last one stopped.
    TSearchResult Next(std::span<const Tm3u* const> rows);

  private:
    bool AlbumMatches(const Tm3u& album) const;
    // The first matching track from the track cursor on, if any.
    std::optional<size_t> NextMatchingTrack(const Tm3u& album) const;
    void Rewind() { AlbumCursor = TrackCursor = -1; }
};
