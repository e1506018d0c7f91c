// Catalogue memory and list loading at 2,000, 20,000 and 100,000 albums.
//
// Each list has the shape `mavelo-cli scan` gives the collections of
// bench/make_collection.py (the same folders, file names, titles and album
// values, 8 to 14 tracks an album, no cached covers); it is built in memory
// and saved once into /tmp, so no collection of a million files is needed.
// For every size, fresh processes alternate: one loads the list, one reads
// the same bytes into memory (the reference), several times; the medians
// are printed with the resident memory per track after the load and at its
// peak (the memory of the process before the load is taken away).
//
//   catalogue_bench [RUNS]             the table (5 runs by default)
//   catalogue_bench --load FILE        child: load ms (wall, CPU), RSS and peak growth in KB,
//   tracks catalogue_bench --plain-read FILE  child: read ms (wall, CPU)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ScannedList.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

namespace {
int RunChild(const std::string& mode, const std::string& path) {
    const long residentBefore = StatusKb("VmRSS:");
    const double cpuStart = CpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    if (mode == "--plain-read") {
        const std::string bytes = ReadWholeFile(path);
        std::printf("%.2f %.2f %zu\n", MillisecondsSince(start), CpuMilliseconds() - cpuStart,
                    bytes.size());
        return 0;
    }
    TCatalogue catalogue;
    int32_t quality = 0;
    std::vector<std::string> recent;
    if (!LoadList(path, catalogue, quality, recent).Complete()) return 1;
    const double ms = MillisecondsSince(start);
    size_t tracks = 0;
    for (const auto& entry : catalogue.Albums()) tracks += entry.object->Tracks.Count();
    std::printf("%.2f %.2f %ld %ld %zu\n", ms, CpuMilliseconds() - cpuStart,
                StatusKb("VmRSS:") - residentBefore, StatusKb("VmHWM:") - residentBefore, tracks);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 &&
        (std::strcmp(argv[1], "--load") == 0 || std::strcmp(argv[1], "--plain-read") == 0))
        return RunChild(argv[1], argv[2]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("%7s %8s %8s %8s %6s %8s %8s %6s %8s %9s %6s\n", "albums", "file MB", "read ms",
                "load ms", "ratio", "read cpu", "load cpu", "ratio", "B/track", "peak B/tr",
                "peak/x");
    for (int albums : {2000, 20000, 100000}) {
        const std::string path = ListFileFor(albums);
        std::vector<double> loads, reads, loadCpu, readCpu, resident, peak;
        double tracks = 0;
        for (int run = 0; run < runs; ++run) {
            const auto read = RunFreshProcess("--plain-read", path);
            const auto load = RunFreshProcess("--load", path);
            if (read.size() < 2 || load.size() < 5) {
                std::fprintf(stderr, "a child failed on %s\n", path.c_str());
                return 1;
            }
            reads.push_back(read[0]);
            readCpu.push_back(read[1]);
            loads.push_back(load[0]);
            loadCpu.push_back(load[1]);
            resident.push_back(load[2] * 1024);
            peak.push_back(load[3] * 1024);
            tracks = load[4];
        }
        const double perTrack = Median(resident) / tracks, peakPerTrack = Median(peak) / tracks;
        std::printf("%7d %8.1f %8.1f %8.1f %6.2f %8.1f %8.1f %6.2f %8.0f %9.0f %6.2f\n", albums,
                    double(GetFileSizeBytes(path)) / (1024 * 1024), Median(reads), Median(loads),
                    Median(loads) / Median(reads), Median(readCpu), Median(loadCpu),
                    Median(loadCpu) / Median(readCpu), perTrack, peakPerTrack,
                    peakPerTrack / perTrack);
    }
    return 0;
}
