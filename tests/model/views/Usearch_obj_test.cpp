#include "views/Usearch_obj.h"

#include <gtest/gtest.h>

#include "AlbumBuilder.h"

namespace {
using Hits = std::vector<std::string>;

class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AddAlbums(albums, {{"Simon & Garfunkel", "Bookends", "", 0, {"Mrs Robinson", "America"}},
                           {"Other", "Nothing", "", 0, {"Simon says", "Robinson again"}},
                           {"The Beatles", "Abbey Road", "", 0, {"Come Together"}},
                           {"Beatles, The", "Help", "", 0, {}}});
        for (size_t i = 0; i < albums.Count(); ++i) rows.push_back(&albums[i]);
    }

    // Every hit of one search, "A<row>" for an album and "T<row>.<track>" for a
    // track, until the end of the view.
    Hits AllHits(const std::string& text, int mode, int fields) {
        search.Start({text, mode, fields});
        Hits hits;
        for (int guard = 0; guard < 100; ++guard) {
            const TSearchResult r = search.Next(rows);
            if (r.step == TSearchStep::NothingFound) return hits;
            hits.push_back(r.step == TSearchStep::AlbumHit
                               ? "A" + std::to_string(r.row)
                               : "T" + std::to_string(r.row) + "." + std::to_string(r.track));
        }
        ADD_FAILURE() << "the search never ended";
        return hits;
    }

    Tm3uList albums;
    std::vector<Tm3u*> rows;
    TSearch search;
};

constexpr int kAll = SearchArtist | SearchAlbum | SearchTrack;
}  // namespace

TEST_F(SearchTest, HitsComeInViewOrderAlbumBeforeItsTracks) {
    struct Case {
        const char* text;
        int mode;
        int fields;
        Hits hits;
    } cases[] = {
        {"simon garfunkel", 0, kAll, {"A0"}},
        {"simon & garfunkel", 0, SearchArtist, {"A0"}},  // "&" is no word
        {"bea", 0, SearchArtist, {"A2", "A3"}},
        {"the beatles", 1, SearchArtist, {"A2"}},
        {"robinson", 0, kAll, {"T0.0", "T1.1"}},
        {"simon", 0, SearchTrack, {"T1.0"}},  // albums are never hits themselves
        {"o", 1, kAll, {"A0", "T0.0", "A1", "T1.0", "T1.1", "A2", "T2.0"}},
        {"list", 0, SearchFiles, {"A0", "A1", "A2", "A3"}},  // the playlist's file name
        {"list", 0, SearchArtist, {}},
        {"mp3", 0, SearchTrack | SearchFiles, {"T0.0", "T0.1", "T1.0", "T1.1", "T2.0"}},
        {"simon", 0, 0, {}},  // no field: nothing can match
        {"", 0, kAll, {}},
        // Every word must lie in one value.
        {"simon bookends", 0, kAll, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AllHits(c.text, c.mode, c.fields), c.hits)
            << "[" << c.text << "] mode " << c.mode << " fields " << c.fields;
}

TEST_F(SearchTest, NeedsAQueryFirstAndStartsOverAfterTheEnd) {
    EXPECT_EQ(search.Next(rows).step, TSearchStep::NeedsQuery);
    EXPECT_EQ(search.Next(rows).step, TSearchStep::NeedsQuery);

    search.Start({"beatles", 0, SearchArtist});
    EXPECT_EQ(search.Next(rows).row, 2u);
    EXPECT_EQ(search.Next(rows).row, 3u);
    EXPECT_EQ(search.Next(rows).step, TSearchStep::NothingFound);
    EXPECT_EQ(search.AlbumCursor, -1);
    EXPECT_EQ(search.TrackCursor, -1);
    // The next search next begins at the first album without asking again.
    const TSearchResult again = search.Next(rows);
    EXPECT_EQ(again.step, TSearchStep::AlbumHit);
    EXPECT_EQ(again.row, 2u);
}

TEST_F(SearchTest, CursorsArePositionsThatSurviveAChangedView) {
    search.Start({"o", 1, kAll});
    search.Next(rows);  // A0
    search.Next(rows);  // T0.0
    // The view shrinks below the cursor: the search starts over.
    const std::vector<Tm3u*> shrunk = {&albums[2]};
    search.Next(rows);  // A1: cursor at row 1
    const TSearchResult first = search.Next(shrunk);
    EXPECT_EQ(first.step, TSearchStep::AlbumHit);
    EXPECT_EQ(first.row, 0u);

    // Reordered rows: the search goes on from the same position.
    search.Start({"o", 1, kAll});
    search.Next(rows);  // A0
    const std::vector<Tm3u*> reordered = {&albums[0], &albums[2], &albums[1]};
    EXPECT_EQ(search.Next(reordered).step, TSearchStep::TrackHit);  // track 0 of row 0
    search.Next(reordered);                                         // no more tracks: A1 (Beatles)
    const TSearchResult track = search.Next(reordered);
    EXPECT_EQ(track.step, TSearchStep::TrackHit);
    EXPECT_EQ(track.row, 1u);
    EXPECT_EQ(track.track, 0u);
}
