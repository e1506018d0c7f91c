#include "browse/BrowseLayout.h"

#include <gtest/gtest.h>

namespace {
const TBrowseGrid kFourByThree{4, 3};
}

TEST(BrowseLayout, GridOfAnArea) {
    struct Case {
        int width, height, scrollBar, panelWidth, panelHeight, space;
        TBrowseGrid grid;
    } cases[] = {
        // 4 + 4 * (120 + 4) + 16 = 516: exactly four columns.
        {516, 500, 16, 120, 160, 4, {4, 3}},
        {515, 500, 16, 120, 160, 4, {3, 3}},
        // 4 + 3 * 164 = 496 rows
        {516, 496, 16, 120, 160, 4, {4, 3}},
        {516, 495, 16, 120, 160, 4, {4, 2}},
        // narrower and lower than one panel: still one column and one row
        {60, 40, 16, 120, 160, 4, {1, 1}},
        {0, 0, 16, 120, 160, 4, {1, 1}},
        {-10, -10, 16, 120, 160, 0, {1, 1}},
        // no space at all
        {400, 400, 0, 100, 100, 0, {4, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_EQ(BrowseGridFor(c.width, c.height, c.scrollBar, c.panelWidth, c.panelHeight,
                                c.space),
                  c.grid);
    }
}

TEST(BrowseLayout, ScrollRange) {
    struct Case {
        size_t albums;
        TBrowseGrid grid;
        int total, maximum;
    } cases[] = {
        {0, kFourByThree, 0, 1},    // empty: the scroll bar hides (maximum 1)
        {1, kFourByThree, 1, 1},
        {8, kFourByThree, 2, 1},    // fewer rows than fit: never below 1
        {12, kFourByThree, 3, 1},
        {13, kFourByThree, 4, 2},
        {25, kFourByThree, 7, 5},
        {48, kFourByThree, 12, 10},
        {100000, {8, 4}, 12500, 12497},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.albums);
        EXPECT_EQ(BrowseTotalRows(c.albums, c.grid.columns), c.total);
        EXPECT_EQ(BrowseScrollMaximum(c.albums, c.grid), c.maximum);
    }
}

TEST(BrowseLayout, TwentyFiveAlbumsAtTheLastPosition) {
    // Panels show albums 17 ... 25 (1-based); the last three stay empty.
    const size_t first = BrowseFirstIndex(5, 4);
    EXPECT_EQ(first, 16u);
    const size_t shown = std::min<size_t>(25 - first, size_t(kFourByThree.PanelCount()));
    EXPECT_EQ(shown, 9u);
    EXPECT_EQ(size_t(kFourByThree.PanelCount()) - shown, 3u);
}

TEST(BrowseLayout, PanelGeometry) {
    EXPECT_EQ(BrowsePanelRect(0, 4, 120, 160, 4), (TBrowseRect{4, 4, 120, 160}));
    EXPECT_EQ(BrowsePanelRect(3, 4, 120, 160, 4), (TBrowseRect{376, 4, 120, 160}));
    EXPECT_EQ(BrowsePanelRect(5, 4, 120, 160, 4), (TBrowseRect{128, 168, 120, 160}));
    const TBrowsePanelParts parts = BrowsePanelPartsFor(120, 160);
    EXPECT_EQ(parts.artist.top, 160 - 45);
    EXPECT_EQ(parts.album.top, 160 - 30);
    EXPECT_EQ(parts.year.top, 160 - 15);
    EXPECT_EQ(parts.cover, (TBrowseRect{0, 0, 120, 160 - 45 - 2}));
    EXPECT_EQ(parts.mark, (TBrowseRect{1, 142, 16, 16}));
}

TEST(BrowseLayout, ShowIndex) {
    const int maximum = BrowseScrollMaximum(48, kFourByThree);
    // The 40th album from position 1.
    EXPECT_EQ(BrowseShowIndex(39, 1, kFourByThree, maximum), std::optional<int>(10));
    // Already visible: positions 1 ... 3 show indexes 0 ... 11 from position 1.
    EXPECT_EQ(BrowseShowIndex(11, 1, kFourByThree, maximum), std::nullopt);
    EXPECT_EQ(BrowseShowIndex(0, 1, kFourByThree, maximum), std::nullopt);
    EXPECT_EQ(BrowseShowIndex(12, 1, kFourByThree, maximum), std::optional<int>(4));
    // Above the view: the album's row comes first.
    EXPECT_EQ(BrowseShowIndex(5, 10, kFourByThree, maximum), std::optional<int>(2));
    // The last album of 25 from position 1 stops at the maximum.
    EXPECT_EQ(BrowseShowIndex(24, 1, kFourByThree, 5), std::optional<int>(5));
}

TEST(BrowseLayout, WheelSteps) {
    EXPECT_EQ(BrowseWheelStep(1, 1, 5), std::nullopt);  // up at the top: nothing
    EXPECT_EQ(BrowseWheelStep(2, 1, 5), std::optional<int>(1));
    EXPECT_EQ(BrowseWheelStep(1, -1, 5), std::optional<int>(2));
    EXPECT_EQ(BrowseWheelStep(5, -1, 5), std::nullopt);  // down at the bottom: nothing
    EXPECT_EQ(BrowseWheelStep(1, -1, 1), std::nullopt);
    EXPECT_EQ(BrowseWheelStep(3, 0, 5), std::nullopt);
}

TEST(BrowseLayout, Keys) {
    using K = TBrowseKey;
    const TBrowseGrid fiveByTwo{5, 2};
    struct Case {
        K key;
        int row, rows;
        std::optional<int> target;
    } cases[] = {
        {K::Down, 3, 9, 8},
        {K::Down, 8, 9, std::nullopt},
        {K::Down, 4, 9, 9},
        {K::Up, 8, 9, 3},
        {K::Up, 5, 9, std::nullopt},
        {K::Up, 6, 9, 1},
        {K::PageDown, 1, 9, 9},  // one page holds all albums
        {K::PageDown, 9, 9, 9},
        {K::PageDown, 1, 30, 11},
        {K::PageDown, 20, 30, 30},
        {K::PageDown, 20, 21, 21},
        {K::PageUp, 9, 9, 1},
        {K::PageUp, 25, 30, 15},
        {K::Home, 7, 9, 1},
        {K::End, 2, 9, 9},
        {K::Left, 1, 9, std::nullopt},
        {K::Left, 2, 9, 1},
        {K::Right, 9, 9, std::nullopt},
        {K::Right, 8, 9, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.key) << " from " << c.row);
        EXPECT_EQ(BrowseKeyTarget(c.key, c.row, c.rows, fiveByTwo), c.target);
    }
    for (K key : {K::PageUp, K::PageDown, K::Home, K::End, K::Left, K::Right, K::Up, K::Down})
        EXPECT_EQ(BrowseKeyTarget(key, 0, 0, fiveByTwo), std::nullopt);
}
