#include "gui/shell/CommandTable.h"

#include <string>

namespace {
using SP = QStyle::StandardPixmap;
constexpr SP kGlyph = QStyle::SP_CustomBase;
using R = TEnableRule;
using C = TCheckKind;

// A command without picture.
TCommandInfo Plain(const char* name, const char* caption, const char* shortcut, TCheckKind check) {
    return {name, caption, shortcut, "", kGlyph, "", R::Always, check};
}

std::vector<TCommandInfo> MakeTable() {
    // Commands whose windows are not built yet are NotYet: never enabled.
    // clang-format off
    return {
        // File
        {"ActionFileNew", "&New list", "Ctrl+N", "document-new", QStyle::SP_FileIcon, "", R::Always, C::None},
        {"ActionFileLoad", "L&oad list", "Ctrl+O", "document-open", QStyle::SP_DialogOpenButton, "", R::Always, C::None},
        {"ActionFileSave", "&Save list", "Ctrl+S", "document-save", QStyle::SP_DialogSaveButton, "", R::SaveList, C::None},
        {"ActionFileSaveAs", "Save list &as ...", "", "document-save-as", QStyle::SP_DriveFDIcon, "", R::ListOpen, C::None},
        {"ActionFileClose", "Close &list", "", "document-close", QStyle::SP_DialogCloseButton, "", R::ListOpen, C::None},
        {"ActionFileExport", "Export list as tex&t", "", "text-html", kGlyph, "", R::ListOpen, C::None},
        {"ActionFileAutoScan", "&Mp3 CD autoscan", "", "media-optical", QStyle::SP_DriveCDIcon, "", R::Always, C::None},
        {"ActionFileExit", "E&xit", "", "application-exit", QStyle::SP_TitleBarCloseButton, "", R::Always, C::None},
        // Edit
        {"ActionEditSearch", "&Search", "Ctrl+H", "edit-find", QStyle::SP_FileDialogContentsView, "", R::ListOpen, C::None},
        {"ActionEditNext", "Search &next ...", "F3", "go-next", QStyle::SP_ArrowForward, "", R::ListOpen, C::None},
        {"ActionEditOptions", "&Options", "Ctrl+T", "preferences-system", QStyle::SP_FileDialogDetailedView, "", R::Always, C::None},
        // List
        {"ActionListBatch", "Update batc&h process", "Ctrl+Shift+U", "system-run", kGlyph, "", R::Always, C::None},
        {"ActionListUpdate", "Scan c&urrent list", "Ctrl+F5", "view-refresh", QStyle::SP_BrowserReload, "", R::ListOpen, C::None},
        {"ActionListFastUpdate", "&Fast scan", "F5", "media-seek-forward", QStyle::SP_MediaSeekForward, "", R::ListOpen, C::None},
        {"ActionListCacheCovers", "&Cache all covers", "", "image-x-generic", kGlyph, "", R::ListOpen, C::None},
        {"ActionListBrowse", "List/&Browse view", "Ctrl+B", "view-grid", QStyle::SP_FileDialogListView, "", R::ListOpen, C::Toggle},
        Plain("ActionListTree", "Vie&w folders in list", "Ctrl+Shift+B", C::Toggle),
        {"ActionListBrowseOptions", "Browse mode &options", "", "document-properties", kGlyph, "", R::Always, C::None},
        {"ActionListRightPanel", "Show/Hide right pane&l", "", "view-fullscreen", QStyle::SP_TitleBarMaxButton, "", R::Always, C::Toggle},
        {"ActionListAddRoot", "&Add new directories to scan", "", "folder-new", QStyle::SP_FileDialogNewFolder, "", R::ListOpen, C::None},
        {"ActionListRemoveRoot", "&Delete or move a directory to scan", "", "folder", QStyle::SP_DirIcon, "", R::ListOpen, C::None},
        {"ActionListFilter", "F&ilters", "Ctrl+F", "view-filter", kGlyph, "", R::ListOpen, C::None},
        {"ActionListExportCoToCdb", "E&xport covers to local CoversDB", "", "go-up", QStyle::SP_ArrowUp, "", R::ListOpen, C::None},
        {"ActionListExportCoToFile", "Export co&vers to a CoversDB file", "", "document-save-as", QStyle::SP_DialogSaveButton, "", R::ListOpen, C::None},
        {"ActionListImportFromCdb", "I&mport covers from local CoversDB", "Ctrl+Shift+I", "go-down", QStyle::SP_ArrowDown, "", R::ListOpen, C::None},
        Plain("ActionListMostPlayed", "Mos&t often played album", "Ctrl+F2", C::SortOrder),
        Plain("ActionListLastPlayed", "Last &played albums", "Ctrl+F3", C::SortOrder),
        Plain("ActionListAYG", "&Artist - Year - Genre", "", C::SortOrder),
        Plain("ActionListAGY", "Arti&st - Genre - Year", "", C::SortOrder),
        Plain("ActionListYAG", "&Year - Artist - Genre", "", C::SortOrder),
        Plain("ActionListYGA", "Y&ear - Genre - Artist", "", C::SortOrder),
        Plain("ActionListGAY", "&Genre - Artist - Year", "", C::SortOrder),
        Plain("ActionListGYA", "Ge&nre - Year - Artist", "", C::SortOrder),
        Plain("ActionListYearAsc", "Yea&r ascending", "", C::Toggle),
        // Album
        {"ActionAlbumFreeDB", "&Update with FreeDB", "Ctrl+U", "network-server", QStyle::SP_DriveNetIcon, "", R::Album, C::None},
        {"ActionAlbumEdit", "&Edit details", "Ctrl+D", "document-edit", QStyle::SP_FileDialogInfoView, "", R::Album, C::None},
        {"ActionAlbumSaveInfo", "&Save info to INI file", "", "document-save", QStyle::SP_DialogSaveButton, "", R::Album, C::None},
        {"ActionAlbumUpdate", "Scan album &information", "", "view-refresh", QStyle::SP_BrowserReload, "", R::Album, C::None},
        {"ActionAlbumPasteImage", "Paste i&mage", "Ctrl+Shift+V", "edit-paste", kGlyph, "", R::Album, C::None},
        {"ActionAlbumLoadImage", "&Load image", "", "document-open", QStyle::SP_DialogOpenButton, "", R::Album, C::None},
        {"ActionAlbumDeleteImage", "&Delete image", "", "edit-delete", QStyle::SP_TrashIcon, "", R::Album, C::None},
        {"ActionAlbumImportCover", "Import cover from local &CoversDB", "Ctrl+I", "go-down", QStyle::SP_ArrowDown, "", R::Album, C::None},
        {"ActionAlbumRemove", "&Remove album from list", "", "list-remove", QStyle::SP_DialogDiscardButton, "", R::Album, C::None},
        // Selection
        {"ActionSelectionNew", "&Create a selection", "", "list-add", kGlyph, "", R::ListOpen, C::None},
        {"ActionSelectionEdit", "&Edit current selection", "Ctrl+E", "document-edit", kGlyph, "", R::Selection, C::Toggle},
        {"ActionSelectionRename", "Re&name selection", "", "edit-rename", kGlyph, "", R::Selection, C::None},
        {"ActionSelectionRemove", "Remo&ve selection", "", "list-remove", kGlyph, "", R::Selection, C::None},
        {"ActionSelectionSelectAlbum", "&Add/Remove selected album", "Ctrl+A", "object-select", kGlyph, "", R::SelectionEdit, C::None},
        {"ActionSelectionAddAll", "Add a&ll albums to selection", "Ctrl+Shift+A", "edit-select-all", kGlyph, "", R::SelectionEdit, C::None},
        // PlayList
        {"ActionPlaylistPlayAlbum", "&Play album", "Ctrl+P", "media-playback-start", QStyle::SP_MediaPlay, "", R::Album, C::None},
        {"ActionPlaylistPlayAlbumExt", "Play album (e&xternal)", "", "applications-multimedia", QStyle::SP_MediaVolume, "", R::Album, C::None},
        {"ActionPlaylistAddAlbum", "&Add album to playlist", "Ctrl+Shift+P", "list-add", kGlyph, "", R::Album, C::None},
        {"ActionPlaylistAddAll", "Add all albu&ms to playlist", "", "list-add", kGlyph, "", R::AlbumRows, C::None},
        {"ActionPlaylistPlayTrack", "Pla&y track", "", "media-playback-start", QStyle::SP_MediaPlay, "", R::Track, C::None},
        {"ActionPlaylistPlayTrackExt", "Play track (ex&ternal)", "", "applications-multimedia", QStyle::SP_MediaVolume, "", R::Track, C::None},
        {"ActionPlaylistAddTrack", "Add trac&k to playlist", "", "list-add", kGlyph, "", R::Track, C::None},
        {"ActionPlaylistLoad", "&Load playlist", "", "document-open", QStyle::SP_DialogOpenButton, "", R::Always, C::None},
        {"ActionPlaylistSave", "&Save playlist", "", "document-save", QStyle::SP_DialogSaveButton, "", R::Always, C::None},
        {"ActionPlaylistClear", "&Clear playlist", "Ctrl+Y", "edit-clear", QStyle::SP_DialogResetButton, "", R::Always, C::None},
        {"ActionPlaylistPrev", "Prev&ious", "F6", "media-skip-backward", QStyle::SP_MediaSkipBackward, "", R::Always, C::None},
        {"ActionPlaylistNext", "&Next", "F7", "media-skip-forward", QStyle::SP_MediaSkipForward, "", R::Always, C::None},
        {"ActionPlaylistStop", "St&op", "F8", "media-playback-stop", QStyle::SP_MediaStop, "", R::Always, C::None},
        {"ActionPlaylistPlay", "Play", "F9", "media-playback-start", QStyle::SP_MediaPlay, "", R::Always, C::None},
        {"ActionPlaylistPause", "Paus&e", "F10", "media-playback-pause", QStyle::SP_MediaPause, "", R::Always, C::None},
        {"ActionPlaylistRemoveTrack", "&Remove track", "", "list-remove", QStyle::SP_DialogDiscardButton, "", R::Always, C::None},
        {"ActionPlaylistTrackUp", "Move track &up", "", "go-up", QStyle::SP_ArrowUp, "", R::Always, C::None},
        {"ActionPlaylistTrackDown", "Move track &down", "", "go-down", QStyle::SP_ArrowDown, "", R::Always, C::None},
        {"ActionPlaylistJump", "&Jump to currently playing album", "Ctrl+J", "go-jump", QStyle::SP_ArrowRight, "", R::Always, C::None},
        {"ActionPlaylistRemoteCommander", "&View remote commander", "Ctrl+W", "window-new", QStyle::SP_TitleBarNormalButton, "", R::Always, C::None},
        // Tools
        {"ActionToolsPlaylistBuilder", "P&laylist builder", "Ctrl+L", "folder-open", QStyle::SP_DirOpenIcon, "", R::Always, C::None},
        {"ActionToolsCoversMgt", "Local &CoversDB management", "Ctrl+R", "drive-harddisk", QStyle::SP_DriveHDIcon, "", R::Always, C::None},
        {"ActionToolsViewMenuBar", "View &menu bar", "Ctrl+M", "show-menu", kGlyph, "", R::Always, C::Toggle},
        {"ActionToolsToolbars", "&Toolbars management", "", "configure-toolbars", kGlyph, "", R::Always, C::None},
        // Help
        {"ActionHelpAbout", "&About", "", "help-about", QStyle::SP_MessageBoxInformation, "", R::Always, C::None},
        {"ActionHelpHelp", "&Help", "F1", "help-contents", QStyle::SP_DialogHelpButton, "", R::Always, C::None},
        {"ActionHelpTips", "View &Tips dialog", "", "dialog-information", QStyle::SP_MessageBoxQuestion, "", R::Always, C::None},
    };
    // clang-format on
}

std::vector<TMenuInfo> MakeMenus() {
    const char* s = kSeparator;
    return {
        {"MenuFile",
         "&File",
         {"ActionFileNew", "ActionFileLoad", "ActionFileSave", "ActionFileSaveAs",
          "ActionFileClose", s, "ActionFileExport", "ActionFileAutoScan", s, "ActionFileExit", s,
          kRecentFilesMarker}},
        {"MenuEdit",
         "&Edit",
         {"ActionEditSearch", "ActionEditNext", s, "ActionEditOptions", s, kLanguagesMarker}},
        {"MenuList",
         "&List",
         {"ActionListBatch",
          "ActionListUpdate",
          "ActionListFastUpdate",
          "ActionListCacheCovers",
          s,
          "ActionListBrowse",
          "ActionListTree",
          "ActionListBrowseOptions",
          "ActionListRightPanel",
          s,
          "ActionListAddRoot",
          "ActionListRemoveRoot",
          s,
          "ActionListFilter",
          s,
          "ActionListExportCoToCdb",
          "ActionListExportCoToFile",
          "ActionListImportFromCdb",
          s,
          "ActionListMostPlayed",
          "ActionListLastPlayed",
          "ActionListAYG",
          "ActionListAGY",
          "ActionListYAG",
          "ActionListYGA",
          "ActionListGAY",
          "ActionListGYA",
          "ActionListYearAsc"}},
        {"MenuAlbum",
         "&Album",
         {"ActionAlbumFreeDB", "ActionAlbumEdit", "ActionAlbumSaveInfo", "ActionAlbumUpdate", s,
          "ActionAlbumPasteImage", "ActionAlbumLoadImage", "ActionAlbumDeleteImage",
          "ActionAlbumImportCover", s, "ActionAlbumRemove"}},
        {"MenuSelection",
         "&Selection",
         {"ActionSelectionNew", "ActionSelectionEdit", "ActionSelectionRename",
          "ActionSelectionRemove", s, "ActionSelectionSelectAlbum", "ActionSelectionAddAll"}},
        {"MenuPlayList",
         "&PlayList",
         {"ActionPlaylistPlayAlbum",
          "ActionPlaylistPlayAlbumExt",
          "ActionPlaylistAddAlbum",
          "ActionPlaylistAddAll",
          s,
          "ActionPlaylistPlayTrack",
          "ActionPlaylistPlayTrackExt",
          "ActionPlaylistAddTrack",
          s,
          "ActionPlaylistLoad",
          "ActionPlaylistSave",
          "ActionPlaylistClear",
          "ActionPlaylistPrev",
          "ActionPlaylistNext",
          "ActionPlaylistStop",
          "ActionPlaylistPlay",
          "ActionPlaylistPause",
          "ActionPlaylistRemoveTrack",
          "ActionPlaylistTrackUp",
          "ActionPlaylistTrackDown",
          "ActionPlaylistJump",
          s,
          "ActionPlaylistRemoteCommander"}},
        {"MenuTools",
         "&Tools",
         {"ActionToolsPlaylistBuilder", "ActionToolsCoversMgt", "ActionToolsViewMenuBar",
          "ActionToolsToolbars"}},
        {"MenuHelp", "&Help", {"ActionHelpAbout", "ActionHelpHelp", "ActionHelpTips"}},
    };
}
}  // namespace

const std::vector<TCommandInfo>& CommandTable() {
    static const std::vector<TCommandInfo> table = MakeTable();
    return table;
}

const TCommandInfo* FindCommandInfo(std::string_view name) {
    for (const auto& info : CommandTable())
        if (name == info.name) return &info;
    return nullptr;
}

const std::vector<TMenuInfo>& MenuTable() {
    static const std::vector<TMenuInfo> menus = MakeMenus();
    return menus;
}

std::optional<TCommandId> SortCommand(std::string_view sortString) {
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].check == TCheckKind::SortOrder &&
            std::string_view(table[i].name) == "ActionList" + std::string(sortString))
            return static_cast<TCommandId>(i);
    return std::nullopt;
}
