// Scanning a synthetic collection (bench/make_collection.py): a full scan
// that reads every track's tags, a fast rescan of the unchanged collection,
// and the floor they are measured against: a walk of the same tree that
// reads only the first 4 KiB and the last 128 bytes of every audio file.
//
// The collection is made on first use in $MAVELO_BENCH_COLLECTION (default
// /tmp/mavelo-bench-collection-<albums>); MAVELO_BENCH_ALBUMS sets its size
// (default 2000).  Caches are warm: every case reads the same files first.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "collection/ScanReadAhead.h"
#include "collection/Udir_obj.h"
#include "core/Ucommon.h"
#include "BenchSupport.h"

namespace {

void SetCounters(benchmark::State& state, const TDirectory& directory) {
    size_t tracks = 0;
    size_t tagged = 0;
    for (const auto& entry : directory.List) {
        tracks += entry.object->Tracks.Count();
        tagged += entry.object->Artist.empty() ? 0 : 1;
    }
    state.counters["albums"] = static_cast<double>(directory.List.Count());
    state.counters["tracks"] = static_cast<double>(tracks);
    state.counters["albums_with_artist"] = static_cast<double>(tagged);
}

// Reads what a tag reader needs at least: the head and the tail of the file.
size_t ReadHeadAndTail(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char head[4096];
    char tail[128];
    size_t bytes = 0;
    ssize_t n = pread(fd, head, sizeof head, 0);
    if (n > 0) bytes += static_cast<size_t>(n);
    struct stat st {};
    if (fstat(fd, &st) == 0 && st.st_size >= 128) {
        n = pread(fd, tail, sizeof tail, st.st_size - 128);
        if (n > 0) bytes += static_cast<size_t>(n);
    }
    close(fd);
    return bytes;
}

void BM_FloorHeadAndTailOfEveryAudioFile(benchmark::State& state) {
    const std::string root = CollectionRoot();
    size_t files = 0;
    for (auto _ : state) {
        files = 0;
        size_t bytes = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file() || LowerAscii(entry.path().extension().string()) != ".mp3")
                continue;
            bytes += ReadHeadAndTail(entry.path().string());
            ++files;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["audio_files"] = static_cast<double>(files);
}

// The scans run as the window runs them: the scan job on a copy of the
// albums, then applied to the catalogue.
TScanResult RunJob(const std::unique_ptr<TScanJob>& job, TDirectory& directory, TRootList& roots) {
    job->Run();
    return job->Apply(directory, roots);
}

void BM_FullScan(benchmark::State& state) {
    const std::string root = CollectionRoot();
    for (auto _ : state) {
        TDirectory directory;
        TRootList roots;
        RunJob(TScanJob::ForAddRoots(directory, {root}, false), directory, roots);
        state.PauseTiming();
        SetCounters(state, directory);
        directory.List.Clear();  // freeing is not part of the scan
        state.ResumeTiming();
    }
}

// The reading ahead a cold cache starts, forced on over the warm cache: what
// its threads cost when they have nothing to fetch.
void BM_FullScanReadingAhead(benchmark::State& state) {
    SetScanReadAheadMode(TReadAheadMode::Always);
    BM_FullScan(state);
    SetScanReadAheadMode(TReadAheadMode::Auto);
}

void BM_FastRescanUnchanged(benchmark::State& state) {
    TDirectory directory;
    TRootList roots;
    roots.Add(CollectionRoot());
    Rescan(directory, roots, true, false);
    for (auto _ : state) {
        TScanResult result =
            RunJob(TScanJob::ForRescan(directory, roots, false, false), directory, roots);
        if (!result.completed || result.removed != 0) state.SkipWithError("the collection changed");
    }
    SetCounters(state, directory);
}

void BM_FullRescanUnchanged(benchmark::State& state) {
    TDirectory directory;
    TRootList roots;
    roots.Add(CollectionRoot());
    Rescan(directory, roots, true, false);
    for (auto _ : state)
        RunJob(TScanJob::ForRescan(directory, roots, true, false), directory, roots);
    SetCounters(state, directory);
}

BENCHMARK(BM_FloorHeadAndTailOfEveryAudioFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FullScanReadingAhead)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();  // its threads count too
BENCHMARK(BM_FullRescanUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FastRescanUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
