#include "gui/shell/ToolbarTable.h"

namespace {
std::vector<TBandInfo> MakeBands() {
    // clang-format off
    return {
        {"ToolBarFile", "ToolbarFile", "File", 0, 56, true, "", {
            {"ToolButtonFileNew", "ActionFileNew", false},
            {"ToolButtonFileLoad", "ActionFileLoad", true},
            {"ToolButtonFileSave", "ActionFileSave", false},
            {"ToolButtonFileSaveAs", "ActionFileSaveAs", true},
            {"ToolButtonFileClose", "ActionFileClose", false},
            {"ToolButtonFileExport", "ActionFileExport", false},
            {"ToolButtonFileAutoScan", "ActionFileAutoScan", false},
            {"ToolButtonFileExit", "ActionFileExit", false}}},
        {"ToolBarSelection", "ToolbarSelection", "Selection", 1, 231, false, "CBSel", {
            {"ToolButtonSelectionNew", "ActionSelectionNew", true},
            {"ToolButtonSelectionEdit", "ActionSelectionEdit", true},
            {"ToolButtonSelectionRename", "ActionSelectionRename", true},
            {"ToolButtonSelectionRemove", "ActionSelectionRemove", false},
            {"ToolButtonSelectionSelectAlbum", "ActionSelectionSelectAlbum", false},
            {"ToolButtonSelectionAddAll", "ActionSelectionAddAll", false}}},
        {"ToolBarFilter", "ToolbarFilter", "Filter", 2, 185, false, "CBPrefs", {
            {"ToolButtonListFilter", "ActionListFilter", true}}},
        {"ToolBarEdit", "ToolbarEdit", "Edit", 3, 59, false, "", {
            {"ToolButtonEditSearch", "ActionEditSearch", true},
            {"ToolButtonEditNext", "ActionEditNext", true},
            {"ToolButtonEditOptions", "ActionEditOptions", false}}},
        {"ToolBarTools", "ToolbarTools", "Tools", 6, 102, false, "", {
            {"ToolButtonToolsPlaylistBuilder", "ActionToolsPlaylistBuilder", true},
            {"ToolButtonToolsCoversMgt", "ActionToolsCoversMgt", true},
            {"ToolButtonToolsViewMenuBar", "ActionToolsViewMenuBar", true},
            {"ToolButtonToolsToolbars", "ActionToolsToolbars", true}}},
        {"ToolBarAlbum", "ToolbarAlbum", "Album", 4, 34, false, "", {
            {"ToolButtonAlbumFreeDB", "ActionAlbumFreeDB", false},
            {"ToolButtonAlbumEdit", "ActionAlbumEdit", true},
            {"ToolButtonAlbumSaveInfo", "ActionAlbumSaveInfo", false},
            {"ToolButtonAlbumUpdate", "ActionAlbumUpdate", false},
            {"ToolButtonAlbumPasteImage", "ActionAlbumPasteImage", false},
            {"ToolButtonAlbumLoadImage", "ActionAlbumLoadImage", false},
            {"ToolButtonDeleteImage", "ActionAlbumDeleteImage", false},
            {"ToolButtonAlbumImportCover", "ActionAlbumImportCover", false},
            {"ToolButtonAlbumRemove", "ActionAlbumRemove", false}}},
        {"ToolBarList", "ToolbarList", "List", 5, 105, false, "", {
            {"ToolButtonListBatch", "ActionListBatch", true},
            {"ToolButtonListUpdate", "ActionListUpdate", false},
            {"ToolButtonListFastUpdate", "ActionListFastUpdate", true},
            {"ToolButtonListCacheCovers", "ActionListCacheCovers", false},
            {"ToolButtonListBrowse", "ActionListBrowse", true},
            {"ToolButtonListBrowseOptions", "ActionListBrowseOptions", true},
            {"ToolButtonListFullScreen", "ActionListRightPanel", false},
            {"ToolButtonListAddRoot", "ActionListAddRoot", false},
            {"ToolButtonListRemoveRoot", "ActionListRemoveRoot", false},
            {"ToolButtonExportCoToCdb", "ActionListExportCoToCdb", false},
            {"ToolButtonExportCoToFile", "ActionListExportCoToFile", false},
            {"ToolButtonImportFromCdb", "ActionListImportFromCdb", false}}},
    };
    // clang-format on
}
}  // namespace

const std::vector<TBandInfo>& BandTable() {
    static const std::vector<TBandInfo> bands = MakeBands();
    return bands;
}
