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
    result.Comment = FreeDBQueryComment(query);
    view.ShowComment(result.Comment);
    if (query.Result <= 0) return false;

    view.ShowStep(LangText("FreeDBRetrieve", "Retrieving albums information."));
    const auto chosen = ReadMatches(options, query.Matches, view);
    if (!chosen.Found || chosen.Values.Artist.empty()) {
        result.Comment = LangText("FreeDBNoAlbum", "No album information found.");
        view.ShowComment(result.Comment);
        return false;
    }
    view.ShowStep(LangText("FreeDBTagging", "Tagging files."));
    StoreAlbumValues(album, chosen.Values);
    const int tracks = static_cast<int>(album.Tracks.Count());
    view.SetAlbumBar(0, tracks);
    WriteAlbumTags(
        album, chosen.Values, options.Apply.TagType,
        [&](size_t done, size_t) { view.SetAlbumBar(static_cast<int>(done), tracks); },
        result.Report);
    view.SetAlbumBar(0, tracks);
    album.Refresh(true, options.ReadTags);
    return true;
}
}  // namespace

std::string FreeDBQueryComment(const TFreeDBQueryResult& query) {
    if (query.Failure == TFreeDBFailure::Refused) return query.Reason;
    if (query.Failure == TFreeDBFailure::CutShort)
        return LangText("FreeDBCutShort", "The FreeDB server's reply was cut short");
    if (query.Failure == TFreeDBFailure::NoDisc)
        return LangText("FreeDBNoDisc", "The album does not fit on a CD: no disc id");
    if (query.Result < 0) return LangText("CouldNotConnectFreeDB", "Could not connect to FreeDB");
    if (query.Result == 0) return LangText("NoAlbumFoundFreeDB", "No album found on FreeDB");
    return std::to_string(query.Matches.size()) + " " +
           LangText("AlbumsFoundFreeDB", "albums were found on FreeDB");
}

TFreeDBUpdateResult FreeDBUpdateAlbum(Tm3u& album, const TFreeDBUpdateOptions& options, int index,
                                      int count, bool last, TFreeDBUpdateView& view,
                                      const TProgress& progress) {
    TFreeDBUpdateResult result;
    view.SetOverallBar(index, count);
    view.ShowAlbum(album.Artist, album.Album, last);
    view.ShowStep(LangText("FreeDBGetAlbums", "Getting albums from FreeDB."));

    const bool found = !options.SearchAndTag || SearchAndTag(album, options, view, result);
    if (found) {
        const auto& apply = options.Apply;
        // The steps are shown in turn; the renames and the playlist are one change.
        if (apply.RenamePlaylist)
            view.ShowStep(LangText("FreeDBRenameList", "Renaming playlist."));
        if (apply.RenameFiles) view.ShowStep(LangText("FreeDBRenameFiles", "Renaming audio files."));
        if (apply.RenameFolder) view.ShowStep(LangText("FreeDBRenameDir", "Renaming directory."));
        view.ShowStep(LangText("FreeDBSaveList", "Saving playlist."));
        // An album whose change could not be made stays for the next batch.
        if (RenameAndSaveAlbum(album, apply, album.PlaylistType(), result.Report)) {
            album.Status = TAlbumStatus::Orange;
            result.Success = true;
        }
    }
    result.Cancelled = progress.CancelRequested();
    if (last) view.SetOverallBar(count, count);
    return result;
}

std::vector<Tm3u*> BatchAlbums(const std::vector<Tm3u*>& shown) {
    std::vector<Tm3u*> albums;
    for (Tm3u* album : shown)
        if (album->Status == TAlbumStatus::Red) albums.push_back(album);
    return albums;
}

TFreeDBBatchResult RunFreeDBBatch(const std::vector<Tm3u*>& albums,
                                  const TFreeDBUpdateOptions& options, TFreeDBUpdateView& view,
                                  TProgress& progress) {
    TFreeDBBatchResult batch;
    const int count = static_cast<int>(albums.size());
    progress.SetTotal(count);
    for (int k = 0; k < count && !progress.CancelRequested(); ++k) {
        auto result =
            FreeDBUpdateAlbum(*albums[k], options, k, count, k + 1 == count, view, progress);
        if (result.Success) ++batch.Updated;
        batch.Cancelled = result.Cancelled;
        batch.Albums.push_back({albums[k], std::move(result)});
        progress.SetDone(k + 1);
    }
    batch.Cancelled = batch.Cancelled || progress.CancelRequested();
    return batch;
}
