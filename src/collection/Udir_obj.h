#pragma once
// The catalogue: the album list keyed by playlist path, the scanner that
// fills it from the root directories, and the root directory list.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collection/Um3u_obj.h"
#include "collection/Unreadable.h"
#include "core/KeyedList.h"
#include "core/Progress.h"

class TLoadSave;

// The albums of a catalogue, keyed by playlist path, in the order they were
// read or found.  The list owns its albums.
using Tm3uList = KeyedList<Tm3u, TSharedText>;

// The root directories of a catalogue: sorted (A-Z case folded), each folder
// once under the path comparison rule, without a trailing "/".
class TRootList {
  public:
    // False when the folder is already present.
    bool Add(const std::string& folder);
    // False when the folder is not present.
    bool Remove(const std::string& folder);
    bool Contains(const std::string& folder) const;
    void Clear() { folders_.clear(); }
    void Assign(const std::vector<std::string>& folders);

    size_t Count() const { return folders_.size(); }
    const std::string& operator[](size_t index) const { return folders_[index]; }
    const std::vector<std::string>& Folders() const { return folders_; }

  private:
    std::vector<std::string> folders_;
};

// Splits the root dialog's text of new folders ("a|b|") into folders.
std::vector<std::string> SplitRootText(const std::string& text);

class TDirectory {
  public:
    Tm3uList List;
    // Reads the tags of a track during a scan; empty means Tmp3::ReadTags.
    TTagReader TagReader;
    // Called for every album just before the catalogue frees it (a rescan
    // that no longer finds it, a removed root, a removed album), so that
    // selections can forget it.
    std::function<void(const Tm3u&)> OnAlbumRemoving;
    // Called when a scan or a change of folders drops an album's cached
    // cover, so that the owner can mark the list modified.
    std::function<void()> OnCachedCoverDropped;

    // Stored form of the album list (the list file's album block); the
    // albums are counted into `progress` when given.
    void ReadAlbums(TLoadSave& stream, const std::string& base, TProgress* progress = nullptr);
    void WriteAlbums(TLoadSave& stream, const std::string& base,
                     TProgress* progress = nullptr) const;

    // Index of the album of that playlist, appended when missing.  Marks it
    // as found by the running scan.
    size_t FindOrAddAlbum(const std::string& playlistPath);
    void ScanPlaylist(bool force, const std::string& playlistPath);
    // Scans every root in order, each folder's subfolders before its own
    // playlists (m3u, then pls, then b4s); returns the elapsed milliseconds.
    // With prescan the folders are counted first, as the progress's total.
    // What could not be read is added to `unreadable` when given.  With
    // `progress` the scan counts the folders walked into it and stops
    // (throws ECancelled) once asked to.
    int64_t Scan(bool force, const std::vector<std::string>& roots, bool prescan,
                 TUnreadable* unreadable = nullptr, TProgress* progress = nullptr);

    // Frees the album; nothing when it is not in the list.
    void RemoveAlbum(const Tm3u* album);
    // Removes and frees every album inside the folder; returns how many.
    size_t RemoveAlbumsUnder(const std::string& folder);
    // Sets the album's key to its current PlaylistPath.
    void RekeyAlbum(const Tm3u* album);
    // Rewrites every album's paths from one folder to another.
    void MoveFolder(const std::string& oldFolder, const std::string& newFolder);

    void ResetPlayCounts();
    void ClearLastPlayed();
    void DropAllCachedCovers();

  private:
    void FreeAlbumAt(size_t index);
    void CachedCoverDropped() const;
};

// How a rescan or a scan of new roots ended.
struct TScanResult {
    bool completed = true;   // false when an error or a cancel ended the scan
    bool cancelled = false;  // the user stopped it: the catalogue is as before
    std::string error;       // what ended it
    int64_t elapsedMs = 0;
    size_t removed = 0;  // albums whose playlist was not found
    // Roots that were missing, unreadable or empty mount points (before or
    // after the scan): their albums were kept as they were.
    std::vector<std::string> missingRoots;
    TUnreadable unreadable;
};

// A scan of a catalogue's folders: a rescan of the roots (full or fast), a
// rescan of folders changed on disk, or a scan of new roots (also of a disc
// into a list of its own).  Every front end scans through it.  Albums are
// removed only by a rescan that ran to its end, and never those of a root
// that is not there (moved, renamed or not mounted: removing the root is the
// way to drop them) nor those under a folder that could not be read; what
// could not be read is named in the result.
//
// The job scans a copy of the albums (the window: the catalogue stays in use
// while the scan runs on another thread, and a cancelled scan leaves it
// exactly as it was), or the catalogue itself when nothing else uses it (the
// command-line tool).  Create and Apply run on the catalogue's thread; Run
// on any thread, touching only the copy (or, in place, the catalogue).
class TScanJob {
  public:
    enum class TTarget { Copy, InPlace };

    // Scans the roots again: new playlists become albums, albums whose
    // playlist vanished are removed.
    static std::unique_ptr<TScanJob> ForRescan(TDirectory& directory, const TRootList& roots,
                                               bool force, bool prescan,
                                               TTarget target = TTarget::Copy);
    // Scans the new folders (full scan; nothing is removed); Apply adds them
    // to the roots.
    static std::unique_ptr<TScanJob> ForAddRoots(TDirectory& directory,
                                                 const std::vector<std::string>& folders,
                                                 bool prescan, TTarget target = TTarget::Copy);
    // Scans again only the given folders of the roots (each with everything
    // below it), a fast scan: new playlists become albums, albums under those
    // folders whose playlist vanished are removed.  Folders outside the roots
    // or inside hidden folders (which scans skip) are left alone.  Only the
    // albums under the folders are copied, and only those can change.
    static std::unique_ptr<TScanJob> ForFolders(TDirectory& directory, const TRootList& roots,
                                                const std::vector<std::string>& folders,
                                                bool force = false,
                                                TTarget target = TTarget::Copy);
    ~TScanJob();

    TProgress Progress;

    void Run();
    // Takes the scan's albums into the catalogue: albums found again keep
    // their objects and the user's values (status, plays), new albums are
    // appended, vanished ones removed; new roots are added.  Nothing changes
    // when the scan was cancelled (a scan in place keeps what it did).
    TScanResult Apply(TDirectory& directory, TRootList& roots);

  private:
    // `scope`: the folders whose albums the job copies and may remove (empty:
    // every album).
    TScanJob(TDirectory& directory, TTarget target, bool force, bool prescan,
             std::vector<std::string> scope = {});
    bool InScope(const Tm3u& album) const;
    void TakeScannedAlbums(TDirectory& directory);

    std::unique_ptr<TDirectory> copy_;
    TDirectory* scanned_ = nullptr;  // the copy, or the catalogue itself
    std::vector<std::string> scope_;
    std::vector<std::string> roots_;     // the folders to scan (the roots for ForFolders)
    std::vector<std::string> newRoots_;  // added to the roots by Apply
    bool folders_ = false;               // a rescan of the scope's folders
    bool rescan_ = false;
    bool force_ = false;
    bool prescan_ = false;
    TScanResult result_;
};

// The job run to its end on this thread, in place: for tests and tools.
TScanResult Rescan(TDirectory& directory, const TRootList& roots, bool force, bool prescan);
TScanResult RescanFolders(TDirectory& directory, const TRootList& roots,
                          const std::vector<std::string>& folders, bool force);
TScanResult AddRoots(TDirectory& directory, TRootList& roots,
                     const std::vector<std::string>& folders, bool prescan);

// The user moved a root's contents: rewrites the paths and replaces the root.
void MoveRoot(TDirectory& directory, TRootList& roots, const std::string& oldRoot,
              const std::string& newRoot);
// Removes the root and every album under it; returns the number of albums removed.
size_t RemoveRoot(TDirectory& directory, TRootList& roots, const std::string& root);

// The status the sync button gives to all shown albums: the current album's
// status + 1, back to red after green.
TAlbumStatus NextStatus(TAlbumStatus status);
void SetStatusOfAll(const std::vector<Tm3u*>& albums, TAlbumStatus status);
