#include "collection/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "core/FileDescriptor.h"
#include "core/FileSystem.h"
#include "core/PumpEvents.h"
#include "core/Ucommon.h"

TPlaylistGroup PlaylistGroupOf(std::string_view name) {
    static constexpr std::string_view kExtensions[GroupCount] = {".m3u", ".pls", ".b4s"};
    if (name.size() < 4) return GroupNone;
    const std::string_view ext = name.substr(name.size() - 4);
    for (int group = 0; group < GroupCount; ++group)
        if (SameTextAscii(ext, kExtensions[group])) return static_cast<TPlaylistGroup>(group);
    return GroupNone;
}

namespace {

// What a folder holds for the scan, in scan order: names sorted byte-wise so
// that scans are the same on every file system.
struct TFolderListing {
    std::vector<std::string> folders;  // hidden folders left out
    std::array<std::vector<std::string>, GroupCount> playlists;
    std::vector<std::string> pictures;  // files named *.jpg, for the albums' pictures

    Tm3u::TListedFiles FilesOf(const std::string& playlistName) const {
        const std::string picture = PicturePathFor(playlistName);
        return {std::binary_search(pictures.begin(), pictures.end(), picture)};
    }
};

bool IsPictureName(std::string_view name) {
    return name.size() > 4 && name.substr(name.size() - 4) == ".jpg";
}

// Reads the entries of an open folder, through `buffer`.  The folder's
// entries are read with getdents64 rather than readdir: opendir would look at
// the folder a second time and allocate a buffer for every folder.
TFolderListing ListFolder(int folder, std::vector<char>& buffer) {
    TFolderListing listing;
    for (;;) {
        const long filled = syscall(SYS_getdents64, folder, buffer.data(), buffer.size());
        if (filled <= 0) break;  // the end, or an error: what was read stands
        for (long at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += entry->d_reclen;
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            bool isFolder = entry->d_type == DT_DIR;
            bool isFile = entry->d_type == DT_REG;
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                struct stat st {};
                if (fstatat(folder, entry->d_name, &st, 0) == 0) {
                    isFolder = S_ISDIR(st.st_mode);
                    isFile = S_ISREG(st.st_mode);
                }
            }
            if (isFolder && name.front() != '.') listing.folders.emplace_back(name);
            if (!isFile) continue;
            const TPlaylistGroup group = PlaylistGroupOf(name);
            if (group != GroupNone) listing.playlists[group].emplace_back(name);
            if (IsPictureName(name)) listing.pictures.emplace_back(name);
        }
    }
    std::sort(listing.folders.begin(), listing.folders.end());
    for (auto& group : listing.playlists) std::sort(group.begin(), group.end());
    std::sort(listing.pictures.begin(), listing.pictures.end());
    return listing;
}

}  // namespace

void TFolderWalk::Walk(const std::string& folder) {
    TFileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
    if (!dir.IsOpen()) {  // nothing to scan; a folder that vanished is no error
        if (unreadable && errno != ENOENT) {
            ++unreadable->folders;
            unreadable->paths.push_back(folder);
        }
        return;
    }
    struct stat st {};
    if (fstat(dir.Get(), &st) != 0 || !visited_.insert({st.st_dev, st.st_ino}).second) return;
    // The listing is complete before going deeper, so only one folder
    // is open at a time however deep the tree.
    if (listBuffer_.empty()) listBuffer_.resize(32 * 1024);
    const TFolderListing listing = ListFolder(dir.Get(), listBuffer_);
    dir.Reset();
    if (onFolder) onFolder(folder);
    for (const auto& name : listing.folders) {
        Breathe();
        Walk(JoinPath(folder, name));
    }
    if (!onPlaylist) return;
    for (const auto& group : listing.playlists) {
        for (const auto& name : group) {
            Breathe();
            onPlaylist(JoinPath(folder, name), listing.FilesOf(name));
        }
    }
}

void TFolderWalk::Breathe() const {
    if (!progress)
        PumpEvents();
    else if (progress->cancelRequested.load(std::memory_order_relaxed))
        throw EScanCancelled();
}
