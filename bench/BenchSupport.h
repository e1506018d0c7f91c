#pragma once
// Small helpers shared by the benchmark programs: the generated collection,
// a scratch folder, the median of runs, the process's CPU time and memory, and a fresh process of
// the same program whose printed numbers are the figures.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

// The albums of the generated collection: MAVELO_BENCH_ALBUMS, 2,000 by default.
inline int AlbumCount() {
    const char* value = std::getenv("MAVELO_BENCH_ALBUMS");
    return value ? std::atoi(value) : 2000;
}

// The collection of bench/make_collection.py (MAVELO_BENCH_COLLECTION, else
// one in /tmp per size), made on first use.
inline const std::string& CollectionRoot() {
    static const std::string root = [] {
        const char* given = std::getenv("MAVELO_BENCH_COLLECTION");
        std::string folder =
            given ? given : "/tmp/mavelo-bench-collection-" + std::to_string(AlbumCount());
        if (!std::filesystem::exists(folder)) {
            // From the source tree: __FILE__ may be relative to the build folder.
            const std::string script =
                std::string(MAVELO_TEST_DATA) + "/../../bench/make_collection.py";
            const std::string command = "python3 '" + script + "' '" + folder + "' --albums " +
                                        std::to_string(AlbumCount()) + " >/dev/null";
            if (std::system(command.c_str()) != 0)
                throw std::runtime_error("could not make the collection: " + command);
        }
        return folder;
    }();
    return root;
}

// A new folder under the temporary folder, named after `prefix`.
inline std::string MakeScratchFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    return std::string(mkdtemp(pattern.data()));
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// User and system CPU time of this process.
inline double CpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// A field of /proc/self/status in KB ("VmRSS:", "VmHWM:").
inline long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0) return std::atol(line.c_str() + length);
    return 0;
}

inline long ResidentKb() {
    return StatusKb("VmRSS:");
}

// Runs this program again with `mode` on the file and returns the numbers it
// prints, so that the figures hold nothing of this process.
inline std::vector<double> RunFreshProcess(const char* mode, const std::string& path) {
    int out[2];
    if (pipe(out) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::string self = "/proc/self/exe", flag = mode, file = path;
    char* argv[] = {self.data(), flag.data(), file.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ) != 0) std::abort();
    close(out[1]);
    std::string text;
    char chunk[256];
    for (ssize_t got; (got = read(out[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, size_t(got));
    close(out[0]);
    waitpid(child, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
    std::vector<double> numbers;
    std::istringstream in(text);
    for (double n; in >> n;) numbers.push_back(n);
    return numbers;
}
