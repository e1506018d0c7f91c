#include "gui/list/AlbumGridModel.h"

#include "collection/Um3u_obj.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/ListRoles.h"
#include "views/ViewList.h"

TAlbumGridModel::TAlbumGridModel(TViewList& view, QObject* parent)
    : QAbstractTableModel(parent), view_(view) {}

void TAlbumGridModel::Refill() {
    beginResetModel();
    rows_ = static_cast<int>(view_.Count());
    endResetModel();
}

void TAlbumGridModel::RefreshMarks() {
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, AlbumColumnCount - 1));
}

Tm3u* TAlbumGridModel::AlbumAt(int row) const {
    if (row < 0 || row >= rows_ || size_t(row) >= view_.Count()) return nullptr;
    return &view_[size_t(row)];
}

int TAlbumGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TAlbumGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : AlbumColumnCount;
}

QVariant TAlbumGridModel::data(const QModelIndex& index, int role) const {
    const Tm3u* album = AlbumAt(index.row());
    if (!album) return {};
    switch (role) {
        case AlbumRole:
            return QVariant::fromValue(static_cast<void*>(const_cast<Tm3u*>(album)));
        case NodeKindRole:
            return -1;
        case Qt::DisplayRole:
            if (index.column() == ColumnGenre) return QStr(album->Genre);
            if (index.column() == ColumnText) return PlainText(AlbumTextPieces(*album));
            return {};
        default:
            return {};
    }
}
