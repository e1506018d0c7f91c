#include "collection/Udir_obj.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "collection/FolderWalk.h"
#include "collection/ScanReadAhead.h"
#include "collection/UIo.h"
#include "core/FileDescriptor.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

// ---- Root directories ----

namespace {

bool RootOrder(const std::string& a, const std::string& b) {
    const std::string la = LowerAscii(a), lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
}

}  // namespace

bool TRootList::Add(const std::string& folder) {
    const std::string root = ExcludeTrailingSeparator(folder);
    if (root.empty() || Contains(root)) return false;
    folders_.insert(std::lower_bound(folders_.begin(), folders_.end(), root, RootOrder), root);
    return true;
}

bool TRootList::Remove(const std::string& folder) {
    const std::string root = ExcludeTrailingSeparator(folder);
    auto it = std::find_if(folders_.begin(), folders_.end(),
                           [&](const std::string& f) { return SamePath(f, root); });
    if (it == folders_.end()) return false;
    folders_.erase(it);
    return true;
}

bool TRootList::Contains(const std::string& folder) const {
    const std::string root = ExcludeTrailingSeparator(folder);
    return std::any_of(folders_.begin(), folders_.end(),
                       [&](const std::string& f) { return SamePath(f, root); });
}

void TRootList::Assign(const std::vector<std::string>& folders) {
    folders_.clear();
    for (const auto& folder : folders) Add(folder);
}

std::vector<std::string> SplitRootText(const std::string& text) {
    std::vector<std::string> folders;
    size_t start = 0;
    while (start < text.size()) {
        size_t bar = text.find('|', start);
        if (bar == std::string::npos) bar = text.size();
        if (bar > start) folders.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return folders;
}

// ---- Folder walking ----

namespace {

int64_t CountScanFolders(const std::vector<std::string>& roots, const TProgress* progress) {
    int64_t count = 0;
    TFolderWalk walk;
    walk.progress = progress;
    walk.onFolder = [&](const std::string&) { ++count; };
    for (const auto& root : roots) walk.Walk(root);
    return count;
}

}  // namespace

// ---- The album list ----

namespace {
// A list load or save counts its albums into the progress (and looks for a
// cancel) every so many albums, not for each of 100,000.
constexpr int64_t kAlbumsPerStep = 64;

void CountAlbums(TProgress* progress, int64_t done) {
    if (!progress || done % kAlbumsPerStep != 0) return;
    progress->SetDone(done);
    progress->ThrowIfCancelled();
}
}  // namespace

void TDirectory::ReadAlbums(TLoadSave& stream, const std::string& base, TProgress* progress) {
    List.Clear();
    const int32_t count = stream.ReadInteger();
    if (count < 0) throw EMyFileError("Could not read");
    List.Reserve(std::min<size_t>(size_t(count), stream.Remaining() / 64));  // grown once
    if (progress) progress->SetTotal(count);
    for (int32_t i = 0; i < count; ++i) {
        const TSharedText path = FromRelativeForm(stream.ReadText(), base);
        // Appended first, so that a damaged record keeps what was read of it.
        Tm3u& album = List[List.Add(path, std::make_unique<Tm3u>(path))];
        album.ReadAlbumRecord(stream, base);
        CountAlbums(progress, i + 1);
    }
    if (progress) progress->SetDone(count);
}

void TDirectory::WriteAlbums(TLoadSave& stream, const std::string& base,
                             TProgress* progress) const {
    if (progress) progress->SetTotal(int64_t(List.Count()));
    stream.WriteInteger(static_cast<int32_t>(List.Count()));
    int64_t written = 0;
    for (const auto& entry : List) {
        stream.WriteString(ToRelativeForm(entry.key, base));
        entry.object->WriteAlbumRecord(stream, base);
        CountAlbums(progress, ++written);
    }
    if (progress) progress->SetDone(written);
}

size_t TDirectory::FindOrAddAlbum(const std::string& playlistPath) {
    const std::optional<size_t> found = List.IndexOf(playlistPath);
    const auto addNew = [&] {
        const TSharedText path(playlistPath);  // the key and the album share it
        return List.Add(path, std::make_unique<Tm3u>(path));
    };
    size_t index = found ? *found : addNew();
    Tm3u& album = List[index];
    album.ScanMark =
        album.ScanMark == TScanMark::NotFoundYet ? TScanMark::KnownBefore : TScanMark::None;
    return index;
}

void TDirectory::ScanPlaylist(bool force, const std::string& playlistPath) {
    if (List[FindOrAddAlbum(playlistPath)].Refresh(force, TagReader).coverDropped)
        CachedCoverDropped();
}

namespace {

// True when the file exists but cannot be read as a file: no permission, or
// a pipe or device (which the scan never opens).
// `name` is looked up in the open folder `folder` (AT_FDCWD: `name` is a
// path): one name to look up instead of every folder of a full path.
bool IsUnreadableFile(int folder, const char* name) {
    struct stat st {};
    if (fstatat(folder, name, &st, 0) != 0) return false;  // missing is not unreadable
    if (!S_ISREG(st.st_mode)) return true;
    // The owner's read bit decides for the owner (access() asks for the real
    // user too): one system call instead of two for the files of one's own
    // collection.
    static const uid_t user = getuid();
    if (st.st_uid == user && (st.st_mode & S_IRUSR)) return false;
    return faccessat(folder, name, R_OK, 0) != 0;
}

void NoteUnreadableFile(TUnreadable* unreadable, const std::string& path) {
    if (!unreadable || !IsUnreadableFile(AT_FDCWD, path.c_str())) return;
    ++unreadable->files;
    unreadable->paths.push_back(path);
}

// Notes the album's tracks that exist but cannot be read, of those `worthALook`
// picks.  Most tracks lie in the playlist's folder, looked up through that
// folder, which is opened only when some track is to be looked at.
template <typename Pick>
void NoteUnreadableTracks(TUnreadable& unreadable, const Tm3u& album, Pick worthALook) {
    const std::string_view folder =
        album.PlaylistPath.view().substr(0, album.PlaylistPath.rfind('/') + 1);
    TFileDescriptor folderFd;
    for (const auto& entry : album.Tracks) {
        if (!worthALook(entry.object)) continue;
        const std::string_view path = entry.key.view();
        const bool inFolder = !folder.empty() && path.size() > folder.size() &&
                              path.substr(0, folder.size()) == folder &&
                              path.find('/', folder.size()) == std::string_view::npos;
        if (inFolder && !folderFd.IsOpen())
            folderFd = TFileDescriptor(
                open(std::string(folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        const bool unreadableFile =
            inFolder && folderFd.IsOpen()
                ? IsUnreadableFile(folderFd.Get(), entry.key.c_str() + folder.size())
                : IsUnreadableFile(AT_FDCWD, std::string(path).c_str());
        if (!unreadableFile) continue;
        ++unreadable.files;
        unreadable.paths.emplace_back(path);
    }
}

// Refreshes the album (see Tm3u::Refresh) and notes its playlist and tracks
// that exist but could not be read.  What it looks at: a track in which the
// program's own reader just found tags was opened and read, and needs no
// second look; a fast scan that reads no tags of a known album looks only at
// the tracks its playlist names anew, as it opens no audio file.
void RefreshNotingUnreadable(Tm3u& album, bool force, const TTagReader& givenReader,
                             const Tm3u::TListedFiles& listed, TUnreadable& unreadable) {
    // (Tracks the playlist no longer names are freed only after the new ones
    // were made: a new track never reuses an address of `before`.)
    std::vector<const Tmp3*> before;
    if (!force) {
        before.reserve(album.Tracks.Count());
        for (const auto& entry : album.Tracks) before.push_back(entry.object);
        std::sort(before.begin(), before.end());
    }
    std::vector<const Tmp3*> tagsFound;
    bool tagsRead = false;
    const Tm3u::TRefreshResult refreshed = album.Refresh(force, [&](Tmp3& track) {
        tagsRead = true;
        if (givenReader) return givenReader(track);
        const bool found = track.ReadTags();
        if (found) tagsFound.push_back(&track);
        return found;
    }, &listed);
    if (!refreshed.playlistRead) NoteUnreadableFile(&unreadable, album.PlaylistPath);
    NoteUnreadableTracks(unreadable, album, [&](const Tmp3* track) {
        if (std::find(tagsFound.begin(), tagsFound.end(), track) != tagsFound.end()) return false;
        return tagsRead || !std::binary_search(before.begin(), before.end(), track);
    });
}

TFolderWalk ScanWalk(TDirectory& directory, bool force, TUnreadable* unreadable,
                     TProgress* progress, TScanReadAhead* readAhead = nullptr) {
    TFolderWalk walk;
    walk.unreadable = unreadable;
    walk.progress = progress;
    if (progress) walk.onFolder = [progress](const std::string&) { progress->Advance(); };
    walk.onPlaylist = [&directory, force, unreadable, readAhead](
                          const std::string& playlist, const Tm3u::TListedFiles& listed) {
        if (readAhead) readAhead->PlaylistReached();
        Tm3u& album = directory.List[directory.FindOrAddAlbum(playlist)];
        if (unreadable)
            RefreshNotingUnreadable(album, force, directory.TagReader, listed, *unreadable);
        else
            album.Refresh(force, directory.TagReader, &listed);
    };
    return walk;
}

}  // namespace

int64_t TDirectory::Scan(bool force, const std::vector<std::string>& roots, bool prescan,
                         TUnreadable* unreadable, TProgress* progress) {
    const int64_t total = prescan ? CountScanFolders(roots, progress) : 0;
    if (progress) {
        progress->SetDone(0);
        progress->SetTotal(total);
    }
    const int64_t start = TickCountMs();
    // One walk for all roots: a folder reached from two roots is scanned once.
    // Reads the next files ahead once the file cache turns out cold.
    TScanReadAhead readAhead(roots, force);
    TFolderWalk walk = ScanWalk(*this, force, unreadable, progress, &readAhead);
    for (const auto& root : roots) walk.Walk(root);
    return TickCountMs() - start;
}

void TDirectory::FreeAlbumAt(size_t index) {
    if (OnAlbumRemoving) OnAlbumRemoving(List[index]);
    List.Delete(index);
}

void TDirectory::RemoveAlbum(const Tm3u* album) {
    if (const auto index = List.IndexOfObject(album)) FreeAlbumAt(*index);
}

namespace {

// Removes every album the test picks, in one pass; returns how many.
template <typename Picked>
size_t RemoveAlbumsIf(TDirectory& directory, Picked picked) {
    size_t removed = 0;
    directory.List.RemoveUnless([&](const Tm3u& album) {
        if (!picked(album)) return true;
        if (directory.OnAlbumRemoving) directory.OnAlbumRemoving(album);
        ++removed;
        return false;
    });
    return removed;
}

}  // namespace

size_t TDirectory::RemoveAlbumsUnder(const std::string& folder) {
    return RemoveAlbumsIf(*this, [&](const Tm3u& album) { return album.IsUnder(folder); });
}

void TDirectory::RekeyAlbum(const Tm3u* album) {
    if (const auto index = List.IndexOfObject(album)) List.SetKey(*index, album->PlaylistPath);
}

void TDirectory::MoveFolder(const std::string& oldFolder, const std::string& newFolder) {
    for (size_t i = 0; i < List.Count(); ++i) {
        const bool hadCover = !List[i].CachedCover.empty();
        List[i].ReplaceFolder(oldFolder, newFolder);  // drops the cover
        List.SetKey(i, List[i].PlaylistPath);
        if (hadCover) CachedCoverDropped();
    }
}

void TDirectory::CachedCoverDropped() const {
    if (OnCachedCoverDropped) OnCachedCoverDropped();
}

void TDirectory::ResetPlayCounts() {
    for (const auto& entry : List) entry.object->PlayCount = 0;
}

void TDirectory::ClearLastPlayed() {
    for (const auto& entry : List) entry.object->LastPlayed.clear();
}

void TDirectory::DropAllCachedCovers() {
    for (const auto& entry : List)
        if (entry.object->DropCachedCover()) CachedCoverDropped();
}

// ---- Rescans and root changes ----

namespace {

void SetScanMarks(TDirectory& directory, TScanMark mark) {
    for (const auto& entry : directory.List) entry.object->ScanMark = mark;
}

// Runs a scan; an error ends it where it was, and the result says why.
TScanResult RunScan(TDirectory& directory, const std::vector<std::string>& roots, bool force,
                    bool prescan, TProgress* progress) {
    TScanResult result;
    const int64_t start = TickCountMs();
    try {
        directory.Scan(force, roots, prescan, &result.unreadable, progress);
    } catch (const ECancelled& e) {
        result.completed = false;
        result.cancelled = true;
        result.error = e.what();
    } catch (const std::exception& e) {
        result.completed = false;
        result.error = e.what();
    }
    result.elapsedMs = TickCountMs() - start;
    return result;
}

bool HasAlbumsUnder(const TDirectory& directory, const std::string& folder) {
    return std::any_of(directory.List.begin(), directory.List.end(),
                       [&](const auto& entry) { return entry.object->IsUnder(folder); });
}

// True when the folder can be listed and holds at least one entry.
bool HoldsEntries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

// A root whose albums the scan cannot see: gone, unreadable, or an empty
// folder where albums were (a mount point with nothing mounted).
bool RootUnavailable(const TDirectory& directory, const std::string& root) {
    return !HoldsEntries(root) && HasAlbumsUnder(directory, root);
}

void NoteUnavailableRoots(const TDirectory& directory, const TRootList& roots,
                          std::vector<std::string>& missing) {
    for (const auto& root : roots.Folders())
        if (std::find(missing.begin(), missing.end(), root) == missing.end() &&
            RootUnavailable(directory, root))
            missing.push_back(root);
}

}  // namespace

namespace {

bool UnderOneOf(const Tm3u& album, const std::vector<std::string>& folders) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& folder) { return album.IsUnder(folder); });
}

// Removes the albums still marked as not found, once the scan ran to its
// end.  After an error the albums still marked include those the scan never
// reached: removing them would lose them for nothing.  So would removing the
// albums of a root that is not there, or of a folder that could not be read
// (wholly or partly): they were not seen, not lost.
void RemoveAlbumsNotFound(TDirectory& directory, TScanResult& result) {
    if (!result.completed) return;
    result.removed = RemoveAlbumsIf(directory, [&](const Tm3u& album) {
        return album.ScanMark == TScanMark::NotFoundYet &&
               !UnderOneOf(album, result.missingRoots) &&
               !UnderOneOf(album, result.unreadable.paths);
    });
}

TScanResult RescanRoots(TDirectory& directory, const TRootList& roots, bool force, bool prescan,
                        TProgress* progress) {
    std::vector<std::string> missing;
    NoteUnavailableRoots(directory, roots, missing);
    SetScanMarks(directory, TScanMark::NotFoundYet);
    TScanResult result = RunScan(directory, roots.Folders(), force, prescan, progress);
    // A root renamed or unmounted while the scan ran is caught here.
    NoteUnavailableRoots(directory, roots, missing);
    result.missingRoots = missing;
    RemoveAlbumsNotFound(directory, result);
    SetScanMarks(directory, TScanMark::None);
    return result;
}

// The root holding the folder (or being it); "" when there is none.
std::string RootOf(const TRootList& roots, const std::string& folder) {
    for (const auto& root : roots.Folders())
        if (SamePath(folder, root) || IsPathUnder(folder, root)) return root;
    return {};
}

// True when a folder between the root and `folder` (or itself) is hidden.
bool InHiddenFolder(const std::string& root, const std::string& folder) {
    const std::string below = folder.substr(std::min(folder.size(), root.size()));
    return below.find("/.") != std::string::npos;
}

// The folders a partial rescan walks, in the form scans give them (no
// trailing separator), with their roots.
void PickRescanFolders(const TRootList& roots, const std::vector<std::string>& changed,
                       std::vector<std::string>& folders, TRootList& touchedRoots) {
    for (const auto& name : changed) {
        const std::string folder = ExcludeTrailingSeparator(name);
        const std::string root = RootOf(roots, folder);
        if (root.empty() || InHiddenFolder(root, folder)) continue;
        if (std::none_of(folders.begin(), folders.end(),
                         [&](const std::string& f) { return SamePath(f, folder); }))
            folders.push_back(folder);
        touchedRoots.Add(root);
    }
}

TScanResult RescanChangedFolders(TDirectory& directory, const TRootList& roots,
                                 const std::vector<std::string>& changed, bool force,
                                 TProgress* progress) {
    std::vector<std::string> folders;
    TRootList touchedRoots;
    PickRescanFolders(roots, changed, folders, touchedRoots);
    std::vector<std::string> missing;
    NoteUnavailableRoots(directory, touchedRoots, missing);
    SetScanMarks(directory, TScanMark::None);
    for (const auto& entry : directory.List)
        if (UnderOneOf(*entry.object, folders)) entry.object->ScanMark = TScanMark::NotFoundYet;
    TScanResult result = RunScan(directory, folders, force, false, progress);
    NoteUnavailableRoots(directory, touchedRoots, missing);
    result.missingRoots = missing;
    RemoveAlbumsNotFound(directory, result);
    SetScanMarks(directory, TScanMark::None);
    return result;
}

}  // namespace

// ---- Scans on a copy ----

namespace {

std::unique_ptr<Tm3u> CloneAlbum(const Tm3u& album) {
    auto copy = std::make_unique<Tm3u>(album.PlaylistPath);
    copy->Artist = album.Artist;
    copy->Album = album.Album;
    copy->Genre = album.Genre;
    copy->Year = album.Year;
    copy->Status = album.Status;
    copy->PictureState = album.PictureState;
    copy->PlayCount = album.PlayCount;
    copy->LastPlayed = album.LastPlayed;
    copy->ScanMark = album.ScanMark;
    copy->InSelection = album.InSelection;
    copy->CachedCover = album.CachedCover;
    copy->Tracks.Reserve(album.Tracks.Count());
    for (const auto& entry : album.Tracks)
        copy->Tracks.Add(entry.key, std::make_unique<Tmp3>(*entry.object));
    return copy;
}

// What a scan sets in an album; the user's values (status, plays, selection
// membership) stay, since they may have changed while the scan ran.
void TakeScannedValues(Tm3u& album, Tm3u& scanned) {
    album.Artist = std::move(scanned.Artist);
    album.Album = std::move(scanned.Album);
    album.Genre = std::move(scanned.Genre);
    album.Year = scanned.Year;
    album.PictureState = scanned.PictureState;
    album.CachedCover = std::move(scanned.CachedCover);
    album.Tracks = std::move(scanned.Tracks);
    album.ScanMark = TScanMark::None;
}

}  // namespace

TScanJob::TScanJob(TDirectory& directory, TTarget target, bool force, bool prescan,
                   std::vector<std::string> scope)
    : scope_(std::move(scope)), force_(force), prescan_(prescan) {
    if (target == TTarget::InPlace) {
        scanned_ = &directory;
        return;
    }
    copy_ = std::make_unique<TDirectory>();
    scanned_ = copy_.get();
    copy_->TagReader = directory.TagReader;
    if (scope_.empty()) copy_->List.Reserve(directory.List.Count());
    for (const auto& entry : directory.List)
        if (InScope(*entry.object)) copy_->List.Add(entry.key, CloneAlbum(*entry.object));
}

bool TScanJob::InScope(const Tm3u& album) const {
    return scope_.empty() || UnderOneOf(album, scope_);
}

TScanJob::~TScanJob() = default;

std::unique_ptr<TScanJob> TScanJob::ForRescan(TDirectory& directory, const TRootList& roots,
                                              bool force, bool prescan, TTarget target) {
    std::unique_ptr<TScanJob> job(new TScanJob(directory, target, force, prescan));
    job->rescan_ = true;
    job->roots_ = roots.Folders();
    return job;
}

std::unique_ptr<TScanJob> TScanJob::ForFolders(TDirectory& directory, const TRootList& roots,
                                               const std::vector<std::string>& folders,
                                               bool force, TTarget target) {
    std::vector<std::string> scope;
    for (const auto& folder : folders) scope.push_back(ExcludeTrailingSeparator(folder));
    std::unique_ptr<TScanJob> job(new TScanJob(directory, target, force, false, std::move(scope)));
    job->folders_ = true;
    job->roots_ = roots.Folders();
    return job;
}

std::unique_ptr<TScanJob> TScanJob::ForAddRoots(TDirectory& directory,
                                                const std::vector<std::string>& folders,
                                                bool prescan, TTarget target) {
    std::unique_ptr<TScanJob> job(new TScanJob(directory, target, true, prescan));
    job->roots_ = folders;
    job->newRoots_ = folders;
    return job;
}

void TScanJob::Run() {
    try {
        TRootList roots;
        roots.Assign(roots_);
        if (folders_) {
            result_ = RescanChangedFolders(*scanned_, roots, scope_, force_, &Progress);
        } else if (rescan_) {
            result_ = RescanRoots(*scanned_, roots, force_, prescan_, &Progress);
        } else {
            result_ = RunScan(*scanned_, roots_, force_, prescan_, &Progress);
            SetScanMarks(*scanned_, TScanMark::None);
        }
    } catch (const std::exception& e) {  // the copy may be half done: it is not applied
        result_ = TScanResult();
        result_.completed = false;
        result_.cancelled = true;
        result_.error = e.what();
    }
}

TScanResult TScanJob::Apply(TDirectory& directory, TRootList& roots) {
    if (result_.cancelled) return result_;
    if (copy_) TakeScannedAlbums(directory);
    for (const auto& folder : newRoots_) roots.Add(folder);
    return result_;
}

void TScanJob::TakeScannedAlbums(TDirectory& directory) {
    Tm3uList& scanned = copy_->List;
    RemoveAlbumsIf(directory, [&](const Tm3u& album) {
        return InScope(album) && !scanned.IndexOf(album.PlaylistPath);
    });
    for (size_t i = 0; i < scanned.Count(); ++i) {
        if (Tm3u* album = directory.List.Find(scanned.Key(i))) {
            TakeScannedValues(*album, scanned[i]);
            continue;
        }
        auto album = std::make_unique<Tm3u>(scanned[i].PlaylistPath);
        TakeScannedValues(*album, scanned[i]);
        const TSharedText key = album->PlaylistPath;
        directory.List.Add(key, std::move(album));
    }
    copy_.reset();
    scanned_ = nullptr;
}

namespace {

TScanResult RunInPlace(std::unique_ptr<TScanJob> job, TDirectory& directory, TRootList& roots) {
    job->Run();
    return job->Apply(directory, roots);
}

}  // namespace

TScanResult Rescan(TDirectory& directory, const TRootList& roots, bool force, bool prescan) {
    TRootList unchanged = roots;
    return RunInPlace(
        TScanJob::ForRescan(directory, roots, force, prescan, TScanJob::TTarget::InPlace),
        directory, unchanged);
}

TScanResult RescanFolders(TDirectory& directory, const TRootList& roots,
                          const std::vector<std::string>& folders, bool force) {
    TRootList unchanged = roots;
    return RunInPlace(TScanJob::ForFolders(directory, roots, folders, force,
                                           TScanJob::TTarget::InPlace),
                      directory, unchanged);
}

TScanResult AddRoots(TDirectory& directory, TRootList& roots,
                     const std::vector<std::string>& folders, bool prescan) {
    return RunInPlace(
        TScanJob::ForAddRoots(directory, folders, prescan, TScanJob::TTarget::InPlace), directory,
        roots);
}

void MoveRoot(TDirectory& directory, TRootList& roots, const std::string& oldRoot,
              const std::string& newRoot) {
    directory.MoveFolder(oldRoot, newRoot);
    roots.Remove(oldRoot);
    roots.Add(newRoot);
}

size_t RemoveRoot(TDirectory& directory, TRootList& roots, const std::string& root) {
    const size_t removed = directory.RemoveAlbumsUnder(root);
    roots.Remove(root);
    return removed;
}

TAlbumStatus NextStatus(TAlbumStatus status) {
    switch (status) {
        case TAlbumStatus::Red:
            return TAlbumStatus::Orange;
        case TAlbumStatus::Orange:
            return TAlbumStatus::Green;
        default:
            return TAlbumStatus::Red;
    }
}

void SetStatusOfAll(const std::vector<Tm3u*>& albums, TAlbumStatus status) {
    for (Tm3u* album : albums) album->Status = status;
}
