#pragma once
// The folder tree ("VDT") of the list page.  Only album nodes take the
// focus; the tree reports which album the user focused, activated or
// clicked on, and the list page moves the album grid accordingly.
#include <QTreeView>

class TAlbumDelegate;
class TFolderTreeModel;
class Tm3u;
class QMenu;

class TFolderTreeView : public QTreeView {
    Q_OBJECT
  public:
    TFolderTreeView(TFolderTreeModel* model, QWidget* parent = nullptr);

    void SetSelectionEditMode(bool on);
    void SetPopupMenu(QMenu* menu) { popup_ = menu; }
    // Rebuilds from the model and expands every node that has children.
    void ExpandAllNodes();
    // Makes the album's node the only selected and focused one and scrolls
    // to it; nullptr clears the selection.  Emits nothing.
    void ShowAlbum(const Tm3u* album);

  signals:
    void AlbumFocused(Tm3u* album);
    void AlbumActivated(Tm3u* album, bool add);
    // Any button but the right one released on a cell of an album node.
    void AlbumCellReleased(Tm3u* album, int column);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void keyboardSearch(const QString&) override {}

  private:
    Tm3u* AlbumAt(const QModelIndex& index) const;

    TFolderTreeModel* model_;
    TAlbumDelegate* delegate_;
    QMenu* popup_ = nullptr;
    bool updating_ = false;
    bool afterDoubleClick_ = false;
};
