#pragma once
// Writing new album values into an album: the album record, the tags of its
// tracks, the renames after the name formats and the playlist.  The album
// editor's Apply and the FreeDB update share it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tags/TagWriter.h"

class Tm3u;
enum class TPlaylistType : int32_t;

struct TAlbumValues {
    std::string Artist;
    std::string Album;
    std::string Genre;
    int32_t Year = 0;
    std::vector<std::string> Titles;  // per track in album order; "" keeps the track's own
};

struct TAlbumApplyOptions {
    bool WriteTags = true;
    TId3Choice TagType = TId3Choice::V2;
    bool RenamePlaylist = false;
    bool RenameFiles = false;
    bool RenameFolder = false;
    std::string TrackFormat = "%number - %title";
    std::string ListFormat = "%artist - %album (%year)";
    std::string JournalFolder;  // where the renames keep their journal; "" the program folder
};

// What did not work, for the user to see ("Could not write the tags of x.mp3").
struct TAlbumApplyReport {
    std::vector<std::string> Failures;
};

// Called after each track's tags: (tracks done, track count).  It also lets
// pending events run.
using TApplyProgress = std::function<void(size_t done, size_t count)>;

void StoreAlbumValues(Tm3u& album, const TAlbumValues& values);
// Writes every track's tags.  An empty genre takes the track's own genre and
// a year of 0 the track's own year, and that value then holds for the
// tracks after it too.
void WriteAlbumTags(Tm3u& album, const TAlbumValues& values, TId3Choice tagType,
                    const TApplyProgress& progress, TAlbumApplyReport& report);
// Renames the playlist (and its picture), the track files and the folder as
// the options ask, and writes the playlist in `format`, all as one change
// (see RenameAndWriteAlbum): on failure the album keeps its names and its
// playlist.  A rename whose new name is taken is left out and reported.
// True when the playlist was written.
bool RenameAndSaveAlbum(Tm3u& album, const TAlbumApplyOptions& options, TPlaylistType format,
                        TAlbumApplyReport& report);
void WriteAlbumPlaylist(Tm3u& album, TPlaylistType format, TAlbumApplyReport& report);
