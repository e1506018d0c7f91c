#include "gui/list/FolderTreeView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "gui/list/AlbumDelegate.h"
#include "gui/list/AlbumGrid.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/FolderTreeModel.h"
#include "gui/list/ListRoles.h"

TFolderTreeView::TFolderTreeView(TFolderTreeModel* model, QWidget* parent)
    : QTreeView(parent), model_(model) {
    setObjectName("VDT");
    setModel(model);
    delegate_ = new TAlbumDelegate(true, this);
    setItemDelegate(delegate_);
    header()->hide();
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(ColumnText, QHeaderView::Stretch);
    setTreePosition(ColumnText);
    setIndentation(20);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(false);
    setExpandsOnDoubleClick(false);
    setColumnWidth(ColumnGenre, 85);
    setColumnWidth(ColumnStatus, 17);
    setColumnWidth(ColumnImage, 20);
    UseListColours(*this);
    SetSelectionEditMode(false);
}

void TFolderTreeView::SetSelectionEditMode(bool on) {
    delegate_->SetSelectionEditMode(on);
    setColumnWidth(ColumnSel, 15);
    setColumnHidden(ColumnSel, !on);
    viewport()->update();
}

void TFolderTreeView::ExpandAllNodes() {
    updating_ = true;
    expandAll();
    updating_ = false;
}

void TFolderTreeView::ShowAlbum(const Tm3u* album) {
    updating_ = true;
    const QModelIndex index = album ? model_->IndexOf(album) : QModelIndex();
    if (index.isValid()) {
        setCurrentIndex(index);
        scrollTo(index);
    } else {
        clearSelection();
    }
    updating_ = false;
}

Tm3u* TFolderTreeView::AlbumAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Tm3u*>(index.data(AlbumRole).value<void*>()) : nullptr;
}

void TFolderTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (updating_) return;
    if (Tm3u* album = AlbumAt(current)) emit AlbumFocused(album);
}

void TFolderTreeView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    // The release that ends a double click is not another click.
    const bool ignore = std::exchange(afterDoubleClick_, false);
    if (ignore || event->button() == Qt::RightButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (Tm3u* album = AlbumAt(index)) emit AlbumCellReleased(album, index.column());
}

void TFolderTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    afterDoubleClick_ = true;
    if (event->button() == Qt::RightButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (Tm3u* album = AlbumAt(index)) {
        setCurrentIndex(index);
        emit AlbumActivated(album, event->modifiers().testFlag(Qt::ControlModifier));
    }
}

void TFolderTreeView::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    if (!AlbumAt(index)) return;
    setCurrentIndex(index);
    if (popup_) popup_->popup(event->globalPos());
}

void TFolderTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QTreeView::drawRow(painter, option, index);
    if (!selectionModel()->isRowSelected(index.row(), index.parent())) return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = option.rect.adjusted(0, 0, -1, -1);
    focus.backgroundColor = ListColors::kCurrentRow;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
}
