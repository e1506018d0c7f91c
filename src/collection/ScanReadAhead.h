#pragma once
// Reading ahead of a scan whose files are not in the file cache.  A scan
// reads one small file after another, each from the disk when the cache is
// cold, and waits for every one.  Once the scan's thread is seen reading from
// the disk, a thread walks the same folders in the same order a little ahead
// of the scan, reads their playlists, and a few more threads ask the kernel
// for the files the scan is about to read (the playlists, and with tags to
// read the beginning and end of the audio files), so that many reads are in
// flight at once and the scan finds its files in the cache.  Nothing it does
// reaches the catalogue: what the scan finds, and in which order, is the same
// with or without it.
#include <memory>
#include <string>
#include <vector>

// When scans read ahead: once their thread has read from the disk (Auto, the
// default), from their first playlist on (Always: for tests and benchmarks
// on a warm cache), or never.
enum class TReadAheadMode { Auto, Always, Never };
void SetScanReadAheadMode(TReadAheadMode mode);

class TScanReadAhead {
  public:
    // `tracks`: the scan reads the tags of the albums' audio files (a full
    // scan); otherwise only playlists are read ahead.  Made on the scan's
    // thread: that thread's reads from the disk start the reading ahead.
    TScanReadAhead(std::vector<std::string> roots, bool tracks);
    // Stops and waits for the threads.
    ~TScanReadAhead();
    TScanReadAhead(const TScanReadAhead&) = delete;
    TScanReadAhead& operator=(const TScanReadAhead&) = delete;

    // The scan reached its next playlist (on the scan's thread).
    void PlaylistReached();
    // True once the reading ahead runs (for tests and benchmarks).
    bool Started() const;

  private:
    struct TState;
    std::unique_ptr<TState> state_;
};
