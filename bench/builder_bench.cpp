// The playlist builder's tree of a synthetic collection (bench/make_collection.py)
// against a plain walk of the same folders that lists every entry and learns
// its type, the least any tree of the folders costs.
//
// The collection is made on first use in $MAVELO_BENCH_COLLECTION (default
// /tmp/mavelo-bench-collection-<albums>); MAVELO_BENCH_ALBUMS sets its size
// (default 2000).  Caches are warm: every case reads the same folders first.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "builder/BuilderTree.h"
#include "core/FileSystem.h"
#include "BenchSupport.h"

namespace {

// The walk, optionally reading every playlist file whole: the tree cannot
// do less, since the files its playlists name are no orphans.
size_t Walk(const std::string& folder, bool readPlaylists = false) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    size_t entries = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        ++entries;
        if (entry->d_type == DT_DIR && name[0] != '.')
            entries += Walk(folder + "/" + name, readPlaylists);
        else if (readPlaylists && BuilderFileKind(name) == KindPlaylist)
            entries += ReadWholeFile(folder + "/" + name).empty() ? 0 : 1;
    }
    closedir(dir);
    return entries;
}

void BM_PlainWalkOfTheFolders(benchmark::State& state) {
    const std::string root = CollectionRoot();
    size_t entries = 0;
    for (auto _ : state) entries = Walk(root);
    state.counters["entries"] = static_cast<double>(entries);
}

void BM_WalkReadingEveryPlaylist(benchmark::State& state) {
    const std::string root = CollectionRoot();
    for (auto _ : state) benchmark::DoNotOptimize(Walk(root, true));
}

size_t CountNodes(const BuilderNode& node) {
    size_t count = 1;
    for (const auto& child : node.Children) count += CountNodes(*child);
    return count;
}

void BM_BuilderTree(benchmark::State& state) {
    const std::string root = CollectionRoot();
    size_t nodes = 0;
    for (auto _ : state) {
        auto tree = MakeRootNode(root);
        TBuilderScanner().ScanFolderNode(*tree);
        nodes = CountNodes(*tree);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}

// The tree and the plain walk in turn, each iteration timing both: on a
// shared machine whose load drifts, their ratio holds better than that of
// two cases run one after the other.
void BM_TreeAgainstWalkInTurn(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const std::string root = CollectionRoot();
    Clock::duration walk{}, tree{};
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(Walk(root));
        const auto walked = Clock::now();
        auto node = MakeRootNode(root);
        TBuilderScanner().ScanFolderNode(*node);
        node.reset();
        tree += Clock::now() - walked;
        walk += walked - start;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["walk_ms"] =
        std::chrono::duration<double, std::milli>(walk).count() / iterations;
    state.counters["tree_ms"] =
        std::chrono::duration<double, std::milli>(tree).count() / iterations;
    state.counters["ratio"] =
        std::chrono::duration<double>(tree).count() / std::chrono::duration<double>(walk).count();
}

BENCHMARK(BM_PlainWalkOfTheFolders)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WalkReadingEveryPlaylist)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuilderTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TreeAgainstWalkInTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
