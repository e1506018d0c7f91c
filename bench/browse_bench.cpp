// The wall of covers on a list of 100,000 albums, each with its own cached
// cover (a 128 x 128 JPEG, the size "normal" caching keeps): the first show
// of the browse page (layout, fill, paint) and scrolling page by page
// through 2,000 pages, each page filled and painted offscreen.  Prints the
// time per page, the covers decoded (each album's cover once per time it
// comes into view) and the resident memory after 200 and after 2,000 pages
// (it must not grow with the pages scrolled).
//
//   browse_bench [WIDTH HEIGHT]      the browse area's size (default 1024 x 768)
//
// QT_SCALE_FACTOR=2 measures a HiDPI screen (covers scaled for twice the pixels).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "browse/Ubrowse_obj.h"
#include "collection/Udir_obj.h"
#include "covers/Thumbnail.h"
#include "gui/browse/BrowseView.h"
#include "gui/covers/PictureConvert.h"
#include "views/Ufilter_obj.h"
#include "views/ViewList.h"

namespace {
constexpr int kAlbums = 100000;
constexpr int kPages = 2000;
constexpr int kDistinctCovers = 256;

using Clock = std::chrono::steady_clock;

// CPU time of this thread: the machine may be shared, the wall clock then
// counts other programs' work too.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// A cover with some detail (gradients and blocks), so that its JPEG is of a
// real cover's size rather than a flat colour's.
std::string MakeCover(std::mt19937& random) {
    TRgbImage image;
    image.Width = image.Height = 128;
    image.Pixels.resize(128 * 128 * 3);
    const int r = int(random() % 256), g = int(random() % 256), b = int(random() % 256);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            uint8_t* p = &image.Pixels[size_t(y * 128 + x) * 3];
            const int block = ((x / 16) ^ (y / 16)) & 1 ? 40 : 0;
            p[0] = uint8_t((r + x + block) % 256);
            p[1] = uint8_t((g + y + int(random() % 24)) % 256);
            p[2] = uint8_t((b + x / 2 + y / 2) % 256);
        }
    return EncodeJpeg(image, 70);
}

Tm3uList& Albums(size_t& coverBytes) {
    static Tm3uList albums;
    std::mt19937 random(7);
    std::vector<std::string> covers;
    for (int i = 0; i < kDistinctCovers; ++i) covers.push_back(MakeCover(random));
    for (int i = 0; i < kAlbums; ++i) {
        const std::string path = "/music/" + std::to_string(i) + "/list.m3u";
        auto album = std::make_unique<Tm3u>(path);
        album->Artist = "Artist " + std::to_string(i / 7);
        album->Album = "Album number " + std::to_string(i);
        album->Year = 1950 + i % 70;
        album->CachedCover = covers[size_t(i) % covers.size()];  // a copy of its own
        coverBytes += album->CachedCover.size();
        albums.Add(path, std::move(album));
    }
    return albums;
}

void Paint(TBrowseView& view, QImage& target) {
    QPainter painter(&target);
    view.render(&painter);
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 1024;
    const int height = argc > 2 ? std::atoi(argv[2]) : 768;

    size_t coverBytes = 0;
    const long before = ResidentKb();
    Tm3uList& albums = Albums(coverBytes);
    TViewList view;
    view.Rebuild(albums, TFilter{}, nullptr, false, TSortSettings{"AYG"});
    const long listKb = ResidentKb() - before;

    TBrowseDetailsList presets;  // the default look
    TBrowseView wall(view, presets);
    wall.PictureSource = [](Tm3u* album) { return JpegToImage(album->CachedCover); };
    wall.CurrentAlbum = [&view] { return &view[0]; };
    wall.resize(width, height);
    const qreal ratio = wall.devicePixelRatioF();
    QImage target(QSize(width, height) * ratio, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);

    const auto showStart = Clock::now();
    const double showCpu = CpuMs();
    wall.BrowseRefresh();
    Paint(wall, target);
    const double firstShow = Ms(Clock::now() - showStart);
    const double firstShowCpu = CpuMs() - showCpu;
    const TBrowseGrid grid = wall.Grid();

    const int pages = std::min(kPages, wall.ScrollMaximum() / grid.rows);
    std::vector<double> perPage, cpuPerPage;
    perPage.reserve(size_t(pages));
    cpuPerPage.reserve(size_t(pages));
    long kbAt200 = 0;
    const size_t decodedBefore = wall.CoversDecoded();
    for (int page = 1; page <= pages; ++page) {
        const auto start = Clock::now();
        const double cpu = CpuMs();
        wall.ScrollBar()->setValue(1 + page * grid.rows);  // fills and colours
        Paint(wall, target);
        perPage.push_back(Ms(Clock::now() - start));
        cpuPerPage.push_back(CpuMs() - cpu);
        if (page == 200) kbAt200 = ResidentKb();
    }
    const long kbAtEnd = ResidentKb();
    const size_t decoded = wall.CoversDecoded() - decodedBefore;

    const auto summary = [pages](std::vector<double> times, const char* what) {
        std::sort(times.begin(), times.end());
        double total = 0;
        for (double ms : times) total += ms;
        std::printf("pages scrolled %d, %s: mean %.3f ms/page, median %.3f, 95th %.3f, max %.3f\n",
                    pages, what, total / pages, times[times.size() / 2],
                    times[times.size() * 95 / 100], times.back());
    };
    std::printf("albums %d, cached covers %.1f MB (list and covers %ld MB resident)\n", kAlbums,
                double(coverBytes) / 1e6, listKb / 1024);
    std::printf("area %dx%d at device pixel ratio %.1f: %d columns x %d rows = %d panels\n", width,
                height, ratio, grid.columns, grid.rows, grid.PanelCount());
    std::printf("first show (layout, fill, paint): %.2f ms wall clock, %.2f ms CPU\n", firstShow,
                firstShowCpu);
    summary(perPage, "wall clock");
    summary(cpuPerPage, "CPU");
    std::printf("covers decoded %zu (%.2f per panel of a page; expected 1.00)\n", decoded,
                double(decoded) / (double(pages) * grid.PanelCount()));
    std::printf("resident memory after 200 pages %ld KB, after %d pages %ld KB\n", kbAt200,
                pages, kbAtEnd);
    return 0;
}
