#include "gui/list/ListPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "collection/Udir_obj.h"
#include "collection/Um3u_obj.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/AlbumGridModel.h"
#include "gui/list/DetailsPanel.h"
#include "gui/list/FolderTreeModel.h"
#include "gui/list/FolderTreeView.h"
#include "gui/list/ListRoles.h"
#include "gui/list/TrackGrid.h"
#include "gui/list/TrackGridModel.h"
#include "views/ViewList.h"

int FindRowByFirstLetter(const std::vector<Tm3u*>& rows, int current, char key) {
    const bool letter = (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z');
    if (!letter && !(key >= '0' && key <= '9')) return -1;
    const char wanted = static_cast<char>(letter ? (key | 0x20) : key);
    const int count = static_cast<int>(rows.size());
    for (int step = 1; step <= count; ++step) {
        const int row = ((current < 0 ? -1 : current) + step) % count;
        if (row == current) break;
        const std::string& artist = rows[size_t(row)]->Artist;
        if (artist.empty()) continue;
        char first = artist.front();
        if (first >= 'A' && first <= 'Z') first = static_cast<char>(first | 0x20);
        if (first == wanted) return row;
    }
    return -1;
}

TListPage::TListPage(TViewList& view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName("TabSheetList");
    gridModel_ = new TAlbumGridModel(view, this);
    treeModel_ = new TFolderTreeModel(this);
    trackModel_ = new TTrackGridModel(this);
    tracks_ = new TTrackGrid(trackModel_);  // placed in the main window's right pane

    details_ = new TDetailsPanel;
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName("SplitterDetails");
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(details_);
    splitter_->addWidget(MakeAlbumPanel());
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ShowCurrentAlbum(); });
    connect(grid_, &TAlbumGrid::CellPressed, this,
            [this](int row, int column) { AlbumCellClicked(gridModel_->AlbumAt(row), column); });
    connect(grid_, &TAlbumGrid::PlayRequested, this, &TListPage::PlayAlbumRequested);
    connect(tree_, &TFolderTreeView::AlbumFocused, this, &TListPage::SetCurrentAlbum);
    connect(tree_, &TFolderTreeView::AlbumActivated, this, [this](Tm3u* album, bool add) {
        SetCurrentAlbum(album);
        emit PlayAlbumRequested(add);
    });
    connect(tree_, &TFolderTreeView::AlbumCellReleased, this, &TListPage::AlbumCellClicked);
    connect(tracks_, &TTrackGrid::PlayRequested, this, &TListPage::PlayTrackRequested);
    ShowCurrentAlbum();
}

QWidget* TListPage::MakeAlbumPanel() {
    auto* panel = new QWidget;
    panel->setObjectName("PanelAlbums");
    grid_ = new TAlbumGrid(gridModel_);
    tree_ = new TFolderTreeView(treeModel_);
    albumPages_ = new QStackedWidget;
    albumPages_->setObjectName("NotebookList");
    albumPages_->addWidget(grid_);
    albumPages_->addWidget(tree_);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeHeader());
    layout->addWidget(albumPages_, 1);
    return panel;
}

QWidget* TListPage::MakeHeader() {
    auto* header = new QWidget;
    header->setObjectName("PanelAlbumsHeader");
    auto button = [header](const char* name, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(header);
        b->setObjectName(name);
        b->setIcon(header->style()->standardIcon(icon));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    addAllButton_ = button("LbButtonAddAll", QStyle::SP_DialogApplyButton);
    addAllButton_->setToolTip("Add all albums to selection");
    addAllButton_->setVisible(false);
    syncButton_ = button("LbButtonSync", QStyle::SP_BrowserReload);
    syncButton_->setToolTip("Change the status of all albums");
    auto* icon = new QLabel(header);
    icon->setPixmap(style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(16, 16));
    treeButton_ = button("LbButtonTree", QStyle::SP_DirIcon);
    treeButton_->setCheckable(true);
    treeButton_->setToolTip("View folders in list");
    countLabel_ = new QLabel("0", header);
    countLabel_->setObjectName("LabelAlbumCount");
    auto* title = new QLabel("ALBUMS IN CURRENT SELECTION", header);
    title->setObjectName("LabelAlbums");
    QFont bold = title->font();
    bold.setBold(true);
    countLabel_->setFont(bold);
    title->setFont(bold);

    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(4);
    for (QWidget* w : std::initializer_list<QWidget*>{addAllButton_, syncButton_, icon, treeButton_,
                                                      countLabel_, title})
        layout->addWidget(w);
    layout->addStretch(1);
    return header;
}

void TListPage::Refill(const std::vector<std::string>& roots, bool hideOneFolder) {
    const Tm3u* previous = CurrentAlbum();
    const int previousRow = CurrentRow();
    updating_ = true;
    gridModel_->Refill();
    const std::optional<size_t> kept = previous ? view_.IndexOf(previous) : std::nullopt;
    int row = kept ? GridRow(*kept) : std::min(std::max(previousRow, 0), AlbumRows() - 1);
    grid_->SetCurrentRow(row);
    UpdateCount();
    if (TreeShown()) {
        treeModel_->Rebuild(roots, view_.Albums(), hideOneFolder);
        tree_->ExpandAllNodes();
    }
    updating_ = false;
    ShowCurrentAlbum();
}

void TListPage::Empty() {
    updating_ = true;
    gridModel_->Refill();
    treeModel_->Clear();
    UpdateCount();
    updating_ = false;
    ShowCurrentAlbum();
}

void TListPage::UpdateCount() {
    countLabel_->setText(QString::number(AlbumRows()));
}

Tm3u* TListPage::CurrentAlbum() const {
    return gridModel_->AlbumAt(grid_->CurrentRow());
}

int TListPage::CurrentRow() const {
    return CurrentAlbum() ? grid_->CurrentRow() : -1;
}

int TListPage::AlbumRows() const {
    return gridModel_->rowCount();
}

void TListPage::SetCurrentRow(int row) {
    grid_->SetCurrentRow(row);
}

void TListPage::SetCurrentAlbum(const Tm3u* album) {
    const std::optional<size_t> position = view_.IndexOf(album);
    if (position && GridRow(*position) < AlbumRows()) grid_->SetCurrentRow(GridRow(*position));
}

int TListPage::CurrentTrack() const {
    return tracks_->CurrentRow();
}

void TListPage::SetCurrentTrack(int track) {
    tracks_->SetCurrentRow(track);
}

void TListPage::ShowCurrentAlbum() {
    if (updating_) return;
    Tm3u* album = CurrentAlbum();
    details_->ShowAlbum(album);
    trackModel_->ShowAlbum(album);
    tracks_->SetCurrentRow(0);
    SyncTreeToGrid();
    emit CurrentAlbumShown(album);
}

void TListPage::SyncTreeToGrid() {
    if (TreeShown()) tree_->ShowAlbum(CurrentAlbum());
}

bool TListPage::TreeShown() const {
    return albumPages_->currentIndex() == TreePage;
}

void TListPage::ShowTree(bool tree, const std::vector<std::string>& roots, bool hideOneFolder) {
    albumPages_->setCurrentIndex(tree ? TreePage : GridPage);
    treeButton_->setChecked(tree);
    if (tree) {
        treeModel_->Rebuild(roots, view_.Albums(), hideOneFolder);
        tree_->ExpandAllNodes();
        SyncTreeToGrid();
    } else {
        treeModel_->Clear();
    }
}

void TListPage::SetSelectionEditMode(bool on) {
    editMode_ = on;
    grid_->SetSelectionEditMode(on);
    tree_->SetSelectionEditMode(on);
    addAllButton_->setVisible(on);
}

void TListPage::RefreshMarks() {
    gridModel_->RefreshMarks();
    tree_->viewport()->update();
}

void TListPage::AlbumCellClicked(Tm3u* album, int column) {
    if (!album) return;
    if (column == ColumnSel && editMode_) {
        emit SelectionMarkClicked(album);
    } else if (column == ColumnStatus) {
        album->Status = NextStatus(album->Status);
        RefreshMarks();
        emit StatusCycled(album);
    }
}

void TListPage::SetPopupMenus(QMenu* albumMenu, QMenu* trackMenu) {
    grid_->SetPopupMenu(albumMenu);
    tree_->SetPopupMenu(albumMenu);
    tracks_->SetPopupMenu(trackMenu);
}

int TListPage::DetailsHeight() const {
    return splitter_->isVisible() ? splitter_->sizes().value(0) : detailsHeight_;
}

void TListPage::SetDetailsHeight(int height) {
    detailsHeight_ = height;
    const int total = std::max(splitter_->height(), height * 4);
    splitter_->setSizes({height, total - height});
}
