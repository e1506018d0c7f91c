// mavelo-cli as a whole process: its start (`--version`), a full scan of a
// collection of bench/make_collection.py and a fast rescan of it, next to
// processes that do only the unavoidable work, timed in the same run:
//   full scan   <-> the floor: a walk of the same tree that reads the first
//                   4 KiB and the last 128 bytes of every audio file;
//   fast rescan <-> a walk of the same tree that reads every playlist and
//                   opens no audio file;
//   --version   <-> /bin/true.
// The cases alternate, RUNS times each (5 by default); medians of the wall
// clock, the CPU time and the peak resident memory are printed.
//
//   cli_bench [RUNS]              mavelo-cli from this program's folder;
//                                 MAVELO_BENCH_ALBUMS sets the collection (2000)
//   cli_bench --floor ROOT        child: the floor walk
//   cli_bench --walk ROOT         child: the walk that opens no audio file
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include "BenchSupport.h"

extern char** environ;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

size_t ReadRange(int fd, off_t from, size_t count) {
    char buffer[4096];
    const ssize_t n = pread(fd, buffer, std::min(count, sizeof buffer), from);
    return n > 0 ? size_t(n) : 0;
}

// Walks the tree; `audio` reads the head and tail of every MP3, otherwise
// every playlist is read whole.
int Walk(const std::string& root, bool audio) {
    size_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string extension = Lower(entry.path().extension().string());
        const bool playlist = extension == ".m3u" || extension == ".pls" || extension == ".b4s";
        if (audio ? extension != ".mp3" : !playlist) continue;
        const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        fstat(fd, &st);
        if (audio) {
            bytes += ReadRange(fd, 0, 4096);
            if (st.st_size >= 128) bytes += ReadRange(fd, st.st_size - 128, 128);
        } else {
            for (off_t at = 0; at < st.st_size; at += 4096) bytes += ReadRange(fd, at, 4096);
        }
        close(fd);
    }
    std::printf("%zu\n", bytes);
    return 0;
}

struct Run {
    double wallMs = 0, cpuMs = 0, maxRssKb = 0;
};

Run Spawn(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    std::vector<std::string> copy = command;
    for (auto& argument : copy) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Run run;
    run.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    run.maxRssKb = double(usage.ru_maxrss);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return run;
}

struct Case {
    const char* name;
    std::vector<std::string> command;
    std::vector<Run> runs;
    double Wall() const {
        std::vector<double> v;
        for (const auto& r : runs) v.push_back(r.wallMs);
        return Median(v);
    }
    double Cpu() const {
        std::vector<double> v;
        for (const auto& r : runs) v.push_back(r.cpuMs);
        return Median(v);
    }
    double RssMb() const {
        std::vector<double> v;
        for (const auto& r : runs) v.push_back(r.maxRssKb / 1024);
        return Median(v);
    }
};
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--floor") == 0) return Walk(argv[2], true);
    if (argc == 3 && std::strcmp(argv[1], "--walk") == 0) return Walk(argv[2], false);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string cli = (std::filesystem::path(self).parent_path() / "mavelo-cli").string();
    const std::string root = CollectionRoot();
    const std::string list = "/tmp/mavelo-cli-bench-" + std::to_string(AlbumCount()) + ".mvo";

    std::vector<Case> cases = {
        {"true", {"/bin/true"}, {}},
        {"--version", {cli, "--version"}, {}},
        {"floor", {self, "--floor", root}, {}},
        {"full scan", {cli, "scan", root, "-o", list}, {}},
        {"walk", {self, "--walk", root}, {}},
        {"fast rescan", {cli, "scan", "--fast", list}, {}},
    };
    for (auto& c : cases) Spawn(c.command);  // warm the file cache and the list
    for (int run = 0; run < runs; ++run)
        for (auto& c : cases) c.runs.push_back(Spawn(c.command));

    std::printf("%d albums, %d runs, medians\n", AlbumCount(), runs);
    std::printf("%-12s %9s %9s %9s\n", "case", "wall ms", "cpu ms", "peak MB");
    for (const auto& c : cases)
        std::printf("%-12s %9.1f %9.1f %9.1f\n", c.name, c.Wall(), c.Cpu(), c.RssMb());
    std::printf("full scan / floor: %.2f wall, %.2f cpu\n", cases[3].Wall() / cases[2].Wall(),
                cases[3].Cpu() / cases[2].Cpu());
    std::printf("fast rescan / walk: %.2f wall, %.2f cpu\n", cases[5].Wall() / cases[4].Wall(),
                cases[5].Cpu() / cases[4].Cpu());
    return 0;
}
