#include "gui/browse/BrowseView.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

#include "browse/Ubrowse_obj.h"
#include "collection/Um3u_obj.h"
#include "gui/common/DropPan.h"
#include "views/ViewList.h"

namespace {
constexpr int kWheelStep = 120;  // one notch of a wheel, in eighths of a degree

QString TextOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString YearText(int year) {
    return year == 0 ? QString() : QString::number(year);
}

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}
}  // namespace

TBrowseView::TBrowseView(TViewList& view, const TBrowseDetailsList& presets, QWidget* parent)
    : QWidget(parent), view_(view), presets_(presets), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName("PanelBrowse");
    scrollBar_->setObjectName("SBBrowse");
    scrollBar_->setMinimum(1);
    scrollBar_->setMaximum(1);
    scrollBar_->setSingleStep(1);
    // The keys are the wall's own (the browse keyboard), not the scroll bar's.
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    style_ = PanelStyleOf(Look());
    connect(scrollBar_, &QScrollBar::valueChanged, this, &TBrowseView::ScrolledByUser);
}

const TBrowseDetails& TBrowseView::Look() const {
    return presets_.Current();
}

int TBrowseView::Position() const {
    return scrollBar_->value();
}

int TBrowseView::ScrollMaximum() const {
    return scrollBar_->maximum();
}

void TBrowseView::PlaceScrollBar() {
    const int width = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(this->width() - width, 0, width, height());
}

void TBrowseView::BrowseLayout() {
    PlaceScrollBar();
    const TBrowseGrid grid =
        BrowseGridFor(width(), height(), scrollBar_->sizeHint().width(), Look().Width, Look().Height,
                      Look().Space);
    if (grid == grid_ && panels_.size() == size_t(grid.PanelCount())) return;
    grid_ = grid;
    // Panels kept keep their album and cover; BrowseFill moves albums where
    // the new grid wants them.
    panels_.resize(size_t(grid_.PanelCount()));
    update();
}

void TBrowseView::SetScrollRange(int maximum) {
    // The scroll bar's own news is not the user's scrolling.
    settingRange_ = true;
    scrollBar_->setMaximum(maximum);
    scrollBar_->setPageStep(grid_.rows);
    scrollBar_->setVisible(maximum > 1);
    settingRange_ = false;
}

void TBrowseView::RefreshTexts(TCoverPanel& panel, const Tm3u& album) {
    // An edited album (or one updated from FreeDB) shows its new values.
    const QString artist = TextOf(album.Artist.view());
    const QString title = TextOf(album.Album.view());
    const QString year = YearText(album.Year);
    if (panel.artist != artist) panel.artist = artist;
    if (panel.title != title) panel.title = title;
    if (panel.year != year) panel.year = year;
}

void TBrowseView::LoadPanel(TCoverPanel& panel, Tm3u* album) {
    panel.album = album;
    RefreshTexts(panel, *album);
    panel.cover = PictureSource ? PictureSource(album) : QImage();
    panel.scaled = QImage();
    ++decoded_;
}

// A panel whose album is still in view keeps its cover, also when the album
// moved to another panel (one row scrolled): only albums that come into
// view are decoded.
void TBrowseView::BrowseFill() {
    const auto& albums = view_.Albums();
    SetScrollRange(BrowseScrollMaximum(albums.size(), grid_));
    const size_t first = BrowseFirstIndex(Position(), grid_.columns);
    const bool marks = SelectionEditMode && SelectionEditMode();
    std::vector<TCoverPanel> before = std::move(panels_);
    panels_.assign(before.size(), TCoverPanel{});
    for (size_t k = 0; k < panels_.size(); ++k) {
        const size_t index = first + k;
        if (index >= albums.size()) break;
        Tm3u* album = albums[index];
        TCoverPanel& panel = panels_[k];
        if (TCoverPanel* kept = FindPanelOf(before, album, k)) {
            panel = std::move(*kept);
            kept->album = nullptr;
            RefreshTexts(panel, *album);
        } else {
            LoadPanel(panel, album);
        }
        panel.visible = true;
        panel.mark = marks ? (album->InSelection ? 2 : 1) : 0;
    }
    update();
}

TCoverPanel* TBrowseView::FindPanelOf(std::vector<TCoverPanel>& panels, const Tm3u* album,
                                      size_t likely) {
    if (!album) return nullptr;
    if (likely < panels.size() && panels[likely].album == album) return &panels[likely];
    for (TCoverPanel& panel : panels)
        if (panel.album == album) return &panel;
    return nullptr;
}

void TBrowseView::BrowseColours() {
    const Tm3u* current = CurrentAlbum ? CurrentAlbum() : nullptr;
    const bool selectionColours = ShowSelectionColours && ShowSelectionColours();
    const QColor selected = ToQColor(Look().SelectedPanelColor);
    const QColor inSelection = ToQColor(Look().InSelectionPanelColor);
    const QColor plain = ToQColor(Look().PanelColor);
    for (size_t k = 0; k < panels_.size(); ++k) {
        TCoverPanel& panel = panels_[k];
        if (!panel.visible) continue;
        QColor colour = plain;
        if (panel.album == current)
            colour = selected;
        else if (selectionColours && panel.album->InSelection)
            colour = inSelection;
        if (panel.colour == colour) continue;
        panel.colour = colour;
        update(PanelRect(int(k)));
    }
}

void TBrowseView::BrowseApplyStyle() {
    style_ = PanelStyleOf(Look());
    for (TCoverPanel& panel : panels_) panel.colour = QColor();  // colours set anew
    BrowseColours();
    update();
}

void TBrowseView::BrowseRefresh() {
    BrowseLayout();
    BrowseFill();
    BrowseColours();
}

void TBrowseView::BrowseShowCurrent() {
    const Tm3u* current = CurrentAlbum ? CurrentAlbum() : nullptr;
    if (!current) return;
    const auto index = view_.IndexOf(current);
    if (!index) return;
    if (const auto position = BrowseShowIndex(*index, Position(), grid_, ScrollMaximum()))
        scrollBar_->setValue(*position);  // fills and colours
}

void TBrowseView::ReloadAlbum(const Tm3u* album) {
    for (TCoverPanel& panel : panels_)
        if (panel.album == album) panel.album = nullptr;
    BrowseFill();
    BrowseColours();
}

void TBrowseView::ReloadAll() {
    for (TCoverPanel& panel : panels_) panel.album = nullptr;
    BrowseFill();
    BrowseColours();
}

void TBrowseView::Clear() {
    for (TCoverPanel& panel : panels_) panel = TCoverPanel{};
    update();
}

void TBrowseView::ScrolledByUser() {
    if (settingRange_) return;
    BrowseFill();
    BrowseColours();
}

bool TBrowseView::WheelStep(int steps) {
    const auto position = BrowseWheelStep(Position(), steps, ScrollMaximum());
    if (!position) return false;
    scrollBar_->setValue(*position);
    return true;
}

QRect TBrowseView::PanelRect(int panel) const {
    const TBrowseRect r = ::BrowsePanelRect(panel, grid_.columns, Look().Width, Look().Height,
                                            Look().Space);
    return QRect(r.left, r.top, r.width, r.height);
}

int TBrowseView::PanelAt(const QPoint& point) const {
    for (size_t k = 0; k < panels_.size(); ++k)
        if (panels_[k].visible && PanelRect(int(k)).contains(point)) return int(k);
    return -1;
}

Tm3u* TBrowseView::AlbumUnder(const QPoint& point) const {
    const int k = PanelAt(point);
    return k < 0 ? nullptr : panels_[size_t(k)].album;
}

bool TBrowseView::OnMark(int panel, const QPoint& point) const {
    if (panel < 0 || !panels_[size_t(panel)].mark) return false;
    const QRect rect = PanelRect(panel);
    const TBrowseRect mark = BrowsePanelPartsFor(rect.width(), rect.height()).mark;
    return QRect(rect.left() + mark.left, rect.top() + mark.top, mark.width, mark.height)
        .contains(point);
}

void TBrowseView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(event->rect(), ToQColor(Look().BackgroundColor));
    for (size_t k = 0; k < panels_.size(); ++k) {
        TCoverPanel& panel = panels_[k];
        if (!panel.visible) continue;
        const QRect rect = PanelRect(int(k));
        if (!rect.intersects(event->rect())) continue;
        // A panel filled but not coloured yet has the plain colour.
        if (!panel.colour.isValid()) panel.colour = ToQColor(Look().PanelColor);
        PaintCoverPanel(painter, *this, rect, panel, style_);
    }
}

void TBrowseView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BrowseRefresh();
}

void TBrowseView::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta().y();
    while (wheelRest_ >= kWheelStep || wheelRest_ <= -kWheelStep) {
        const int step = wheelRest_ > 0 ? 1 : -1;
        wheelRest_ -= step * kWheelStep;
        WheelStep(step);
    }
    event->accept();
}

void TBrowseView::keyPressEvent(QKeyEvent* event) {
    using K = TBrowseKey;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space: emit PlayKeyPressed(); return;
        case Qt::Key_PageUp: emit KeyMove(K::PageUp); return;
        case Qt::Key_PageDown: emit KeyMove(K::PageDown); return;
        case Qt::Key_Home: emit KeyMove(K::Home); return;
        case Qt::Key_End: emit KeyMove(K::End); return;
        case Qt::Key_Left: emit KeyMove(K::Left); return;
        case Qt::Key_Right: emit KeyMove(K::Right); return;
        case Qt::Key_Up: emit KeyMove(K::Up); return;
        case Qt::Key_Down: emit KeyMove(K::Down); return;
        default: QWidget::keyPressEvent(event);
    }
}

void TBrowseView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const int k = PanelAt(point);
    if (k < 0) return;
    Tm3u* album = panels_[size_t(k)].album;
    if (OnMark(k, point))
        emit MarkPressed(album);
    else
        emit AlbumPressed(album, event->button(), event->modifiers());
}

void TBrowseView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int k = PanelAt(point);
    if (k >= 0 && !OnMark(k, point)) emit AlbumDoubleClicked(panels_[size_t(k)].album);
}

void TBrowseView::mouseMoveEvent(QMouseEvent* event) {
    const bool onPanel = PanelAt(event->position().toPoint()) >= 0;
    if (onPanel != (cursor().shape() == Qt::PointingHandCursor))
        setCursor(onPanel ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TBrowseView::contextMenuEvent(QContextMenuEvent* event) {
    if (Tm3u* album = AlbumUnder(event->pos())) emit ContextMenuRequested(album, event->globalPos());
}

void TBrowseView::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TBrowseView::dragMoveEvent(QDragMoveEvent* event) {
    if (AlbumUnder(event->position().toPoint()) && !LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TBrowseView::dropEvent(QDropEvent* event) {
    Tm3u* album = AlbumUnder(event->position().toPoint());
    const QStringList files = TDropPanel::ExistingFiles(LocalFiles(event->mimeData()));
    if (!album || files.isEmpty()) return;
    event->acceptProposedAction();
    emit FilesDropped(album, files);
}
