#pragma once
// Small helpers shared by the benchmark programs: the generated collection,
// a scratch folder, the median of runs, the process's CPU time and memory, and a fresh process of
// the same program whose printed numbers are the figures.
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

// A collection of bench/make_collection.py in `folder`, made when missing.
inline void MakeCollection(const std::string& folder, int albums) {
    if (std::filesystem::exists(folder)) return;
    // From the source tree: __FILE__ may be relative to the build folder.
    const std::string script = std::string(MAVELO_TEST_DATA) + "/../../bench/make_collection.py";
    const std::string command = "python3 '" + script + "' '" + folder + "' --albums " +
                                std::to_string(albums) + " >/dev/null";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("could not make the collection: " + command);
}

// The collection of bench/make_collection.py (MAVELO_BENCH_COLLECTION, else
// one in /tmp per size), made on first use.
inline const std::string& CollectionRoot() {
    static const std::string root = [] {
        const char* given = std::getenv("MAVELO_BENCH_COLLECTION");
        std::string folder =
            given ? given : "/tmp/mavelo-bench-collection-" + std::to_string(AlbumCount());
        MakeCollection(folder, AlbumCount());
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

// ---- Whole processes, timed ----

struct ProcessRun {
    double wallMs = 0, cpuMs = 0, maxRssKb = 0;
};

// Runs the command (its output thrown away) and times it; a failing command
// ends the benchmark.
inline ProcessRun SpawnTimed(const std::vector<std::string>& command) {
    std::vector<std::string> copy = command;
    std::vector<char*> argv;
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
    ProcessRun run;
    run.wallMs = MillisecondsSince(start);
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

// A case of a whole-process benchmark: the command and its runs.
struct ProcessCase {
    const char* name;
    std::vector<std::string> command;
    std::vector<ProcessRun> runs;

    double Wall() const { return MedianOf(&ProcessRun::wallMs); }
    double Cpu() const { return MedianOf(&ProcessRun::cpuMs); }
    double RssMb() const { return MedianOf(&ProcessRun::maxRssKb) / 1024; }

  private:
    double MedianOf(double ProcessRun::*field) const {
        std::vector<double> values;
        for (const auto& run : runs) values.push_back(run.*field);
        return Median(values);
    }
};

inline std::string LowerExtension(const std::filesystem::path& path) {
    std::string text = path.extension().string();
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

inline bool IsPlaylistExtension(const std::string& extension) {
    return extension == ".m3u" || extension == ".pls" || extension == ".b4s";
}

// The floor of a scan: walks the tree and reads the first 4 KiB and the last
// 128 bytes of every MP3 (`audio`); otherwise reads every playlist whole and
// opens no audio file.  Prints the bytes read.
inline int FloorWalk(const std::string& root, bool audio) {
    size_t bytes = 0;
    char buffer[4096];
    const auto readRange = [&](int fd, off_t from, size_t count) {
        const ssize_t n = pread(fd, buffer, std::min(count, sizeof buffer), from);
        return n > 0 ? size_t(n) : 0;
    };
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string extension = LowerExtension(entry.path());
        if (audio ? extension != ".mp3" : !IsPlaylistExtension(extension)) continue;
        const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        fstat(fd, &st);
        if (audio) {
            bytes += readRange(fd, 0, 4096);
            if (st.st_size >= 128) bytes += readRange(fd, st.st_size - 128, 128);
        } else {
            for (off_t at = 0; at < st.st_size; at += 4096) bytes += readRange(fd, at, 4096);
        }
        close(fd);
    }
    std::printf("%zu\n", bytes);
    return 0;
}
