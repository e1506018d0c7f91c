#pragma once
// Draws the cells of the album grid and of the folder tree: row colours,
// the Sel check box, the genre, the status and picture marks, and the album
// text pieces (or a root's or folder's name in the tree).
#include <QStyledItemDelegate>

class TAlbumDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // In the tree an album without artist shows its file name in normal weight.
    TAlbumDelegate(bool treeStyle, QObject* parent = nullptr);

    // Members of the chosen selection get their row colour only in the edit mode.
    void SetSelectionEditMode(bool on) { editMode_ = on; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    bool treeStyle_;
    bool editMode_ = false;
};
