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
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>

#include "collection/Udir_obj.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/DetailsPanel.h"
#include "gui/list/FirstRunHint.h"
#include "gui/list/FolderTreeView.h"
#include "gui/list/ListPage.h"
#include "gui/list/TrackGrid.h"
#include "gui/list/Ufilter.h"
#include "gui/list/Ufilteradd.h"
#include "gui/shell/AlbumMenu.h"
#include "gui/shell/MainPanels.h"
#include "gui/shell/ShellPort.h"
#include "gui/shell/ToolbarLayout.h"
#include "views/Catalogue.h"
#include "views/ViewList.h"

namespace {
constexpr int kVisibleBoxEntries = 30;
}

TListViews::TListViews(TSession& session, TShellPort& shell, TPrompts& prompts,
                       const TListPageHost& host, QObject* parent)
    : QObject(parent), session_(session), shell_(shell), prompts_(prompts), host_(host) {
    setObjectName("ListViews");
    page_ = new TListPage(session.Catalogue.View);
    host_.panels.SetListPage(page_);
    host_.panels.SetRightPanel(page_->Tracks());
    page_->SetDetailsHeight(session.Settings.DetailsHeight);
    page_->Details()->SetPicturePosition(session.Settings.CoverPos);
    firstRunHint_ = new TFirstRunHint(page_->Grid()->viewport(), shell.Action(TCommandId::FileNew),
                                      shell.Action(TCommandId::FileLoad));
    formFilterAdd_ = new TFormFilterAdd(shell.Window());
    formFilter_ = new TFormFilter(session.Catalogue, prompts, *formFilterAdd_, shell.Window());
    shell.RegisterTranslatableWindow(formFilter_);
    shell.RegisterTranslatableWindow(formFilterAdd_);
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

TCatalogue& TListViews::Catalogue() {
    return session_.Catalogue;
}

const TCatalogue& TListViews::Catalogue() const {
    return session_.Catalogue;
}

QComboBox& TListViews::FilterBox() {
    return host_.filterBox;
}

const QComboBox& TListViews::FilterBox() const {
    return host_.filterBox;
}

QComboBox& TListViews::SelectionBox() {
    return host_.selectionBox;
}

const QComboBox& TListViews::SelectionBox() const {
    return host_.selectionBox;
}

void TListViews::MakeStatusBar() {
    statusText_ = new QLabel(&host_.statusBar);
    statusText_->setObjectName("StatusText");
    statusText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    host_.statusBar.addWidget(statusText_, 1);
}

void TListViews::MakePopupMenus() {
    albumMenu_ = MakeAlbumMenu(shell_, page_);
    using C = TCommandId;
    trackMenu_ = new QMenu(page_);
    trackMenu_->setObjectName("PopupMenuTrack");
    for (C id : {C::PlaylistPlayTrack, C::PlaylistPlayTrackExt, C::PlaylistAddTrack})
        trackMenu_->addAction(shell_.Action(id));
    page_->SetPopupMenus(albumMenu_, trackMenu_);
}

void TListViews::ConnectCommands() {
    connect(shell_.Action(TCommandId::ListTree), &QAction::triggered, this,
            &TListViews::ActionListTreeExecute);
    connect(shell_.Action(TCommandId::ListBrowse), &QAction::triggered, this,
            &TListViews::ActionListBrowseExecute);
    // Show/Hide right pane (applied again on every page change).
    connect(shell_.Action(TCommandId::ListRightPanel), &QAction::toggled, this,
            [this](bool hidden) { host_.panels.SetRightPaneVisible(!hidden); });
    connect(shell_.Action(TCommandId::ListFilter), &QAction::triggered, this, [this] {
        formFilter_->show();
        formFilter_->raise();
        formFilter_->activateWindow();
    });
    connect(&FilterBox(), &QComboBox::activated, this, &TListViews::ChooseFilterBoxEntry);
    connect(formFilter_, &TFormFilter::FilterChanged, this, &TListViews::ApplyFilterChange);
    connect(formFilter_, &TFormFilter::PresetsChanged, this, [this] {
        SetModified();
        RebuildFilterBox();
    });
    // Disabling the edit command (no selection chosen) ends the edit mode.
    connect(shell_.Action(TCommandId::SelectionEdit), &QAction::toggled, page_,
            &TListPage::SetSelectionEditMode);
}

void TListViews::ConnectPage() {
    connect(page_, &TListPage::CurrentAlbumShown, this, &TListViews::ShowAlbumState);
    connect(page_->TreeButton(), &QToolButton::clicked, shell_.Action(TCommandId::ListTree),
            &QAction::trigger);
    connect(page_->SyncButton(), &QToolButton::clicked, this, &TListViews::ChangeStatusOfAll);
    // The list file keeps the status.
    connect(page_, &TListPage::StatusCycled, this, &TListViews::SetModified);
    connect(page_->AddAllButton(), &QToolButton::clicked,
            shell_.Action(TCommandId::SelectionAddAll), &QAction::trigger);
    connect(page_, &TListPage::PlayAlbumRequested, this, [this](bool add) {
        shell_.Action(add ? TCommandId::PlaylistAddAlbum : TCommandId::PlaylistPlayAlbum)
            ->trigger();
    });
    connect(page_, &TListPage::PlayTrackRequested, this, [this](bool add) {
        shell_.Action(add ? TCommandId::PlaylistAddTrack : TCommandId::PlaylistPlayTrack)
            ->trigger();
    });
    connect(page_->Tracks()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TListViews::UpdateTitle);
}

void TListViews::PrepareWindows() {
    page_->Details()->SetPicturePosition(session_.Settings.CoverPos);
}

TSortSettings TListViews::SortSettings() const {
    const TSettings& s = session_.Settings;
    return {s.SortString, s.YearAsc, s.MostOftenPlayedCount, s.LastPlayedCount};
}

std::optional<std::string> TListViews::ChosenSelectionName() const {
    if (SelectionBox().currentIndex() <= 0) return std::nullopt;  // entry 0: no selection
    return SelectionBox().currentText().toStdString();
}

TSelection* TListViews::ChosenSelection() {
    const auto name = ChosenSelectionName();
    return name ? Catalogue().Selections.Find(*name) : nullptr;
}

const TSelection* TListViews::ChosenSelection() const {
    const auto name = ChosenSelectionName();
    return name ? Catalogue().Selections.Find(*name) : nullptr;
}

bool TListViews::SelectionEditMode() const {
    return shell_.Action(TCommandId::SelectionEdit)->isChecked();
}

void TListViews::RebuildViewList() {
    TCatalogue& catalogue = Catalogue();
    ::RebuildViewList(catalogue.View, catalogue.Albums(), catalogue.Filters.Applied,
                      ChosenSelection(), SelectionEditMode(), SortSettings());
}

void TListViews::RefillAlbumGrid() {
    const TSettings& settings = session_.Settings;
    page_->Refill(Catalogue().Roots.Folders(), settings.HideOneFolder);
    firstRunHint_->ShowFor(CatalogueState().listOpen);
    emit ViewRefilled();
}

void TListViews::SortOrderChanged() {
    RebuildViewList();
    RefillAlbumGrid();
    UpdateTitle();
}

void TListViews::Resort() {
    if (const auto command = SortCommand(SortStringAfterLoad(session_.Settings.SortString)))
        shell_.Action(*command)->trigger();
}

void TListViews::RefreshChoosers() {
    RebuildFilterBox();
    RebuildSelectionBox();
    formFilter_->ShowFields();
    formFilter_->ShowPresets();
}

void TListViews::RefreshTexts() {
    firstRunHint_->RefreshTexts();
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

namespace {
// The tool bar boxes keep their width whatever the names of the presets and
// selections (long ones would push the other bands off the row), but their
// own entries ("* No selection *" in any language) are never cut.
void FitToFixedEntries(QComboBox& box, int fixedEntries) {
    int text = 0;
    for (int i = 0; i < std::min(fixedEntries, box.count()); ++i)
        text = std::max(text, box.fontMetrics().horizontalAdvance(box.itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(&box);
    const QSize needed = box.style()->sizeFromContents(
        QStyle::CT_ComboBox, &option, QSize(text, box.fontMetrics().height()), &box);
    box.setFixedWidth(std::max(kToolbarBoxWidth, needed.width()));
}
}  // namespace

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
    FitToFixedEntries(box, 1);
    UpdateTitle();
}

void TListViews::RebuildFilterBox() {
    const TFilterState& filters = Catalogue().Filters;
    QComboBox& box = FilterBox();
    box.clear();
    box.addItem(QStr(LangText("NoFilter", "* No filter *")));
    box.addItem(QStr(LangText("CurrentSettings", "* Current settings *")));
    FitToFixedEntries(box, 2);
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
    shell_.RefreshCommands();
}

TCommandState TListViews::CatalogueState() const {
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
    shell_.Action(TCommandId::ListTree)->setChecked(tree);
    page_->ShowTree(tree, Catalogue().Roots.Folders(), session_.Settings.HideOneFolder);
    NotebookPageChanged();
}

void TListViews::ActionListTreeExecute() {
    ShowListPage(shell_.Action(TCommandId::ListTree)->isChecked() ? TListPage::TreePage
                                                                  : TListPage::GridPage);
}

void TListViews::ActionListBrowseExecute() {
    TMainPanels& panels = host_.panels;
    panels.SetCurrentPage(panels.CurrentPage() == TMainPanels::ListPage ? TMainPanels::BrowsePage
                                                                        : TMainPanels::ListPage);
    NotebookPageChanged();
}

void TListViews::NotebookPageChanged() {
    TMainPanels& panels = host_.panels;
    panels.SetRightPaneVisible(!shell_.Action(TCommandId::ListRightPanel)->isChecked());
    const bool browse = panels.CurrentPage() == TMainPanels::BrowsePage;
    shell_.Action(TCommandId::ListBrowse)->setChecked(browse);
    if (browse) {
        emit ViewRefilled();
        return;
    }
    if (page_->TreeShown()) {
        page_->ShowTree(true, Catalogue().Roots.Folders(), session_.Settings.HideOneFolder);
        page_->Tree()->setFocus();
        return;
    }
    RefillAlbumGrid();
    page_->Grid()->setFocus();
}

void TListViews::ChangeStatusOfAll() {
    if (!prompts_.Confirm(QStr(LangText(
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
    if (!widget || widget->window() != shell_.Window() || KeepsItsKeys(widget)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    if (text.size() != 1 || text[0].unicode() > 0x7F || !text[0].isLetterOrNumber()) return false;
    FindByFirstLetter(static_cast<char>(text[0].unicode()));
    return true;
}
