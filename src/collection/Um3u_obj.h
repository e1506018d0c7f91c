#pragma once
// An album: one playlist file with the tracks it names, the album values,
// the user's status mark, play statistics and the cover state.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "collection/Ump3_obj.h"
#include "core/KeyedList.h"

class TLoadSave;

// The tracks of an album in playlist order, keyed by file path.
using Tmp3List = KeyedList<Tmp3>;

enum TPlaylistType : int32_t {
    PlaylistM3U = 0,
    PlaylistPLS = 1,
    PlaylistB4S = 2,
};

class Tm3u {
public:
    explicit Tm3u(std::string playlistPath = {});

    std::string Artist;
    std::string Album;
    std::string Genre;
    int32_t Year = 0;
    int32_t Status = 0;        // 0, 1, 2: red, orange, green
    int32_t PictureState = 0;  // 1 when the picture file exists
    int32_t PlayCount = 0;
    std::string LastPlayed;  // "yyyymmddhhnnss", empty when never played
    int32_t ScanMark = 0;    // during a scan: 1 not found yet, -1 found and known before
    bool InSelection = false;
    std::string PlaylistPath;
    std::string CachedCover;  // JPEG bytes of the cached thumbnail
    Tmp3List Tracks;

    // Called when a cached cover is dropped, so the owner can mark the list
    // modified.  Set once for the whole program by the main window.
    static std::function<void()> OnCachedCoverDropped;
};
