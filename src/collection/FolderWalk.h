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

#include "collection/ScanProgress.h"
#include "collection/Um3u_obj.h"
#include "collection/Unreadable.h"

enum TPlaylistGroup { GroupM3u, GroupPls, GroupB4s, GroupCount, GroupNone = GroupCount };

// The playlist kind of a file name by its extension (any case); GroupNone
// for any other file.
TPlaylistGroup PlaylistGroupOf(std::string_view name);

class TFolderWalk {
  public:
    std::function<void(const std::string& folder)> onFolder;
    // With what the folder's listing tells of the playlist's files.
    std::function<void(const std::string& playlist, const Tm3u::TListedFiles& listed)> onPlaylist;
    TUnreadable* unreadable = nullptr;
    // A walk with progress may run off the window thread: it checks for a
    // cancel instead of pumping the window events.
    TScanProgress* progress = nullptr;

    void Walk(const std::string& folder);

  private:
    void Breathe() const;

    std::set<std::pair<dev_t, ino_t>> visited_;
    std::vector<char> listBuffer_;  // folder entries as the system gives them
};
