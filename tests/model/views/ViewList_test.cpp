#include "views/ViewList.h"

#include <gtest/gtest.h>

#include "AlbumBuilder.h"
#include "views/Ufilter_obj.h"
#include "views/Uselection_obj.h"

namespace {
class ViewListTest : public ::testing::Test {
  protected:
    // The titles of the view, top to bottom.
    std::vector<std::string> Shown(const TSortSettings& sort, const TFilter& filter = {},
                                   const TSelection* selection = nullptr, bool editMode = false) {
        RebuildViewList(view, albums, filter, selection, editMode, sort);
        std::vector<std::string> titles;
        for (Tm3u* album : view.Albums()) titles.push_back(album->Album);
        return titles;
    }

    Tm3uList albums;
    TViewList view{"en_US"};
};

using Names = std::vector<std::string>;
}  // namespace

TEST_F(ViewListTest, YearOrderPutsUnknownYearsLastOrFirst) {
    AddAlbums(albums, {{"Queen", "Unknown", "Rock", 0},
                       {"Queen", "Opera", "Rock", 1975},
                       {"Queen", "Innuendo", "Rock", 1991},
                       {"ABBA", "Gold", "Pop", 1992}});
    EXPECT_EQ(Shown({"AYG", false}), (Names{"Gold", "Innuendo", "Opera", "Unknown"}));
    EXPECT_EQ(Shown({"AYG", true}), (Names{"Gold", "Unknown", "Opera", "Innuendo"}));
    EXPECT_EQ(Shown({"YAG", true}), (Names{"Unknown", "Opera", "Innuendo", "Gold"}));
}

TEST_F(ViewListTest, CollationIgnoresCaseAndOrdersBlanksDigitsLetters) {
    AddAlbums(albums, {{"beatles", "b2", "", 2000},
                       {"Émile", "e", "", 2000},
                       {"10cc", "digits", "", 2000},
                       {"", "blank", "", 2000},
                       {"BEATLES", "b1", "", 2000},
                       {"Eagles", "d", "", 2000},
                       {"Frank", "f", "", 2000}});
    // "beatles" and "BEATLES" tie on the artist: the album part decides.
    EXPECT_EQ(Shown({"AYG"}), (Names{"blank", "digits", "b1", "b2", "d", "e", "f"}));
}

TEST_F(ViewListTest, EqualKeysListTheLaterAlbumFirst) {
    AddAlbums(albums, {{"X", "Same", "Rock", 2001}, {"Y", "Other", "Rock", 2001}});
    Tm3u& copy = AddAlbum(albums, {"X", "Same", "Rock", 2001});
    RebuildViewList(view, albums, {}, nullptr, false, {"AYG"});
    ASSERT_EQ(view.Count(), 3u);
    EXPECT_EQ(&view[0], &copy);
    EXPECT_EQ(&view[1], &albums[0]);
}

TEST_F(ViewListTest, OnlyTheFirstFiftyCharactersOfTheArtistCount) {
    const std::string stem(50, 'a');
    AddAlbums(albums, {{stem + "zzz", "Newer", "", 2005}, {stem + "bbb", "Older", "", 1990}});
    EXPECT_EQ(Shown({"AYG"}), (Names{"Newer", "Older"}));
}

TEST_F(ViewListTest, MostPlayedChartKeepsTheTopOfItsLength) {
    for (int i = 1; i <= 40; ++i)
        AddAlbum(albums, {"A", "played " + std::to_string(i), "", 2000, {}, i});
    AddAlbum(albums, {"A", "never", "", 2000});
    TSortSettings sort{"MostPlayed"};
    sort.MostOftenPlayedCount = 25;
    const Names titles = Shown(sort);
    ASSERT_EQ(titles.size(), 25u);
    EXPECT_EQ(titles.front(), "played 40");
    EXPECT_EQ(titles.back(), "played 16");

    sort.MostOftenPlayedCount = 100;  // never-played albums stay out of a long chart
    EXPECT_EQ(Shown(sort).size(), 40u);
}

TEST_F(ViewListTest, LastPlayedChartShowsTheMostRecentFirst) {
    AddAlbums(albums, {{"A", "old", "", 0, {}, 1, "20010101000000"},
                       {"A", "never", "", 0},
                       {"A", "recent", "", 0, {}, 1, "20240101120000"},
                       {"A", "middle", "", 0, {}, 1, "20120505101010"}});
    TSortSettings sort{"LastPlayed"};
    EXPECT_EQ(Shown(sort), (Names{"recent", "middle", "old"}));
    sort.LastPlayedCount = 2;
    EXPECT_EQ(Shown(sort), (Names{"recent", "middle"}));
}

TEST_F(ViewListTest, FilterAndSelectionDecideWhatIsListed) {
    AddAlbums(albums, {{"ABBA", "a1", "Pop", 1976},
                       {"ABBA", "a2", "Pop", 1980},
                       {"Queen", "q1", "Rock", 1975},
                       {"Queen", "q2", "Rock", 1991}});
    TSelection selection("Car");
    selection.Add(&albums[1]);
    selection.Add(&albums[2]);
    selection.Add(&albums[3]);
    TFilter to1985;
    to1985.Year = "-1985";

    EXPECT_EQ(Shown({"AYG"}, to1985), (Names{"a2", "a1", "q1"}));
    // Edit mode off: only members that pass the filter.
    EXPECT_EQ(Shown({"AYG"}, to1985, &selection, false), (Names{"a2", "q1"}));
    // Edit mode on: every album that passes the filter, members marked.
    EXPECT_EQ(Shown({"AYG"}, to1985, &selection, true), (Names{"a2", "a1", "q1"}));
    EXPECT_FALSE(albums[0].InSelection);
    EXPECT_TRUE(albums[1].InSelection);
    EXPECT_TRUE(albums[2].InSelection);
    // A member hidden by the filter loses its mark at the next rebuild.
    EXPECT_FALSE(albums[3].InSelection);

    Shown({"AYG"});
    EXPECT_FALSE(albums[1].InSelection) << "no selection chosen: no marks";
}

TEST_F(ViewListTest, ChangedAlbumValuesAreSortedAnewAfterTheNextRebuild) {
    AddAlbums(albums, {{"B", "first", "", 2000}, {"C", "second", "", 2000}});
    EXPECT_EQ(Shown({"AYG"}), (Names{"first", "second"}));
    albums[1].Artist = "A";
    EXPECT_EQ(Shown({"AYG"}), (Names{"second", "first"}));
    albums[1].Year = 1990;
    EXPECT_EQ(Shown({"YAG", true}), (Names{"second", "first"}));
    albums[0].Year = 1980;
    EXPECT_EQ(Shown({"YAG", true}), (Names{"first", "second"}));
}

TEST_F(ViewListTest, IndexOfGivesTheRowOrNothingForAHiddenAlbum) {
    AddAlbums(albums, {{"ABBA", "a1", "Pop", 1976}, {"Queen", "q1", "Rock", 1991}});
    TFilter to1985;
    to1985.Year = "-1985";
    EXPECT_EQ(Shown({"AYG"}, to1985), (Names{"a1"}));
    EXPECT_EQ(view.IndexOf(&albums[0]), 0u);  // the first row is a row, not "none"
    EXPECT_FALSE(view.IndexOf(&albums[1]).has_value());
    EXPECT_FALSE(view.IndexOf(nullptr).has_value());
}

TEST_F(ViewListTest, KeysKeptOverChangesOfOrderAndYearSortAsAFreshView) {
    // Equal artist, genre and year leave the order to the titles (one empty),
    // which a change of order or of a year takes from the keys already made.
    AddAlbums(albums, {{"Beck", "Odelay", "Rock", 1996},
                       {"Beck", "", "Rock", 1996},
                       {"Beck", "Mutations", "Rock", 1996},
                       {"Abba", "Arrival", "Pop", 1976},
                       {"Beck", "mellow gold", "Rock", 1996}});
    const auto fresh = [this](const TSortSettings& sort) {
        TViewList other{"en_US"};
        RebuildViewList(other, albums, {}, nullptr, false, sort);
        Names titles;
        for (Tm3u* album : other.Albums()) titles.push_back(album->Album);
        return titles;
    };
    for (const char* order : {"AYG", "GYA", "YAG", "AGY", "YGA", "GAY"}) {
        for (bool yearAsc : {false, true}) {
            const TSortSettings sort{order, yearAsc};
            EXPECT_EQ(Shown(sort), fresh(sort)) << order << (yearAsc ? " ascending" : "");
        }
    }
    albums[3].Year = 2001;
    EXPECT_EQ(Shown({"YAG", true}), (Names{"", "mellow gold", "Mutations", "Odelay", "Arrival"}));
}
