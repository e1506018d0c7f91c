#include "gui/list/FolderTreeModel.h"

#include "collection/Um3u_obj.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/ListRoles.h"

TFolderTreeModel::TFolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TFolderTreeModel::Rebuild(const std::vector<std::string>& roots,
                               const std::vector<Tm3u*>& albums, bool hideOneFolder) {
    beginResetModel();
    tree_.Build(roots, albums, hideOneFolder);
    endResetModel();
}

void TFolderTreeModel::Clear() {
    beginResetModel();
    tree_.Clear();
    endResetModel();
}

const TFolderNode& TFolderTreeModel::NodeOrTop(const QModelIndex& index) const {
    return index.isValid() ? *static_cast<const TFolderNode*>(index.internalPointer())
                           : tree_.Top();
}

const TFolderNode* TFolderTreeModel::NodeAt(const QModelIndex& index) const {
    return index.isValid() ? &NodeOrTop(index) : nullptr;
}

QModelIndex TFolderTreeModel::IndexOf(const Tm3u* album) const {
    const TFolderNode* node = tree_.NodeOf(album);
    return node ? createIndex(node->row, 0, node) : QModelIndex();
}

QModelIndex TFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TFolderNode& node = NodeOrTop(parent);
    if (row < 0 || row >= static_cast<int>(node.children.size()) || column < 0 ||
        column >= AlbumColumnCount)
        return {};
    return createIndex(row, column, node.children[size_t(row)].get());
}

QModelIndex TFolderTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    const TFolderNode* parent = NodeOrTop(child).parent;
    if (!parent || parent == &tree_.Top()) return {};
    return createIndex(parent->row, 0, parent);
}

int TFolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0) return 0;
    return static_cast<int>(NodeOrTop(parent).children.size());
}

int TFolderTreeModel::columnCount(const QModelIndex&) const {
    return AlbumColumnCount;
}

QVariant TFolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const TFolderNode& node = NodeOrTop(index);
    switch (role) {
        case AlbumRole:
            return QVariant::fromValue(static_cast<void*>(node.album));
        case NodeKindRole:
            return static_cast<int>(node.kind);
        case Qt::DisplayRole:
            if (index.column() == ColumnText)
                return node.album ? PlainText(AlbumTextPieces(*node.album, false))
                                  : QStr(node.name);
            if (index.column() == ColumnGenre && node.album) return QStr(node.album->Genre);
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags TFolderTreeModel::flags(const QModelIndex& index) const {
    // Only album nodes take the focus.
    const TFolderNode* node = NodeAt(index);
    if (node && node->kind == TFolderNode::Album) return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled;
}
