#pragma once
// The walk of a scan over folder trees, in the order scans give albums: a
// folder's subfolders (sorted byte-wise) before its own playlists (m3u, then
// pls, then b4s, each sorted), hidden folders left out, every folder once
// even when links make a loop or reach it twice.
#include <sys/types.h>

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "collection/Um3u_obj.h"
#include "collection/Unreadable.h"
#include "core/FolderReader.h"
#include "core/Progress.h"

enum TPlaylistGroup { GroupM3u, GroupPls, GroupB4s, GroupCount, GroupNone = GroupCount };

// The playlist kind of a file name by its extension (any case); GroupNone
// for any other file.
TPlaylistGroup PlaylistGroupOf(std::string_view name);

class TFolderWalk {
  public:
    std::function<void(const std::string& folder)> onFolder;
    // With what the folder's listing tells of the playlist's files.
    std::function<void(const std::string& playlist, const Tm3u::TListedFiles& listed)> onPlaylist;
    // Folders that could not be listed (wholly or partly) are added to it.
    TUnreadable* unreadable = nullptr;
    // Checked between entries: a cancel ends the walk (ECancelled).
    const TProgress* progress = nullptr;
    // How folders are read (tests hand in one that fails).
    TReadEntries readEntries = ReadEntriesOfFolder;

    void Walk(const std::string& folder);

  private:
    void Breathe() const;
    void NoteUnreadableFolder(const std::string& folder);

    std::set<std::pair<dev_t, ino_t>> visited_;
    std::vector<char> listBuffer_;  // folder entries as the system gives them
};
