#pragma once
// The playlist builder's tree of one folder: its subfolders, playlist files
// with their entries, pictures, other images and the audio files that no
// playlist of their folder names ("orphans").
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/Progress.h"

enum TBuilderKind : int32_t {
    KindFolder = 0,
    KindPlaylist = 1,
    KindEntry = 2,
    KindOrphan = 3,
    KindPicture = 4,
    KindImage = 5,
};

// What a file is to the builder by its extension (any letter case); -1 for
// files it does not show.  Audio files answer KindOrphan.
int32_t BuilderFileKind(std::string_view name);

// A picture belongs to a playlist when the playlist of its name exists
// ("x.jpg" and "x.m3u", "x.b4s" or "x.pls").
bool PictureHasPlaylist(const std::string& picturePath);

struct BuilderNode {
    std::string Name;  // shown text: the file or folder name (the root: its full path)
    std::string Path;  // full path
    int32_t Kind = KindFolder;
    bool FileFound = true;      // entries: the file exists
    bool InAlbumFolder = true;  // entries: the file lies in the playlist's folder or below
    bool HasPlaylist = false;   // folders: holds a playlist; pictures: see PictureHasPlaylist
    bool HasSubfolders = false;
    bool HasOrphans = false;
    // View state kept by the scan and the view switches.
    bool Visible = true;
    bool Expanded = false;

    BuilderNode* Parent = nullptr;
    std::vector<std::unique_ptr<BuilderNode>> Children;

    BuilderNode* AddChild(int32_t kind, std::string name, std::string path);
    void ClearChildren() { Children.clear(); }
    long IndexInParent() const;
    BuilderNode* PreviousSibling() const;
    BuilderNode* NextSibling() const;
    BuilderNode* ChildByPath(std::string_view path) const;
    // Depth-first search of the node and everything below it.
    BuilderNode* FindByPath(std::string_view path);
    // Calls `visit` for the node and every node below it, parents first.
    void ForEach(const std::function<void(BuilderNode&)>& visit);
};

// A new root node for a folder: its full path is both its name and its path.
std::unique_ptr<BuilderNode> MakeRootNode(const std::string& folder);

// The view switches of the window.
struct TBuilderView {
    bool Lists = true;     // folders expanded
    bool Tracks = false;   // playlists expanded
    bool Orphans = true;   // orphan nodes visible
    bool Pictures = true;  // picture nodes visible
    bool Images = true;    // image nodes visible
};

// Fills a playlist node's children from its file (one per track, in order)
// and adds every entry's path to `referenced`.
// The referenced set: entry paths with A-Z folded to lower case.
using TReferencedSet = std::unordered_set<std::string>;
// (The scan looks the entries of the playlist's own folder up in the folder's
// listing instead of one file system query each.)
void PlaylistEntries(BuilderNode& playlist, TReferencedSet& referenced);

struct TEnteredFolders;

// The scan of a folder node and all its subfolders.  Every folder is entered
// once however links loop, and folder links are followed only to folders
// inside the tree's root (the top node): the tree never shows a folder
// outside it.  With `progress` the folders scanned are counted into it, and
// a cancel stops the scan: the folders not reached stay without children.
class TBuilderScanner {
  public:
    explicit TBuilderScanner(TBuilderView view = {});
    ~TBuilderScanner();
    TProgress* progress = nullptr;

    // Returns false when stopped.
    bool ScanFolderNode(BuilderNode& folder);
    size_t FoldersScanned() const { return scanned_; }

  private:
    enum class TFolderScan { Scanned, AlreadySeen, Stopped };
    TFolderScan ScanFolder(BuilderNode& folder);

    TBuilderView view_;
    size_t scanned_ = 0;
    bool stopped_ = false;
    std::unique_ptr<TEnteredFolders> entered_;
    std::vector<char> listBuffer_;  // folder entries as the system gives them
    std::string fileBytes_;  // the playlist being read, its memory kept between files
};

// Gives every node below `root` the visibility and expansion of its kind.
void ApplyViewSwitches(BuilderNode& root, const TBuilderView& view);

// The class of a selection (or of a drop target: one node).
enum TSelectionClass : int32_t {
    SelectionNothing = -2,
    SelectionNotUsable = -1,
    SelectionEntries = 6,  // several entries of one playlist
    SelectionOrphans = 7,  // several orphans of one folder
};
// `selected` in selection order, its first the first selected node.
int32_t SelectionClass(const std::vector<BuilderNode*>& selected, const BuilderNode* focused);

// How a node is drawn: icon index (-1 none), font size, colour, bold, italic.
struct TBuilderNodeStyle {
    int Icon = -1;
    int FontSize = 8;
    uint32_t Colour = 0x000000;  // 0xRRGGBB
    bool Bold = false;
    bool Italic = false;
    // The colour class for tools: "folder", "playlist", "entry", "entry-outside",
    // "entry-missing", "orphan", "picture", "picture-alone", "image".
    std::string ColourClass;
};
TBuilderNodeStyle NodeStyle(const BuilderNode& node);

// Counts the folders the scan will visit (the folder and every visible
// subfolder below it), at least 1: the progress bar's maximum.
size_t CountBuilderFolders(const std::string& folder);
