#include "views/Usearch_obj.h"

#include "collection/Um3u_obj.h"

void TSearch::Start(const TSearchSettings& settings) {
    Settings = settings;
    Rewind();
}

bool TSearch::AlbumMatches(const Tm3u& album) const {
    return album.MatchesText(Settings.Text, Settings.WordsOnly(), Settings.Fields);
}

long TSearch::NextMatchingTrack(const Tm3u& album) const {
    for (size_t i = size_t(TrackCursor); i < album.Tracks.Count(); ++i)
        if (album.Tracks[i].MatchesText(Settings.Text, Settings.WordsOnly(), Settings.Fields))
            return long(i);
    return -1;
}

TSearchResult TSearch::Next(const std::vector<Tm3u*>& rows) {
    const long count = long(rows.size());
    if (AlbumCursor >= count) Rewind();  // the view has shrunk: start over
    if (!Defined()) return {TSearchStep::NeedsQuery};

    while (AlbumCursor < count) {
        if (TrackCursor != -1) {
            const Tm3u& album = *rows[size_t(AlbumCursor)];
            const long track = NextMatchingTrack(album);
            if (track >= 0) {
                TrackCursor = size_t(track) + 1 < album.Tracks.Count() ? track + 1 : -1;
                return {TSearchStep::TrackHit, AlbumCursor, track};
            }
            TrackCursor = -1;
            continue;
        }
        if (++AlbumCursor >= count) break;
        TrackCursor = (Settings.Fields & SearchTrack) ? 0 : -1;
        if (AlbumMatches(*rows[size_t(AlbumCursor)])) return {TSearchStep::AlbumHit, AlbumCursor};
    }
    Rewind();
    return {TSearchStep::NothingFound};
}
