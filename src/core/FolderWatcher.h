#pragma once
// Watches folder trees for changes (Linux inotify): files and folders made,
// removed, renamed or written under the watched roots.  The owner polls Fd()
// (a socket notifier in the window) and calls ReadChanges(), which returns
// the folders whose contents changed; waiting until the changes stop is the
// owner's job (TChangeCollector below helps).  Nothing here blocks.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct TWatchResult {
    bool ok = true;
    std::string error;   // why a folder could not be watched (the first one)
    size_t folders = 0;  // folders watched in all
};

struct TFolderChanges {
    std::set<std::string> folders;  // changed folders, each with a trailing "/"
    bool overflow = false;          // events were lost: every root may have changed
};

class TFolderWatcher {
  public:
    TFolderWatcher();
    ~TFolderWatcher();
    TFolderWatcher(const TFolderWatcher&) = delete;
    TFolderWatcher& operator=(const TFolderWatcher&) = delete;

    // Watches the roots and every folder below them, replacing what was
    // watched before.  Folders that cannot be watched (gone, no permission,
    // the system's watch limit) are reported and skipped.
    TWatchResult Watch(const std::vector<std::string>& roots);
    void Clear();
    int Fd() const { return fd_; }
    size_t WatchedFolders() const { return folders_.size(); }
    // The changes queued since the last call; empty when there are none.
    // Folders made under a watched one are watched from then on.
    TFolderChanges ReadChanges();

  private:
    void AddTree(const std::string& folder, TWatchResult& result);
    bool AddOne(const std::string& folder, TWatchResult& result);
    void Forget(int wd);

    int fd_ = -1;
    std::map<int, std::string> folders_;  // watch descriptor -> folder with "/"
};

// Gathers changed folders until none came for `quietMs`: the owner adds what
// ReadChanges gives with the time, and asks Take() on a timer.
class TChangeCollector {
  public:
    explicit TChangeCollector(int64_t quietMs) : quietMs_(quietMs) {}
    void Add(const TFolderChanges& changes, int64_t nowMs);
    bool Pending() const { return !changes_.folders.empty() || changes_.overflow; }
    // The gathered changes once `quietMs` passed since the last one, with
    // folders under another gathered folder left out; empty before that.
    TFolderChanges Take(int64_t nowMs);

  private:
    int64_t quietMs_;
    int64_t lastMs_ = 0;
    TFolderChanges changes_;
};
