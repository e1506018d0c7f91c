#include "freedb/AlbumApply.h"

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ulang.h"

void StoreAlbumValues(Tm3u& album, const TAlbumValues& values) {
    album.SetInfo(values.Artist, values.Year, values.Genre, values.Album);
}

void WriteAlbumTags(Tm3u& album, const TAlbumValues& values, TId3Choice tagType,
                    const TApplyProgress& progress, TAlbumApplyReport& report) {
    std::string genre = values.Genre;
    int32_t year = values.Year;
    const size_t count = album.Tracks.Count();
    for (size_t i = 0; i < count; ++i) {
        Tmp3& track = album.Tracks[i];
        std::string title = i < values.Titles.size() ? values.Titles[i] : std::string();
        if (title.empty()) title = track.Title;
        if (genre.empty()) genre = track.Genre;
        if (year == 0) year = track.Year;
        const TWriteResult written =
            track.WriteTags(tagType, {title, values.Artist, values.Album, genre, year});
        if (!written)
            report.Failures.push_back(
                FailureMessage("CouldNotWriteTags", "Could not write the tags of", track.Path, written));
        if (progress) progress(i + 1, count);
    }
}

void RenamePlaylistFile(Tm3u& album, const std::string& listFormat, TAlbumApplyReport& report) {
    const std::string before = album.PlaylistPath;
    const TWriteResult renamed = album.RenamePlaylist(listFormat);
    if (!renamed &&
        album.FormatAlbumName(listFormat) + ExtractFileExt(before) != ExtractFileName(before))
        report.Failures.push_back(FailureMessage("CouldNotRename1", "Could not rename", before, renamed));
}

void RenameTrackFiles(Tm3u& album, const std::string& trackFormat, TAlbumApplyReport& report) {
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        Tmp3& track = album.Tracks[i];
        const std::string before = track.Path;
        // Only MP3 files take the track format; the others keep their names.
        if (AudioKindOf(before) != TAudioKind::Mp3) continue;
        const TWriteResult renamed = track.RenameToFormat(static_cast<int>(i) + 1, trackFormat);
        if (!renamed) {
            report.Failures.push_back(FailureMessage("CouldNotRename1", "Could not rename", before, renamed));
            continue;
        }
        album.RekeyTrack(track);
    }
    report.PlaylistNeedsWriting = true;
}

void RenameAlbumFolder(Tm3u& album, const std::string& listFormat, TAlbumApplyReport& report) {
    const std::string before = ExcludeTrailingSeparator(ExtractFilePath(album.PlaylistPath));
    if (ExtractFileName(before) == album.FormatAlbumName(listFormat)) return;
    if (const TWriteResult renamed = album.RenameFolder(listFormat); !renamed)
        report.Failures.push_back(FailureMessage("CouldNotRename1", "Could not rename", before, renamed));
    report.PlaylistNeedsWriting = true;
}

void WriteAlbumPlaylist(Tm3u& album, TPlaylistType format, TAlbumApplyReport& report) {
    if (const TWriteResult written = album.WritePlaylist(format); !written)
        report.Failures.push_back(
            FailureMessage("CouldNotWrite", "Could not write", album.PlaylistPath, written));
}
