// Reading an album's tracks from its playlist file and writing the album
// back as a playlist, in the format chosen by the extension.
#include <cerrno>
#include <unistd.h>

#include <system_error>

#include "collection/Playlist.h"
#include "collection/PlaylistFormat.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

namespace {

// Tracks lacking a value take the album's.
void FillTracksFromAlbum(Tm3u& album) {
    for (const auto& entry : album.Tracks) {
        Tmp3& track = *entry.object;
        if (track.Artist.empty()) track.Artist = album.Artist;
        if (track.Album.empty()) track.Album = album.Album;
        if (track.Genre.empty()) track.Genre = album.Genre;
        if (track.Year == 0) track.Year = album.Year;
    }
}

TPlaylistContents ContentsOf(const Tm3u& album) {
    TPlaylistContents contents;
    contents.artist = album.Artist;
    contents.album = album.Album;
    contents.genre = album.Genre;
    contents.year = album.Year;
    for (const auto& entry : album.Tracks) {
        const Tmp3& track = *entry.object;
        contents.entries.push_back({track.Path, track.Duration, track.Title});
    }
    return contents;
}

}  // namespace

bool Tm3u::ReadPlaylist(bool checkExistence, bool listedAsFile) {
    if (!listedAsFile && !FileExists(PlaylistPath)) return false;  // never opens a device or pipe
    std::string bytes;
    try {
        bytes = ReadWholeFile(PlaylistPath);
    } catch (const std::system_error&) {
        return false;
    }
    const TPlaylistContents contents = PlaylistFormatOf(PlaylistPath).read(bytes);
    if (!contents.artist.empty()) Artist = contents.artist;
    if (!contents.album.empty()) Album = contents.album;
    if (!contents.genre.empty()) Genre = contents.genre;
    if (contents.year) Year = *contents.year;

    const std::string folder = ExtractFilePath(PlaylistPath);
    for (const auto& entry : contents.entries) {
        Tmp3& track = Tracks[AddTrack(ResolvePlaylistEntry(entry.path, folder), checkExistence)];
        if (entry.durationMs) track.Duration = *entry.durationMs;
        if (track.Title.empty()) track.Title = entry.title;
    }
    FillTracksFromAlbum(*this);
    return true;
}

std::string Tm3u::PlaylistPathIn(TPlaylistType format) const {
    if (static_cast<uint32_t>(format) >= PlaylistFormats().size() || PlaylistPath.size() < 3)
        return {};
    // Written in its own format, the file is replaced in place whatever the
    // case of its extension ("x.M3U" stays "x.M3U").
    if (IsPlaylistPath(PlaylistPath) && PlaylistFormatOf(PlaylistPath).type == format)
        return PlaylistPath.str();
    return PlaylistPath.substr(0, PlaylistPath.size() - 3) +
           std::string(PlaylistFormatFor(format).extension);
}

std::string Tm3u::PlaylistBytes(TPlaylistType format, std::string_view path) const {
    return PlaylistFormatFor(format).write(ContentsOf(*this), ExtractFilePath(path));
}

TWriteResult Tm3u::WritePlaylist(TPlaylistType format) {
    const std::string newPath = PlaylistPathIn(format);
    if (newPath.empty()) return TWriteResult::Failure("no playlist format for", PlaylistPath, 0);
    const bool sameFormat = newPath == PlaylistPath.view();
    // Another album's playlist of that name ("a.m3u" beside "a.pls") is never
    // overwritten by a change of format.
    if (!sameFormat && FileExists(newPath))
        return TWriteResult::Failure("cannot replace another playlist:", newPath, EEXIST);
    if (TWriteResult written = WriteFileSafely(newPath, PlaylistBytes(format, newPath)); !written)
        return written;
    if (!SamePath(newPath, PlaylistPath) && unlink(PlaylistPath.c_str()) != 0 && errno != ENOENT)
        return TWriteResult::Failure("cannot delete", PlaylistPath, errno);
    PlaylistPath = newPath;
    return TWriteResult::Success();
}
