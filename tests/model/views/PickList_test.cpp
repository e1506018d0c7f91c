#include "views/PickList.h"

#include <gtest/gtest.h>

#include "AlbumBuilder.h"

using Items = std::vector<std::string>;

TEST(PickList, DistinctValuesOfTheWholeCollectionIgnoringCase) {
    Tm3uList albums;
    AddAlbums(albums, {{"queen", "", "Rock", 1975},
                       {"ABBA", "", "pop", 0},
                       {"Queen", "", "rock", 1991},
                       {"", "", "", 1975},
                       {"abba", "", "Pop", 2001},
                       {"Émile", "", "", 999}});
    EXPECT_EQ(CollectPickList(albums, TPickField::Artist), (Items{"ABBA", "Émile", "queen"}));
    EXPECT_EQ(CollectPickList(albums, TPickField::Genre), (Items{"pop", "Rock"}));
    // Years sort as text; unknown years (0) are left out.
    EXPECT_EQ(CollectPickList(albums, TPickField::Year), (Items{"1975", "1991", "2001", "999"}));
}

TEST(PickList, PickedItemsJoinTheFieldAsPlainTerms) {
    EXPECT_EQ(AppendPickedItems("", {"a", "b"}), "a;b");
    EXPECT_EQ(AppendPickedItems("\"x\"", {"a"}), "\"x\";a");
    EXPECT_EQ(AppendPickedItems("x", {}), "x");
}
