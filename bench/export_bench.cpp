// Export speed: writing 10,000 albums (12 tracks each, a picture and a 6 KB
// cached cover each) through the shipped HTML template and through the
// default template, next to loading the same list file, in one run.
//
//   export_bench      load and export timings, and their ratio (target: 3x at most)
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/FileSystem.h"
#include "export/ExportJob.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

namespace {
constexpr int kAlbums = 10000;
constexpr int kTracks = 12;
constexpr size_t kCoverBytes = 6 * 1024;

std::string Folder() {
    static const std::string folder = MakeScratchFolder("mavelo-exportbench");
    return folder;
}

std::string Template(const char* name) {
    return std::string(MAVELO_TEST_DATA) + "/../../share/templates/" + name;
}

void FillCatalogue(TCatalogue& catalogue) {
    catalogue.Roots.Add("/home/user/Music");
    for (int a = 0; a < kAlbums; ++a) {
        const std::string artist = "Artist & Band " + std::to_string(a % 900);
        const std::string folder =
            "/home/user/Music/" + artist + "/Album number " + std::to_string(a) + "/";
        auto album = std::make_unique<Tm3u>(folder + "Artist - Album (2001).m3u");
        album->Artist = artist;
        album->Album = "Album <number> " + std::to_string(a);
        album->Genre = "Alternative Rock";
        album->Year = 1960 + a % 60;
        album->PictureState = TPictureState::Present;
        album->CachedCover.assign(kCoverBytes, static_cast<char>(a));
        for (int t = 1; t <= kTracks; ++t) {
            const std::string path =
                folder + std::to_string(t) + " - Track title " + std::to_string(t) + ".mp3";
            Tmp3& track = album->Tracks[album->AddTrack(path, false)];
            track.Title = "Track \"title\" " + std::to_string(t);
            track.Artist = album->Artist;
            track.Album = album->Album;
            track.Year = album->Year;
            track.Duration = 200000 + t;
            track.Bitrate = 192;
        }
        const std::string key = album->PlaylistPath;
        catalogue.Directory.List.Add(key, std::move(album));
    }
}

const std::string& ListFile() {
    static const std::string path = [] {
        TCatalogue catalogue;
        FillCatalogue(catalogue);
        const std::string file = Folder() + "/big.mvo";
        std::vector<std::string> recent;
        if (!SaveList(file, catalogue, 0, recent).saved) std::abort();
        return file;
    }();
    return path;
}

// Wall clock and CPU time of this thread, in ms.
struct TStamp {
    double wall, cpu;
    static TStamp Now() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return {std::chrono::duration<double, std::milli>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count(),
                ts.tv_sec * 1e3 + ts.tv_nsec / 1e6};
    }
    TStamp operator-(const TStamp& o) const { return {wall - o.wall, cpu - o.cpu}; }
};

// Each iteration loads the list into a fresh catalogue, then exports its
// view list (collection order) to a file; the counters give the medians and
// the ratio of export to load, by wall clock (the export's output is flushed
// to the disk) and by CPU time of the thread.
void BM_ExportAgainstLoad(benchmark::State& state, const char* templateName) {
    const std::string& list = ListFile();
    const TExportRequest request{Template(templateName), Folder() + "/out", size_t(kAlbums)};
    std::vector<double> loads, exports, loadsCpu, exportsCpu;
    size_t outputBytes = 0;
    for (auto _ : state) {
        auto catalogue = std::make_unique<TCatalogue>();
        int32_t quality = 0;
        std::vector<std::string> recent;
        TStamp start = TStamp::Now();
        if (!LoadList(list, *catalogue, quality, recent).Complete())
            state.SkipWithError("load failed");
        TStamp took = TStamp::Now() - start;
        loads.push_back(took.wall);
        loadsCpu.push_back(took.cpu);

        std::vector<Tm3u*> view;
        for (const auto& entry : catalogue->Albums()) view.push_back(entry.object);
        TTemplateExporter exporter;
        start = TStamp::Now();
        if (!ExportAlbums(view, request, exporter)) state.SkipWithError("export failed");
        took = TStamp::Now() - start;
        exports.push_back(took.wall);
        exportsCpu.push_back(took.cpu);
        std::error_code ec;
        outputBytes = size_t(std::filesystem::file_size(request.outputPath, ec));

        state.PauseTiming();  // freeing the catalogue belongs to neither
        catalogue.reset();
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.counters["load_ms"] = Median(loads);
    state.counters["export_ms"] = Median(exports);
    state.counters["ratio"] = Median(exports) / Median(loads);
    state.counters["load_cpu_ms"] = Median(loadsCpu);
    state.counters["export_cpu_ms"] = Median(exportsCpu);
    state.counters["cpu_ratio"] = Median(exportsCpu) / Median(loadsCpu);
    state.counters["output_MB"] = double(outputBytes) / 1e6;
    state.counters["list_MB"] = double(std::filesystem::file_size(list)) / 1e6;
}
BENCHMARK_CAPTURE(BM_ExportAgainstLoad, html, "export_html.tpt")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportAgainstLoad, default, "export_default.tpt")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
}  // namespace

BENCHMARK_MAIN();
