#pragma once
// The covers operations that the windows and the command-line tool both
// offer, each whole: it reads what it needs completely before it writes
// anything, and a read that fails partway stops it with the file named, so
// that a damaged file is never saved back with what little was read.  An
// operation whose progress is asked to stop writes nothing.  Front
// ends only ask, show the progress and tell the result.
#include <string>

#include "core/Result.h"
#include "covers/CoverTransfer.h"
#include "covers/ReplaceFlow.h"

class TCoverDb;
class TDirectory;
class TProgress;

struct TCoverExport {
    int Count = 0;               // covers added or updated
    bool StartedEmpty = false;   // the file was missing, empty or of another version
    std::string VersionMessage;  // the file was of another version (it is rebuilt)
};

// What an export does with a file of another version.
enum class TOtherVersion {
    Rebuild,  // it is replaced by a database of the catalogue's covers (the window's way)
    Refuse,   // the export stops, the file untouched
};

// Adds the albums' pictures to the database file (created when missing) and
// writes it back, asking before a stored cover is replaced.  The local
// database ("mavelo.cdb") keeps its previous version as "mavelo.cdb.bak".
TResult<TCoverExport> ExportCoversToDbFile(const TDirectory& directory, const std::string& path,
                                           int defaultQuality, TOtherVersion otherVersion,
                                           const TReplacePrompts& prompts, TProgress& progress);

// Writes a new database file of every album's picture, without asking.
TResult<void> ExportAllCoversToFile(const TDirectory& directory, const std::string& path,
                                    int defaultQuality, TProgress& progress);

struct TCoverImportResult : TCoverImport {
    std::string VersionMessage;  // the file was of another version: nothing to import
};

// Reads the database file whole, then gives the albums its covers.  A
// missing file is a failure.
TResult<TCoverImportResult> ImportCoversFromDbFile(TDirectory& directory, const std::string& path,
                                                   int defaultQuality, const TImportScope& scope,
                                                   const TReplacePrompts& prompts,
                                                   TProgress& progress);

struct TCoverMerge {
    int Count = 0;               // covers added or replaced
    std::string VersionMessage;  // the other file was of another version: nothing merged
};

// Merges the covers of another database file into `local` and, when any was
// added or replaced, writes `local` to `localPath` (keeping the previous
// file as "NAME.bak").  The other file is read whole first.
TResult<TCoverMerge> MergeCoverDbFile(TCoverDb& local, const std::string& localPath,
                                      const std::string& otherPath, const TReplacePrompts& prompts,
                                      TProgress& progress);
