#include "gui/browse/BrowseController.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWheelEvent>

#include "gui/browse/BrowsePanelPainter.h"
#include "gui/browse/BrowseView.h"
#include "gui/browse/Ubrowseoptions.h"
#include "gui/common/Session.h"
#include "gui/shell/AlbumMenu.h"
#include "gui/shell/ShellPort.h"

TBrowseController::TBrowseController(TSession& session, TShellPort& shell, TPrompts& prompts,
                                     TBrowseHooks hooks, QObject* parent)
    : QObject(parent), session_(session), shell_(shell), hooks_(std::move(hooks)) {
    setObjectName("BrowseController");
    MakeView();
    MakeMenu();
    options_ = new TFormBrowseOptions(presets_, prompts, shell.Window());
    shell.RegisterTranslatableWindow(options_);
    ConnectOptions();
    connect(shell.Action(TCommandId::ListBrowseOptions), &QAction::triggered, this,
            &TBrowseController::ActionListBrowseOptionsExecute);
    // The marks show and go with the selection edit mode.
    connect(shell.Action(TCommandId::SelectionEdit), &QAction::toggled, this, [this] {
        view_->BrowseFill();
        view_->BrowseColours();
    });
    qApp->installEventFilter(this);
}

TBrowseController::~TBrowseController() {
    qApp->removeEventFilter(this);
}

void TBrowseController::MakeView() {
    view_ = new TBrowseView(session_.Catalogue.View, presets_);
    view_->PictureSource = hooks_.picture;
    view_->CurrentAlbum = hooks_.currentAlbum;
    view_->SelectionEditMode = [this] { return SelectionEditMode(); };
    view_->ShowSelectionColours = [this] {
        return SelectionEditMode() && hooks_.selectionChosen && hooks_.selectionChosen();
    };
    connect(view_, &TBrowseView::AlbumPressed, this, &TBrowseController::AlbumPressed);
    connect(view_, &TBrowseView::MarkPressed, this, &TBrowseController::MarkPressed);
    connect(view_, &TBrowseView::AlbumDoubleClicked, this, [this](Tm3u* album) {
        if (hooks_.selectAlbum) hooks_.selectAlbum(album);
        shell_.Action(TCommandId::PlaylistPlayAlbum)->trigger();
    });
    connect(view_, &TBrowseView::PlayKeyPressed, this,
            [this] { shell_.Action(TCommandId::PlaylistPlayAlbum)->trigger(); });
    connect(view_, &TBrowseView::KeyMove, this, &TBrowseController::KeyMove);
    connect(view_, &TBrowseView::FilesDropped, this, &TBrowseController::FilesDropped);
    connect(view_, &TBrowseView::ContextMenuRequested, this,
            [this](Tm3u*, const QPoint& at) { albumMenu_->popup(at); });
}

void TBrowseController::MakeMenu() {
    albumMenu_ = MakeAlbumMenu(shell_, view_);
}

void TBrowseController::ConnectOptions() {
    connect(options_, &TFormBrowseOptions::LayoutChanged, view_, &TBrowseView::BrowseRefresh);
    connect(options_, &TFormBrowseOptions::StyleChanged, this, &TBrowseController::ApplyStyle);
    connect(options_, &TFormBrowseOptions::PresetLoaded, this, [this] {
        view_->BrowseRefresh();
        ApplyStyle();
    });
}

void TBrowseController::LoadPresets(const TIniFile& ini) {
    presets_.Load(ini);
    options_->ShowDetails();
    view_->BrowseRefresh();
    ApplyStyle();
}

void TBrowseController::ApplyStyle() {
    const TBrowseDetails& look = presets_.Current();
    if (hooks_.setListBackground)
        hooks_.setListBackground(look.SetListBackColor ? ToQColor(look.BackgroundColor)
                                                       : QColor(Qt::white));
    view_->BrowseApplyStyle();
}

bool TBrowseController::SelectionEditMode() const {
    return shell_.Action(TCommandId::SelectionEdit)->isChecked();
}

void TBrowseController::ViewRefilled() {
    if (hooks_.browseShown && hooks_.browseShown()) {
        view_->BrowseRefresh();
        return;
    }
    // Hidden, the wall lets its albums go: they may be freed before it shows again.
    view_->Clear();
}

void TBrowseController::CurrentAlbumShown() {
    if (hooks_.browseShown && hooks_.browseShown()) view_->BrowseShowCurrent();
    view_->BrowseColours();
}

void TBrowseController::AlbumChanged(Tm3u* album) {
    view_->ReloadAlbum(album);
}

void TBrowseController::AllPicturesChanged() {
    view_->ReloadAll();
}

void TBrowseController::AlbumPressed(Tm3u* album, Qt::MouseButton button,
                                     Qt::KeyboardModifiers modifiers) {
    if (hooks_.selectAlbum) hooks_.selectAlbum(album);
    if (button == Qt::RightButton && (modifiers & Qt::ControlModifier) && hooks_.pastePicture)
        hooks_.pastePicture(album);
}

void TBrowseController::MarkPressed(Tm3u* album) {
    if (hooks_.selectAlbum) hooks_.selectAlbum(album);
    shell_.Action(TCommandId::SelectionSelectAlbum)->trigger();
    view_->BrowseFill();
    view_->BrowseColours();
}

void TBrowseController::KeyMove(TBrowseKey key) {
    if (!hooks_.currentRow || !hooks_.rowCount || !hooks_.selectRow) return;
    if (const auto row = BrowseKeyTarget(key, hooks_.currentRow(), hooks_.rowCount(), view_->Grid()))
        hooks_.selectRow(*row);
    view_->setFocus();
}

void TBrowseController::FilesDropped(Tm3u* album, const QStringList& files) {
    if (hooks_.selectAlbum) hooks_.selectAlbum(album);
    if (hooks_.setPictureFile) hooks_.setPictureFile(album, files.first());
}

void TBrowseController::ActionListBrowseOptionsExecute() {
    if (options_->isVisible()) {
        options_->raise();
        return;
    }
    options_->show();
}

// The wheel anywhere in the main window scrolls the wall while it is shown.
bool TBrowseController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || watched == view_) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != shell_.Window()) return false;
    if (!hooks_.browseShown || !hooks_.browseShown()) return false;
    // Menus and boxes that pop up are windows of their own; the page's own
    // widgets get the wheel as the wall does.
    QApplication::sendEvent(view_, event);
    return true;
}
