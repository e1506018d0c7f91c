#pragma once
// Moving covers between a catalogue and a covers database: exporting album
// pictures into a database and importing database covers as album pictures.
// The loops count albums in the progress given; the whole operations on
// database files are in CoverOperations.h.
#include <cstddef>
#include <vector>

#include "core/Result.h"
#include "covers/ReplaceFlow.h"

class TCoverDb;
class TDirectory;
class TProgress;
class Tm3u;

// Adds the pictures of the albums (those whose picture file exists) to the
// database, asking before a stored cover is replaced.  Returns the number of
// covers added or updated.
int ExportAlbumCovers(const TDirectory& directory, TCoverDb& db, const TReplacePrompts& prompts,
                      TProgress* progress = nullptr);

// Adds every album's picture without asking: a later album with the same
// keys and another picture replaces the earlier one.
void AddAllAlbumCovers(const TDirectory& directory, TCoverDb& db, TProgress* progress = nullptr);

// What an import does with a picture file that exists already.
enum class TExistingPicture {
    Replace,             // replaced when the prompts agree (the window asks each time)
    ReplaceKeepingCopy,  // replaced, the old file kept as "NAME.jpg.bak" first
    Keep,                // never replaced: the album is left as it is
};

struct TImportScope {
    bool CoverlessOnly = false;  // only albums without a picture file
    const Tm3u* Only = nullptr;  // just this album
    TExistingPicture Existing = TExistingPicture::Replace;
};

struct TCoverImport {
    int Count = 0;                   // albums that received a picture
    int Kept = 0;                    // albums whose existing picture file was kept
    std::vector<TFailure> Failures;  // pictures that could not be written (or backed up)
};

// Gives albums the covers the database holds for them, asking before a
// picture file is replaced.
TCoverImport ImportCovers(TDirectory& directory, const TImportScope& scope, const TCoverDb& db,
                          const TReplacePrompts& prompts, TProgress* progress = nullptr);
