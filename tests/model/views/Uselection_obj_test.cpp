#include "views/Uselection_obj.h"

#include <gtest/gtest.h>

#include "AlbumBuilder.h"
#include "RecordBytes.h"

namespace {
const std::string kNew = "New selection";
}

TEST(Selections, NewNamesCountUpFromTheFirstFreeOne) {
    TSelections selections;
    EXPECT_EQ(selections.Create(kNew), "New selection");
    EXPECT_EQ(selections.Create(kNew), "New selection 1");
    EXPECT_EQ(selections.Create(kNew), "New selection 2");
    ASSERT_TRUE(selections.Rename("new SELECTION", "Car"));
    EXPECT_EQ(selections.Create(kNew), "New selection");
    EXPECT_EQ(selections.Create(), "New selection 3") << "the English text without a language";
    EXPECT_EQ(selections.Count(), 5u);
}

TEST(Selections, RenameRules) {
    TSelections selections;
    selections.Create("Car");
    selections.Create("Home");
    struct Case {
        const char* from;
        const char* to;
        bool renamed;
    } cases[] = {
        {"Car", "CAR", false},   // a change of case alone is refused
        {"Car", "home", false},  // taken, whatever the case
        {"Nowhere", "X", false}, {"car", "Travel", true},
        {"Travel", "", true},  // an empty name is accepted
    };
    for (const auto& c : cases)
        EXPECT_EQ(selections.Rename(c.from, c.to), c.renamed) << c.from << " -> " << c.to;
    EXPECT_EQ(selections.List()[0]->Name, "");
    EXPECT_EQ(selections.SortedNames(), (std::vector<std::string>{"", "Home"}));
}

TEST(Selections, FindAndRemoveIgnoreCaseOfAToZ) {
    TSelections selections;
    selections.Create("Car");
    selections.Create("Zed");
    EXPECT_EQ(selections.Find("cAR"), selections.List()[0].get());
    EXPECT_EQ(selections.Find("Ca"), nullptr);
    EXPECT_FALSE(selections.Remove("Bus"));
    EXPECT_TRUE(selections.Remove("ZED"));
    EXPECT_EQ(selections.Count(), 1u);
}

TEST(Selections, MembershipKeepsOrderAndUniqueness) {
    Tm3uList albums;
    AddAlbums(albums, {{"a"}, {"b"}, {"c"}});
    TSelections selections;
    selections.Create("One");
    selections.Create("Two");
    TSelection& one = *selections.Find("One");
    EXPECT_TRUE(one.Add(&albums[2]));
    EXPECT_TRUE(one.Add(&albums[0]));
    EXPECT_FALSE(one.Add(&albums[2]));
    selections.Find("Two")->Add(&albums[0]);
    EXPECT_EQ(one.Albums(), (std::vector<Tm3u*>{&albums[2], &albums[0]}));

    selections.RemoveAlbumFromAll(&albums[0]);
    EXPECT_EQ(one.Albums(), (std::vector<Tm3u*>{&albums[2]}));
    EXPECT_EQ(selections.Find("Two")->Count(), 0u);
    EXPECT_FALSE(one.Remove(&albums[1]));
}

TEST(Selections, EditModeTogglesAndAddAll) {
    Tm3uList albums;
    AddAlbums(albums, {{"a"}, {"b"}, {"c"}, {"hidden"}});
    TSelection selection("S");
    EXPECT_TRUE(ToggleMembership(selection, albums[3]));
    EXPECT_TRUE(albums[3].InSelection);
    const std::vector<Tm3u*> view = {&albums[0], &albums[1], &albums[2]};

    // The current album is no member: the whole view joins.
    AddOrRemoveAll(selection, view, albums[1]);
    EXPECT_EQ(selection.Count(), 4u);
    EXPECT_TRUE(albums[0].InSelection && albums[2].InSelection);

    EXPECT_FALSE(ToggleMembership(selection, albums[0]));
    EXPECT_FALSE(albums[0].InSelection);
    // The current album is a member: the view leaves; the hidden member stays.
    AddOrRemoveAll(selection, view, albums[1]);
    EXPECT_EQ(selection.Albums(), std::vector<Tm3u*>{&albums[3]});
    EXPECT_FALSE(albums[1].InSelection);
}

TEST(SelectionsBlock, WritesPositionsInMembershipOrderAndReadsThemBack) {
    Tm3uList albums;
    AddAlbums(albums, {{"a"}, {"b"}, {"c"}});
    TSelections selections;
    selections.Create("Car");
    selections.Create("Empty");
    selections.Find("Car")->Add(&albums[2]);
    selections.Find("Car")->Add(&albums[0]);

    const std::string bytes = WrittenBytes([&](TLoadSave& s) { selections.Write(s, albums); });
    // clang-format off
    EXPECT_EQ(bytes, std::string(RecordBytes()
        .Int(2)
        .Str("Car").Int(2).Int(2).Int(0)
        .Str("Empty").Int(0)));
    // clang-format on

    TSelections read;
    read.Create("stale");
    TLoadSave stream;
    stream.OpenBytes(bytes);
    read.Read(stream, albums);
    ASSERT_EQ(read.Count(), 2u);
    EXPECT_EQ(read.Find("car")->Albums(), (std::vector<Tm3u*>{&albums[2], &albums[0]}));
    EXPECT_EQ(read.Find("stale"), nullptr);
}

TEST(SelectionsBlock, APositionOutsideTheAlbumsEndsTheRead) {
    Tm3uList albums;
    AddAlbums(albums, {{"a"}, {"b"}});
    for (int32_t badPosition : {2, -1}) {
        // clang-format off
        const std::string bytes = RecordBytes()
            .Int(3)
            .Str("Good").Int(1).Int(1)
            .Str("Bad").Int(2).Int(0).Int(badPosition)
            .Str("Never read").Int(0);
        // clang-format on
        TSelections read;
        TLoadSave stream;
        stream.OpenBytes(bytes);
        EXPECT_THROW(read.Read(stream, albums), EMyFileError);
        ASSERT_EQ(read.Count(), 2u) << badPosition;
        EXPECT_EQ(read.Find("Good")->Albums(), (std::vector<Tm3u*>{&albums[1]}));
        EXPECT_EQ(read.Find("Bad")->Albums(), (std::vector<Tm3u*>{&albums[0]}));
    }
}
