// Thumbnails of album pictures: their size, what they show, and the
// pictures they refuse.
#include "covers/Thumbnail.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <algorithm>
#include <vector>

#include "CoverFixtures.h"
#include "JpegTables.h"
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
    EXPECT_EQ(FirstQuantisationValue(buffer), 10);  // quality 70
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

// A flat picture of (r, g, b) encoded the way other programs write JPEG
// files: grayscale, progressive, 4:4:4, or as CMYK (stored YCCK with Adobe's
// inverted inks, as print software writes it).
enum class Kind { Gray, Progressive, Full444, Cmyk };
std::string EncodeAs(Kind kind, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    const size_t n = size_t(width) * size_t(height);
    std::vector<uint8_t> pixels;
    int format = TJPF_RGB, sampling = TJSAMP_420, flags = 0;
    switch (kind) {
        case Kind::Gray:
            format = TJPF_GRAY;
            sampling = TJSAMP_GRAY;
            pixels.assign(n, r);
            break;
        case Kind::Cmyk: {
            // Inverted inks: each channel is the light it lets through.
            format = TJPF_CMYK;
            const int k = std::max({r, g, b});
            const uint8_t cmyk[4] = {uint8_t(k ? r * 255 / k : 0), uint8_t(k ? g * 255 / k : 0),
                                     uint8_t(k ? b * 255 / k : 0), uint8_t(k)};
            for (size_t i = 0; i < n; ++i) pixels.insert(pixels.end(), cmyk, cmyk + 4);
            break;
        }
        case Kind::Progressive:
        case Kind::Full444:
            flags = kind == Kind::Progressive ? TJFLAG_PROGRESSIVE : 0;
            sampling = kind == Kind::Full444 ? TJSAMP_444 : TJSAMP_420;
            for (size_t i = 0; i < n; ++i) pixels.insert(pixels.end(), {r, g, b});
            break;
    }
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(handle, pixels.data(), width, 0, height, format, &out, &size,
                                   sampling, 95, flags);
    std::string jpeg = failed == 0 ? std::string(reinterpret_cast<char*>(out), size) : "";
    tjFree(out);
    tjDestroy(handle);
    return jpeg;
}

TEST(Thumbnail, EveryKindOfJpegGivesACoverOfItsColour) {
    const struct {
        Kind kind;
        const char* name;
        uint8_t r, g, b;
    } cases[] = {{Kind::Gray, "grayscale", 90, 90, 90},
                 {Kind::Progressive, "progressive", 200, 40, 60},
                 {Kind::Full444, "4:4:4", 30, 160, 220},
                 {Kind::Cmyk, "CMYK", 200, 40, 60}};
    for (const auto& c : cases) {
        const std::string jpeg = EncodeAs(c.kind, 300, 200, c.r, c.g, c.b);
        ASSERT_FALSE(jpeg.empty()) << c.name;
        EXPECT_TRUE(IsReadableJpeg(jpeg)) << c.name;
        const std::string thumbnail = MakeThumbnailFromBytes(jpeg, 0);
        TRgbImage image;
        ASSERT_TRUE(DecodeThumbnail(thumbnail, image)) << c.name;
        EXPECT_EQ(image.Width, 128) << c.name;
        EXPECT_EQ(image.Height, 128) << c.name;
        const uint8_t* middle = &image.Pixels[(64 * 128 + 64) * 3];
        EXPECT_NEAR(middle[0], c.r, 8) << c.name;
        EXPECT_NEAR(middle[1], c.g, 8) << c.name;
        EXPECT_NEAR(middle[2], c.b, 8) << c.name;
    }
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
