#include "freedb/AlbumApply.h"

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ulang.h"
#include "collection/AlbumRenames.h"

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

namespace {
// "Could not rename x.mp3: File exists".
std::string RenameMessage(const TFailure& failure) {
    return LangText("CouldNotRename1", "Could not rename") + " " + failure.file + ": " +
           failure.Why();
}
}  // namespace

bool RenameAndSaveAlbum(Tm3u& album, const TAlbumApplyOptions& options, TPlaylistType format,
                        TAlbumApplyReport& report) {
    TAlbumRenameOptions renames;
    renames.RenamePlaylist = options.RenamePlaylist;
    renames.RenameFiles = options.RenameFiles;
    renames.RenameFolder = options.RenameFolder;
    renames.TrackFormat = options.TrackFormat;
    renames.ListFormat = options.ListFormat;
    renames.JournalFolder = options.JournalFolder;
    const auto done = RenameAndWriteAlbum(album, renames, format);
    if (!done) {
        const TFailure& failure = done.Failure();
        const bool rename = failure.reason.starts_with("cannot rename");
        report.Failures.push_back(rename ? RenameMessage(failure)
                                         : LangText("CouldNotWrite", "Could not write") + " " +
                                               failure.file + ": " + failure.Why());
        return false;
    }
    for (const auto& skipped : done->Skipped) report.Failures.push_back(RenameMessage(skipped));
    return true;
}

void WriteAlbumPlaylist(Tm3u& album, TPlaylistType format, TAlbumApplyReport& report) {
    if (const TWriteResult written = album.WritePlaylist(format); !written)
        report.Failures.push_back(
            FailureMessage("CouldNotWrite", "Could not write", album.PlaylistPath, written));
}
