#pragma once
// Playlists for many folders at once: every folder of audio files under a
// root that holds no playlist gets one, named by the album name format from
// its tracks' tags.  An existing file is never overwritten.
#include <string>
#include <vector>

#include "builder/BuilderCommands.h"
#include "core/Progress.h"

struct TCreatePlaylistsReport {
    std::vector<std::string> Created;  // playlist paths written
    std::vector<TBuilderResult> Failures;
    bool Cancelled = false;
};

// The folders below (and including) the root's node that hold audio files
// and no playlist, in tree order.
std::vector<const BuilderNode*> FoldersWithoutPlaylist(const BuilderNode& root);

// Creates the playlists of FoldersWithoutPlaylist of a scanned tree.  With
// `progress`, its total is the number of those folders and each one done is
// counted; a cancel stops between folders (the folders done keep their
// playlists).
TCreatePlaylistsReport CreateMissingPlaylists(const BuilderNode& root,
                                              const std::string& listFormat,
                                              TPlaylistType format, const TBuilderTools& tools,
                                              TProgress* progress = nullptr);

// The whole operation, for the builder window and the command-line tool
// alike: scans the folder `root` as the builder's tree shows it (each folder
// once however links loop, links followed only to folders inside the root,
// so nothing is written outside it), then creates the missing playlists.
// The progress counts the folders scanned, then those given a playlist (its
// step says which part runs).
TCreatePlaylistsReport CreatePlaylistsUnder(const std::string& root, const std::string& listFormat,
                                            TPlaylistType format, const TBuilderTools& tools,
                                            TProgress& progress);
