// The main window on a large catalogue: opening a list of 10,000 albums (12
// tracks each) until the album grid shows it, the memory that takes, the
// folder tree built over it, and painting one page of the grid while it is
// scrolled through 100,000 albums.  Runs on the offscreen platform.
// With --against-load, the window on a 100,000-album list of the shape
// `mavelo-cli scan` writes (bench/ScannedList.h) against the library's load
// of the same file: fresh processes alternate, medians of wall and CPU time.
//
//   gui_open_bench                the timings, and the memory of a fresh process
//   gui_open_bench --open FILE    opens FILE in a window; prints the ms until the
//                                 grid shows it and the resident memory (KB)
//                                 before the window and after the grid shows
//   gui_open_bench --against-load [RUNS [ALBUMS]]
//                                 the window against the load (5 runs, 100,000 albums)
//   gui_open_bench --open-list FILE   child: ms (wall, CPU) from the start of the
//                                 process's main until the window shows the grid
//   gui_open_bench --load-list FILE   child: ms (wall, CPU) of the library's load
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtCore/qtestsupport_core.h>
#include <QApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "ScannedList.h"
#include "core/ProgramFolder.h"
#include "gui/shell/BusyMode.h"
#include "gui/app/Application.h"
#include "gui/shell/Umain.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ListWindows.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

namespace {
int processArgc = 0;
char** processArgv = nullptr;
// Taken at the start of main: a child's times cover everything it did.
std::chrono::steady_clock::time_point processStart;
double processStartCpu = 0;

constexpr int kListAlbums = 10000;
constexpr int kTracks = 12;
constexpr int kScrollAlbums = 100000;

std::string Folder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mavelo-guibench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()));
    }();
    return folder;
}

void AddAlbums(TCatalogue& catalogue, int count, int tracks) {
    catalogue.Roots.Add("/home/user/Music");
    for (int a = 0; a < count; ++a) {
        const std::string artist = "Artist " + std::to_string(a % 900);
        const std::string folder =
            "/home/user/Music/" + artist + "/Album number " + std::to_string(a) + "/";
        auto album = std::make_unique<Tm3u>(folder + artist + " - Album.m3u");
        album->Artist = artist;
        album->Album = "Album number " + std::to_string(a);
        album->Genre = "Alternative Rock";
        album->Year = 1960 + a % 60;
        album->Status = static_cast<TAlbumStatus>(a % 3);
        for (int t = 1; t <= tracks; ++t) {
            const std::string path = folder + std::to_string(t) + " - Track.mp3";
            auto track = std::make_unique<Tmp3>(path);
            track->Title = "Track number " + std::to_string(t);
            track->TagKind = TTagKind::ID3v2;
            album->Tracks.Add(path, std::move(track));
        }
        const std::string key = album->PlaylistPath;
        catalogue.Directory.List.Add(key, std::move(album));
    }
}

const std::string& ListFile() {
    static const std::string path = [] {
        const std::string file = Folder() + "/large.mvo";
        TCatalogue catalogue;
        AddAlbums(catalogue, kListAlbums, kTracks);
        std::vector<std::string> recent;
        if (!SaveList(file, catalogue, 0, recent).saved) std::abort();
        return file;
    }();
    return path;
}

// A program folder whose settings open `list` at start.
void PrepareHome(const std::string& list) {
    const std::string home = Folder() + "/home";
    std::filesystem::create_directories(home);
    std::ofstream(home + "/mavelo.ini")
        << "[Window]\nShowSplashScreen=0\n[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\n"
        << "[File]\nCDAutoScan=0\nCurrentFile=" << list << "\n";
    InitProgramFolder("", home);
}

// Shows a main window that opens the list; returns once the grid shows it.
std::unique_ptr<TApplication> OpenWindow(int expectedRows) {
    auto app = std::make_unique<TApplication>();
    app->Window().show();
    const bool shown = QTest::qWaitFor(
        [&] {
            return app->FirstActivationDone() &&
                   app->List().Views().Page().AlbumRows() == expectedRows;
        },
        120000);
    if (!shown) std::abort();
    return app;
}

void BM_OpenListUntilGridShows(benchmark::State& state) {
    PrepareHome(ListFile());
    for (auto _ : state) {
        auto window = OpenWindow(kListAlbums);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["albums"] = kListAlbums;
}
BENCHMARK(BM_OpenListUntilGridShows)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same window with no list: what the window itself costs.
void BM_OpenWindowWithoutList(benchmark::State& state) {
    PrepareHome("");
    for (auto _ : state) {
        auto window = OpenWindow(0);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindowWithoutList)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SwitchToFolderTree(benchmark::State& state) {
    PrepareHome(ListFile());
    auto window = OpenWindow(kListAlbums);
    QAction* tree = window->Window().Action(TCommandId::ListTree);
    for (auto _ : state) {
        tree->trigger();  // to the tree: built over all albums
        state.PauseTiming();
        tree->trigger();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SwitchToFolderTree)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PaintGridPageWhileScrolling(benchmark::State& state) {
    PrepareHome("");
    auto window = OpenWindow(0);
    window->Window().resize(1000, 700);
    AddAlbums(window->Session().Catalogue, kScrollAlbums, 1);
    TListViews& views = window->List().Views();
    views.Resort();
    TAlbumGrid* grid = views.Page().Grid();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> row(0, kScrollAlbums - 1);
    for (auto _ : state) {
        views.Page().SetCurrentRow(row(random));
        benchmark::DoNotOptimize(grid->viewport()->grab());
    }
    state.counters["rows"] = grid->model()->rowCount();
}
BENCHMARK(BM_PaintGridPageWhileScrolling)->Unit(benchmark::kMillisecond);

// Opens the list in this process alone: prints ms, RSS before, RSS after.
int OpenAndReport(const std::string& list) {
    const long before = ResidentKb();
    PrepareHome(list);
    const auto start = std::chrono::steady_clock::now();
    auto window = OpenWindow(kListAlbums);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("%lld %ld %ld\n", static_cast<long long>(ms), before, ResidentKb());
    return 0;
}

void BM_ResidentMemoryAfterOpening(benchmark::State& state) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string list = ListFile();
    long long ms = 0;
    long before = 0, after = 0;
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) std::abort();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--open"),
                        const_cast<char*>(list.c_str()), nullptr};
        pid_t child;
        if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ) != 0) std::abort();
        close(out[1]);
        char buffer[128] = {};
        const ssize_t n = read(out[0], buffer, sizeof buffer - 1);
        close(out[0]);
        waitpid(child, nullptr, 0);
        posix_spawn_file_actions_destroy(&actions);
        if (n <= 0 || std::sscanf(buffer, "%lld %ld %ld", &ms, &before, &after) != 3) std::abort();
    }
    state.counters["open_ms"] = double(ms);
    state.counters["rss_before_MB"] = before / 1024.0;
    state.counters["rss_after_MB"] = after / 1024.0;
    state.counters["list_file_MB"] = std::filesystem::file_size(list) / 1048576.0;
}
BENCHMARK(BM_ResidentMemoryAfterOpening)->Unit(benchmark::kMillisecond)->Iterations(1);

void PrintTimesSinceStart() {
    std::printf("%.2f %.2f\n", MillisecondsSince(processStart),
                CpuMilliseconds() - processStartCpu);
}

// The library's load alone, as the list page's load command makes it.
int LoadListAndReport(const std::string& list) {
    TCatalogue catalogue;
    int32_t quality = 0;
    std::vector<std::string> recent;
    if (!OpenListFile(list, catalogue, quality, recent).Complete()) return 1;
    PrintTimesSinceStart();
    return 0;
}

// The program's start on `list` (TApplication::OpenAtStart), until the
// window is painted with the grid showing every album of the list.
int OpenListAndReport(const std::string& list) {
    QApplication app(processArgc, processArgv);
    InstallPumpEventsHook();
    PrepareHome("");
    TApplication program;
    program.OpenAtStart(list);
    program.Window().show();
    const auto gridShowsList = [&] {
        const int albums = int(program.Session().Catalogue.Albums().Count());
        return program.FirstActivationDone() && albums > 0 &&
               program.List().Views().Page().AlbumRows() == albums;
    };
    if (!QTest::qWaitFor(gridShowsList, 600000)) return 1;
    program.Window().repaint();
    PrintTimesSinceStart();
    std::fflush(stdout);
    // Tearing down a million tracks is not part of the open.
    std::_Exit(0);
}

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five;
    file >> one >> five;
    return one + " " + five;
}

int OpenAgainstLoad(int runs, int albums) {
    const std::string list = ListFileFor(albums);
    std::printf("%d albums, %.0f MB list, load average %s\n", albums,
                double(std::filesystem::file_size(list)) / 1048576.0, LoadAverage().c_str());
    std::vector<double> loads, opens, loadCpu, openCpu;
    for (int run = 0; run < runs; ++run) {
        const auto load = RunFreshProcess("--load-list", list);
        const auto open = RunFreshProcess("--open-list", list);
        if (load.size() < 2 || open.size() < 2) {
            std::fprintf(stderr, "a child failed on %s\n", list.c_str());
            return 1;
        }
        std::printf("run %d: load %.0f ms (%.0f CPU), window %.0f ms (%.0f CPU)\n", run + 1,
                    load[0], load[1], open[0], open[1]);
        loads.push_back(load[0]);
        loadCpu.push_back(load[1]);
        opens.push_back(open[0]);
        openCpu.push_back(open[1]);
    }
    std::printf("medians: load %.0f ms (%.0f CPU), window %.0f ms (%.0f CPU)\n", Median(loads),
                Median(loadCpu), Median(opens), Median(openCpu));
    std::printf("window / load: %.2fx wall, %.2fx CPU (load average %s)\n",
                Median(opens) / Median(loads), Median(openCpu) / Median(loadCpu),
                LoadAverage().c_str());
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    processStart = std::chrono::steady_clock::now();
    processStartCpu = CpuMilliseconds();
    processArgc = argc;
    processArgv = argv;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 3 && mode == "--load-list") return LoadListAndReport(argv[2]);
    if (argc == 3 && mode == "--open-list") return OpenListAndReport(argv[2]);
    if (mode == "--against-load")
        return OpenAgainstLoad(argc > 2 ? std::max(1, std::atoi(argv[2])) : 5,
                               argc > 3 ? std::atoi(argv[3]) : 100000);
    QApplication app(argc, argv);
    InstallPumpEventsHook();
    if (argc == 3 && std::string(argv[1]) == "--open") return OpenAndReport(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(Folder());
    return 0;
}
