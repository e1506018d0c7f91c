#pragma once
// The playlist builder's commands on files: creating, editing and deleting
// playlists, renaming by editing a node's text, and the moves of drag and
// drop.  Each works on a temporary album record of the playlist and reports
// what failed; the window asks the questions and rescans afterwards.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/BuilderFiles.h"
#include "builder/BuilderTree.h"
#include "collection/Um3u_obj.h"

// How album records read tags and measure tracks (the sound layer's
// MeasureTrack); both may be empty (the default tag reader, no measuring).
struct TBuilderTools {
    TTagReader ReadTags;
    std::function<void(Tmp3&)> MeasureTrack;
};

// The playlist read again with its tags (forced) and measured.
std::unique_ptr<Tm3u> RefreshedAlbum(const std::string& playlistPath, const TBuilderTools& tools);
// Writes the album in the format its own extension gives.
TWriteResult WriteInOwnFormat(Tm3u& album);

// ---- Create playlist ----

// An album without a playlist made from the files (tags read, values derived).
std::unique_ptr<Tm3u> AlbumFromFiles(const std::vector<std::string>& files,
                                     const TBuilderTools& tools);
// The playlist file name for a typed name: a typed ".m3u", ".pls" or ".b4s"
// (any case) is dropped, then the chosen format's extension added.
std::string NewPlaylistFileName(const std::string& typedName, TPlaylistType format);
// Writes the album as the playlist `path` in `format`.  An existing file is
// replaced only with `overwrite` (the user said OK); nothing is written
// otherwise.
TBuilderResult CreatePlaylist(Tm3u& album, const std::string& path, TPlaylistType format,
                              bool overwrite);
// The orphan files a "Create playlist" gathers and the folder it writes into,
// by the selection's class.
struct TCreateSource {
    std::vector<std::string> Files;
    std::string Folder;
};
TCreateSource GatherCreateSource(const std::vector<BuilderNode*>& selected, int32_t selectionClass);

// ---- Playlist entries ----

// Removes from the playlist every track named by `paths` (A-Z case folded).
TWriteResult RemoveTracks(const std::string& playlistPath, const std::vector<std::string>& paths,
                  const TBuilderTools& tools);
// Swaps the entry with the one before (up) or after; false when nothing was
// written (the first track up, the last down, not found).
bool MoveTrack(const std::string& playlistPath, const std::string& entryPath, bool up,
               const TBuilderTools& tools);
// Adds the files to the playlist: appended (or found when already there)
// without `insertAfter`, else each inserted after the one before.
TBuilderResult AddFilesToPlaylist(const std::string& playlistPath,
                                  const std::vector<std::string>& files,
                                  const std::string& insertAfter, const TBuilderTools& tools);

// ---- Renaming by editing ----

enum class TRenameOutcome { Ignored, Done, Failed };
struct TRenameResult {
    TRenameOutcome Outcome = TRenameOutcome::Ignored;
    TBuilderResult Failure;  // when Failed
};
// Renames the node's file or folder to `newText` and updates the tree: a
// folder's path and every path below it; an entry's playlist is rewritten
// and its entries filled again; pictures' HasPlaylist computed again.
TRenameResult RenameNode(BuilderNode& root, BuilderNode& node, const std::string& newText,
                         const TBuilderTools& tools);

// ---- Drag and drop ----

enum class TDropAction {
    None,
    MoveIntoFolder,     // a folder, orphans, a picture or an image
    MoveAlbum,          // a playlist into a folder
    AppendToPlaylist,   // orphans onto a playlist of their folder
    InsertAfterEntry,   // orphans onto an entry of such a playlist
    PictureToPlaylist,  // rename the picture after the playlist
    ImageToPlaylist,    // convert the image to the playlist's picture
};
// What dropping the selection (its class and first node) onto `target` does.
TDropAction DropActionFor(int32_t draggedClass, const BuilderNode& first,
                          const BuilderNode* target);

// Moves the album's tracks that lie directly in its folder, then the playlist,
// into `targetFolder`.  The new playlist is written before the old one is
// deleted.  `failedTracks` gets a failure for each track that stayed.
struct TMoveAlbumResult {
    bool ok = false;
    std::string NewPath;
    TBuilderResult Failure;  // when not ok
    std::vector<TBuilderResult> FailedTracks;
};
TMoveAlbumResult MoveAlbum(const std::string& playlistPath, const std::string& targetFolder,
                           const TBuilderTools& tools);

// The picture a playlist takes: the folder given, the playlist's name
// without its extension, ".jpg".
std::string PictureTargetFor(const std::string& folder, const std::string& playlistPath);
// Makes the picture the playlist's album picture by renaming it; an existing
// picture is replaced only with `overwrite`.
TBuilderResult PictureOntoPlaylist(const std::string& picturePath, const std::string& playlistPath,
                                   bool overwrite);
// Turns an image into JPEG bytes ("" when it cannot).
using TImageConverter = std::function<std::string(const std::string& path)>;
// Writes the image, converted, as the playlist's album picture; the image stays.
TBuilderResult ImageOntoPlaylist(const std::string& imagePath, const std::string& playlistPath,
                                 const TImageConverter& convert, bool overwrite);
