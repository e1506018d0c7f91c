#include "views/Usearch_obj.h"

#include "collection/Um3u_obj.h"

void TSearch::Start(const TSearchSettings& settings) {
    Settings = settings;
    Rewind();
}

bool TSearch::AlbumMatches(const Tm3u& album) const {
    return album.MatchesText(Settings.Text, Settings.WordsOnly(), Settings.Fields);
}

std::optional<size_t> TSearch::NextMatchingTrack(const Tm3u& album) const {
    for (size_t i = size_t(TrackCursor); i < album.Tracks.Count(); ++i)
        if (album.Tracks[i].MatchesText(Settings.Text, Settings.WordsOnly(), Settings.Fields))
            return i;
    return std::nullopt;
}

TSearchResult TSearch::Next(std::span<const Tm3u* const> rows) {
    const long count = long(rows.size());
    if (AlbumCursor >= count) Rewind();  // the view has shrunk: start over
    if (!Defined()) return {TSearchStep::NeedsQuery};

    while (AlbumCursor < count) {
        if (TrackCursor != -1) {
            const Tm3u& album = *rows[size_t(AlbumCursor)];
            if (const auto track = NextMatchingTrack(album)) {
                TrackCursor = *track + 1 < album.Tracks.Count() ? long(*track) + 1 : -1;
                return {TSearchStep::TrackHit, size_t(AlbumCursor), *track};
            }
            TrackCursor = -1;
            continue;
        }
        if (++AlbumCursor >= count) break;
        TrackCursor = (Settings.Fields & SearchTrack) ? 0 : -1;
        if (AlbumMatches(*rows[size_t(AlbumCursor)]))
            return {TSearchStep::AlbumHit, size_t(AlbumCursor)};
    }
    Rewind();
    return {TSearchStep::NothingFound};
}
