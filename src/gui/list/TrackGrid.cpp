#include "gui/list/TrackGrid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyledItemDelegate>

#include "gui/list/AlbumGrid.h"
#include "gui/list/TrackGridModel.h"

namespace {
// The current row keeps the colours of the marks and of grey file names.
class TTrackDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant color = index.data(Qt::ForegroundRole);
        if (color.canConvert<QColor>())
            option->palette.setColor(QPalette::HighlightedText, color.value<QColor>());
    }
};
}  // namespace

TTrackGrid::TTrackGrid(TTrackGridModel* model, QWidget* parent) : QTableView(parent) {
    setObjectName("SGTracks");
    setModel(model);
    SetUpListTable(*this, 14);
    setItemDelegate(new TTrackDelegate(this));
    setColumnWidth(TTrackGridModel::ColumnKind, 20);
    setColumnWidth(TTrackGridModel::ColumnNumber, 20);
    // A few tracks stay in view however small the window gets.
    setMinimumHeight(4 * 14 + 2 * frameWidth());
}

int TTrackGrid::CurrentRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void TTrackGrid::SetCurrentRow(int row) {
    if (row < 0 || row >= model()->rowCount()) {
        setCurrentIndex({});
        return;
    }
    const QModelIndex index = model()->index(row, TTrackGridModel::ColumnTitle);
    setCurrentIndex(index);
    scrollTo(index);
}

void TTrackGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton || CurrentRow() < 0) return;
    emit PlayRequested(event->modifiers().testFlag(Qt::ControlModifier));
}

void TTrackGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        if (CurrentRow() >= 0) emit PlayRequested(event->modifiers().testFlag(Qt::ControlModifier));
        return;
    }
    QTableView::keyPressEvent(event);
}

void TTrackGrid::contextMenuEvent(QContextMenuEvent* event) {
    const int row = rowAt(event->pos().y());
    if (row >= 0) SetCurrentRow(row);
    if (popup_) popup_->popup(event->globalPos());
}
