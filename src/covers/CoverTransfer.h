#pragma once
// Moving covers between a catalogue and a covers database: exporting album
// pictures into a database and importing database covers as album pictures.
#include <cstddef>

#include "covers/ReplaceFlow.h"

class TCoverDb;
class TDirectory;
class Tm3u;

// Adds the pictures of the albums (those whose picture file exists) to the
// database, asking before a stored cover is replaced.  Returns the number of
// covers added or updated.
int ExportAlbumCovers(const TDirectory& directory, TCoverDb& db, const TReplacePrompts& prompts);

// Adds every album's picture without asking: a later album with the same
// keys and another picture replaces the earlier one.
void AddAllAlbumCovers(const TDirectory& directory, TCoverDb& db);

// Gives albums the covers the database holds for them, asking before a
// picture file is replaced.  With coverlessOnly only albums without a
// picture file take part; with `only` just that album.  Returns the number
// of albums that received a picture.
int ImportCovers(TDirectory& directory, bool coverlessOnly, const TCoverDb& db, const Tm3u* only,
                 const TReplacePrompts& prompts);
