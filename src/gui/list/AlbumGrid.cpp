#include "gui/list/AlbumGrid.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include "gui/list/AlbumDelegate.h"
#include "gui/list/AlbumGridModel.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/ListRoles.h"

void SetUpListTable(QTableView& table, int rowHeight) {
    table.horizontalHeader()->hide();
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(rowHeight);
    table.horizontalHeader()->setStretchLastSection(true);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setDragDropMode(QAbstractItemView::NoDragDrop);
    table.setAcceptDrops(false);
    table.setShowGrid(false);
    table.setWordWrap(false);
    table.setTabKeyNavigation(false);
    UseListColours(table);
}

void UseListColours(QAbstractItemView& view) {
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, ListColors::kCurrentRow);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    view.setPalette(palette);
}

TAlbumGrid::TAlbumGrid(TAlbumGridModel* model, QWidget* parent) : QTableView(parent) {
    setObjectName("SGAlbums");
    setModel(model);
    SetUpListTable(*this, 16);
    delegate_ = new TAlbumDelegate(false, this);
    setItemDelegate(delegate_);
    setColumnWidth(ColumnGenre, 85);
    setColumnWidth(ColumnStatus, 17);
    setColumnWidth(ColumnImage, 20);
    SetSelectionEditMode(false);
    // A few albums stay in view, and the album text keeps room beside the
    // marks; the text column takes the rest of the width.
    setMinimumHeight(4 * 16 + 2 * frameWidth());
    setMinimumWidth(85 + 17 + 20 + 15 + 140);
}

void TAlbumGrid::SetSelectionEditMode(bool on) {
    delegate_->SetSelectionEditMode(on);
    setColumnWidth(ColumnSel, 15);
    setColumnHidden(ColumnSel, !on);
    viewport()->update();
}

int TAlbumGrid::CurrentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TAlbumGrid::SetCurrentRow(int row) {
    if (row < 0 || row >= model()->rowCount()) {
        setCurrentIndex({});
        return;
    }
    const QModelIndex index = model()->index(row, ColumnText);
    setCurrentIndex(index);
    scrollTo(index);
}

void TAlbumGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() != Qt::RightButton)
        emit CellPressed(index.row(), index.column());
}

void TAlbumGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) return;
    RequestPlay(event->modifiers());
}

void TAlbumGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            RequestPlay(event->modifiers());
            return;
        case Qt::Key_Home:
        case Qt::Key_End:
            // The grid's rows are albums: Home and End go to the first and
            // last one, as with Ctrl held (the table alone moves between cells).
            if (model()->rowCount() > 0)
                SetCurrentRow(event->key() == Qt::Key_Home ? 0 : model()->rowCount() - 1);
            return;
        default:
            QTableView::keyPressEvent(event);
    }
}

bool TAlbumGrid::PointerOverStatusColumn() const {
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    return viewport()->rect().contains(pointer) && columnAt(pointer.x()) == ColumnStatus;
}

void TAlbumGrid::RequestPlay(Qt::KeyboardModifiers modifiers) {
    // The status column takes clicks for itself, so a double click there (or
    // a key while the pointer rests there) plays nothing.
    if (CurrentRow() < 0 || PointerOverStatusColumn()) return;
    emit PlayRequested(modifiers.testFlag(Qt::ControlModifier));
}

void TAlbumGrid::contextMenuEvent(QContextMenuEvent* event) {
    const int row = rowAt(event->pos().y());
    if (row < 0) return;
    SetCurrentRow(row);
    if (popup_) popup_->popup(event->globalPos());
}
