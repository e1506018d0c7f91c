// Thumbnails of album pictures: their size, what they show, and the
// pictures they refuse.
#include "covers/Thumbnail.h"

#include <gtest/gtest.h>

#include "CoverFixtures.h"
#include "TempDir.h"

namespace {

struct SizeCase {
    int width, height, quality, side;
};

class ThumbnailSize : public testing::TestWithParam<SizeCase> {};

TEST_P(ThumbnailSize, IsSquareOfTheQualitySideOrTheWidth) {
    const SizeCase c = GetParam();
    TempDir dir;
    const std::string path = dir.File("p.jpg", MakeJpeg(c.width, c.height));
    std::string buffer = "old bytes";
    ASSERT_TRUE(MakeThumbnail(path, buffer, c.quality));
    int w = 0, h = 0;
    ASSERT_TRUE(JpegSize(buffer, w, h));
    EXPECT_EQ(w, c.side);
    EXPECT_EQ(h, c.side);
}

INSTANTIATE_TEST_SUITE_P(Cases, ThumbnailSize,
                         testing::Values(SizeCase{600, 600, 0, 128},  // shrunk
                                         SizeCase{100, 300, 0, 100},  // squeezed to its width
                                         SizeCase{300, 100, 0, 128},  // stretched vertically
                                         SizeCase{600, 600, 1, 256}, SizeCase{600, 600, 2, 512},
                                         SizeCase{600, 600, 7, 512},  // any other number
                                         SizeCase{1500, 1100, 0, 128}, SizeCase{300, 300, 2, 300}));

TEST(Thumbnail, KeepsWhatThePictureShowsWhereItShowsIt) {
    // Left half black, right half white: a flipped or transposed picture
    // would put white on the left or make the halves run top to bottom.
    const std::string thumbnail = MakeThumbnailFromBytes(MakeJpeg(1000, 700), 0);
    TRgbImage image;
    ASSERT_TRUE(DecodeThumbnail(thumbnail, image));
    ASSERT_EQ(image.Width, 128);
    auto grey = [&](int x, int y) { return image.Pixels[(size_t(y) * 128 + size_t(x)) * 3]; };
    for (int y : {5, 64, 122}) {
        EXPECT_LT(grey(10, y), 30) << y;
        EXPECT_GT(grey(117, y), 225) << y;
    }
}

TEST(Thumbnail, KeepsAFlatColourFlat) {
    const std::string thumbnail = MakeThumbnailFromBytes(MakeJpeg(1203, 917, 90, 140), 1);
    TRgbImage image;
    ASSERT_TRUE(DecodeThumbnail(thumbnail, image));
    for (size_t i = 0; i < image.Pixels.size(); i += 997) EXPECT_NEAR(image.Pixels[i], 140, 4);
}

TEST(Thumbnail, RefusesMissingAndForeignFilesWithoutTouchingTheBuffer) {
    TempDir dir;
    const std::string cases[] = {"", dir / "missing.jpg", dir.File("bmp.jpg", "BM not a jpeg"),
                                 dir.File("cut.jpg", MakeJpeg(200, 200).substr(0, 100)),
                                 dir.File("empty.jpg", "")};
    for (const std::string& path : cases) {
        std::string buffer = "kept";
        EXPECT_FALSE(MakeThumbnail(path, buffer, 0)) << path;
        EXPECT_EQ(buffer, "kept") << path;
    }
}

TEST(Thumbnail, ScaledDecodingStopsAtTheSmallestStepNotBelowTheTarget) {
    struct Case {
        int width, height, minSide, decodedWidth, decodedHeight;
    } cases[] = {
        {1600, 1200, 128, 200, 150},  // 1/8
        {1600, 1200, 256, 400, 300},  // 2/8
        {1600, 1200, 512, 800, 600},  // 4/8: 3/8 leaves the height short
        {2400, 2400, 512, 600, 600},  // 2/8
        {600, 600, 128, 150, 150},    // 2/8: 1/8 would give 75
        {100, 300, 100, 100, 300},    // full size
    };
    for (const Case& c : cases) {
        TRgbImage image;
        ASSERT_TRUE(DecodeJpegScaled(MakeJpeg(c.width, c.height), c.minSide, c.minSide, image));
        EXPECT_EQ(image.Width, c.decodedWidth) << c.width << "x" << c.height << " " << c.minSide;
        EXPECT_EQ(image.Height, c.decodedHeight) << c.width << "x" << c.height << " " << c.minSide;
    }
}

TEST(Thumbnail, DecodeThumbnailClearsThePictureOnFailure) {
    TRgbImage image;
    ASSERT_TRUE(DecodeThumbnail(MakeJpeg(8, 8), image));
    EXPECT_FALSE(DecodeThumbnail("", image));
    EXPECT_TRUE(image.Empty());
    ASSERT_TRUE(DecodeThumbnail(MakeJpeg(8, 8), image));
    EXPECT_FALSE(DecodeThumbnail("\xFF\xD8garbage", image));
    EXPECT_TRUE(image.Empty());
}

TEST(ScaleImage, AveragesWhatEachTargetPixelCovers) {
    TRgbImage source;
    source.Width = 4;
    source.Height = 1;
    source.Pixels = {0, 0, 0, 100, 100, 100, 200, 200, 200, 40, 40, 40};
    const TRgbImage halved = ScaleImage(source, 2, 1);
    ASSERT_EQ(halved.Pixels.size(), 6u);
    EXPECT_EQ(halved.Pixels[0], 50);
    EXPECT_EQ(halved.Pixels[3], 120);
    const TRgbImage tall = ScaleImage(source, 4, 3);
    EXPECT_EQ(tall.Height, 3);
    EXPECT_EQ(tall.Pixels[(2 * 4 + 2) * 3], 200);  // enlarging repeats the row
}

}  // namespace
