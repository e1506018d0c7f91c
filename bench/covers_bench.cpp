// Cover caching speed: building the cached covers (128 x 128 thumbnails) of
// 2,000 albums whose pictures are JPEGs of 600 x 600 to 1500 x 1500 pixels,
// next to decoding the same files at full size and scaling them smoothly
// (the same scaler and encoder, only without the reduced-scale decoding).
// The pictures are made on the first run in /tmp: 100 distinct files, each
// album's picture a hard link to one of them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "collection/Udir_obj.h"
#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "covers/AlbumPicture.h"
#include "covers/Thumbnail.h"

namespace {
constexpr int kAlbums = 2000;
constexpr int kDistinctPictures = 100;

// A picture with smooth areas and fine detail, like a photographed cover.
std::string MakePicture(int side, int seed) {
    TRgbImage image;
    image.Width = image.Height = side;
    image.Pixels.resize(size_t(side) * size_t(side) * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &image.Pixels[(size_t(y) * size_t(side) + size_t(x)) * 3];
            const double u = double(x) / side, v = double(y) / side;
            p[0] = uint8_t(127 + 120 * std::sin(6 * u + seed));
            p[1] = uint8_t(127 + 120 * std::cos(5 * v + seed * 0.3));
            p[2] = uint8_t((x * 7 + y * 13 + seed) % 64 + ((x / 40 + y / 40) % 2) * 160);
        }
    return EncodeJpeg(image, 88);
}

std::string Folder() {
    static const std::string folder = [] {
        const std::string root =
            (std::filesystem::temp_directory_path() / "mavelo-coversbench").string();
        const std::string done = root + "/ready";
        if (FileExists(done)) return root;
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root + "/pictures");
        for (int i = 0; i < kDistinctPictures; ++i) {
            const int side = 600 + (900 * i) / (kDistinctPictures - 1);
            ReplaceFileContents(root + "/pictures/" + std::to_string(i) + ".jpg",
                                MakePicture(side, i));
        }
        for (int a = 0; a < kAlbums; ++a) {
            const std::string album = root + "/albums/" + std::to_string(a);
            std::filesystem::create_directories(album);
            std::filesystem::create_hard_link(
                root + "/pictures/" + std::to_string(a % kDistinctPictures) + ".jpg",
                album + "/list.jpg");
        }
        ReplaceFileContents(done, "");
        return root;
    }();
    return folder;
}

TDirectory& Catalogue() {
    static TDirectory directory = [] {
        TDirectory d;
        for (int a = 0; a < kAlbums; ++a) {
            const std::string playlist = Folder() + "/albums/" + std::to_string(a) + "/list.m3u";
            auto album = std::make_unique<Tm3u>(playlist);
            album->PictureState = TPictureState::Present;
            d.List.Add(playlist, std::move(album));
        }
        return d;
    }();
    return directory;
}

void BM_CacheAllCovers(benchmark::State& state) {
    TDirectory& directory = Catalogue();
    const TCoverOptions options{true, int(state.range(0)), false};
    size_t built = 0;
    for (auto _ : state) {
        for (const auto& entry : directory.List) entry.object->CachedCover.clear();
        built = CacheAllCovers(directory, options);
    }
    state.counters["covers"] = double(built);
    state.counters["covers/s"] = benchmark::Counter(double(built), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CacheAllCovers)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: every picture decoded whole, then scaled and encoded alike.
void BM_FullDecodeSmoothScale(benchmark::State& state) {
    TDirectory& directory = Catalogue();
    const int wanted = ThumbnailSide(int(state.range(0)));
    size_t built = 0;
    for (auto _ : state) {
        built = 0;
        for (const auto& entry : directory.List) {
            TRgbImage picture;
            if (!DecodeJpeg(ReadWholeFile(entry.object->PictureFile()), picture)) continue;
            const int side = std::min(wanted, picture.Width);
            const std::string thumbnail =
                EncodeJpeg(ScaleImage(picture, side, side), kThumbnailJpegQuality);
            built += !thumbnail.empty();
        }
    }
    state.counters["covers"] = double(built);
    state.counters["covers/s"] = benchmark::Counter(double(built), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullDecodeSmoothScale)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
