#pragma once
// Renaming an album's files after the name formats and rewriting its
// playlist, as one change: either every rename happens and the playlist
// names the new files, or the album keeps its old names and its old
// playlist.
//
// The renames are planned first and kept in a journal in the program folder
// (`JournalFolder`) before any is done.  A failure undoes the renames done so
// far; after a kill, the next start (CompleteAlbumRenames) finds the journal:
// when the new playlist is in place the change is finished, else the renames
// are undone.
#include <string>
#include <vector>

#include "core/Result.h"

class Tm3u;
enum class TPlaylistType : int32_t;

struct TAlbumRenameOptions {
    bool RenamePlaylist = false;  // and its picture
    bool RenameFiles = false;     // MP3 files only
    bool RenameFolder = false;
    std::string TrackFormat = "%number - %title";
    std::string ListFormat = "%artist - %album (%year)";
    std::string JournalFolder;  // with its trailing "/"; "" is the program folder
};

// Renames that are not tried, and why: a name that is taken, a folder shared
// with other albums.  The rest of the change goes ahead without them.
struct TAlbumRenameResult {
    std::vector<TFailure> Skipped;
};

// Renames what the options ask and writes the playlist in `format`.  On
// failure nothing of the album changed, on disk or in `album`, and the
// failure names the file.
TResult<TAlbumRenameResult> RenameAndWriteAlbum(Tm3u& album, const TAlbumRenameOptions& options,
                                                TPlaylistType format);

// Finishes or undoes the changes of journals left in the folder by programs
// that were stopped partway.  Returns the journals it could not settle.
std::vector<TFailure> CompleteAlbumRenames(const std::string& journalFolder);
