#pragma once
// The list page of the main window: the details panel on top and the album
// panel below it (a header with its buttons and the album count, then the
// album grid or the folder tree), plus the track grid that the main window
// puts in its right pane.  The page shows the view list and the current
// album; what a click or key means for the catalogue is decided by whoever
// listens to its signals.
#include <QWidget>

#include <cstddef>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QToolButton;
class TAlbumGrid;
class TAlbumGridModel;
class TDetailsPanel;
class TFolderTreeModel;
class TFolderTreeView;
class Tm3u;
class TTrackGrid;
class TTrackGridModel;
class TViewList;

// The row (from `current` + 1 on, wrapping, `current` excluded) of the first
// album whose artist begins with the letter or digit `key` (A-Z folded);
// -1 when none does or `key` is no letter or digit.
int FindRowByFirstLetter(const std::vector<Tm3u*>& rows, int current, char key);

class TListPage : public QWidget {
    Q_OBJECT
  public:
    enum AlbumPage { GridPage = 0, TreePage = 1 };

    TListPage(TViewList& view, QWidget* parent = nullptr);

    TAlbumGrid* Grid() const { return grid_; }
    TFolderTreeView* Tree() const { return tree_; }
    TFolderTreeModel* TreeModel() const { return treeModel_; }
    TTrackGrid* Tracks() const { return tracks_; }
    TDetailsPanel* Details() const { return details_; }
    QToolButton* SyncButton() const { return syncButton_; }
    QToolButton* AddAllButton() const { return addAllButton_; }
    QToolButton* TreeButton() const { return treeButton_; }

    // Shows the view list again (RefillAlbumGrid): the same album stays
    // current when it is still listed, else the same row; the tree is rebuilt
    // when it is shown.
    void Refill(const std::vector<std::string>& roots, bool hideOneFolder);
    // Empties the grid, the tree and the track grid (the view list is about
    // to be cleared or was cleared).
    void Empty();

    Tm3u* CurrentAlbum() const;
    int CurrentRow() const;  // -1 without a current album
    int AlbumRows() const;
    void SetCurrentRow(int row);
    void SetCurrentAlbum(const Tm3u* album);
    int CurrentTrack() const;  // -1 without one
    void SetCurrentTrack(int track);

    bool TreeShown() const;
    // Switches the album panel; the tree is built when it is entered.
    void ShowTree(bool tree, const std::vector<std::string>& roots, bool hideOneFolder);
    void SetSelectionEditMode(bool on);
    // Repaints the marks of grid and tree (status or selection changed).
    void RefreshMarks();
    void SetPopupMenus(QMenu* albumMenu, QMenu* trackMenu);
    int DetailsHeight() const;
    void SetDetailsHeight(int height);

  signals:
    // The current album changed or was shown again (SGAlbumsClick).
    void CurrentAlbumShown(Tm3u* album);
    // A click cycled the album's status (the list is not marked modified).
    void StatusCycled(Tm3u* album);
    // A click on the Sel mark in the selection edit mode.
    void SelectionMarkClicked(Tm3u* album);
    void PlayAlbumRequested(bool add);
    void PlayTrackRequested(bool add);

  private:
    QWidget* MakeAlbumPanel();
    QWidget* MakeHeader();
    // SGAlbumsClick: details, tracks and tree follow the grid's current row.
    void ShowCurrentAlbum();
    void AlbumCellClicked(Tm3u* album, int column);
    void SyncTreeToGrid();
    void UpdateCount();

    // Grid rows are Qt's ints; positions in the view list are size_t.
    static int GridRow(size_t position) { return static_cast<int>(position); }

    TViewList& view_;
    TAlbumGridModel* gridModel_;
    TFolderTreeModel* treeModel_;
    TTrackGridModel* trackModel_;
    QSplitter* splitter_;
    TDetailsPanel* details_;
    QStackedWidget* albumPages_;
    TAlbumGrid* grid_;
    TFolderTreeView* tree_;
    TTrackGrid* tracks_;
    QToolButton* addAllButton_;
    QToolButton* syncButton_;
    QToolButton* treeButton_;
    QLabel* countLabel_;
    bool updating_ = false;  // bulk changes of the grid show the album once, at the end
    bool editMode_ = false;
    int detailsHeight_ = 142;  // until the page is on screen
};
