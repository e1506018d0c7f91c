#include "covers/Thumbnail.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/FileSystem.h"

namespace {

// Pictures larger than this are refused rather than decoded: a damaged or
// hostile header must not make the program allocate gigabytes.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

struct TjDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

const unsigned char* Bytes(std::string_view data) {
    return reinterpret_cast<const unsigned char*>(data.data());
}

bool ReadHeader(tjhandle handle, std::string_view jpeg, int& width, int& height,
                int* colorspace = nullptr) {
    if (jpeg.empty() || jpeg.size() > 0x7fffffffu) return false;
    int subsampling = 0, space = 0;
    if (tjDecompressHeader3(handle, Bytes(jpeg), static_cast<unsigned long>(jpeg.size()), &width,
                            &height, &subsampling, &space) != 0)
        return false;
    if (colorspace) *colorspace = space;
    return width > 0 && height > 0 && int64_t{width} * height <= kMaxPixels;
}

// CMYK and YCCK pictures (print files, Adobe's) cannot be decoded to RGB
// directly: they are decoded to CMYK and converted.  Their ink values are
// stored inverted (255 = no ink), as Adobe writes them, so the colour is the
// white that each ink leaves, times what black leaves.
bool DecodeCmyk(tjhandle handle, std::string_view jpeg, TRgbImage& out) {
    std::vector<uint8_t> cmyk(size_t(out.Width) * size_t(out.Height) * 4);
    if (tjDecompress2(handle, Bytes(jpeg), static_cast<unsigned long>(jpeg.size()), cmyk.data(),
                      out.Width, 0, out.Height, TJPF_CMYK, 0) != 0)
        return false;
    for (size_t p = 0, n = size_t(out.Width) * size_t(out.Height); p < n; ++p) {
        const uint8_t* in = &cmyk[p * 4];
        for (int c = 0; c < 3; ++c) out.Pixels[p * 3 + size_t(c)] = uint8_t(in[c] * in[3] / 255);
    }
    return true;
}

// The smallest k/8 scale (k = 1..8) that keeps both sides at or above the
// wanted ones; the full size when none of the reductions does.
tjscalingfactor ChooseScale(int width, int height, int minWidth, int minHeight) {
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor best{1, 1};
    double bestRatio = 1.0;
    for (int i = 0; i < count; ++i) {
        const tjscalingfactor f = factors[i];
        const double ratio = double(f.num) / f.denom;
        if (ratio > 1.0 || ratio >= bestRatio) continue;
        if (TJSCALED(width, f) >= minWidth && TJSCALED(height, f) >= minHeight) {
            best = f;
            bestRatio = ratio;
        }
    }
    return best;
}

bool Decode(std::string_view jpeg, int minWidth, int minHeight, bool scaled, TRgbImage& image) {
    image = TRgbImage();
    TjHandle handle(tjInitDecompress());
    int width = 0, height = 0, colorspace = 0;
    if (!handle || !ReadHeader(handle.get(), jpeg, width, height, &colorspace)) return false;
    if (scaled) {
        const tjscalingfactor f =
            ChooseScale(width, height, std::min(minWidth, width), std::min(minHeight, height));
        width = TJSCALED(width, f);
        height = TJSCALED(height, f);
    }
    TRgbImage out;
    out.Width = width;
    out.Height = height;
    out.Pixels.resize(size_t(width) * size_t(height) * 3);
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) {
        if (!DecodeCmyk(handle.get(), jpeg, out)) return false;
    } else if (tjDecompress2(handle.get(), Bytes(jpeg), static_cast<unsigned long>(jpeg.size()),
                             out.Pixels.data(), width, 0, height, TJPF_RGB, 0) != 0) {
        return false;
    }
    image = std::move(out);
    return true;
}

// For one axis: which source pixels make each target pixel, and how much.
struct TTaps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<TTaps> AxisTaps(int from, int to) {
    std::vector<TTaps> taps(static_cast<size_t>(to));
    const double step = double(from) / to;
    for (int x = 0; x < to; ++x) {
        TTaps& t = taps[size_t(x)];
        if (from > to) {  // shrinking: average the covered span
            const double begin = x * step, end = (x + 1) * step;
            t.first = int(begin);
            for (int s = t.first; s < from && s < end; ++s) {
                const double cover = std::min<double>(end, s + 1) - std::max<double>(begin, s);
                t.weights.push_back(float(cover / step));
            }
        } else {  // enlarging: interpolate between the two nearest pixels
            double centre = (x + 0.5) * step - 0.5;
            centre = std::clamp(centre, 0.0, double(from - 1));
            t.first = std::min(int(centre), from - 1);
            const float frac = float(centre - t.first);
            t.weights.push_back(1.0f - frac);
            if (t.first + 1 < from) t.weights.push_back(frac);
        }
    }
    return taps;
}

uint8_t ToByte(float value) {
    return uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

int ThumbnailSide(int quality) {
    switch (quality) {
        case 0:
            return 128;
        case 1:
            return 256;
        default:
            return 512;
    }
}

bool JpegSize(std::string_view jpeg, int& width, int& height) {
    TjHandle handle(tjInitDecompress());
    return handle && ReadHeader(handle.get(), jpeg, width, height);
}

bool IsReadableJpeg(std::string_view jpeg) {
    TRgbImage image;
    return Decode(jpeg, 1, 1, true, image);
}

bool DecodeJpeg(std::string_view jpeg, TRgbImage& image) {
    return Decode(jpeg, 0, 0, false, image);
}

bool DecodeJpegScaled(std::string_view jpeg, int minWidth, int minHeight, TRgbImage& image) {
    return Decode(jpeg, minWidth, minHeight, true, image);
}

std::string EncodeJpeg(const TRgbImage& image, int quality) {
    if (image.Empty() || image.Pixels.size() < size_t(image.Width) * size_t(image.Height) * 3)
        return {};
    TjHandle handle(tjInitCompress());
    if (!handle) return {};
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(handle.get(), image.Pixels.data(), image.Width, 0, image.Height,
                                   TJPF_RGB, &out, &size, TJSAMP_420, quality, 0);
    std::string jpeg;
    if (failed == 0 && out) jpeg.assign(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    return jpeg;
}

TRgbImage ScaleImage(const TRgbImage& source, int width, int height) {
    TRgbImage target;
    if (source.Empty() || width <= 0 || height <= 0) return target;
    // Across first (every source row), then down.
    const std::vector<TTaps> across = AxisTaps(source.Width, width);
    std::vector<float> rows(size_t(source.Height) * size_t(width) * 3);
    for (int y = 0; y < source.Height; ++y) {
        const uint8_t* in = source.Pixels.data() + size_t(y) * size_t(source.Width) * 3;
        float* out = rows.data() + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; ++x) {
            const TTaps& t = across[size_t(x)];
            float r = 0, g = 0, b = 0;
            for (size_t k = 0; k < t.weights.size(); ++k) {
                const uint8_t* p = in + size_t(t.first + int(k)) * 3;
                r += p[0] * t.weights[k];
                g += p[1] * t.weights[k];
                b += p[2] * t.weights[k];
            }
            out[x * 3] = r;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = b;
        }
    }
    const std::vector<TTaps> down = AxisTaps(source.Height, height);
    target.Width = width;
    target.Height = height;
    target.Pixels.resize(size_t(width) * size_t(height) * 3);
    const size_t rowLength = size_t(width) * 3;
    std::vector<float> sum(rowLength);
    for (int y = 0; y < height; ++y) {
        const TTaps& t = down[size_t(y)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (size_t k = 0; k < t.weights.size(); ++k) {
            const float* in = rows.data() + size_t(t.first + int(k)) * rowLength;
            for (size_t i = 0; i < rowLength; ++i) sum[i] += in[i] * t.weights[k];
        }
        uint8_t* out = target.Pixels.data() + size_t(y) * rowLength;
        for (size_t i = 0; i < rowLength; ++i) out[i] = ToByte(sum[i]);
    }
    return target;
}

std::string MakeThumbnailFromBytes(std::string_view jpeg, int quality) {
    int width = 0, height = 0;
    if (!JpegSize(jpeg, width, height)) return {};
    const int side = std::min(ThumbnailSide(quality), width);
    TRgbImage picture;
    if (!DecodeJpegScaled(jpeg, side, side, picture)) return {};
    return EncodeJpeg(ScaleImage(picture, side, side), kThumbnailJpegQuality);
}

bool MakeThumbnail(const std::string& path, std::string& buffer, int quality) {
    if (path.empty() || !FileExists(path)) return false;
    std::string thumbnail;
    try {
        thumbnail = MakeThumbnailFromBytes(ReadWholeFile(path), quality);
    } catch (const std::exception&) {
        return false;
    }
    if (thumbnail.empty()) return false;
    buffer = std::move(thumbnail);
    return true;
}

bool DecodeThumbnail(std::string_view buffer, TRgbImage& image) {
    image = TRgbImage();
    return !buffer.empty() && DecodeJpeg(buffer, image);
}
