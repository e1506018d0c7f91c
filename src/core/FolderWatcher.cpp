#include "core/FolderWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/FileSystem.h"

namespace {
constexpr uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                   IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF |
                                   IN_ONLYDIR;

// True when a folder above `folder` (both with trailing "/") is in the set.
bool UnderOneOf(const std::string& folder, const std::set<std::string>& folders) {
    for (size_t slash = folder.find('/', 1);
         slash != std::string::npos && slash + 1 < folder.size();
         slash = folder.find('/', slash + 1))
        if (folders.count(folder.substr(0, slash + 1))) return true;
    return false;
}
}  // namespace

TFolderWatcher::TFolderWatcher() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

TFolderWatcher::~TFolderWatcher() {
    if (fd_ >= 0) close(fd_);
}

void TFolderWatcher::Clear() {
    for (const auto& [wd, folder] : folders_) inotify_rm_watch(fd_, wd);
    folders_.clear();
}

TWatchResult TFolderWatcher::Watch(const std::vector<std::string>& roots) {
    Clear();
    TWatchResult result;
    if (fd_ < 0) {
        result.ok = false;
        result.error = std::string("inotify: ") + std::strerror(errno);
        return result;
    }
    for (const auto& root : roots) AddTree(IncludeTrailingSeparator(root), result);
    result.folders = folders_.size();
    return result;
}

bool TFolderWatcher::AddOne(const std::string& folder, TWatchResult& result) {
    const int wd = inotify_add_watch(fd_, folder.c_str(), kFolderEvents);
    if (wd < 0) {
        if (result.ok) result.error = folder + ": " + std::strerror(errno);
        result.ok = false;
        return false;
    }
    folders_[wd] = folder;
    return true;
}

void TFolderWatcher::AddTree(const std::string& folder, TWatchResult& result) {
    if (!AddOne(folder, result)) return;
    std::error_code ec;
    // Symbolic links are not followed: a link to a parent would never end.
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError))
            AddTree(IncludeTrailingSeparator(it->path().string()), result);
    }
}

void TFolderWatcher::Forget(int wd) {
    folders_.erase(wd);
}

TFolderChanges TFolderWatcher::ReadChanges() {
    TFolderChanges changes;
    if (fd_ < 0) return changes;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;  // EAGAIN: nothing more queued
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                changes.overflow = true;
                continue;
            }
            const auto found = folders_.find(event->wd);
            if (found == folders_.end()) continue;
            const std::string folder = found->second;
            if (event->mask & IN_IGNORED) {  // the folder is gone or no longer watched
                Forget(event->wd);
                continue;
            }
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                changes.folders.insert(folder);
                continue;
            }
            changes.folders.insert(folder);
            if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) &&
                event->len) {
                // A new folder: watched from now on, and reported itself since
                // files may have arrived in it before its watch.
                const std::string child = IncludeTrailingSeparator(JoinPath(folder, event->name));
                TWatchResult added;
                AddTree(child, added);
                changes.folders.insert(child);
            }
        }
    }
    return changes;
}

void TChangeCollector::Add(const TFolderChanges& changes, int64_t nowMs) {
    if (changes.folders.empty() && !changes.overflow) return;
    changes_.folders.insert(changes.folders.begin(), changes.folders.end());
    changes_.overflow = changes_.overflow || changes.overflow;
    lastMs_ = nowMs;
}

TFolderChanges TChangeCollector::Take(int64_t nowMs) {
    if (!Pending() || nowMs - lastMs_ < quietMs_) return {};
    TFolderChanges taken;
    taken.overflow = changes_.overflow;
    for (const auto& folder : changes_.folders)
        if (!UnderOneOf(folder, taken.folders)) taken.folders.insert(folder);
    changes_ = {};
    return taken;
}
