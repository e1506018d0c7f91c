// What closing the options does to the catalogue: when the view list is
// rebuilt, and the resets of play statistics and cached covers.
#include <gtest/gtest.h>

#include "AlbumBuilder.h"
#include "views/OptionEffects.h"

namespace {
TEST(OptionEffects, ViewRebuiltOnlyWhenTheChangedChartIsTheSortOrder) {
    struct Case {
        TOptionMarks marks;
        const char* sort;
        bool rebuilt;
    };
    TOptionMarks most, last, folder;
    most.MostPlayedChanged = true;
    last.LastPlayedChanged = true;
    folder.FolderOptionChanged = true;
    TOptionMarks others;  // edits that never touch the view list
    others.QualityChanged = others.SoundChanged = others.ClearPlayCounts = true;
    const Case cases[] = {
        {{}, "LastPlayed", false},     {most, "MostPlayed", true},  {most, "LastPlayed", false},
        {most, "AYG", false},          {last, "LastPlayed", true},  {last, "MostPlayed", false},
        {last, "AYG", false},          {folder, "AYG", true},       {folder, "LastPlayed", true},
        {others, "MostPlayed", false}, {last, "lastplayed", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ViewNeedsRebuild(c.marks, c.sort), c.rebuilt) << c.sort;
}

TEST(OptionEffects, ClearingPlayStatisticsCountsTheAlbumsThatChanged) {
    Tm3uList albums;
    AddAlbums(albums, {{.playCount = 3, .lastPlayed = "20240101120000"},
                       {.playCount = 0},
                       {.playCount = 1, .lastPlayed = "20230505050505"}});
    EXPECT_EQ(ClearPlayCounts(albums), 2u);
    EXPECT_EQ(ClearPlayCounts(albums), 0u);
    for (const auto& entry : albums) EXPECT_EQ(entry.object->PlayCount, 0);
    EXPECT_EQ(albums[0].LastPlayed, "20240101120000");  // the other statistic stays
    EXPECT_EQ(ClearLastPlayed(albums), 2u);
    for (const auto& entry : albums) EXPECT_TRUE(entry.object->LastPlayed.empty());
}

TEST(OptionEffects, DroppingCachedCoversLeavesNoneAndCountsThem) {
    Tm3uList albums;
    AddAlbums(albums, {{}, {}, {}});
    albums[0].CachedCover = "jpeg-bytes";
    albums[2].CachedCover = "more-jpeg";
    albums[2].PictureState = TPictureState::Present;
    EXPECT_EQ(DropCachedCovers(albums), 2u);
    for (const auto& entry : albums) EXPECT_TRUE(entry.object->CachedCover.empty());
    EXPECT_EQ(DropCachedCovers(albums), 0u);
}

TEST(OptionEffects, CoversFromAudioFilesGoAndCoversOfPictureFilesStay) {
    Tm3uList albums;
    AddAlbums(albums, {{}, {}});
    albums[0].CachedCover = "from-a-track";
    albums[1].CachedCover = "from-the-picture-file";
    albums[1].PictureState = TPictureState::Present;
    EXPECT_EQ(DropCoversOfAlbumsWithoutPicture(albums), 1u);
    EXPECT_TRUE(albums[0].CachedCover.empty());
    EXPECT_EQ(albums[1].CachedCover, "from-the-picture-file");
}
}  // namespace
