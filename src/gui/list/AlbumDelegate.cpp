#include "gui/list/AlbumDelegate.h"

#include <QPainter>

#include "collection/Um3u_obj.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/FolderTree.h"
#include "gui/list/ListRoles.h"

namespace {
constexpr int kTextIndent = 2;

const Tm3u* AlbumOf(const QModelIndex& index) {
    return static_cast<const Tm3u*>(index.data(AlbumRole).value<void*>());
}

void DrawCentred(QPainter& painter, const QRect& rect, const QString& text, const QColor& color) {
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignCenter, text);
}

QFont GenreFont(const QFont& base) {
    QFont font = base;
    font.setStretch(QFont::SemiCondensed);
    return font;
}
}  // namespace

TAlbumDelegate::TAlbumDelegate(bool treeStyle, QObject* parent)
    : QStyledItemDelegate(parent), treeStyle_(treeStyle) {}

void TAlbumDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const Tm3u* album = AlbumOf(index);
    const int kind = index.data(NodeKindRole).toInt();
    QColor background = Qt::white;
    if (kind == TFolderNode::Root) background = ListColors::kRootRow;
    if (album && editMode_ && album->InSelection) background = ListColors::kInSelection;
    if (option.state & QStyle::State_Selected) background = ListColors::kCurrentRow;

    painter->save();
    painter->fillRect(option.rect, background);
    painter->setFont(option.font);
    const QRect rect = option.rect;
    switch (index.column()) {
        case ColumnSel:
            if (album && editMode_)
                DrawCentred(*painter, rect, SelectionMark(album->InSelection), Qt::black);
            break;
        case ColumnGenre:
            if (album) {
                painter->setFont(GenreFont(option.font));
                painter->setPen(ListColors::kGrey);
                painter->drawText(rect.adjusted(kTextIndent, 0, 0, 0),
                                  Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                  QStr(album->Genre));
            }
            break;
        case ColumnStatus:
            if (album) {
                const TMark mark = StatusMark(album->Status);
                DrawCentred(*painter, rect, mark.text, mark.color);
            }
            break;
        case ColumnImage:
            if (album) {
                const TMark mark = PictureMark(*album);
                DrawCentred(*painter, rect, mark.text, mark.color);
            }
            break;
        case ColumnText: {
            const QRect textRect = rect.adjusted(kTextIndent, 0, 0, 0);
            if (album) {
                DrawTextPieces(*painter, textRect, AlbumTextPieces(*album, !treeStyle_));
            } else {
                const QColor color = kind == TFolderNode::Root ? ListColors::kRoot : Qt::black;
                DrawTextPieces(*painter, textRect, {{index.data().toString(), true, color}});
            }
            break;
        }
        default:
            break;
    }
    painter->restore();
}

QSize TAlbumDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() != ColumnText) return size;
    const Tm3u* album = AlbumOf(index);
    const auto pieces = album ? AlbumTextPieces(*album, !treeStyle_)
                              : std::vector<TTextPiece>{{index.data().toString(), true, {}}};
    size.setWidth(2 * kTextIndent + TextPiecesWidth(option.font, pieces));
    return size;
}
