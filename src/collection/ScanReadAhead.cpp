#include "collection/ScanReadAhead.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "collection/FolderWalk.h"
#include "collection/Playlist.h"
#include "collection/PlaylistFormat.h"
#include "collection/Um3u_obj.h"
#include "collection/Ump3_obj.h"
#include "core/FileSystem.h"

namespace {

// Disk reads of the scan's thread, in 512-byte blocks, after which its files
// are taken as not cached: 1 MiB, well above the few stray blocks a scan of
// a cached collection may read, reached within the first albums of a cold one.
constexpr long kColdBlocks = 2048;
constexpr size_t kPlaylistsPerLook = 8;
// How far the walk may run ahead of the scan, in playlists: enough to keep
// many reads in flight, little enough that what was read is still cached
// when the scan gets there.
constexpr size_t kPlaylistsAhead = 48;
// Threads that open files: opening waits for the disk when the file's inode
// is not cached, so several at once keep the disk busy.
constexpr int kReaders = 4;
// Of a large audio file, what the tag readers look at first.
constexpr off_t kHeadBytes = 128 * 1024;
constexpr off_t kTailBytes = 4096;

std::atomic<TReadAheadMode> readAheadMode{TReadAheadMode::Auto};

long DiskBlocksReadByThisThread() {
    rusage usage{};
    return getrusage(RUSAGE_THREAD, &usage) == 0 ? usage.ru_inblock : 0;
}

// Asks the kernel to bring the file's head and tail into the cache, without
// waiting for them.  A pipe or device is only opened (without waiting), never read.
void ReadAheadFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (st.st_size <= kHeadBytes + kTailBytes) {
            posix_fadvise(fd, 0, st.st_size, POSIX_FADV_WILLNEED);
        } else {
            posix_fadvise(fd, 0, kHeadBytes, POSIX_FADV_WILLNEED);
            posix_fadvise(fd, st.st_size - kTailBytes, kTailBytes, POSIX_FADV_WILLNEED);
        }
    }
    close(fd);
}

// The walk's groups follow the formats' order.
TPlaylistContents ParsePlaylistOf(TPlaylistGroup group, std::string_view bytes) {
    return PlaylistFormatFor(static_cast<TPlaylistType>(group)).read(bytes);
}

bool HasReadableTags(std::string_view path) {
    const TAudioKind kind = AudioKindOf(path);
    return kind != TAudioKind::None && kind != TAudioKind::Untagged;
}

enum class TJobKind { Playlist, File, Status };

struct TJob {
    TJobKind kind;
    std::string path;
};

}  // namespace

struct TScanReadAhead::TState {
    std::vector<std::string> roots;
    bool tracks = false;
    long blocksAtStart = 0;
    bool started = false;

    std::mutex mutex;
    std::condition_variable scanMoved;    // the scan reached a playlist, or stop
    std::condition_variable jobsWaiting;  // jobs to do, or stop
    size_t reached = 0;                   // playlists the scan reached
    size_t walked = 0;                    // playlists the walk reached
    // By the number of the playlist they serve: the scan's next album first.
    std::multimap<size_t, TJob> jobs;
    bool stopping = false;
    TProgress walkStop;  // cancels the walk between folders

    std::thread walker;
    std::vector<std::thread> readers;

    void Start() {
        started = true;
        walker = std::thread([this] { Walk(); });
        for (int i = 0; i < kReaders; ++i) readers.emplace_back([this] { DoJobs(); });
    }

    void Stop() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        walkStop.Cancel();
        scanMoved.notify_all();
        jobsWaiting.notify_all();
        if (walker.joinable()) walker.join();
        for (auto& reader : readers) reader.join();
    }

    void Walk() {
        try {
            TFolderWalk walk;
            walk.progress = &walkStop;
            walk.onPlaylist = [this](const std::string& playlist, const Tm3u::TListedFiles&) {
                PlaylistWalked(playlist);
            };
            for (const auto& root : roots) walk.Walk(root);
        } catch (...) {
            // Stopped, or out of memory: the scan reads its files itself.
        }
    }

    // Waits while the walk is far enough ahead, then queues the playlist's
    // reading (and the test of its picture) unless the scan is past it.
    void PlaylistWalked(const std::string& playlist) {
        std::unique_lock lock(mutex);
        scanMoved.wait(lock, [this] { return stopping || walked < reached + kPlaylistsAhead; });
        if (stopping) throw ECancelled();
        const size_t number = walked++;
        if (number + 1 < reached) return;
        jobs.emplace(number, TJob{TJobKind::Playlist, playlist});
        jobs.emplace(number, TJob{TJobKind::Status, PicturePathFor(playlist)});
        lock.unlock();
        jobsWaiting.notify_all();
    }

    void DoJobs() {
        try {
            for (;;) {
                std::unique_lock lock(mutex);
                jobsWaiting.wait(lock, [this] { return stopping || !jobs.empty(); });
                if (stopping) return;
                auto next = jobs.begin();
                const size_t number = next->first;
                TJob job = std::move(next->second);
                jobs.erase(next);
                if (number + 1 < reached) continue;  // the scan is past its album
                lock.unlock();
                Do(number, job);
            }
        } catch (...) {
            // Out of memory: the scan reads its files itself.
        }
    }

    void Do(size_t number, const TJob& job) {
        switch (job.kind) {
            case TJobKind::Status: {
                struct stat st {};
                stat(job.path.c_str(), &st);
                return;
            }
            case TJobKind::File:
                ReadAheadFile(job.path);
                return;
            case TJobKind::Playlist:
                ReadPlaylist(number, job.path);
                return;
        }
    }

    // Reads the playlist into the cache and, for a full scan, queues the
    // audio files it names, as the scan will resolve them.
    void ReadPlaylist(size_t number, const std::string& playlist) {
        if (!tracks) {
            ReadAheadFile(playlist);
            return;
        }
        if (!FileExists(playlist)) return;  // never opens a device or pipe
        std::string bytes;
        try {
            bytes = ReadWholeFile(playlist);
        } catch (const std::exception&) {
            return;
        }
        const TPlaylistContents contents =
            ParsePlaylistOf(PlaylistGroupOf(playlist), bytes);
        const std::string folder = ExtractFilePath(playlist);
        std::vector<std::string> files;
        for (const auto& entry : contents.entries) {
            std::string path = ResolvePlaylistEntry(entry.path, folder);
            if (HasReadableTags(path)) files.push_back(std::move(path));
        }
        {
            std::lock_guard lock(mutex);
            for (auto& path : files) jobs.emplace(number, TJob{TJobKind::File, std::move(path)});
        }
        jobsWaiting.notify_all();
    }
};

void SetScanReadAheadMode(TReadAheadMode mode) {
    readAheadMode = mode;
}

TScanReadAhead::TScanReadAhead(std::vector<std::string> roots, bool tracks)
    : state_(std::make_unique<TState>()) {
    state_->roots = std::move(roots);
    state_->tracks = tracks;
    state_->blocksAtStart = DiskBlocksReadByThisThread();
}

TScanReadAhead::~TScanReadAhead() {
    if (state_->started) state_->Stop();
}

void TScanReadAhead::PlaylistReached() {
    TState& state = *state_;
    if (!state.started) {
        ++state.reached;  // no other thread yet
        const TReadAheadMode mode = readAheadMode.load();
        if (mode == TReadAheadMode::Never) return;
        // The disk reads are looked at every few playlists: on a cached
        // collection that look was a fair part of a fast rescan.
        if (mode == TReadAheadMode::Always ||
            (state.reached % kPlaylistsPerLook == 1 &&
             DiskBlocksReadByThisThread() - state.blocksAtStart > kColdBlocks)) {
            try {
                state.Start();
            } catch (const std::exception&) {
                // No threads to be had: the scan reads its files itself.
            }
        }
        return;
    }
    {
        std::lock_guard lock(state.mutex);
        ++state.reached;
    }
    state.scanMoved.notify_one();
}

bool TScanReadAhead::Started() const {
    return state_->started;
}
