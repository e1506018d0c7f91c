#include "gui/list/ListViews.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>

#include "collection/Udir_obj.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/shell/MainPanels.h"
#include "gui/shell/ToolbarLayout.h"
#include "gui/shell/Umain.h"
#include "gui/list/AlbumGrid.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/DetailsPanel.h"
#include "gui/list/FolderTreeView.h"
#include "gui/list/ListPage.h"
#include "gui/common/Prompts.h"
#include "gui/list/TrackGrid.h"
#include "gui/list/Ufilter.h"
#include "gui/list/Ufilteradd.h"
#include "views/Catalogue.h"
#include "views/ViewList.h"

namespace {
constexpr int kVisibleBoxEntries = 30;
}

TListViews::TListViews(TFormMain& main, std::unique_ptr<TPrompts>& prompts)
    : QObject(&main), main_(main), prompts_(prompts) {
    setObjectName("ListViews");
    page_ = new TListPage(main.Catalogue.View);
    main.Panels().SetListPage(page_);
    main.Panels().SetRightPanel(page_->Tracks());
    page_->SetDetailsHeight(main.Settings().DetailsHeight);
    page_->Details()->SetPicturePosition(main.Settings().CoverPos);
    formFilterAdd_ = new TFormFilterAdd(&main);
    formFilter_ = new TFormFilter(main.Catalogue, prompts, *formFilterAdd_, &main);
    main.RegisterTranslatableWindow(formFilter_);
    main.RegisterTranslatableWindow(formFilterAdd_);
    FilterBox().setMaxVisibleItems(kVisibleBoxEntries);
    SelectionBox().setMaxVisibleItems(kVisibleBoxEntries);
    MakeStatusBar();
    MakePopupMenus();
    ConnectCommands();
    ConnectPage();
    qApp->installEventFilter(this);
    RefreshChoosers();
}

TListViews::~TListViews() {
    qApp->removeEventFilter(this);
}

TCatalogue& TListViews::Catalogue() const {
    return main_.Catalogue;
}

QComboBox& TListViews::FilterBox() const {
    return *main_.Toolbars().FilterBox();
}

QComboBox& TListViews::SelectionBox() const {
    return *main_.Toolbars().SelectionBox();
}

void TListViews::MakeStatusBar() {
    statusText_ = new QLabel(main_.statusBar());
    statusText_->setObjectName("StatusText");
    statusText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    main_.statusBar()->addWidget(statusText_, 1);
}

void TListViews::MakePopupMenus() {
    albumMenu_ = new QMenu(page_);
    albumMenu_->setObjectName("PopupMenuAlbum");
    for (const char* name :
         {"ActionAlbumFreeDB", "ActionAlbumEdit", "-", "ActionPlaylistPlayAlbum",
          "ActionPlaylistPlayAlbumExt", "ActionPlaylistAddAlbum", "ActionAlbumUpdate",
          "ActionAlbumPasteImage", "ActionAlbumLoadImage", "ActionAlbumDeleteImage",
          "ActionAlbumImportCover", "ActionAlbumRemove"}) {
        if (QString(name) == "-")
            albumMenu_->addSeparator();
        else
            albumMenu_->addAction(main_.Action(name));
    }
    trackMenu_ = new QMenu(page_);
    trackMenu_->setObjectName("PopupMenuTrack");
    for (const char* name :
         {"ActionPlaylistPlayTrack", "ActionPlaylistPlayTrackExt", "ActionPlaylistAddTrack"})
        trackMenu_->addAction(main_.Action(name));
    page_->SetPopupMenus(albumMenu_, trackMenu_);
}

void TListViews::ConnectCommands() {
    connect(main_.Action("ActionListTree"), &QAction::triggered, this,
            &TListViews::ActionListTreeExecute);
    connect(main_.Action("ActionListBrowse"), &QAction::triggered, this,
            &TListViews::ActionListBrowseExecute);
    // Show/Hide right pane (applied again on every page change).
    connect(main_.Action("ActionListRightPanel"), &QAction::toggled, this,
            [this](bool hidden) { main_.Panels().SetRightPaneVisible(!hidden); });
    connect(main_.Action("ActionListFilter"), &QAction::triggered, this, [this] {
        formFilter_->show();
        formFilter_->raise();
        formFilter_->activateWindow();
    });
    connect(&FilterBox(), &QComboBox::activated, this, &TListViews::ChooseFilterBoxEntry);
    connect(formFilter_, &TFormFilter::FilterChanged, this, &TListViews::ApplyFilterChange);
    // Disabling the edit command (no selection chosen) ends the edit mode.
    connect(main_.Action("ActionSelectionEdit"), &QAction::toggled, page_,
            &TListPage::SetSelectionEditMode);
}

void TListViews::ConnectPage() {
    connect(page_, &TListPage::CurrentAlbumShown, this, &TListViews::ShowAlbumState);
    connect(page_->TreeButton(), &QToolButton::clicked, main_.Action("ActionListTree"),
            &QAction::trigger);
    connect(page_->SyncButton(), &QToolButton::clicked, this, &TListViews::ChangeStatusOfAll);
    connect(page_->AddAllButton(), &QToolButton::clicked, main_.Action("ActionSelectionAddAll"),
            &QAction::trigger);
    connect(page_, &TListPage::PlayAlbumRequested, this, [this](bool add) {
        main_.Action(add ? "ActionPlaylistAddAlbum" : "ActionPlaylistPlayAlbum")->trigger();
    });
    connect(page_, &TListPage::PlayTrackRequested, this, [this](bool add) {
        main_.Action(add ? "ActionPlaylistAddTrack" : "ActionPlaylistPlayTrack")->trigger();
    });
    connect(page_->Tracks()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TListViews::UpdateTitle);
}

void TListViews::PrepareWindows() {
    page_->Details()->SetPicturePosition(main_.Settings().CoverPos);
}

TSortSettings TListViews::SortSettings() const {
    const TSettings& s = main_.Settings();
    return {s.SortString, s.YearAsc, s.MostOftenPlayedCount, s.LastPlayedCount};
}

TSelection* TListViews::ChosenSelection() const {
    if (SelectionBox().currentIndex() <= 0) return nullptr;
    return Catalogue().Selections.Find(SelectionBox().currentText().toStdString());
}

bool TListViews::SelectionEditMode() const {
    return main_.Action("ActionSelectionEdit")->isChecked();
}

void TListViews::RebuildViewList() {
    TCatalogue& catalogue = Catalogue();
    ::RebuildViewList(catalogue.View, catalogue.Albums(), catalogue.Filters.Applied,
                      ChosenSelection(), SelectionEditMode(), SortSettings());
}

void TListViews::RefillAlbumGrid() {
    const TSettings& settings = main_.Settings();
    page_->Refill(Catalogue().Roots.Folders(), settings.HideOneFolder);
    emit ViewRefilled();
}

void TListViews::SortOrderChanged() {
    RebuildViewList();
    RefillAlbumGrid();
    UpdateTitle();
}

void TListViews::Resort() {
    main_.Action(QStr("ActionList" + SortStringAfterLoad(main_.Settings().SortString)))->trigger();
}

void TListViews::RefreshChoosers() {
    RebuildFilterBox();
    RebuildSelectionBox();
    formFilter_->ShowFields();
    formFilter_->ShowPresets();
}

void TListViews::RefreshTexts() {
    const TSelection* chosen = ChosenSelection();
    RebuildViewList();
    RebuildFilterBox();
    RebuildSelectionBox(chosen);
    RefillAlbumGrid();
    UpdateTitle();
}

void TListViews::EmptyViews() {
    Catalogue().View.Clear();
    page_->Empty();
    emit ViewRefilled();
}

void TListViews::RebuildSelectionBox(const TSelection* keep) {
    const TSelections& selections = Catalogue().Selections;
    QComboBox& box = SelectionBox();
    // No choice in between: an empty box would end the edit mode on its way.
    const QSignalBlocker quiet(box);
    box.clear();
    box.addItem(QStr(LangText("NoSelection", "* No selection *")));
    int chosen = 0;
    for (const auto& name : selections.SortedNames()) {
        if (keep && selections.Find(name) == keep) chosen = box.count();
        box.addItem(QStr(name));
    }
    box.setCurrentIndex(chosen);
    UpdateTitle();
}

void TListViews::RebuildFilterBox() {
    const TFilterState& filters = Catalogue().Filters;
    QComboBox& box = FilterBox();
    box.clear();
    box.addItem(QStr(LangText("NoFilter", "* No filter *")));
    box.addItem(QStr(LangText("CurrentSettings", "* Current settings *")));
    for (const auto& preset : filters.Presets.Presets) box.addItem(QStr(preset.Name));
    box.setCurrentIndex(static_cast<int>(filters.FilterBoxShownEntry()));
}

void TListViews::ApplyFilterChange() {
    // The chosen selection stays chosen: the box shows what the view shows.
    const TSelection* chosen = ChosenSelection();
    SetModified();
    RebuildViewList();
    RebuildFilterBox();
    RebuildSelectionBox(chosen);
    UpdateTitle();
    RefillAlbumGrid();
}

void TListViews::ChooseFilterBoxEntry(int entry) {
    if (entry < 0) return;
    Catalogue().Filters.ChooseFilterBoxEntry(size_t(entry));
    SetModified();
    RebuildViewList();
    RefillAlbumGrid();
    UpdateTitle();
}

void TListViews::SetModified() {
    if (Catalogue().ListModified) return;
    Catalogue().ListModified = true;
    UpdateTitle();
}

void TListViews::UpdateTitle() {
    main_.UpdateTitleAndCommands();
}

TCommandState TListViews::State() const {
    TCommandState state;
    state.listOpen = Catalogue().Roots.Count() > 0;
    state.hasAlbumRows = page_->AlbumRows() > 0;
    state.albumCurrent = page_->CurrentAlbum() != nullptr;
    state.trackCurrent = page_->CurrentTrack() >= 0;
    return state;
}

void TListViews::ShowAlbumState(Tm3u* album) {
    UpdateTitle();
    statusText_->setText(album ? QStr(album->PlaylistPath) : QString());
    emit CurrentAlbumShown(album);
}

int TListViews::ListPageIndex() const {
    return page_->TreeShown() ? TListPage::TreePage : TListPage::GridPage;
}

void TListViews::ShowListPage(int listPage) {
    const bool tree = listPage == TListPage::TreePage;
    main_.Action("ActionListTree")->setChecked(tree);
    page_->ShowTree(tree, Catalogue().Roots.Folders(), main_.Settings().HideOneFolder);
    NotebookPageChanged();
}

void TListViews::ActionListTreeExecute() {
    ShowListPage(main_.Action("ActionListTree")->isChecked() ? TListPage::TreePage
                                                             : TListPage::GridPage);
}

void TListViews::ActionListBrowseExecute() {
    TMainPanels& panels = main_.Panels();
    panels.SetCurrentPage(panels.CurrentPage() == TMainPanels::ListPage ? TMainPanels::BrowsePage
                                                                        : TMainPanels::ListPage);
    NotebookPageChanged();
}

void TListViews::NotebookPageChanged() {
    TMainPanels& panels = main_.Panels();
    panels.SetRightPaneVisible(!main_.Action("ActionListRightPanel")->isChecked());
    const bool browse = panels.CurrentPage() == TMainPanels::BrowsePage;
    main_.Action("ActionListBrowse")->setChecked(browse);
    if (browse) {
        emit ViewRefilled();
        return;
    }
    if (page_->TreeShown()) {
        page_->ShowTree(true, Catalogue().Roots.Folders(), main_.Settings().HideOneFolder);
        page_->Tree()->setFocus();
        return;
    }
    RefillAlbumGrid();
    page_->Grid()->setFocus();
}

void TListViews::ChangeStatusOfAll() {
    if (!prompts_->Confirm(QStr(LangText(
            "ConfirmStatusChange", "Do you really want to change the status for all albums ?"))))
        return;
    const Tm3u* current = page_->CurrentAlbum();
    if (!current) return;
    SetStatusOfAll(Catalogue().View.Albums(), NextStatus(current->Status));
    SetModified();
    RefillAlbumGrid();
}

bool TListViews::FindByFirstLetter(char key) {
    const int row = FindRowByFirstLetter(Catalogue().View.Albums(), page_->CurrentRow(), key);
    if (row < 0) return false;
    page_->SetCurrentRow(row);
    return true;
}

namespace {
// Typing goes to the find-by-first-letter unless a text field (or the menu
// bar, choosing a menu by its letter) has the focus.
bool KeepsItsKeys(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QMenuBar*>(widget) ||
           (qobject_cast<const QComboBox*>(widget) &&
            static_cast<const QComboBox*>(widget)->isEditable());
}
}  // namespace

bool TListViews::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &main_ || KeepsItsKeys(widget)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    if (text.size() != 1 || text[0].unicode() > 0x7F || !text[0].isLetterOrNumber()) return false;
    FindByFirstLetter(static_cast<char>(text[0].unicode()));
    return true;
}
