#include "freedb/Ubatch.h"

#include "core/Ucommon.h"
#include "core/Ulang.h"

namespace {
// The values of the matches, read in list order until one is complete.
struct TChosenMatch {
    bool Found = false;
    TAlbumValues Values;
};

bool IsComplete(const TDiscDetails& details, int year) {
    return !details.Album.empty() && !details.Artist.empty() && !details.Genre.empty() && year != 0;
}

TChosenMatch ReadMatches(const TFreeDBUpdateOptions& options,
                         const std::vector<TFreeDBMatch>& matches, TFreeDBUpdateView& view) {
    TChosenMatch chosen;
    const int maximum = static_cast<int>(matches.size()) * 3;
    view.SetAlbumBar(0, maximum);
    int position = 0;
    for (const auto& match : matches) {
        view.Pump();
        const auto read = FreeDBRead(options.Server, match.Category, match.DiscId);
        if (read.Result < 0) {
            // A match that cannot be read gives nothing to write.
            view.SetAlbumBar(position += 3, maximum);
            continue;
        }
        const auto& details = read.Details;
        chosen.Found = true;
        chosen.Values.Album = details.Album;
        chosen.Values.Artist = details.Artist;
        chosen.Values.Year = StrToIntOrZero(details.Year);
        // The category is the genre written, not the disc's own genre field.
        chosen.Values.Genre = match.Category;
        chosen.Values.Titles.clear();
        for (const auto& track : details.Tracks) chosen.Values.Titles.push_back(track.Title);
        if (IsComplete(details, chosen.Values.Year)) break;
        view.SetAlbumBar(position += 3, maximum);
    }
    view.SetAlbumBar(0, maximum);
    return chosen;
}

// Steps 3-6: search, read, store and tag.  False when nothing was found.
bool SearchAndTag(Tm3u& album, const TFreeDBUpdateOptions& options, TFreeDBUpdateView& view,
                  TFreeDBUpdateResult& result) {
    const auto query = FreeDBQuery(options.Server, album, options.Measure);
    view.ShowComment(FreeDBQueryComment(query));
    if (query.Result <= 0) return false;

    view.ShowStep(LangText("FreeDBRetrieve", "Retrieving albums information."));
    const auto chosen = ReadMatches(options, query.Matches, view);
    if (!chosen.Found || chosen.Values.Artist.empty()) {
        view.ShowComment(LangText("FreeDBNoAlbum", "No album information found."));
        return false;
    }
    view.ShowStep(LangText("FreeDBTagging", "Tagging files."));
    StoreAlbumValues(album, chosen.Values);
    const int tracks = static_cast<int>(album.Tracks.Count());
    view.SetAlbumBar(0, tracks);
    WriteAlbumTags(
        album, chosen.Values, options.Apply.TagType,
        [&](size_t done, size_t) {
            view.SetAlbumBar(static_cast<int>(done), tracks);
            view.Pump();
        },
        result.Report);
    view.SetAlbumBar(0, tracks);
    album.Refresh(true, options.ReadTags);
    return true;
}
}  // namespace

std::string FreeDBQueryComment(const TFreeDBQueryResult& query) {
    if (query.Failure == TFreeDBFailure::Refused) return query.Reason;
    if (query.Failure == TFreeDBFailure::NoDisc)
        return LangText("FreeDBNoDisc", "The album does not fit on a CD: no disc id");
    if (query.Result < 0) return LangText("CouldNotConnectFreeDB", "Could not connect to FreeDB");
    if (query.Result == 0) return LangText("NoAlbumFoundFreeDB", "No album found on FreeDB");
    return std::to_string(query.Matches.size()) + " " +
           LangText("AlbumsFoundFreeDB", "albums were found on FreeDB");
}

TFreeDBUpdateResult FreeDBUpdateAlbum(Tm3u& album, const TFreeDBUpdateOptions& options, int index,
                                      int count, bool last, TFreeDBUpdateView& view,
                                      std::atomic<bool>& cancel) {
    cancel = false;
    TFreeDBUpdateResult result;
    view.SetOverallBar(index, count);
    view.ShowAlbum(album.Artist, album.Album, last);
    view.ShowStep(LangText("FreeDBGetAlbums", "Getting albums from FreeDB."));

    const bool found = !options.SearchAndTag || SearchAndTag(album, options, view, result);
    if (found) {
        const auto& apply = options.Apply;
        if (apply.RenamePlaylist) {
            view.ShowStep(LangText("FreeDBRenameList", "Renaming playlist."));
            RenamePlaylistFile(album, apply.ListFormat, result.Report);
        }
        if (apply.RenameFiles) {
            view.ShowStep(LangText("FreeDBRenameFiles", "Renaming audio files."));
            RenameTrackFiles(album, apply.TrackFormat, result.Report);
        }
        if (apply.RenameFolder) {
            view.ShowStep(LangText("FreeDBRenameDir", "Renaming directory."));
            RenameAlbumFolder(album, apply.ListFormat, result.Report);
        }
        view.ShowStep(LangText("FreeDBSaveList", "Saving playlist."));
        WriteAlbumPlaylist(album, album.PlaylistType(), result.Report);
        album.Status = TAlbumStatus::Orange;
        result.Success = true;
    }
    result.Cancelled = cancel;
    if (last) view.SetOverallBar(count, count);
    return result;
}

std::vector<Tm3u*> BatchAlbums(const std::vector<Tm3u*>& shown) {
    std::vector<Tm3u*> albums;
    for (Tm3u* album : shown)
        if (album->Status == TAlbumStatus::Red) albums.push_back(album);
    return albums;
}

int RunFreeDBBatch(const std::vector<Tm3u*>& albums, const TFreeDBUpdateOptions& options,
                   TFreeDBUpdateView& view, std::atomic<bool>& cancel,
                   const std::function<void(Tm3u&, const TFreeDBUpdateResult&)>& afterAlbum) {
    int updated = 0;
    const int count = static_cast<int>(albums.size());
    for (int k = 0; k < count; ++k) {
        const auto result =
            FreeDBUpdateAlbum(*albums[k], options, k, count, k + 1 == count, view, cancel);
        if (result.Success) ++updated;
        if (afterAlbum) afterAlbum(*albums[k], result);
        if (result.Cancelled) break;
    }
    return updated;
}
