// Reading an album's tracks from its playlist file and writing the album
// back as a playlist, in the format chosen by the extension.
#include <cerrno>
#include <unistd.h>

#include <system_error>

#include "collection/Playlist.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

namespace {

const char* ExtensionOf(TPlaylistType format) {
    switch (format) {
        case TPlaylistType::M3U:
            return "m3u";
        case TPlaylistType::PLS:
            return "pls";
        case TPlaylistType::B4S:
            return "b4s";
        default:
            return nullptr;
    }
}

TPlaylistContents ParsePlaylist(TPlaylistType type, std::string_view bytes) {
    switch (type) {
        case TPlaylistType::PLS:
            return TPlsPlaylist::Read(bytes);
        case TPlaylistType::B4S:
            return TB4sPlaylist::Read(bytes);
        default:
            return TM3uPlaylist::Read(bytes);
    }
}

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
    const TPlaylistContents contents = ParsePlaylist(PlaylistType(), bytes);
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

TWriteResult Tm3u::WritePlaylist(TPlaylistType format) {
    const char* extension = ExtensionOf(format);
    if (!extension || PlaylistPath.size() < 3)
        return TWriteResult::Failure("no playlist format for", PlaylistPath, 0);
    // Written in its own format, the file is replaced in place whatever the
    // case of its extension ("x.M3U" stays "x.M3U").
    const bool sameFormat =
        LowerAscii(ExtractFileExt(PlaylistPath)) == std::string(".") + extension;
    const std::string newPath = sameFormat
                                    ? PlaylistPath.str()
                                    : PlaylistPath.substr(0, PlaylistPath.size() - 3) + extension;
    // Another album's playlist of that name ("a.m3u" beside "a.pls") is never
    // overwritten by a change of format.
    if (!sameFormat && FileExists(newPath))
        return TWriteResult::Failure("cannot replace another playlist:", newPath, EEXIST);
    const TPlaylistContents contents = ContentsOf(*this);
    std::string bytes;
    switch (format) {
        case TPlaylistType::PLS:
            bytes = TPlsPlaylist::Write(contents);
            break;
        case TPlaylistType::B4S:
            bytes = TB4sPlaylist::Write(contents);
            break;
        default:
            bytes = TM3uPlaylist::Write(contents, ExtractFilePath(newPath));
            break;
    }
    if (TWriteResult written = WriteFileSafely(newPath, bytes); !written) return written;
    if (!SamePath(newPath, PlaylistPath) && unlink(PlaylistPath.c_str()) != 0 && errno != ENOENT)
        return TWriteResult::Failure("cannot delete", PlaylistPath, errno);
    PlaylistPath = newPath;
    return TWriteResult::Success();
}
