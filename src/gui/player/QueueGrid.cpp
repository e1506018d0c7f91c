#include "gui/player/QueueGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include "core/FileSystem.h"
#include "player/Uplaylist.h"

namespace {
const QColor kGridColour(248, 252, 252);
const QColor kSelectedColour(209, 230, 239);
const QColor kDurationColour(0, 0, 255);
const QColor kFileNameColour(100, 100, 100);
constexpr int kRowHeight = 14;

// Draws each cell after the queue grid's rules rather than the style's.
class TQueueDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? kSelectedColour : kGridColour);
        QFont font = option.font;
        font.setBold(index.data(Qt::FontRole).value<QFont>().bold());
        QRect rect = option.rect;
        int align = Qt::AlignVCenter | Qt::AlignHCenter;
        if (index.column() == 1) {
            font.setStretch(QFont::SemiCondensed);  // a narrow face for the durations
            rect.translate(0, -2);
        } else if (index.column() == 2) {
            rect.adjust(2, 0, 0, 0);
            align = Qt::AlignVCenter | Qt::AlignLeft;
        }
        painter->setFont(font);
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->drawText(rect, align, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};
}  // namespace

QString QueueRowNumber(int row) {
    return QString("%1").arg(row, 2, 10, QChar('0'));
}

QString QueueDuration(int durationMs) {
    return QString("%1:%2")
        .arg(durationMs / 60000)
        .arg(durationMs % 60000 / 1000, 2, 10, QChar('0'));
}

int TQueueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(queue_.Count());
}

std::optional<size_t> TQueueModel::QueuePosition(const QModelIndex& index) const {
    if (!index.isValid() || index.row() < 0) return std::nullopt;
    const auto position = static_cast<size_t>(index.row());
    if (!queue_.ValidIndex(position)) return std::nullopt;
    return position;
}

int TQueueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TQueueModel::data(const QModelIndex& index, int role) const {
    const std::optional<size_t> position = QueuePosition(index);
    if (!position) return {};
    const Tmp3& track = queue_.Song(*position).Track;
    const bool untitled = track.Title.empty();
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0) return QueueRowNumber(index.row() + 1);
            if (index.column() == 1) return QueueDuration(track.Duration);
            return QString::fromStdString(untitled ? ExtractFileName(track.Path)
                                                   : track.Title.str());
        case Qt::ForegroundRole:
            if (index.column() == 1) return kDurationColour;
            if (index.column() == 2 && untitled) return kFileNameColour;
            return QColor(Qt::black);
        case Qt::FontRole: {
            QFont font;
            font.setBold(queue_.Current == position);
            return font;
        }
        default:
            return {};
    }
}

QVariant TQueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const QString texts[] = {"#", "L", titleHeader_};
    return section >= 0 && section < 3 ? texts[section] : QVariant();
}

void TQueueModel::Refresh() {
    beginResetModel();
    endResetModel();
}

void TQueueModel::SetTitleHeader(const QString& text) {
    titleHeader_ = text;
    emit headerDataChanged(Qt::Horizontal, 2, 2);
}

TQueueGrid::TQueueGrid(const TPlayList& queue, QWidget* parent)
    : QTableView(parent), model_(new TQueueModel(queue, this)) {
    setObjectName("SGPlay");
    setModel(model_);
    setItemDelegate(new TQueueDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    horizontalHeader()->hide();  // the header row has no height: it is never seen
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(std::max(kRowHeight, fontMetrics().height() + 1));
    setColumnWidth(0, 30);
    setColumnWidth(1, 28);
    // The title takes the width the pane has (FitColumns): the numbers and
    // times stay in view and a click never scrolls the queue sideways.
    horizontalHeader()->setMinimumSectionSize(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kGridColour);
    setPalette(colours);
    connect(this, &QTableView::doubleClicked, this, [this] { emit playRequested(); });
}

void TQueueGrid::Refresh() {
    const int row = SelectedRow();
    int top = 0, bottom = 0;
    const bool range = SelectedRange(top, bottom);
    model_->Refresh();
    FitColumns();
    if (range && bottom > top)
        SelectRange(top, bottom);
    else
        SelectRow(std::min(row, model_->rowCount()));
}

void TQueueGrid::FitColumns() {
    // The widest number is the last one ("01" ... "99999"), maybe in bold.
    QFont bold = font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(QueueRowNumber(model_->rowCount())) + 8;
    setColumnWidth(0, std::max(30, needed));
    setColumnWidth(2, std::max(1, viewport()->width() - columnWidth(0) - columnWidth(1)));
}

void TQueueGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FitColumns();
}

int TQueueGrid::SelectedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TQueueGrid::SelectRow(int row) {
    if (row < 1 || row > model_->rowCount()) {
        clearSelection();
        setCurrentIndex({});
        return;
    }
    selectRow(row - 1);
    setCurrentIndex(model_->index(row - 1, 0));
}

bool TQueueGrid::SelectedRange(int& top, int& bottom) const {
    const auto rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        top = bottom = SelectedRow();
        return top > 0;
    }
    top = bottom = rows.front().row() + 1;
    for (const auto& r : rows) {
        top = std::min(top, r.row() + 1);
        bottom = std::max(bottom, r.row() + 1);
    }
    return true;
}

void TQueueGrid::SelectRange(int top, int bottom) {
    if (top < 1 || bottom > model_->rowCount()) return;
    clearSelection();
    setCurrentIndex(model_->index(top - 1, 0));
    selectionModel()->select(
        QItemSelection(model_->index(top - 1, 0), model_->index(bottom - 1, 2)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TQueueGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        emit playRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}
