#pragma once
// JPEG pictures of album covers: the square thumbnail kept as an album's
// cached cover and in covers databases, decoding thumbnails for display, and
// encoding pixels as JPEG.  Thumbnails decode the source at a reduced scale
// (libjpeg-turbo's k/8 steps) before they are stretched, so a large picture
// costs little more than a small one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Quality numbers of cached covers: 0 -> 128, 1 -> 256, anything else -> 512.
int ThumbnailSide(int quality);

// Pixels, three bytes (R, G, B) each, row after row without padding.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Width and height from a JPEG's header; false when the bytes are no JPEG.
bool JpegSize(std::string_view jpeg, int& width, int& height);
// True when the bytes hold a JPEG this program can decode.
bool IsReadableJpeg(std::string_view jpeg);

// The whole picture at full size; false (image cleared) on any failure.
bool DecodeJpeg(std::string_view jpeg, TRgbImage& image);
// The picture decoded at the smallest k/8 scale whose sides are still at
// least minWidth x minHeight (or the full size when that is smaller).
bool DecodeJpegScaled(std::string_view jpeg, int minWidth, int minHeight, TRgbImage& image);
// The JPEG encoding of the pixels at a quality of 1-100; "" on failure.
std::string EncodeJpeg(const TRgbImage& image, int quality);

// Resamples the picture to width x height, averaging the source pixels each
// target pixel covers (and interpolating where it enlarges).
TRgbImage ScaleImage(const TRgbImage& source, int width, int height);

// The thumbnail of a JPEG held in memory: S x S pixels, S the side of the
// quality number or the picture's width when that is smaller; the whole
// picture stretched onto the square, encoded at quality 70.  "" on failure.
std::string MakeThumbnailFromBytes(std::string_view jpeg, int quality);
// The thumbnail of a JPEG file into `buffer` (replacing its contents).  False,
// with the buffer untouched, when the path is empty, the file is missing or
// it is no readable JPEG.
bool MakeThumbnail(const std::string& path, std::string& buffer, int quality);
// Decodes a thumbnail for display: false (image cleared) when the buffer is
// empty or holds no readable JPEG.
bool DecodeThumbnail(std::string_view buffer, TRgbImage& image);

// JPEG quality of thumbnails and of pictures converted from other formats.
constexpr int kThumbnailJpegQuality = 70;
constexpr int kConvertedPictureJpegQuality = 90;
