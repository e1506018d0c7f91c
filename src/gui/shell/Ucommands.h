#pragma once
// The main window's commands as Qt actions, made from the command table,
// with the menu bar that shows them, the recent-file and language entries,
// the sort check marks and the enabling rules.  What a command does is
// connected by the window or subsystem that owns it:
//   connect(commands.Action(TCommandId::FileNew), &QAction::triggered, ...).
#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "gui/shell/CommandId.h"
#include "gui/shell/CommandTable.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// What the enabling rules look at.
struct TCommandState {
    bool hasFileName = false;        // CurrentFile is not empty
    bool modified = false;           // ListModified
    bool listOpen = false;           // R: at least one root directory
    bool selectionChosen = false;    // S
    bool selectionEditMode = false;  // E
    bool hasAlbumRows = false;       // the album grid shows at least one album
    bool albumCurrent = false;       // one of its album rows is current
    bool trackCurrent = false;       // a track row is current
};
bool RuleEnables(TEnableRule rule, const TCommandState& state);

// The album, track and list facts that decide command states, supplied by
// the list page once it exists.
class TCommandStateSource {
  public:
    virtual ~TCommandStateSource() = default;
    virtual TCommandState CatalogueState() const = 0;
};

class TCommands : public QObject {
    Q_OBJECT
  public:
    // The actions are children of this object and are added to `window`, so
    // their shortcuts work while the menu bar is hidden.
    explicit TCommands(QWidget* window);

    // The command of that id (never null).
    QAction* Action(TCommandId id) const { return byId_[static_cast<size_t>(id)]; }
    // The recent-file command at `index` (from 0) and the language command
    // at `position` (from 1).
    QAction* RecentFileAction(int index) const;
    QAction* LanguageAction(int position) const;
    // The action of that name, as language files and settings name it;
    // nullptr when there is none.
    QAction* Action(const QString& name) const;
    const std::vector<QAction*>& Actions() const { return ordered_; }

    void BuildMenuBar(QMenuBar* bar);
    QMenu* Menu(const QString& name) const;
    // The eight menu captions from the loaded language ("MenuFile" ...).
    void TranslateMenus();

    void ApplyStates(const TCommandState& state);

    // ActionFileMRU1..7: visible for the first entries, captioned with the
    // file name without its folder.
    void ShowRecentFiles(const std::vector<std::string>& recentFiles);
    // ActionEditLang1..25 from the language names (the first 25 only).
    void ShowLanguages(const std::vector<std::string>& languages);
    // Puts the mark on the language command at that position (from 1) after
    // removing it from the first `count` ones; 0 marks none.
    void CheckLanguage(int position, int count);
    // The mark on "ActionList" + sortString when there is such a sort command.
    void CheckSortOrder(const std::string& sortString);

  signals:
    void LanguageChosen(int position);  // from 1
    void RecentFileChosen(int index);   // from 0
    void SortOrderChosen(QAction* action);

  private:
    QAction* AddAction(const QString& name, const QString& caption);
    void MakeTableCommands();
    void MakeNumberedCommands(const QString& prefix, int count, std::vector<QAction*>& made);
    void FillMenu(QMenu* menu, const TMenuInfo& info);

    QWidget* window_;
    std::map<QString, QAction*> byName_;
    std::vector<QAction*> byId_;  // the command table's order
    std::vector<QAction*> recentFiles_;
    std::vector<QAction*> languages_;
    std::vector<QAction*> ordered_;
    std::vector<std::pair<QMenu*, const TMenuInfo*>> menus_;
};
