#pragma once
// Playlists for many folders at once: every folder of audio files under a
// root that holds no playlist gets one, named by the album name format from
// its tracks' tags.  An existing file is never overwritten.
#include <functional>
#include <string>
#include <vector>

#include "builder/BuilderCommands.h"

struct TCreatePlaylistsReport {
    std::vector<std::string> Created;  // playlist paths written
    std::vector<TBuilderResult> Failures;
    bool Cancelled = false;
};

// The folders below (and including) the root's node that hold audio files
// and no playlist, in tree order.
std::vector<const BuilderNode*> FoldersWithoutPlaylist(const BuilderNode& root);

// `progress` (done, total) is called before each folder and stops the work
// when it returns false (the folders done so far keep their playlists).
TCreatePlaylistsReport CreateMissingPlaylists(
    const BuilderNode& root, const std::string& listFormat, TPlaylistType format,
    const TBuilderTools& tools, const std::function<bool(size_t, size_t)>& progress = {});
