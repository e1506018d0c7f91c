#include "covers/AlbumPicture.h"

#include <cstdio>

#include "collection/Udir_obj.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "core/PumpEvents.h"
#include "covers/EmbeddedPicture.h"
#include "covers/Thumbnail.h"

namespace {

bool WritePicture(const std::string& target, std::string_view jpeg) {
    try {
        ReplaceFileContents(target, jpeg);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The JPEG bytes of a picture file: the file itself when it is a JPEG,
// otherwise the converter's result.
std::string PictureFileAsJpeg(const std::string& path, const TPictureConverter& convert) {
    if (path.empty() || !FileExists(path)) return {};
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::exception&) {
        return {};
    }
    if (IsReadableJpeg(bytes)) return bytes;
    return convert ? convert(path) : std::string();
}

int StoreJpeg(Tm3u& album, const std::string& target, std::string_view jpeg, int failure) {
    if (!IsReadableJpeg(jpeg) || !WritePicture(target, jpeg)) return failure;
    album.PictureState = TPictureState::Present;
    return PictureDone;
}

struct ProgressReset {
    ~ProgressReset() { ProgressTotal = ProgressCount = 0; }
};

}  // namespace

int SetPicture(Tm3u& album, int kind, const std::string& fileName, std::string_view jpeg,
               const TPictureConverter& convert) {
    album.DropCachedCover();
    const std::string target = PicturePathFor(album.PlaylistPath);
    switch (kind) {
        case PictureDelete:
            if (FileExists(target)) std::remove(target.c_str());
            album.PictureState = TPictureState::Missing;
            return PictureDone;
        case PictureFromFile:
            return StoreJpeg(album, target, PictureFileAsJpeg(fileName, convert),
                             PictureFileUnreadable);
        case PictureFromClipboard:
            return StoreJpeg(album, target, jpeg, PictureClipboardEmpty);
        case PictureFromJpeg:
            return StoreJpeg(album, target, jpeg, PictureJpegUnreadable);
        default:
            return PictureNothingDone;
    }
}

bool BuildCachedCover(Tm3u& album, bool force, const TCoverOptions& options) {
    if (force) album.DropCachedCover();
    if (!album.CachedCover.empty()) return false;
    const std::string picture = album.PictureFile();
    if (!picture.empty()) return MakeThumbnail(picture, album.CachedCover, options.Quality);
    if (!options.FromTracks || album.Tracks.Empty()) return false;
    const std::string embedded = EmbeddedPicture(album.Tracks[0].Path);
    if (embedded.empty()) return false;
    album.CachedCover = MakeThumbnailFromBytes(embedded, options.Quality);
    return !album.CachedCover.empty();
}

TCachedCoverState HasCachedCover(const Tm3u& album) {
    const std::string picture = album.PictureFile();
    if (picture.empty() || !FileExists(picture)) return TCachedCoverState::NotApplicable;
    return album.CachedCover.empty() ? TCachedCoverState::NotCached : TCachedCoverState::Cached;
}

size_t CacheAllCovers(TDirectory& directory, const TCoverOptions& options) {
    if (!options.CacheCovers) return 0;
    ProgressReset reset;
    ProgressTotal = int(directory.List.Count());
    ProgressCount = 0;
    size_t built = 0;
    for (const auto& entry : directory.List) {
        PumpEvents();
        ++ProgressCount;
        if (BuildCachedCover(*entry.object, false, options)) ++built;
    }
    return built;
}
