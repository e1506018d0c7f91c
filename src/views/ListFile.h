#pragma once
// List files: a whole catalogue (roots, albums with their tracks and cached
// covers, filter presets, selections) in one record stream of version 1006.
// A ".cmo" list (CD/DVD auto-launch) stores its paths relative to its own
// folder, so a disc carrying its catalogue loads under any mount point; any
// other name is an ordinary list with full paths.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/Progress.h"
#include "core/ReadSource.h"

class TCatalogue;
class TDirectory;

constexpr int32_t kListFileVersion = 1006;
constexpr size_t kMaxRecentFiles = 7;

enum class TListKind { Ordinary, AutoLaunch };
TListKind ListKindOf(const std::string& path);
// The folder removed from the front of stored paths: "" for an ordinary
// list, the list's own (absolute) folder with a trailing "/" for a ".cmo".
std::string ListBaseFolder(const std::string& path);

enum class TListLoadStatus {
    Loaded,        // everything was read
    Damaged,       // read up to a damaged or truncated place; the rest is missing
    WrongVersion,  // not version 1006: nothing was read
    Missing,       // no such file
    Unreadable,    // the file exists but could not be opened or read
};

struct TListLoadResult {
    TListLoadStatus status = TListLoadStatus::Loaded;
    int32_t version = 0;    // the version the file states (0 when unreadable)
    size_t albums = 0;      // albums in the catalogue afterwards
    int64_t elapsedMs = 0;  // for the timing log
    std::string error;      // why it stopped, for Damaged and Unreadable
    bool Complete() const { return status == TListLoadStatus::Loaded; }
};

// What happened, in English, for logs and the command-line tool.
std::string DescribeLoadResult(const TListLoadResult& result);

struct TListSaveResult {
    bool saved = false;
    bool unchanged = false;  // the file already held these bytes: nothing was written
    size_t albums = 0;
    int64_t elapsedMs = 0;
    std::string error;  // why the file could not be written
};

// Replaces the catalogue's contents (not CurrentFile) with the file's (or
// with bytes in memory, read as the file its name gives).  The cover cache
// quality the file states goes to `coverQuality`.  Only a complete load puts
// the file at the top of the recent files.  The albums read are counted into
// `progress` when given.
TListLoadResult LoadList(const TReadSource& source, TCatalogue& catalogue, int32_t& coverQuality,
                         std::vector<std::string>& recentFiles, TProgress* progress = nullptr);
// Whether a save keeps the file it replaces as "NAME.bak".  A list saved
// after a scan that could not reach some roots keeps the older backup.
enum class TBackupRule { Replace, KeepOld };

// Writes the catalogue through the safe write (core/SafeWrite.h); the old
// file is kept as "NAME.bak" (see TBackupRule).  A failure leaves
// the old file as it was.
TListSaveResult SaveList(const std::string& path, const TCatalogue& catalogue, int32_t coverQuality,
                         std::vector<std::string>& recentFiles,
                         TBackupRule backup = TBackupRule::Replace, TProgress* progress = nullptr);
// As SaveList, except that a file that already holds exactly the bytes the
// catalogue gives is left alone: not written, not flushed, no new backup (a
// rescan that found nothing new changes nothing on the disk).
TListSaveResult SaveListIfChanged(const std::string& path, const TCatalogue& catalogue,
                                  int32_t coverQuality, std::vector<std::string>& recentFiles,
                                  TBackupRule backup = TBackupRule::Replace,
                                  TProgress* progress = nullptr);
// Empties the albums, view list, selections, filter presets, applied filter
// and roots; CurrentFile "" and ListModified false.
void CloseList(TCatalogue& catalogue);

// The load command once the previous list is closed: CurrentFile becomes the
// path (emptied again when the file is missing) and the file is loaded.
TListLoadResult OpenListFile(const std::string& path, TCatalogue& catalogue, int32_t& coverQuality,
                             std::vector<std::string>& recentFiles, TProgress* progress = nullptr);
// The save command: writes CurrentFile; the list stays modified when the
// save fails.  CurrentFile must not be empty (the caller asks for a name).
TListSaveResult SaveListFile(TCatalogue& catalogue, int32_t coverQuality,
                             std::vector<std::string>& recentFiles, TProgress* progress = nullptr);

// Puts the path at the top (an equal entry moves there) and keeps at most
// kMaxRecentFiles entries.
void AddRecentFile(std::vector<std::string>& recentFiles, std::string path);

// Where a list without a name is saved when the program must end without
// asking for one (the desktop session ends): "recovered-YYYYMMDD-HHMMSS.mvo"
// in `folder` (which ends with "/"), local time `when`, with "-2", "-3", ...
// before the extension while that name is taken.
std::string RecoveryListPath(const std::string& folder, std::time_t when);

// True when cover caching is on and some album has an existing picture file
// but no cached cover.
bool CoversNeedCaching(const TDirectory& directory, bool cacheCovers);
