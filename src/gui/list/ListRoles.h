#pragma once
// Item data roles and column numbers shared by the album grid, the folder
// tree and their delegate.
#include <Qt>

enum TListRole {
    AlbumRole = Qt::UserRole + 1,  // Tm3u* (nullptr for roots and folders)
    NodeKindRole,                  // TFolderNode::Kind; -1 for a grid row
};

// Columns of the album grid and the folder tree.
enum TAlbumColumn {
    ColumnSel = 0,
    ColumnGenre = 1,
    ColumnStatus = 2,
    ColumnImage = 3,
    ColumnText = 4,
    AlbumColumnCount = 5,
};
