#pragma once
// The folder tree of the list page: the root directories, the folders below
// them that lead to albums, and the albums of the view list.  Building it
// needs no window, so the rules are tested directly:
//  - roots and folders are sorted by name (byte order, case-sensitive);
//  - in each folder the albums come first, in view order, then the folders;
//  - an album under no root is left out;
//  - with "hide one folder", a folder (or root) holding exactly one album
//    and no subfolder gives way: its album is shown in its parent.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Tm3u;

struct TFolderNode {
    enum Kind { Root = 0, Folder = 1, Album = 2 };

    std::string name;  // root path, folder name or playlist file name
    std::string path;  // roots and folders end with "/"; an album's playlist path
    Kind kind = Folder;
    Tm3u* album = nullptr;  // albums only
    int albumCount = 0;     // albums placed directly here
    int folderCount = 0;    // subfolders made under this node
    TFolderNode* parent = nullptr;
    int row = 0;  // position among the parent's children
    std::vector<std::unique_ptr<TFolderNode>> children;
};

class TFolderTree {
  public:
    TFolderTree();

    // Rebuilds the whole tree.  The albums are the view list, in view order.
    void Build(const std::vector<std::string>& roots, const std::vector<Tm3u*>& albums,
               bool hideOneFolder);
    void Clear();

    // The invisible node above the top-level nodes.
    const TFolderNode& Top() const { return *top_; }
    TFolderNode& Top() { return *top_; }
    // The node of the album, or nullptr when the tree does not show it.
    TFolderNode* NodeOf(const Tm3u* album) const;

  private:
    struct Pending {
        Tm3u* album;
        std::string rest;  // the playlist path below `node`
        TFolderNode* node;
    };

    void AddRoots(const std::vector<std::string>& roots);
    TFolderNode* RootHolding(const std::string& playlistPath) const;
    TFolderNode* FolderChild(TFolderNode& node, const std::string& component);
    void Place(Pending& entry);
    void HideFoldersWithOneAlbum(std::vector<Pending>& entries);
    void AddAlbumNodes(std::vector<Pending>& entries);

    std::unique_ptr<TFolderNode> top_;
    // Folder children by path while building: deep trees with wide folders
    // stay linear.
    std::unordered_map<std::string, TFolderNode*> folders_;
    std::unordered_map<const Tm3u*, TFolderNode*> byAlbum_;
};
