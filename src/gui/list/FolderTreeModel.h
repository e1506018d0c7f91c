#pragma once
// The folder tree (TFolderTree) as an item model with the album grid's five
// columns; the tree lines stand in the text column.
#include <QAbstractItemModel>

#include "gui/list/FolderTree.h"

class TFolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit TFolderTreeModel(QObject* parent = nullptr);

    void Rebuild(const std::vector<std::string>& roots, const std::vector<Tm3u*>& albums,
                 bool hideOneFolder);
    void Clear();
    const TFolderTree& Tree() const { return tree_; }
    const TFolderNode* NodeAt(const QModelIndex& index) const;
    // The index of the album's node (column 0), invalid when not shown.
    QModelIndex IndexOf(const Tm3u* album) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const TFolderNode& NodeOrTop(const QModelIndex& index) const;

    TFolderTree tree_;
};
