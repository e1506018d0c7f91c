#include "collection/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "core/FileDescriptor.h"
#include "core/FileSystem.h"
#include "core/FolderReader.h"
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

// Reads the entries of an open folder, through `buffer`; `error` gets the
// errno of a read that failed partway (0 when the listing is whole).
TFolderListing ListFolder(int folder, std::vector<char>& buffer, TReadEntries read,
                          int& error) {
    TFolderListing listing;
    error = ReadFolder(folder, buffer, [&](std::string_view name, TEntryType type, const dirent64&) {
        if (type == TEntryType::Folder && name.front() != '.') listing.folders.emplace_back(name);
        if (type != TEntryType::File) return;
        const TPlaylistGroup group = PlaylistGroupOf(name);
        if (group != GroupNone) listing.playlists[group].emplace_back(name);
        if (IsPictureName(name)) listing.pictures.emplace_back(name);
    }, read);
    std::sort(listing.folders.begin(), listing.folders.end());
    for (auto& group : listing.playlists) std::sort(group.begin(), group.end());
    std::sort(listing.pictures.begin(), listing.pictures.end());
    return listing;
}

}  // namespace

void TFolderWalk::Walk(const std::string& folder) {
    TFileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
    if (!dir.IsOpen()) {  // nothing to scan; a folder that vanished is no error
        if (errno != ENOENT) NoteUnreadableFolder(folder);
        return;
    }
    struct stat st {};
    if (fstat(dir.Get(), &st) != 0 || !visited_.insert({st.st_dev, st.st_ino}).second) return;
    // The listing is complete before going deeper, so only one folder
    // is open at a time however deep the tree.
    int error = 0;
    const TFolderListing listing = ListFolder(dir.Get(), listBuffer_, readEntries, error);
    dir.Reset();
    // What was read is scanned; the albums of the rest are kept by the rescan
    // as those of a folder it could not read.
    if (error != 0) NoteUnreadableFolder(folder);
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
    if (progress) progress->ThrowIfCancelled();
}

void TFolderWalk::NoteUnreadableFolder(const std::string& folder) {
    // A folder reached again (from a second root) is named once.
    if (!unreadable || std::find(unreadable->paths.begin(), unreadable->paths.end(), folder) !=
                           unreadable->paths.end())
        return;
    ++unreadable->folders;
    unreadable->paths.push_back(folder);
}
