#pragma once
// An album's picture file (the playlist's name with "jpg") and its cached
// cover (the thumbnail kept in the album record and the list file).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/Result.h"

class TDirectory;
class TProgress;
class Tm3u;

// Where pictures come from when SetPicture is called.
enum TPictureSource : int {
    PictureDelete = -1,
    PictureFromFile = 0,
    PictureFromClipboard = 1,
    PictureFromJpeg = 2,
};

// SetPicture's results.
enum TPictureResult : int {
    PictureDone = 1,
    PictureNothingDone = 0,
    PictureFileUnreadable = -1,
    PictureClipboardEmpty = -2,
    PictureJpegUnreadable = -3,
    // The picture file could not be written or removed (the album keeps its
    // previous picture); the failure says why.
    PictureNotWritten = -4,
    PictureNotDeleted = -5,
};

// Turns a picture file that is not a JPEG (BMP, GIF, TIFF, PNG...) into JPEG
// bytes; "" when it cannot.  The windows give one; without it only JPEG
// files can become album pictures.
using TPictureConverter = std::function<std::string(const std::string& path)>;

// Sets or deletes the album's picture file; the cached cover is dropped
// first, whatever happens.  Kind 0 reads `fileName` (a JPEG is copied byte
// for byte, anything else goes through the converter); kinds 1 (the
// clipboard's picture, already as JPEG) and 2 take `jpeg`, written unchanged.
// The file is written through a temporary file renamed over the old one.
// A file that cannot be written or deleted gives PictureNotWritten or
// PictureNotDeleted, with the reason in `failure` when one is given.
int SetPicture(Tm3u& album, int kind, const std::string& fileName = {}, std::string_view jpeg = {},
               const TPictureConverter& convert = {}, TFailure* failure = nullptr);

// How cached covers are made.
struct TCoverOptions {
    bool CacheCovers = true;  // the "CacheCovers" setting
    int Quality = 0;          // the "CacheCoversQuality" setting
    // An album without a picture file takes the cover embedded in its first
    // track (the "EmbeddedCovers" setting).  No file is written and the
    // album's picture state stays as it is.
    bool FromTracks = true;
};

// The thumbnail the album's cached cover would hold, made without storing
// it: for showing an album whose cover is not cached yet, so that showing
// never changes the album.  "" when there is no picture.
std::string MakeAlbumThumbnail(const Tm3u& album, const TCoverOptions& options);

// Builds the cached cover when it is empty (dropped first when forced);
// true when new bytes were made, so the caller marks the list modified.
// Never fails: a broken picture simply yields no cover.
bool BuildCachedCover(Tm3u& album, bool force, const TCoverOptions& options);

enum class TCachedCoverState {
    NotApplicable,  // no picture file, or its file does not exist
    Cached,
    NotCached,
};
TCachedCoverState HasCachedCover(const Tm3u& album);

// Builds the missing cached covers of every album, counting albums in the
// progress (which may ask it to stop); nothing when caching is off.  Returns
// how many were built.
size_t CacheAllCovers(TDirectory& directory, const TCoverOptions& options,
                      TProgress* progress = nullptr);
