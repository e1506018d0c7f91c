// A scan from the main window (worker thread, progress display, the copy of
// the albums and its apply, the resort) against `mavelo-cli scan` of the
// same collection of bench/make_collection.py, timed in the same run with a
// warm file cache:
//   full scan   window: Add root of the collection to an empty list
//               <-> mavelo-cli scan ROOT -o LIST (the whole process)
//   fast rescan window: Fast update of that list
//               <-> mavelo-cli scan --fast LIST
// The cases alternate, RUNS times each (5 by default); medians and their
// ratios are printed.  Runs on the offscreen platform.
//
//   gui_scan_bench [RUNS]   mavelo-cli from this program's folder;
//                           MAVELO_BENCH_ALBUMS sets the collection (2000)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtCore/qtestsupport_core.h>
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/ProgramFolder.h"
#include "gui/app/Application.h"
#include "gui/list/ListWindows.h"
#include "gui/list/ScanCommands.h"
#include "gui/shell/Umain.h"
#include "views/Catalogue.h"
#include "BenchSupport.h"

extern char** environ;

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double RunProcess(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const double start = Now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) std::exit(1);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[0].c_str());
        std::exit(1);
    }
    return Now() - start;
}

template <typename Step>
double Timed(Step step) {
    const double start = Now();
    step();
    return Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string root = CollectionRoot();
    const std::string folder = std::filesystem::temp_directory_path() / "mavelo-guiscanbench";
    std::filesystem::create_directories(folder + "/home");
    std::ofstream(folder + "/home/mavelo.ini")
        << "[Window]\nShowSplashScreen=0\n[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\n"
        << "[File]\nCDAutoScan=0\n";
    InitProgramFolder("", folder + "/home");
    const std::string cli =
        (std::filesystem::canonical("/proc/self/exe").parent_path() / "mavelo-cli").string();
    const std::string list = folder + "/bench.mvo";

    TApplication program;
    program.Window().show();
    if (!QTest::qWaitFor([&] { return program.FirstActivationDone(); }, 60000)) return 1;
    TScanCommands& scans = program.List().Scans();
    TCatalogue& catalogue = program.Session().Catalogue;

    // Warms the file cache and both programs.
    RunProcess({cli, "scan", root, "-o", list});
    scans.AddRoots({root});
    const size_t albums = catalogue.Albums().Count();
    scans.RemoveRoot(root);

    std::vector<double> windowFull, cliFull, windowFast, cliFast;
    for (int run = 0; run < runs; ++run) {
        cliFull.push_back(RunProcess({cli, "scan", root, "-o", list}));
        windowFull.push_back(Timed([&] { scans.AddRoots({root}); }));
        if (catalogue.Albums().Count() != albums) return 1;
        cliFast.push_back(RunProcess({cli, "scan", "--fast", list}));
        windowFast.push_back(Timed([&] { scans.Rescan(false); }));
        scans.RemoveRoot(root);
    }
    const double wf = Median(windowFull), cf = Median(cliFull);
    const double ws = Median(windowFast), cs = Median(cliFast);
    std::printf("collection: %d albums (%zu found), %d runs, medians\n", AlbumCount(), albums,
                runs);
    std::printf("full scan:   window %7.1f ms   mavelo-cli %7.1f ms   ratio %.2fx\n", wf, cf,
                wf / cf);
    std::printf("fast rescan: window %7.1f ms   mavelo-cli %7.1f ms   ratio %.2fx\n", ws, cs,
                ws / cs);
    std::filesystem::remove_all(folder);
    return 0;
}
