#pragma once
// The main window's list page at work: it keeps the view list, the album
// grid, the folder tree, the filter box and the selection box in step with
// the catalogue, and runs the commands that only change what is shown (sort,
// filters, pages, status of all albums, find by first letter).  The
// selection, search and list-file commands build on it.
#include <QObject>

#include <memory>
#include <optional>
#include <string>

#include "gui/shell/MainPanels.h"
#include "gui/shell/Ucommands.h"
#include "views/SortKey.h"

class QComboBox;
class QLabel;
class QMenu;
class TCatalogue;
class TFormFilter;
class TFormFilterAdd;
class TFirstRunHint;
class TListPage;
class Tm3u;
class TPrompts;
class TSelection;
class TSession;
class TShellPort;

class TListViews : public QObject, public TCommandStateSource {
    Q_OBJECT
  public:
    TListViews(TSession& session, TShellPort& shell, TPrompts& prompts, const TListPageHost& host,
               QObject* parent = nullptr);
    ~TListViews() override;

    TSession& Session() { return session_; }
    const TSession& Session() const { return session_; }
    TShellPort& Shell() { return shell_; }
    TCatalogue& Catalogue();
    const TCatalogue& Catalogue() const;
    TListPage& Page() { return *page_; }
    const TListPage& Page() const { return *page_; }
    TPrompts& Prompts() { return prompts_; }
    TFormFilter& FormFilter() { return *formFilter_; }
    TFormFilterAdd& FormFilterAdd() { return *formFilterAdd_; }
    QComboBox& FilterBox();
    const QComboBox& FilterBox() const;
    QComboBox& SelectionBox();
    const QComboBox& SelectionBox() const;

    // First activation: the filter window gets the program folder and the
    // album list; the right pane gets the track grid.
    void PrepareWindows();

    // RebuildViewList from the catalogue, the applied filter, the chosen
    // selection, the edit mode and the sort settings.
    void RebuildViewList();
    // RefillAlbumGrid (the tree too when it is shown) and SGAlbumsClick.
    void RefillAlbumGrid();
    // The sort order changed: rebuild, refill, title.
    void SortOrderChanged();
    // After a list was loaded, created or scanned: the sort command again
    // (a chart falls back to "Artist - Year - Genre").
    void Resort();
    // After a list was loaded or closed: filter box, selection box (entry 0),
    // filter window fields and presets.
    void RefreshChoosers();
    // Everything built from messages, after a language change.
    void RefreshTexts();
    // Empties the grid, the tree and the track grid before the albums go.
    void EmptyViews();

    TSelection* ChosenSelection();
    const TSelection* ChosenSelection() const;
    bool SelectionEditMode() const;
    // Fills the selection box; the entry of `keep` is chosen when it is
    // still a selection of the list, else entry 0.
    void RebuildSelectionBox(const TSelection* keep = nullptr);

    // Fills the filter box and shows the entry of the applied filter.
    void RebuildFilterBox();
    // ApplyFilterChange: modified, rebuild, both boxes, title, refill.
    void ApplyFilterChange();
    // CBPrefsClick: the entry's filter becomes the applied one.
    void ChooseFilterBoxEntry(int entry);

    void SetModified();
    // Title bar and command states.
    void UpdateTitle();
    TCommandState CatalogueState() const override;

    // NotebookPageChanged: the pages of the main area and the album panel.
    void ShowListPage(int listPage);
    void NotebookPageChanged();
    int ListPageIndex() const;

    // LbButtonSync: every shown album gets the status after the current one's.
    void ChangeStatusOfAll();
    // FormKeyPress: a letter or digit moves to the next album whose artist
    // begins with it; true when the key was taken.
    bool FindByFirstLetter(char key);

  signals:
    // The browse view shows the same view list and current album.
    void ViewRefilled();
    void CurrentAlbumShown(Tm3u* album);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MakeStatusBar();
    void MakePopupMenus();
    void ConnectCommands();
    void ConnectPage();
    void ShowAlbumState(Tm3u* album);
    void ActionListTreeExecute();
    void ActionListBrowseExecute();
    TSortSettings SortSettings() const;
    std::optional<std::string> ChosenSelectionName() const;

    TSession& session_;
    TShellPort& shell_;
    TPrompts& prompts_;
    TListPageHost host_;
    TListPage* page_;
    TFirstRunHint* firstRunHint_;
    TFormFilterAdd* formFilterAdd_;
    TFormFilter* formFilter_;
    QLabel* statusText_;
    QMenu* albumMenu_;
    QMenu* trackMenu_;
};
