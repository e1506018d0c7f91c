#pragma once
// What closing the options window does to the catalogue: which of its edits
// call for a new view list, and the catalogue-wide resets it can ask for
// (play statistics, cached covers).
#include <cstddef>
#include <string_view>

#include "collection/Udir_obj.h"

// The options window's change marks, all false when it opens.
struct TOptionMarks {
    bool MostPlayedChanged = false;  // the count was edited or its list cleared
    bool ClearPlayCounts = false;
    bool LastPlayedChanged = false;
    bool ClearLastPlayed = false;
    bool QualityChanged = false;       // taken at "Close" only
    bool FolderOptionChanged = false;  // taken at "Close" only
    bool SoundChanged = false;         // taken at "Close" only
};

// A chart is rebuilt only while it is the sort order: the other orders do
// not depend on play statistics.  The folder option changes the tree.
bool ViewNeedsRebuild(const TOptionMarks& marks, std::string_view sortString);

// Each returns how many albums changed (0: the list needs no save).
size_t ClearPlayCounts(Tm3uList& albums);
size_t ClearLastPlayed(Tm3uList& albums);
size_t DropCachedCovers(Tm3uList& albums);
// Albums without a picture file of their own: their cached cover can only
// have come from a track's embedded picture.
size_t DropCoversOfAlbumsWithoutPicture(Tm3uList& albums);
