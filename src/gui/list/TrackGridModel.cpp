#include "gui/list/TrackGridModel.h"

#include <QFont>

#include "collection/Um3u_obj.h"
#include "gui/common/AlbumMarks.h"

TTrackGridModel::TTrackGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TTrackGridModel::ShowAlbum(const Tm3u* album) {
    beginResetModel();
    album_ = album;
    rows_ = album ? static_cast<int>(album->Tracks.Count()) : 0;
    endResetModel();
}

const Tmp3* TTrackGridModel::TrackAt(int row) const {
    if (!album_ || row < 0 || row >= rows_ || size_t(row) >= album_->Tracks.Count()) return nullptr;
    return album_->Tracks.At(size_t(row));
}

int TTrackGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TTrackGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TTrackGridModel::data(const QModelIndex& index, int role) const {
    const Tmp3* track = TrackAt(index.row());
    if (!track) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == ColumnKind) return TagKindMark(track->TagKind).text;
            if (column == ColumnNumber) return TrackNumberText(index.row() + 1);
            return TrackTitleText(*track);
        case Qt::ForegroundRole:
            if (column == ColumnKind) return TagKindMark(track->TagKind).color;
            if (column == ColumnTitle && TrackTitleIsFileName(*track)) return ListColors::kGrey;
            return QColor(Qt::black);
        case Qt::TextAlignmentRole:
            if (column == ColumnTitle) return int(Qt::AlignLeft | Qt::AlignVCenter);
            return int(Qt::AlignCenter);
        case Qt::FontRole:
            if (column == ColumnKind) {
                QFont font;
                font.setPointSize(10);
                return font;
            }
            return {};
        default:
            return {};
    }
}
