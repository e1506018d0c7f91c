// List file speed and memory: saving and loading a catalogue of 10,000
// albums (12 tracks each, a 6 KB cached cover each) next to a plain write and
// read of the same number of bytes, and the resident memory of a process
// that has just loaded that list.
//
//   listfile_bench                        the timings and the memory figure
//   listfile_bench --load FILE            loads FILE; prints the ms taken and the RSS in KB
//   listfile_bench --plain-read FILE      reads FILE whole; prints the ms taken
//   listfile_bench --write-list FILE      writes the 10,000-album list to FILE
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

namespace {
constexpr int kAlbums = 10000;
constexpr int kTracks = 12;
constexpr size_t kCoverBytes = 6 * 1024;

std::string Folder() {
    static const std::string folder = MakeScratchFolder("mavelo-listbench");
    return folder;
}

void FillCatalogue(TCatalogue& catalogue) {
    catalogue.Roots.Add("/home/user/Music");
    for (int a = 0; a < kAlbums; ++a) {
        const std::string folder = "/home/user/Music/Artist " + std::to_string(a % 900) +
                                   "/Album number " + std::to_string(a) + "/";
        auto album = std::make_unique<Tm3u>(folder + "Artist - Album (2001).m3u");
        album->Artist = "Artist " + std::to_string(a % 900);
        album->Album = "Album number " + std::to_string(a);
        album->Genre = "Alternative Rock";
        album->Year = 1960 + a % 60;
        album->PictureState = TPictureState::Present;
        album->PlayCount = a % 7;
        album->CachedCover.assign(kCoverBytes, static_cast<char>(a));
        for (int t = 1; t <= kTracks; ++t) {
            const std::string path =
                folder + std::to_string(t) + " - Track title " + std::to_string(t) + ".mp3";
            Tmp3& track = album->Tracks[album->AddTrack(path, false)];
            track.Title = "Track title " + std::to_string(t);
            track.Artist = album->Artist;
            track.Album = album->Album;
            track.Genre = album->Genre;
            track.Year = album->Year;
            track.TagKind = TTagKind::ID3v2;
            track.Duration = 200000 + t;
            track.Bitrate = 192;
        }
        const std::string key = album->PlaylistPath;
        catalogue.Directory.List.Add(key, std::move(album));
    }
    catalogue.Filters.Presets.AddAndChoose("Seventies", TFilter{"", "", "1970-1979"});
    catalogue.Selections.Create("Favourites");
    for (int a = 0; a < kAlbums; a += 10)
        catalogue.Selections.Find("Favourites")->Add(&catalogue.Directory.List[size_t(a)]);
}

const TCatalogue& BigCatalogue() {
    static TCatalogue* catalogue = [] {
        auto* made = new TCatalogue;
        FillCatalogue(*made);
        return made;
    }();
    return *catalogue;
}

// The list file of the big catalogue, written once.
const std::string& BigListFile() {
    static const std::string path = [] {
        const std::string file = Folder() + "/big.mvo";
        std::vector<std::string> recent;
        if (!SaveList(file, BigCatalogue(), 0, recent).saved) std::abort();
        return file;
    }();
    return path;
}

void BM_SaveList(benchmark::State& state) {
    const TCatalogue& catalogue = BigCatalogue();
    const std::string path = Folder() + "/save.mvo";
    std::vector<std::string> recent;
    for (auto _ : state)
        if (!SaveList(path, catalogue, 0, recent).saved) state.SkipWithError("save failed");
    state.SetBytesProcessed(state.iterations() * int64_t(GetFileSizeBytes(path)));
}
BENCHMARK(BM_SaveList)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a safe save: the same bytes written, flushed to the disk and
// renamed over the old file, with nothing to encode.
void BM_PlainWriteSameBytes(benchmark::State& state) {
    const std::string bytes = ReadWholeFile(BigListFile());
    const std::string path = Folder() + "/plain.bin";
    for (auto _ : state) ReplaceFileContents(path, bytes);
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument 1: the memory of the previous catalogue goes back to the system
// first, so the load pays for fresh pages as the first load of a program
// does; 0: it reuses that memory, as a load after closing a list does.
void BM_LoadList(benchmark::State& state) {
    const std::string& path = BigListFile();
    int32_t quality = 0;
    std::vector<std::string> recent;
    for (auto _ : state) {
        auto catalogue = std::make_unique<TCatalogue>();
        if (!LoadList(path, *catalogue, quality, recent).Complete())
            state.SkipWithError("load failed");
        state.PauseTiming();  // freeing the catalogue is not part of loading
        catalogue.reset();
        if (state.range(0))
            malloc_trim(0);
        else
            free(malloc(4096));  // the allocator tidies what was freed at the next large request
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(GetFileSizeBytes(path)));
}
BENCHMARK(BM_LoadList)
    ->ArgName("fresh_memory")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PlainReadSameBytes(benchmark::State& state) {
    const std::string& path = BigListFile();
    for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(path));
    state.SetBytesProcessed(state.iterations() * int64_t(GetFileSizeBytes(path)));
}
BENCHMARK(BM_PlainReadSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first load of a program: a fresh process loads the list (its memory is
// all new), next to a fresh process that reads the same bytes; then the
// resident memory of the loading process.  The best of five runs each.
void BM_FreshProcessLoad(benchmark::State& state) {
    const std::string& path = BigListFile();
    double loadMs = 1e9, readMs = 1e9, residentKb = 0;
    for (auto _ : state) {
        for (int run = 0; run < 5; ++run) {
            const auto load = RunFreshProcess("--load", path);
            const auto read = RunFreshProcess("--plain-read", path);
            if (load.size() < 2 || read.empty()) state.SkipWithError("child failed");
            if (load.size() < 2 || read.empty()) return;
            loadMs = std::min(loadMs, load[0]);
            residentKb = load[1];
            readMs = std::min(readMs, read[0]);
        }
    }
    const double fileMb = double(GetFileSizeBytes(path)) / (1024 * 1024);
    state.counters["load_ms"] = loadMs;
    state.counters["plain_read_ms"] = readMs;
    state.counters["file_MB"] = fileMb;
    state.counters["rss_MB"] = residentKb / 1024;
    state.counters["rss_target_MB"] = 2 * fileMb + 30;
}
BENCHMARK(BM_FreshProcessLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Child modes: "--load" prints the load time and the resident memory after it,
// "--plain-read" the time of reading the whole file into memory.
int RunChild(const std::string& mode, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    if (mode == "--plain-read") {
        const std::string bytes = ReadWholeFile(path);
        std::printf("%.2f %zu\n", MillisecondsSince(start), bytes.size());
        return 0;
    }
    TCatalogue catalogue;
    int32_t quality = 0;
    std::vector<std::string> recent;
    if (!LoadList(path, catalogue, quality, recent).Complete()) return 1;
    const double ms = MillisecondsSince(start);
    std::printf("%.2f %ld\n", ms, ResidentKb());
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 &&
        (std::strcmp(argv[1], "--load") == 0 || std::strcmp(argv[1], "--plain-read") == 0))
        return RunChild(argv[1], argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--write-list") == 0) {
        std::vector<std::string> recent;
        return SaveList(argv[2], BigCatalogue(), 0, recent).saved ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(Folder(), ec);
    return 0;
}
