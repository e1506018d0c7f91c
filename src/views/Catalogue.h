#pragma once
// Everything a list file holds, together with the state that follows it
// around: the file's name and whether it changed since it was read or saved.
// The main window owns one.
#include <string>

#include "collection/Udir_obj.h"
#include "views/Ufilter_obj.h"
#include "views/Uselection_obj.h"
#include "views/ViewList.h"

class TCatalogue {
  public:
    TCatalogue() {
        // An album leaving the collection leaves every selection with it.
        Directory.OnAlbumRemoving = [this](const Tm3u& album) {
            Selections.RemoveAlbumFromAll(&album);
        };
    }
    TCatalogue(const TCatalogue&) = delete;
    TCatalogue& operator=(const TCatalogue&) = delete;

    TDirectory Directory;
    TRootList Roots;
    TFilterState Filters;
    TSelections Selections;
    TViewList View;
    std::string CurrentFile;    // "" when the list has no file yet
    bool ListModified = false;  // shown as " *" in the title bar

    Tm3uList& Albums() { return Directory.List; }
    const Tm3uList& Albums() const { return Directory.List; }
    // Rebuilds the view list from the albums and the applied filter.
    void RebuildView(const TSelection* selection, bool selectionEditMode,
                     const TSortSettings& sort) {
        RebuildViewList(View, Directory.List, Filters.Applied, selection, selectionEditMode, sort);
    }
};
