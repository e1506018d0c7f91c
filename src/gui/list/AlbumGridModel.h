#pragma once
// The album grid's rows over the view list: one row per album, in view
// order, five columns (Sel, Genre, Status, Image, album text).  Nothing per
// album is made up front; the delegate draws each visible cell.
#include <QAbstractTableModel>

class TViewList;
class Tm3u;

class TAlbumGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TAlbumGridModel(TViewList& view, QObject* parent = nullptr);

    // The view list was rebuilt: show it again.
    void Refill();
    // Repaint every row (status or selection marks changed).
    void RefreshMarks();
    Tm3u* AlbumAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    TViewList& view_;
    int rows_ = 0;  // the count shown, so a view list emptied behind our back is never read
};
