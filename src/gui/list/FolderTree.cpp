#include "gui/list/FolderTree.h"

#include <algorithm>
#include <unordered_set>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"

namespace {
void Renumber(TFolderNode& node) {
    for (size_t i = 0; i < node.children.size(); ++i) node.children[i]->row = static_cast<int>(i);
}

// Roots and folders in name order (byte order of UTF-8 is code point order).
void SortFolders(TFolderNode& node) {
    std::stable_sort(node.children.begin(), node.children.end(),
                     [](const auto& a, const auto& b) { return a->name < b->name; });
    for (auto& child : node.children) SortFolders(*child);
}

TFolderNode* AddChild(TFolderNode& parent, std::unique_ptr<TFolderNode> child) {
    child->parent = &parent;
    parent.children.push_back(std::move(child));
    return parent.children.back().get();
}
}  // namespace

TFolderTree::TFolderTree() : top_(std::make_unique<TFolderNode>()) {}

void TFolderTree::Clear() {
    top_ = std::make_unique<TFolderNode>();
    folders_.clear();
    byAlbum_.clear();
}

TFolderNode* TFolderTree::NodeOf(const Tm3u* album) const {
    auto it = byAlbum_.find(album);
    return it == byAlbum_.end() ? nullptr : it->second;
}

void TFolderTree::AddRoots(const std::vector<std::string>& roots) {
    for (const auto& root : roots) {
        auto node = std::make_unique<TFolderNode>();
        node->name = root;
        node->path = IncludeTrailingSeparator(root);
        node->kind = TFolderNode::Root;
        AddChild(*top_, std::move(node));
    }
    std::stable_sort(top_->children.begin(), top_->children.end(),
                     [](const auto& a, const auto& b) { return a->name < b->name; });
}

TFolderNode* TFolderTree::RootHolding(const std::string& playlistPath) const {
    for (const auto& root : top_->children)
        if (PathStartsWith(playlistPath, root->path)) return root.get();
    return nullptr;
}

TFolderNode* TFolderTree::FolderChild(TFolderNode& node, const std::string& component) {
    const std::string path = node.path + component + "/";
    // Folder paths compare exactly: "Rock" and "rock" are two folders.
    auto it = folders_.find(path);
    if (it != folders_.end()) return it->second;
    auto child = std::make_unique<TFolderNode>();
    child->name = component;
    child->path = path;
    child->kind = TFolderNode::Folder;
    ++node.folderCount;
    TFolderNode* added = AddChild(node, std::move(child));
    folders_.emplace(path, added);
    return added;
}

void TFolderTree::Place(Pending& entry) {
    size_t start = 0;
    for (size_t slash; (slash = entry.rest.find('/', start)) != std::string::npos;
         start = slash + 1)
        entry.node = FolderChild(*entry.node, entry.rest.substr(start, slash - start));
    entry.rest.erase(0, start);
    ++entry.node->albumCount;
}

void TFolderTree::HideFoldersWithOneAlbum(std::vector<Pending>& entries) {
    // Counts are not updated by a removal, so which nodes go does not depend
    // on the order of the walk, and a parent never qualifies after a removal
    // (it made the removed node, so it has a subfolder).
    std::unordered_set<TFolderNode*> hidden;
    for (auto& entry : entries) {
        TFolderNode* node = entry.node;
        if (node->folderCount == 0 && node->albumCount == 1) {
            hidden.insert(node);
            entry.node = node->parent;
        }
    }
    for (TFolderNode* node : hidden) {
        auto& siblings = node->parent->children;
        std::erase_if(siblings, [node](const auto& child) { return child.get() == node; });
    }
}

void TFolderTree::AddAlbumNodes(std::vector<Pending>& entries) {
    // Per folder, the albums in view order go in front of the folders.
    std::unordered_map<TFolderNode*, std::vector<std::unique_ptr<TFolderNode>>> albumsByNode;
    for (auto& entry : entries) {
        auto node = std::make_unique<TFolderNode>();
        node->name = ExtractFileName(entry.album->PlaylistPath);
        node->path = entry.node->path + node->name;
        node->kind = TFolderNode::Album;
        node->album = entry.album;
        node->parent = entry.node;
        ++entry.node->albumCount;
        byAlbum_[entry.album] = node.get();
        albumsByNode[entry.node].push_back(std::move(node));
    }
    for (auto& [parent, albums] : albumsByNode) {
        auto& children = parent->children;
        children.insert(children.begin(), std::make_move_iterator(albums.begin()),
                        std::make_move_iterator(albums.end()));
    }
}

void TFolderTree::Build(const std::vector<std::string>& roots, const std::vector<Tm3u*>& albums,
                        bool hideOneFolder) {
    Clear();
    AddRoots(roots);
    std::vector<Pending> entries;
    for (Tm3u* album : albums) {
        TFolderNode* root = RootHolding(album->PlaylistPath);
        if (!root) continue;
        entries.push_back({album, album->PlaylistPath.substr(root->path.size()), root});
        Place(entries.back());
    }
    folders_.clear();
    for (auto& root : top_->children) SortFolders(*root);
    if (hideOneFolder) HideFoldersWithOneAlbum(entries);
    AddAlbumNodes(entries);
    std::vector<TFolderNode*> stack{top_.get()};
    while (!stack.empty()) {
        TFolderNode* node = stack.back();
        stack.pop_back();
        Renumber(*node);
        for (auto& child : node->children) stack.push_back(child.get());
    }
}
