// The builder tree: scanning a folder into nodes, the entries of a playlist,
// the view rules, the selection classes and the look of each node.
#include "builder/BuilderTree.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <unordered_set>

#include "collection/Playlist.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

int32_t BuilderFileKind(std::string_view name) {
    const std::string ext = LowerAscii(ExtractFileExt(name));
    if (ext == ".m3u" || ext == ".pls" || ext == ".b4s") return KindPlaylist;
    if (ext == ".jpg") return KindPicture;
    if (ext == ".bmp" || ext == ".gif" || ext == ".tif" || ext == ".png") return KindImage;
    static const char* const kAudio[] = {".wav", ".mp2", ".mp3", ".ogg", ".wma",
                                         ".asf", ".mod", ".ape", ".mpa"};
    for (const char* audio : kAudio)
        if (ext == audio) return KindOrphan;
    return -1;
}

bool PictureHasPlaylist(const std::string& picturePath) {
    if (picturePath.size() < 3) return false;
    const std::string stem = picturePath.substr(0, picturePath.size() - 3);
    for (const char* ext : {"m3u", "b4s", "pls"})
        if (FileExists(stem + ext)) return true;
    return false;
}

// ---- Nodes ----

BuilderNode* BuilderNode::AddChild(int32_t kind, std::string name, std::string path) {
    auto child = std::make_unique<BuilderNode>();
    child->Kind = kind;
    child->Name = std::move(name);
    child->Path = std::move(path);
    child->Parent = this;
    Children.push_back(std::move(child));
    return Children.back().get();
}

long BuilderNode::IndexInParent() const {
    if (!Parent) return -1;
    for (size_t i = 0; i < Parent->Children.size(); ++i)
        if (Parent->Children[i].get() == this) return static_cast<long>(i);
    return -1;
}

BuilderNode* BuilderNode::PreviousSibling() const {
    const long i = IndexInParent();
    return i > 0 ? Parent->Children[static_cast<size_t>(i) - 1].get() : nullptr;
}

BuilderNode* BuilderNode::NextSibling() const {
    const long i = IndexInParent();
    if (i < 0 || static_cast<size_t>(i) + 1 >= Parent->Children.size()) return nullptr;
    return Parent->Children[static_cast<size_t>(i) + 1].get();
}

BuilderNode* BuilderNode::ChildByPath(std::string_view path) const {
    for (const auto& child : Children)
        if (SamePath(child->Path, path)) return child.get();
    return nullptr;
}

BuilderNode* BuilderNode::FindByPath(std::string_view path) {
    if (SamePath(Path, path)) return this;
    for (const auto& child : Children)
        if (BuilderNode* found = child->FindByPath(path)) return found;
    return nullptr;
}

void BuilderNode::ForEach(const std::function<void(BuilderNode&)>& visit) {
    visit(*this);
    for (const auto& child : Children) child->ForEach(visit);
}

std::unique_ptr<BuilderNode> MakeRootNode(const std::string& folder) {
    auto root = std::make_unique<BuilderNode>();
    root->Name = folder;
    root->Path = folder;
    return root;
}

// ---- Playlist entries ----

void PlaylistEntries(BuilderNode& playlist, TReferencedSet& referenced) {
    PlaylistEntries(playlist, referenced, nullptr);
}

namespace {

// A playlist that cannot be read names nothing (ReadWholeFile opens no pipe
// or device).
TPlaylistContents ReadPlaylistFile(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::system_error&) {
        return {};
    }
    const std::string ext = LowerAscii(ExtractFileExt(path));
    if (ext == ".pls") return TPlsPlaylist::Read(bytes);
    if (ext == ".b4s") return TB4sPlaylist::Read(bytes);
    return TM3uPlaylist::Read(bytes);
}

// Whether the entry's file exists: entries of the playlist's own folder are
// looked up in its listing when the scan has one, sparing a query per track.
bool EntryFileFound(const std::string& path, const std::string& folder,
                    const std::unordered_set<std::string>* filesOfFolder) {
    const bool directlyInFolder = filesOfFolder && path.size() > folder.size() &&
                                  path.compare(0, folder.size(), folder) == 0 &&
                                  path.find('/', folder.size()) == std::string::npos;
    if (directlyInFolder) return filesOfFolder->count(path.substr(folder.size())) > 0;
    return FileExists(path);
}

}  // namespace

void PlaylistEntries(BuilderNode& playlist, TReferencedSet& referenced,
                     const std::unordered_set<std::string>* filesOfFolder) {
    const std::string folder = ExtractFilePath(playlist.Path);
    // One entry per track, as the album record holds them: a file named
    // twice is one track.
    std::vector<std::string> paths;
    std::unordered_set<std::string> seen;
    for (const auto& entry : ReadPlaylistFile(playlist.Path).entries) {
        std::string path = ResolvePlaylistEntry(entry.path, folder);
        if (seen.insert(PathKey(path)).second) paths.push_back(std::move(path));
    }
    if (playlist.Children.size() != paths.size()) playlist.ClearChildren();
    for (size_t i = 0; i < paths.size(); ++i) {
        BuilderNode* node = i < playlist.Children.size() ? playlist.Children[i].get()
                                                         : playlist.AddChild(KindEntry, {}, {});
        node->Kind = KindEntry;
        node->Path = std::move(paths[i]);
        node->Name = ExtractFileName(node->Path);
        node->FileFound = EntryFileFound(node->Path, folder, filesOfFolder);
        node->InAlbumFolder = PathStartsWith(node->Path, folder);
        referenced.insert(LowerAscii(node->Path));
    }
}

// ---- Scan ----

namespace {

struct TFolderListing {
    std::vector<std::string> playlists, pictures, images, audio, folders;
    std::unordered_set<std::string> files;  // every plain file of the folder
};

bool IsFolderEntry(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    return DirectoryExists(JoinPath(folder, entry.d_name));
}

bool IsFileEntry(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    return FileExists(JoinPath(folder, entry.d_name));
}

// Names sorted without regard to case (ties in byte order, so that "A.mp3"
// and "a.mp3", two files here, both stay).
void SortNames(std::vector<std::string>& names) {
    if (names.size() < 2) return;
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) keyed.emplace_back(LowerAscii(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

TFolderListing ListFolder(const std::string& folder) {
    TFolderListing listing;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return listing;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (name[0] == '.' && IsFolderEntry(folder, *entry)) continue;  // hidden folders
        if (IsFolderEntry(folder, *entry)) {
            listing.folders.push_back(name);
            continue;
        }
        const bool plainFile = IsFileEntry(folder, *entry);
        if (plainFile) listing.files.insert(name);
        switch (BuilderFileKind(name)) {
            case KindPlaylist:
                listing.playlists.push_back(name);
                break;
            case KindPicture:
                listing.pictures.push_back(name);
                break;
            case KindImage:
                listing.images.push_back(name);
                break;
            case KindOrphan:
                listing.audio.push_back(name);
                break;
            default:
                continue;
        }
        if (!plainFile) {  // a pipe or device named like a file
            for (auto* list :
                 {&listing.playlists, &listing.pictures, &listing.images, &listing.audio})
                if (!list->empty() && list->back() == name) list->pop_back();
        }
    }
    closedir(dir);
    for (auto* list :
         {&listing.playlists, &listing.pictures, &listing.images, &listing.audio, &listing.folders})
        SortNames(*list);
    return listing;
}

// PictureHasPlaylist over the folder's listing.
bool HasPlaylistIn(const std::unordered_set<std::string>& files, const std::string& picture) {
    const std::string stem = picture.substr(0, picture.size() - 3);
    for (const char* ext : {"m3u", "b4s", "pls"})
        if (files.count(stem + ext)) return true;
    return false;
}

}  // namespace

bool TBuilderScanner::ScanFolderNode(BuilderNode& folder) {
    folder.ClearChildren();
    ++scanned_;
    if (onFolder && !onFolder()) stopped_ = true;
    if (stopped_) return false;
    const TFolderListing listing = ListFolder(folder.Path);
    TReferencedSet referenced;
    for (const auto& name : listing.playlists) {
        folder.HasPlaylist = true;
        BuilderNode* playlist = folder.AddChild(KindPlaylist, name, JoinPath(folder.Path, name));
        PlaylistEntries(*playlist, referenced, &listing.files);
        playlist->Expanded = view_.Tracks;
    }
    for (const auto& name : listing.pictures) {
        BuilderNode* picture = folder.AddChild(KindPicture, name, JoinPath(folder.Path, name));
        picture->HasPlaylist = HasPlaylistIn(listing.files, name);
        picture->Visible = view_.Pictures;
    }
    for (const auto& name : listing.images)
        folder.AddChild(KindImage, name, JoinPath(folder.Path, name))->Visible = view_.Images;
    for (const auto& name : listing.audio) {
        std::string path = JoinPath(folder.Path, name);
        if (referenced.count(LowerAscii(path))) continue;
        folder.HasOrphans = true;
        folder.AddChild(KindOrphan, name, std::move(path))->Visible = view_.Orphans;
    }
    for (const auto& name : listing.folders) {
        folder.HasSubfolders = true;
        BuilderNode* sub = folder.AddChild(KindFolder, name, JoinPath(folder.Path, name));
        ScanFolderNode(*sub);
        sub->Expanded = view_.Lists || sub->HasSubfolders;
        if (stopped_) return false;
    }
    return true;
}

size_t CountBuilderFolders(const std::string& folder) {
    size_t count = 1;
    for (const auto& name : ListFolder(folder).folders)
        count += CountBuilderFolders(JoinPath(folder, name));
    return count;
}

void ApplyViewSwitches(BuilderNode& root, const TBuilderView& view) {
    root.ForEach([&](BuilderNode& node) {
        switch (node.Kind) {
            case KindOrphan:
                node.Visible = view.Orphans;
                break;
            case KindPlaylist:
                node.Expanded = view.Tracks;
                break;
            case KindFolder:
                node.Expanded = view.Lists || node.HasSubfolders;
                break;
            case KindPicture:
                node.Visible = view.Pictures;
                break;
            case KindImage:
                node.Visible = view.Images;
                break;
            default:
                break;
        }
    });
}

// ---- Selection classes ----

int32_t SelectionClass(const std::vector<BuilderNode*>& selected, const BuilderNode* focused) {
    if (selected.empty()) return SelectionNothing;
    if (selected.size() == 1) {
        const BuilderNode* node = focused ? focused : selected.front();
        return node->Kind;
    }
    const BuilderNode* first = selected.front();
    if (first->Kind == KindFolder || first->Kind == KindPlaylist) return SelectionNotUsable;
    for (const BuilderNode* node : selected)
        if (node->Parent != first->Parent || node->Kind != first->Kind) return SelectionNotUsable;
    if (first->Kind == KindEntry) return SelectionEntries;
    if (first->Kind == KindOrphan) return SelectionOrphans;
    return SelectionNotUsable;
}

// ---- Look ----

TBuilderNodeStyle NodeStyle(const BuilderNode& node) {
    TBuilderNodeStyle style;
    switch (node.Kind) {
        case KindFolder:
            style.Icon = node.HasPlaylist || node.HasSubfolders ? 1 : 0;
            style.Bold = true;
            style.ColourClass = "folder";
            break;
        case KindPlaylist:
            style.Icon = 2;
            style.Colour = 0x000053;
            style.ColourClass = "playlist";
            break;
        case KindEntry:
            style.FontSize = 7;
            style.Colour = node.FileFound ? 0x484848 : 0xFF0000;
            style.Italic = !node.InAlbumFolder;
            style.ColourClass = !node.FileFound ? "entry-missing"
                                                : (node.InAlbumFolder ? "entry" : "entry-outside");
            break;
        case KindOrphan:
            style.Colour = 0x397171;
            style.ColourClass = "orphan";
            break;
        case KindPicture:
            style.Icon = 3;
            style.Colour = node.HasPlaylist ? 0x00009B : 0xFF0000;
            style.ColourClass = node.HasPlaylist ? "picture" : "picture-alone";
            break;
        case KindImage:
            style.Icon = 3;
            style.Colour = 0xC0C0C0;
            style.ColourClass = "image";
            break;
    }
    return style;
}
