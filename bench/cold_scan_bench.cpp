// A full scan on a cold file cache: before every run the collection of
// bench/make_collection.py is evicted from the cache, then one of these runs
// as a fresh process:
//   floor       a walk of the tree that reads the first 4 KiB and the last
//               128 bytes of every MP3, one file after another;
//   full scan   mavelo-cli scan ROOT -o LIST;
//   TagLib      a walk of the tree that reads every playlist and the tags of
//               every MP3 through TagLib (FileRef without audio properties,
//               the five values the scan takes).
// The cases alternate, RUNS times each (3 by default); medians.  The cache is
// emptied through /proc/sys/vm/drop_caches when it can be written (the whole
// machine's cache: run as root), otherwise each file of the collection is
// dropped with posix_fadvise(POSIX_FADV_DONTNEED), which leaves folders and
// file metadata cached.
//
//   cold_scan_bench [RUNS]        MAVELO_BENCH_ALBUMS sets the collection (2000);
//                                 MAVELO_BENCH_OTHER_CLI times another build too
//   cold_scan_bench --floor ROOT  child: the floor walk
//   cold_scan_bench --taglib ROOT child: the TagLib walk
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"

#ifdef MAVELO_HAVE_TAGLIB
#include <fileref.h>
#include <tag.h>
#endif

namespace {

int TagLibWalk(const std::string& root) {
#ifdef MAVELO_HAVE_TAGLIB
    size_t values = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string extension = LowerExtension(entry.path());
        if (IsPlaylistExtension(extension)) {
            std::ifstream playlist(entry.path(), std::ios::binary);
            values += std::string(std::istreambuf_iterator<char>(playlist), {}).size() > 0;
            continue;
        }
        if (extension != ".mp3") continue;
        TagLib::FileRef file(entry.path().c_str(), false);
        const TagLib::Tag* tag = file.tag();
        if (!tag) continue;
        values += tag->title().to8Bit(true).size() + tag->artist().to8Bit(true).size() +
                  tag->album().to8Bit(true).size() + tag->genre().to8Bit(true).size() +
                  tag->year();
    }
    std::printf("%zu\n", values);
    return 0;
#else
    (void)root;
    std::fprintf(stderr, "built without TagLib\n");
    return 1;
#endif
}

bool DropWholeCache() {
    sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    if (!drop) return false;
    drop << "3\n";
    drop.flush();
    return bool(drop);
}

void DropCollectionFiles(const std::string& root) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

// Empties the cache of the collection; true when the whole cache was dropped.
bool EvictCollection(const std::string& root) {
    if (DropWholeCache()) return true;
    DropCollectionFiles(root);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--floor") == 0) return FloorWalk(argv[2], true);
    if (argc == 3 && std::strcmp(argv[1], "--taglib") == 0) return TagLibWalk(argv[2]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string cli = (std::filesystem::path(self).parent_path() / "mavelo-cli").string();
    const std::string root = CollectionRoot();
    const std::string list = "/tmp/mavelo-cold-bench-" + std::to_string(AlbumCount()) + ".mvo";

    std::vector<ProcessCase> cases = {
        {"floor", {self, "--floor", root}, {}},
        {"full scan", {cli, "scan", root, "-o", list}, {}},
        {"TagLib", {self, "--taglib", root}, {}},
    };
    if (const char* other = std::getenv("MAVELO_BENCH_OTHER_CLI"))
        cases.push_back({"other full scan", {other, "scan", root, "-o", list + ".other.mvo"}, {}});
    for (auto& c : cases) SpawnTimed(c.command);  // the programs themselves stay cached
    bool wholeCache = true;
    for (int run = 0; run < runs; ++run) {
        for (auto& c : cases) {
            wholeCache = EvictCollection(root) && wholeCache;
            // The tool and its libraries come back before the clock starts
            // (this program's own pages stay: it is running).
            SpawnTimed({cli, "--version"});
            c.runs.push_back(SpawnTimed(c.command));
        }
    }

    std::printf("%d albums, %d runs, medians, cache emptied by %s\n", AlbumCount(), runs,
                wholeCache ? "drop_caches" : "posix_fadvise on each file");
    std::printf("%-16s %9s %9s\n", "case", "wall ms", "cpu ms");
    for (const auto& c : cases) std::printf("%-16s %9.1f %9.1f\n", c.name, c.Wall(), c.Cpu());
    std::printf("full scan / floor: %.2f wall; full scan / TagLib: %.2f wall\n",
                cases[1].Wall() / cases[0].Wall(), cases[1].Wall() / cases[2].Wall());
    if (cases.size() > 3)
        std::printf("other full scan / floor: %.2f wall\n", cases[3].Wall() / cases[0].Wall());
    return 0;
}
