// The builder tree: scanning a folder into nodes, the entries of a playlist,
// the view rules, the selection classes and the look of each node.
#include "builder/BuilderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <unordered_set>

#include "collection/Playlist.h"
#include "collection/PlaylistFormat.h"
#include "core/FileSystem.h"
#include "core/FolderReader.h"
#include "core/Ucommon.h"
#include "tags/AudioFile.h"

namespace {

char FoldedAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares as LowerAscii of both would, without making them.
int CompareFolded(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    // Names mostly agree byte for byte: the equal part is skipped a word at a
    // time.
    size_t i = 0;
    for (; i + 8 <= common; i += 8) {
        uint64_t wa, wb;
        std::memcpy(&wa, a.data() + i, 8);
        std::memcpy(&wb, b.data() + i, 8);
        if (wa != wb) break;
    }
    for (; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(FoldedAscii(a[i]));
        const auto cb = static_cast<unsigned char>(FoldedAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool FoldedBefore(std::string_view a, std::string_view b) {
    return CompareFolded(a, b) < 0;
}

}  // namespace

int32_t BuilderFileKind(std::string_view name) {
    // Called for every file of every folder: the extension is folded into a
    // small buffer instead of a new string.  It starts with the name's last
    // dot and holds no folder separator.
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot > 6 ||
        name.find('/', dot + 1) != std::string_view::npos)
        return -1;
    if (IsPlaylistPath(name)) return KindPlaylist;
    if (IsAudioPath(name)) return KindOrphan;
    char folded[6];
    const size_t length = name.size() - dot;
    for (size_t i = 0; i < length; ++i) folded[i] = FoldedAscii(name[dot + i]);
    const std::string_view ext(folded, length);
    static constexpr std::pair<std::string_view, int32_t> kKinds[] = {
        {".jpg", KindPicture}, {".bmp", KindImage}, {".gif", KindImage},
        {".tif", KindImage},   {".png", KindImage},
    };
    for (const auto& [known, kind] : kKinds)
        if (ext == known) return kind;
    return -1;
}

bool PictureHasPlaylist(const std::string& picturePath) {
    if (picturePath.size() < 3) return false;
    const std::string stem = picturePath.substr(0, picturePath.size() - 3);
    for (const TPlaylistFormat& format : PlaylistFormats())
        if (FileExists(stem + std::string(format.extension))) return true;
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

namespace {

// The plain files of one folder, sorted byte-wise for lookups by name.
using TFolderFiles = std::vector<std::string_view>;

bool HasFile(const TFolderFiles& files, std::string_view name) {
    return std::binary_search(files.begin(), files.end(), name);
}

// Reads a regular file (`name` relative to the folder `dirFd`) into `bytes`,
// whose memory is kept from file to file; false when it is none or cannot
// be read.  As ReadWholeFile, it opens no pipe or device; it stops at the
// size the file had when opened, sparing the query that would find its end
// (a file that tells no size is read to its end).
bool ReadRegularFile(int dirFd, const char* name, std::string& bytes) {
    bytes.clear();
    // Without O_NONBLOCK, opening a pipe waits for a writer forever.
    const int fd = openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const size_t size = ok ? static_cast<size_t>(st.st_size) : 0;
    while (ok && (size == 0 || bytes.size() < size)) {
        const size_t have = bytes.size();
        bytes.resize(size == 0 ? have + 65536 : size);
        const ssize_t n = read(fd, bytes.data() + have, bytes.size() - have);
        bytes.resize(have + static_cast<size_t>(n > 0 ? n : 0));
        if (n < 0 && errno != EINTR) ok = false;
        if (n == 0) break;
    }
    close(fd);
    return ok;
}

// A playlist that cannot be read names nothing.
TPlaylistContents ReadPlaylistFile(int dirFd, const std::string& name, std::string& bytes) {
    if (!ReadRegularFile(dirFd, name.c_str(), bytes)) return {};
    return PlaylistFormatOf(name).read(bytes);
}

// Whether the entry's file exists: entries of the playlist's own folder are
// looked up in its listing when the scan has one, sparing a query per track.
bool EntryFileFound(const std::string& path, const std::string& folder,
                    const TFolderFiles* filesOfFolder) {
    const bool directlyInFolder = filesOfFolder && path.size() > folder.size() &&
                                  path.compare(0, folder.size(), folder) == 0 &&
                                  path.find('/', folder.size()) == std::string::npos;
    if (directlyInFolder)
        return HasFile(*filesOfFolder, std::string_view(path).substr(folder.size()));
    return FileExists(path);
}

// Drops every path named before, keeping the first of each: a file named
// twice is one track.  Paths are the same as SamePath has them, byte for
// byte; sorting their positions spares a set of copies per playlist.
void DropRepeatedPaths(std::vector<std::string>& paths) {
    if (paths.size() < 2) return;
    std::vector<uint32_t> order(paths.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = paths[a].compare(paths[b]);
        return c != 0 ? c < 0 : a < b;
    });
    std::vector<bool> repeated(paths.size(), false);
    for (size_t i = 1; i < order.size(); ++i)
        if (SamePath(paths[order[i]], paths[order[i - 1]])) repeated[order[i]] = true;
    size_t kept = 0;
    for (size_t i = 0; i < paths.size(); ++i)
        if (!repeated[i]) {
            if (kept != i) paths[kept] = std::move(paths[i]);
            ++kept;
        }
    paths.resize(kept);
}

// The playlist's file is `name` in the folder `dirFd`; `bytes` a buffer.
void FillPlaylistEntries(BuilderNode& playlist, int dirFd, const std::string& name,
                         std::string& bytes, const TFolderFiles* filesOfFolder) {
    const std::string folder = ExtractFilePath(playlist.Path);
    // One entry per track, as the album record holds them.
    const TPlaylistContents contents = ReadPlaylistFile(dirFd, name, bytes);
    std::vector<std::string> paths;
    paths.reserve(contents.entries.size());
    for (const auto& entry : contents.entries)
        paths.push_back(ResolvePlaylistEntry(entry.path, folder));
    DropRepeatedPaths(paths);
    if (playlist.Children.size() != paths.size()) playlist.ClearChildren();
    playlist.Children.reserve(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        BuilderNode* node = i < playlist.Children.size() ? playlist.Children[i].get()
                                                         : playlist.AddChild(KindEntry, {}, {});
        node->Kind = KindEntry;
        node->Path = std::move(paths[i]);
        node->Name = ExtractFileName(node->Path);
        node->FileFound = EntryFileFound(node->Path, folder, filesOfFolder);
        node->InAlbumFolder = PathStartsWith(node->Path, folder);
    }
}

}  // namespace

void PlaylistEntries(BuilderNode& playlist, TReferencedSet& referenced) {
    std::string bytes;
    FillPlaylistEntries(playlist, AT_FDCWD, playlist.Path, bytes, nullptr);
    for (const auto& entry : playlist.Children) referenced.insert(LowerAscii(entry->Path));
}

// ---- Scan ----

namespace {

// An open folder, closed when it goes.
struct TFolderHandle {
    int fd = -1;
    TFolderHandle() = default;
    TFolderHandle(const TFolderHandle&) = delete;
    TFolderHandle& operator=(const TFolderHandle&) = delete;
    ~TFolderHandle() { Close(); }
    void Close() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

// The entries of one folder the builder shows, grouped and sorted.  The
// names are views into one buffer of the listing, so a folder costs a few
// allocations rather than a few per entry.
struct TFolderListing {
    TFolderHandle folder;  // open while the scan reads the folder's playlists
    std::string names;     // every kept name, back to back
    std::vector<std::string_view> playlists, pictures, images, audio, folders;
    TFolderFiles files;  // every plain file of the folder
    std::vector<std::string_view> linkedFolders;  // folders that are links, sorted byte-wise

    TFolderListing() = default;
    TFolderListing(const TFolderListing&) = delete;
    TFolderListing& operator=(const TFolderListing&) = delete;
};

// Names without regard to case (ties in byte order, so that "A.mp3" and
// "a.mp3", two files here, both stay in a fixed order).
bool NameBefore(std::string_view a, std::string_view b) {
    const int folded = CompareFolded(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

// Reads the folder's entries through the one folder reader into `listing`
// (filled in place: its views point into its own buffer).  `buffer` holds
// the system's records, kept from folder to folder.
void ListFolder(const std::string& folder, TFolderListing& listing, std::vector<char>& buffer) {
    listing.folder.fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing.folder.fd < 0) return;
    // Where each kept name lies in `names`; the views are made once the
    // buffer has stopped growing.
    struct TKept {
        size_t offset, size;
        int32_t group;  // a kind, KindFolder, or -1: a plain file shown nowhere
        bool plainFile;
        bool link;  // a folder reached through a link
    };
    std::vector<TKept> kept;
    kept.reserve(32);  // an album's folder, mostly
    listing.names.reserve(1024);
    size_t inGroup[KindImage + 2] = {};  // by group + 1, to size the lists once
    // A folder read only in part shows what was read: the builder writes
    // nothing because a file is missing from its tree.
    ReadFolder(listing.folder.fd, buffer,
               [&](std::string_view name, TEntryType type, const dirent64& entry) {
                   int32_t group = KindFolder;
                   if (type == TEntryType::Folder) {
                       if (name[0] == '.') return;  // hidden folders
                   } else {
                       group = BuilderFileKind(name);
                       if (type != TEntryType::File) return;  // a pipe or device named like a file
                   }
                   const bool link = type == TEntryType::Folder && entry.d_type != DT_DIR;
                   kept.push_back({listing.names.size(), name.size(), group,
                                   type == TEntryType::File, link});
                   ++inGroup[group + 1];
                   listing.names.append(name);
               });
    const std::string_view names = listing.names;
    listing.files.reserve(kept.size());
    listing.folders.reserve(inGroup[KindFolder + 1]);
    listing.playlists.reserve(inGroup[KindPlaylist + 1]);
    listing.pictures.reserve(inGroup[KindPicture + 1]);
    listing.images.reserve(inGroup[KindImage + 1]);
    listing.audio.reserve(inGroup[KindOrphan + 1]);
    for (const TKept& k : kept) {
        const std::string_view name = names.substr(k.offset, k.size);
        if (k.plainFile) listing.files.push_back(name);
        if (k.link) listing.linkedFolders.push_back(name);
        switch (k.group) {
            case KindFolder:
                listing.folders.push_back(name);
                break;
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
                break;
        }
    }
    for (auto* list :
         {&listing.playlists, &listing.pictures, &listing.images, &listing.audio, &listing.folders})
        std::sort(list->begin(), list->end(), NameBefore);
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.linkedFolders.begin(), listing.linkedFolders.end());
}

// PictureHasPlaylist over the folder's listing; `stem` is a buffer kept
// between calls.
bool HasPlaylistIn(const TFolderFiles& files, std::string_view picture, std::string& stem) {
    for (const TPlaylistFormat& format : PlaylistFormats()) {
        stem.assign(picture.substr(0, picture.size() - 3)).append(format.extension);
        if (HasFile(files, stem)) return true;
    }
    return false;
}

// The files of the folder `folderPrefix` that the playlist names, as the
// referenced set has them (letter case aside): the entries that are that
// folder's path and a file name.  The names are views into the entries.
void AddNamedFiles(const BuilderNode& playlist, std::string_view folderPrefix,
                   std::vector<std::string_view>& named) {
    for (const auto& entry : playlist.Children) {
        const std::string_view path = entry->Path;
        // Nearly every entry starts with the folder as written: compared
        // byte-wise first, letter case aside only if that fails.
        if (path.size() > folderPrefix.size() &&
            (path.compare(0, folderPrefix.size(), folderPrefix) == 0 ||
             CompareFolded(path.substr(0, folderPrefix.size()), folderPrefix) == 0) &&
            path.find('/', folderPrefix.size()) == std::string_view::npos)
            named.push_back(path.substr(folderPrefix.size()));
    }
}

// Whether `name` is among `named` (sorted byte-wise) letter case aside.
// Names mostly appear as written; only the others need `folded`, the same
// names sorted without regard to case, made on first need.
bool NamedByPlaylist(const std::vector<std::string_view>& named, std::string_view name,
                     std::vector<std::string_view>& folded) {
    if (named.empty()) return false;
    if (std::binary_search(named.begin(), named.end(), name)) return true;
    if (folded.empty()) {
        folded = named;
        std::sort(folded.begin(), folded.end(), FoldedBefore);
    }
    return std::binary_search(folded.begin(), folded.end(), name, FoldedBefore);
}

// JoinPath with the folder's part made once for all its children.
std::string ChildPath(const std::string& folderPrefix, std::string_view name) {
    std::string path;
    path.reserve(folderPrefix.size() + name.size());
    path.append(folderPrefix).append(name);
    return path;
}

}  // namespace

// Which folders a scan enters: each folder once, however links loop or reach
// it twice (as the scan's walk remembers the folders it visited), and a
// folder link only when it leads to a folder inside the root: the tree never
// shows a folder outside its root, so no command writes there.
struct TEnteredFolders {
    std::string realRoot;  // the root with every link resolved, ending in "/"
    std::set<std::pair<dev_t, ino_t>> visited;

    explicit TEnteredFolders(const std::string& root) {
        char* real = realpath(root.c_str(), nullptr);
        realRoot = IncludeTrailingSeparator(real ? std::string(real) : root);
        free(real);
    }
    // False when the open folder was entered before.
    bool FirstVisit(int folderFd) {
        struct stat st {};
        if (folderFd < 0 || fstat(folderFd, &st) != 0) return true;  // unreadable: shown empty
        return visited.insert({st.st_dev, st.st_ino}).second;
    }
    void MarkVisited(const std::string& folder) {
        struct stat st {};
        if (stat(folder.c_str(), &st) == 0) visited.insert({st.st_dev, st.st_ino});
    }
    bool LeadsInside(const std::string& link) const {
        char* real = realpath(link.c_str(), nullptr);
        const bool inside = real && PathStartsWith(std::string(real) + "/", realRoot);
        free(real);
        return inside;
    }
};

namespace {

bool IsLinked(const TFolderListing& listing, std::string_view name) {
    return std::binary_search(listing.linkedFolders.begin(), listing.linkedFolders.end(), name);
}

const BuilderNode& TopOf(const BuilderNode& node) {
    const BuilderNode* top = &node;
    while (top->Parent) top = top->Parent;
    return *top;
}

}  // namespace

TBuilderScanner::TBuilderScanner(TBuilderView view) : view_(view) {}
TBuilderScanner::~TBuilderScanner() = default;

bool TBuilderScanner::ScanFolderNode(BuilderNode& folder) {
    if (!entered_) {
        entered_ = std::make_unique<TEnteredFolders>(TopOf(folder).Path);
        // A folder scanned again below its root: links up to the folders
        // above it lead to folders the tree shows already.
        for (const BuilderNode* above = folder.Parent; above; above = above->Parent)
            entered_->MarkVisited(above->Path);
    }
    return ScanFolder(folder) != TFolderScan::Stopped;
}

TBuilderScanner::TFolderScan TBuilderScanner::ScanFolder(BuilderNode& folder) {
    folder.ClearChildren();
    if (progress && progress->CancelRequested()) stopped_ = true;
    if (stopped_) return TFolderScan::Stopped;
    TFolderListing listing;
    ListFolder(folder.Path, listing, listBuffer_);
    if (!entered_->FirstVisit(listing.folder.fd)) return TFolderScan::AlreadySeen;
    ++scanned_;
    if (progress) progress->Advance();
    const std::string prefix =
        folder.Path.empty() ? std::string() : IncludeTrailingSeparator(folder.Path);
    folder.Children.reserve(listing.playlists.size() + listing.pictures.size() +
                            listing.images.size() + listing.audio.size() + listing.folders.size());
    std::vector<std::string_view> named;  // audio files of the folder its playlists name
    std::vector<std::string_view> namedFolded;
    for (const auto name : listing.playlists) {
        folder.HasPlaylist = true;
        BuilderNode* playlist =
            folder.AddChild(KindPlaylist, std::string(name), ChildPath(prefix, name));
        FillPlaylistEntries(*playlist, listing.folder.fd, playlist->Name, fileBytes_,
                            &listing.files);
        AddNamedFiles(*playlist, prefix, named);
        playlist->Expanded = view_.Tracks;
    }
    std::sort(named.begin(), named.end());
    // Subfolders are opened by their full path: no folder stays open while
    // the scan goes down, however deep the tree.
    listing.folder.Close();
    std::string buffer;
    for (const auto name : listing.pictures) {
        BuilderNode* picture =
            folder.AddChild(KindPicture, std::string(name), ChildPath(prefix, name));
        picture->HasPlaylist = HasPlaylistIn(listing.files, name, buffer);
        picture->Visible = view_.Pictures;
    }
    for (const auto name : listing.images)
        folder.AddChild(KindImage, std::string(name), ChildPath(prefix, name))->Visible =
            view_.Images;
    for (const auto name : listing.audio) {
        if (NamedByPlaylist(named, name, namedFolded)) continue;
        folder.HasOrphans = true;
        folder.AddChild(KindOrphan, std::string(name), ChildPath(prefix, name))->Visible =
            view_.Orphans;
    }
    for (const auto name : listing.folders) {
        std::string path = ChildPath(prefix, name);
        if (IsLinked(listing, name) && !entered_->LeadsInside(path)) continue;
        BuilderNode* sub = folder.AddChild(KindFolder, std::string(name), std::move(path));
        if (ScanFolder(*sub) == TFolderScan::AlreadySeen) {
            folder.Children.pop_back();
            continue;
        }
        folder.HasSubfolders = true;
        sub->Expanded = view_.Lists || sub->HasSubfolders;
        if (stopped_) return TFolderScan::Stopped;
    }
    return TFolderScan::Scanned;
}

namespace {

size_t CountFolders(const std::string& folder, TEnteredFolders& entered,
                    std::vector<char>& buffer) {
    TFolderListing listing;
    ListFolder(folder, listing, buffer);
    if (!entered.FirstVisit(listing.folder.fd)) return 0;
    listing.folder.Close();
    size_t count = 1;
    for (const auto name : listing.folders) {
        const std::string path = JoinPath(folder, name);
        if (IsLinked(listing, name) && !entered.LeadsInside(path)) continue;
        count += CountFolders(path, entered, buffer);
    }
    return count;
}

}  // namespace

size_t CountBuilderFolders(const std::string& folder) {
    TEnteredFolders entered(folder);
    std::vector<char> buffer;
    return std::max<size_t>(1, CountFolders(folder, entered, buffer));
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
