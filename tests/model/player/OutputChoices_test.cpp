// The stored numbers of the sound settings and the items the options
// window shows for them.
#include <gtest/gtest.h>

#include "player/OutputChoices.h"

namespace {
TEST(OutputChoices, OutputTypesCountFromOneAndAnOldZeroShowsTheFirst) {
    const struct {
        int stored, item;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {4, 3}, {5, -1}, {-1, -1}, {99, -1}};
    for (const auto& c : cases) EXPECT_EQ(OutputTypeItem(c.stored, 4), c.item) << c.stored;
    for (int item = 0; item < 4; ++item)
        EXPECT_EQ(OutputTypeItem(OutputTypeOfItem(item), 4), item);
}

TEST(OutputChoices, RatesBeyondTheOfferedOnesShowNoItem) {
    const struct {
        int rate, item;
    } cases[] = {{48000, 0}, {44100, 1}, {22050, 2}, {11025, -1}, {8000, -1}, {-1, -1}, {0, -1}};
    for (const auto& c : cases) EXPECT_EQ(OutputRateItem(c.rate), c.item) << c.rate;
    // The table still knows the two rates the list does not offer.
    EXPECT_EQ(OutputRateOfItem(3), 11025);
    EXPECT_EQ(OutputRateOfItem(4), 8000);
    EXPECT_EQ(OutputRateOfItem(5), -1);
    EXPECT_EQ(OutputRateOfItem(-1), -1);
}

TEST(OutputChoices, StoredChoicesOutsideTheListShowNoItem) {
    EXPECT_EQ(ChoiceItem(0, 3), 0);
    EXPECT_EQ(ChoiceItem(2, 3), 2);
    EXPECT_EQ(ChoiceItem(3, 3), -1);
    EXPECT_EQ(ChoiceItem(-1, 3), -1);
    EXPECT_EQ(ChoiceItem(0, 0), -1);  // an output without devices
}
}  // namespace
