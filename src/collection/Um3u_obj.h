#pragma once
// An album: one playlist file with the tracks it names, the album values,
// the user's status mark, play statistics and the cover state.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "collection/PlaylistFormat.h"
#include "collection/Ump3_obj.h"
#include "core/HugePageHeap.h"
#include "core/KeyedList.h"

class TLoadSave;

// The tracks of an album in playlist order, keyed by file path (the key
// shares the track's Path).
using Tmp3List = KeyedList<Tmp3, TSharedText>;

// The format at a choice list's index; an index that names none is M3U.
TPlaylistType PlaylistTypeFromInt(int32_t value);

// The user's mark of how far an album's values are checked.
enum class TAlbumStatus : int32_t {
    Red = 0,
    Orange = 1,
    Green = 2,
};
// A stored status; a number that names none reads as Red, as it is drawn.
TAlbumStatus AlbumStatusFromInt(int32_t value);

// Whether the album's picture file (see PicturePathFor) exists.
enum class TPictureState : int32_t {
    Missing = 0,
    Present = 1,
};
// A stored picture state: only 1 says the picture exists.
TPictureState PictureStateFromInt(int32_t value);

// An album's mark during a scan (never stored).
enum class TScanMark : int32_t {
    None = 0,
    NotFoundYet = 1,   // known before the scan, not found by it yet
    KnownBefore = -1,  // found by the scan and known before it
};

// Reads a track's tags; true when a tag was taken.  Scans take it as a
// parameter so that tests can count (or forbid) audio file opens.  An empty
// reader means Tmp3::ReadTags.
using TTagReader = std::function<bool(Tmp3&)>;

class Tm3u : public THugePageHeapObject {
  public:
    explicit Tm3u(TSharedText playlistPath = {});

    TSharedText Artist;  // shared with the tracks that hold the same value
    TSharedText Album;
    TSharedText Genre;
    int32_t Year = 0;
    TAlbumStatus Status = TAlbumStatus::Red;
    TPictureState PictureState = TPictureState::Missing;
    int32_t PlayCount = 0;
    std::string LastPlayed;  // "yyyymmddhhnnss", empty when never played
    TScanMark ScanMark = TScanMark::None;
    bool InSelection = false;
    TSharedText PlaylistPath;  // shared with the album's key in the catalogue
    std::string CachedCover;   // JPEG bytes of the cached thumbnail
    Tmp3List Tracks;

    // Stored form.  `base` is removed from the front of stored paths (see
    // ToRelativeForm).  Reading throws EMyFileError and keeps what was read.
    void WriteAlbumRecord(TLoadSave& stream, std::string_view base) const;
    void ReadAlbumRecord(TLoadSave& stream, std::string_view base);

    // Finds or appends the track; its RefreshMark becomes 0.  With
    // checkExistence, a new track's FileFound tells whether the file exists.
    size_t AddTrack(const TSharedText& path, bool checkExistence);
    // Like AddTrack, but a new track goes right after the track `afterPath`
    // (appended when that is empty, unknown or the last one).
    size_t InsertTrack(const TSharedText& path, bool checkExistence, std::string_view afterPath);
    // Sets the key of the track's entry to its current Path.
    void RekeyTrack(const Tmp3& track);
    // Fills every track's duration and bit rate through the sound layer.
    void MeasureTracks(const std::function<void(Tmp3&)>& measureTrack);

    void SetInfo(const TSharedText& artist, int32_t year, const TSharedText& genre,
                 const TSharedText& album);
    // Lets the tracks (and the album values) hold one copy of each value
    // they repeat.
    void ShareTrackTexts();
    // One more play, stamped with the local time.
    void MarkPlayed();
    // Search over Artist (flag 1), Album (2) and the playlist's file name (8).
    bool MatchesText(const std::string& search, bool wordsOnly, int32_t fields) const;
    // True when the playlist lies inside the folder ("Music2" is not under "Music").
    bool IsUnder(const std::string& folder) const;
    // By the playlist's extension: .pls, .b4s, anything else M3U.
    TPlaylistType PlaylistType() const;

    // Reads the playlist file into the tracks (a missing file reads nothing).
    // False when the file is missing or cannot be read.  `listedAsFile`: a
    // folder listing just saw the playlist as a regular file, so it is not
    // looked at again before it is opened.
    bool ReadPlaylist(bool checkExistence, bool listedAsFile = false);
    // Writes the album as M3U, PLS or B4S; the extension follows the format
    // and the file of the old extension is deleted.  On failure the result
    // says why and the album keeps its path.  The owner re-keys the album.
    TWriteResult WritePlaylist(TPlaylistType format);
    // Where WritePlaylist(format) writes ("" when no format fits), and the
    // bytes it writes for the playlist at `path`.
    std::string PlaylistPathIn(TPlaylistType format) const;
    std::string PlaylistBytes(TPlaylistType format, std::string_view path) const;
    // Re-reads the playlist; reads the tags (and derives the album values)
    // when forced, when the album is new to the running scan, or when it has
    // no album values at all.
    struct TRefreshResult {
        bool coverDropped = false;  // the cached cover went (the owner's list changed)
        bool playlistRead = false;  // false: missing, or could not be read
    };
    // What the listing of the playlist's folder, made just before by a scan,
    // tells: the playlist is a regular file, and whether its picture is one.
    // The refresh then asks the file system neither.
    struct TListedFiles {
        bool pictureListed = false;
    };
    TRefreshResult Refresh(bool force, const TTagReader& readTags = {},
                           const TListedFiles* listed = nullptr);
    // Fills the empty album values from the tagged tracks, the most frequent
    // value winning (ties to the first met).  True when some track has a tag.
    bool DeriveFromTracks();

    // The album name pattern (%artist %album %year) filled in, safe as a file name.
    std::string FormatAlbumName(const std::string& pattern) const;
    // Renames the playlist (and its picture) after the pattern; on failure
    // (the picture's new name taken included) nothing is renamed and the
    // result says why.  The owner re-keys the album.
    TWriteResult RenamePlaylist(const std::string& pattern);
    // Renames the album's folder after the pattern; refused when the folder
    // holds other playlists or is the file system's root.
    TWriteResult RenameFolder(const std::string& pattern);
    // Moves the album's paths from one folder to another (no file is moved).
    void ReplaceFolder(const std::string& oldFolder, const std::string& newFolder);

    // The picture file when PictureState says it exists, else "".
    std::string PictureFile() const;
    // True when there was a cached cover to drop.
    bool DropCachedCover();
};

// The picture of a playlist: its path with the last three characters
// replaced by "jpg" (x.m3u and x.b4s both have x.jpg).
std::string PicturePathFor(std::string_view playlistPath);
