#include "covers/AlbumPicture.h"

#include <cerrno>
#include <cstdio>

#include "collection/Udir_obj.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "core/Progress.h"
#include "core/PumpEvents.h"
#include "covers/EmbeddedPicture.h"
#include "covers/Thumbnail.h"

namespace {

void Tell(TFailure* failure, TFailure what) {
    if (failure) *failure = std::move(what);
}

bool WritePicture(const std::string& target, std::string_view jpeg, TFailure* failure) {
    const TWriteResult written = WriteFileSafely(target, jpeg);
    if (!written)
        Tell(failure, {written.file.empty() ? target : written.file, "Could not write file",
                       written.systemMessage, written.error});
    return bool(written);
}

// Removes the picture file; a file already gone is no failure.
int DeletePicture(Tm3u& album, const std::string& target, TFailure* failure) {
    if (std::remove(target.c_str()) != 0 && errno != ENOENT) {
        Tell(failure, TFailure::Of("Could not delete file", target, errno));
        return PictureNotDeleted;
    }
    album.PictureState = TPictureState::Missing;
    return PictureDone;
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

int StoreJpeg(Tm3u& album, const std::string& target, std::string_view jpeg, int unreadable,
              TFailure* failure) {
    if (!IsReadableJpeg(jpeg)) return unreadable;
    if (!WritePicture(target, jpeg, failure)) return PictureNotWritten;
    album.PictureState = TPictureState::Present;
    return PictureDone;
}

}  // namespace

int SetPicture(Tm3u& album, int kind, const std::string& fileName, std::string_view jpeg,
               const TPictureConverter& convert, TFailure* failure) {
    album.DropCachedCover();
    const std::string target = PicturePathFor(album.PlaylistPath);
    switch (kind) {
        case PictureDelete:
            return DeletePicture(album, target, failure);
        case PictureFromFile:
            return StoreJpeg(album, target, PictureFileAsJpeg(fileName, convert),
                             PictureFileUnreadable, failure);
        case PictureFromClipboard:
            return StoreJpeg(album, target, jpeg, PictureClipboardEmpty, failure);
        case PictureFromJpeg:
            return StoreJpeg(album, target, jpeg, PictureJpegUnreadable, failure);
        default:
            return PictureNothingDone;
    }
}

std::string MakeAlbumThumbnail(const Tm3u& album, const TCoverOptions& options) {
    std::string thumbnail;
    const std::string picture = album.PictureFile();
    if (!picture.empty()) {
        MakeThumbnail(picture, thumbnail, options.Quality);
        return thumbnail;
    }
    if (!options.FromTracks || album.Tracks.Empty()) return {};
    const std::string embedded = EmbeddedPicture(album.Tracks[0].Path);
    return embedded.empty() ? std::string() : MakeThumbnailFromBytes(embedded, options.Quality);
}

bool BuildCachedCover(Tm3u& album, bool force, const TCoverOptions& options) {
    if (force) album.DropCachedCover();
    if (!album.CachedCover.empty()) return false;
    album.CachedCover = MakeAlbumThumbnail(album, options);
    return !album.CachedCover.empty();
}

TCachedCoverState HasCachedCover(const Tm3u& album) {
    const std::string picture = album.PictureFile();
    if (picture.empty() || !FileExists(picture)) return TCachedCoverState::NotApplicable;
    return album.CachedCover.empty() ? TCachedCoverState::NotCached : TCachedCoverState::Cached;
}

size_t CacheAllCovers(TDirectory& directory, const TCoverOptions& options, TProgress* progress) {
    if (!options.CacheCovers) return 0;
    if (progress) {
        progress->SetTotal(int64_t(directory.List.Count()));
        progress->SetDone(0);
    }
    size_t built = 0;
    for (const auto& entry : directory.List) {
        if (progress && progress->CancelRequested()) break;
        PumpEvents();
        if (progress) progress->Advance();
        if (BuildCachedCover(*entry.object, false, options)) ++built;
    }
    return built;
}
