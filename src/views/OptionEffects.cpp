#include "views/OptionEffects.h"

bool ViewNeedsRebuild(const TOptionMarks& marks, std::string_view sortString) {
    return (marks.MostPlayedChanged && sortString == "MostPlayed") ||
           (marks.LastPlayedChanged && sortString == "LastPlayed") || marks.FolderOptionChanged;
}

size_t ClearPlayCounts(Tm3uList& albums) {
    size_t changed = 0;
    for (const auto& entry : albums) {
        if (entry.object->PlayCount != 0) ++changed;
        entry.object->PlayCount = 0;
    }
    return changed;
}

size_t ClearLastPlayed(Tm3uList& albums) {
    size_t changed = 0;
    for (const auto& entry : albums) {
        if (!entry.object->LastPlayed.empty()) ++changed;
        entry.object->LastPlayed.clear();
    }
    return changed;
}

size_t DropCachedCovers(Tm3uList& albums) {
    size_t dropped = 0;
    for (const auto& entry : albums)
        if (entry.object->DropCachedCover()) ++dropped;
    return dropped;
}

size_t DropCoversOfAlbumsWithoutPicture(Tm3uList& albums) {
    size_t dropped = 0;
    for (const auto& entry : albums)
        if (entry.object->PictureState != TPictureState::Present && entry.object->DropCachedCover())
            ++dropped;
    return dropped;
}
