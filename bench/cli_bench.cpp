// mavelo-cli as a whole process: its start (`--version`), a full scan of a
// collection of bench/make_collection.py and a fast rescan of it, next to
// processes that do only the unavoidable work, timed in the same run:
//   full scan   <-> the floor: a walk of the same tree that reads the first
//                   4 KiB and the last 128 bytes of every audio file;
//   fast rescan <-> a walk of the same tree that reads every playlist and
//                   opens no audio file;
//   --version, and `list` and `scan` of a two-album collection
//               <-> /bin/true (the start of commands that do work).
// The cases alternate, RUNS times each (5 by default); medians of the wall
// clock, the CPU time and the peak resident memory are printed.
//
//   cli_bench [RUNS]              mavelo-cli from this program's folder;
//                                 MAVELO_BENCH_ALBUMS sets the collection (2000);
//                                 MAVELO_BENCH_OTHER_CLI times another build too
//   cli_bench --floor ROOT        child: the floor walk
//   cli_bench --walk ROOT         child: the walk that opens no audio file
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>
#include "BenchSupport.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--floor") == 0) return FloorWalk(argv[2], true);
    if (argc == 3 && std::strcmp(argv[1], "--walk") == 0) return FloorWalk(argv[2], false);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string cli = (std::filesystem::path(self).parent_path() / "mavelo-cli").string();
    const std::string root = CollectionRoot();
    const std::string list = "/tmp/mavelo-cli-bench-" + std::to_string(AlbumCount()) + ".mvo";

    const std::string tinyRoot = "/tmp/mavelo-bench-collection-2";
    MakeCollection(tinyRoot, 2);
    const std::string tinyList = "/tmp/mavelo-cli-bench-tiny.mvo";

    std::vector<ProcessCase> cases = {
        {"true", {"/bin/true"}, {}},
        {"--version", {cli, "--version"}, {}},
        {"tiny scan", {cli, "scan", tinyRoot, "-o", tinyList}, {}},
        {"tiny list", {cli, "list", tinyList}, {}},
        {"floor", {self, "--floor", root}, {}},
        {"full scan", {cli, "scan", root, "-o", list}, {}},
        {"walk", {self, "--walk", root}, {}},
        {"fast rescan", {cli, "scan", "--fast", list}, {}},
    };
    // Another build of the tool timed in the same runs, for a before and after.
    if (const char* other = std::getenv("MAVELO_BENCH_OTHER_CLI")) {
        const std::string otherList = list + ".other.mvo";
        const std::string otherTiny = tinyList + ".other.mvo";
        cases.push_back({"other --version", {other, "--version"}, {}});
        cases.push_back({"other tiny scan", {other, "scan", tinyRoot, "-o", otherTiny}, {}});
        cases.push_back({"other tiny list", {other, "list", otherTiny}, {}});
        cases.push_back({"other full", {other, "scan", root, "-o", otherList}, {}});
        cases.push_back({"other fast", {other, "scan", "--fast", otherList}, {}});
    }
    for (auto& c : cases) SpawnTimed(c.command);  // warm the file cache and the lists
    for (int run = 0; run < runs; ++run)
        for (auto& c : cases) c.runs.push_back(SpawnTimed(c.command));

    const auto find = [&cases](const char* name) -> const ProcessCase& {
        for (const auto& c : cases)
            if (std::strcmp(c.name, name) == 0) return c;
        throw std::logic_error(name);
    };
    const auto ratio = [&find](const char* a, const char* b) {
        std::printf("%s / %s: %.2f wall, %.2f cpu\n", a, b, find(a).Wall() / find(b).Wall(),
                    find(a).Cpu() / find(b).Cpu());
    };
    std::printf("%d albums, %d runs, medians\n", AlbumCount(), runs);
    std::printf("%-16s %9s %9s %9s\n", "case", "wall ms", "cpu ms", "peak MB");
    for (const auto& c : cases)
        std::printf("%-16s %9.1f %9.1f %9.1f\n", c.name, c.Wall(), c.Cpu(), c.RssMb());
    ratio("--version", "true");
    ratio("tiny scan", "true");
    ratio("tiny list", "true");
    ratio("full scan", "floor");
    ratio("fast rescan", "walk");
    if (cases.size() > 8) {
        ratio("other tiny list", "true");
        ratio("other full", "floor");
        ratio("other fast", "walk");
    }
    return 0;
}
