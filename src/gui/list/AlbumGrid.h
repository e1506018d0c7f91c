#pragma once
// The album grid ("SGAlbums"): one row per album of the view list.  It
// reports what the mouse and keys ask for; the list page decides what that
// means (status cycling, selection toggling, playing).
#include <QTableView>

class TAlbumDelegate;
class TAlbumGridModel;
class QMenu;

class TAlbumGrid : public QTableView {
    Q_OBJECT
  public:
    TAlbumGrid(TAlbumGridModel* model, QWidget* parent = nullptr);

    // Row of the current album, -1 when none.
    int CurrentRow() const;
    void SetCurrentRow(int row);
    void SetSelectionEditMode(bool on);
    void SetPopupMenu(QMenu* menu) { popup_ = menu; }
    TAlbumDelegate* Delegate() const { return delegate_; }

  signals:
    // Any button but the right one pressed on a cell of an album row.
    void CellPressed(int row, int column);
    // Double click, Enter or Space: play (add with Ctrl held) the current album.
    void PlayRequested(bool add);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Letters belong to the main window's find-by-first-letter.
    void keyboardSearch(const QString&) override {}

  private:
    bool PointerOverStatusColumn() const;
    void RequestPlay(Qt::KeyboardModifiers modifiers);

    TAlbumDelegate* delegate_;
    QMenu* popup_ = nullptr;
};

// Table look shared by the album grid and the track grid: no headers, fixed
// rows, whole-row current line, nothing to edit, drag or drop.
void SetUpListTable(QTableView& table, int rowHeight);
// White background and the light blue current row, also when not focused.
void UseListColours(QAbstractItemView& view);
