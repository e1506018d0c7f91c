#pragma once
// The main window's command table: every command with its name (the action's
// objectName, which language files address), caption, shortcut, picture and
// the rule that enables it, and the layout of the menu bar.  Data only; the
// actions themselves are made by TCommands.
#include <QStyle>

#include "gui/shell/CommandId.h"

#include <optional>
#include <string_view>
#include <vector>

// When a command is enabled (see TCommandState).
enum class TEnableRule {
    Always,
    SaveList,       // unsaved changes of a list with a file name or root directories
    ListOpen,       // R: a list with root directories is open
    Selection,      // R and S: a selection is chosen
    SelectionEdit,  // R, S and E: the selection edit mode is on
    Album,          // A: an album row is current
    AlbumRows,      // R and the album grid has album rows
    Track,          // T: a track row is current
    NotYet,         // its window or work is not built yet: never enabled
};

enum class TCheckKind {
    None,
    Toggle,     // a check mark of its own (menu bar, tree, right pane...)
    SortOrder,  // one of the eight sort commands: one of them carries the mark
};

struct TCommandInfo {
    const char* name;
    const char* caption;
    const char* shortcut;   // QKeySequence text; "" for none
    const char* themeIcon;  // desktop icon theme name; "" for a command without picture
    QStyle::StandardPixmap fallbackIcon;  // SP_CustomBase: draw `glyph` instead
    const char* glyph;
    TEnableRule rule;
    TCheckKind check;
};

// The fixed commands (the recent-file and language commands are made apart).
const std::vector<TCommandInfo>& CommandTable();
const TCommandInfo* FindCommandInfo(std::string_view name);
// The sort command of a stored sort string ("AYG"); nothing for an unknown one.
std::optional<TCommandId> SortCommand(std::string_view sortString);

inline constexpr int kRecentFileCommands = 7;  // ActionFileMRU1 ... 7
inline constexpr int kLanguageCommands = 25;   // ActionEditLang1 ... 25

// Entries of a menu: a command name, kSeparator, or one of the two markers
// that stand for the recent-file and language commands.
inline constexpr const char* kSeparator = "-";
inline constexpr const char* kRecentFilesMarker = "@MRU";
inline constexpr const char* kLanguagesMarker = "@LANG";

struct TMenuInfo {
    const char* name;  // objectName of the menu and its language key ("MenuFile")
    const char* englishCaption;
    std::vector<const char*> entries;
};
const std::vector<TMenuInfo>& MenuTable();
