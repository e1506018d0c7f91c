// The details panel's lines for pictures and audio files.
#include <gtest/gtest.h>

#include "builder/BuilderDetails.h"

TEST(BuilderDetails, PictureSizeInRoundedKilobytes) {
    EXPECT_EQ(PictureDetails(500, 500, 64000), "500x500 , 63 kb");
    EXPECT_EQ(PictureDetails(300, 100, 1535), "300x100 , 1 kb");
    EXPECT_EQ(PictureDetails(300, 100, 1536), "300x100 , 2 kb");
    EXPECT_EQ(PictureDetails(1, 1, 0), "1x1 , 0 kb");
}

TEST(BuilderDetails, AudioLengthAndRoundedMegabytes) {
    struct Case {
        int64_t durationMs, bytes;
        const char* text;
    } cases[] = {
        {245000, 6291456, "4:05 , 6 Mb"},
        {245999, 6291456, "4:05 , 6 Mb"},  // whole seconds, not rounded
        {59000, 524288, "0:59 , 1 Mb"},    // half a megabyte rounds up
        {3600000, 524287, "60:00 , 0 Mb"},
    };
    for (const auto& c : cases) EXPECT_EQ(AudioDetails(c.durationMs, c.bytes), c.text) << c.text;
}
