#include "gui/shell/MainPanels.h"

#include <QEvent>
#include <QFrame>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The track grid never shrinks below its header and four rows, however
// small the window or the stored height.
constexpr int kMinTracksHeight = 24 + 4 * 16;

QWidget* Placeholder(const char* name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}
}  // namespace

TMainPanels::TMainPanels(QWidget* window) : QObject(window) {
    splitter_ = new QSplitter(Qt::Horizontal, window);
    splitter_->setObjectName("SplitterMain");
    splitter_->setChildrenCollapsible(false);

    pages_ = new QStackedWidget(splitter_);
    pages_->setObjectName("PageControl");
    pages_->addWidget(Placeholder("TabSheetList", pages_));
    pages_->addWidget(Placeholder("TabSheetBrowse", pages_));

    right_ = new QWidget(splitter_);
    right_->setObjectName("PanelRight");
    auto* rightLayout = new QVBoxLayout(right_);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightSplitter_ = new QSplitter(Qt::Vertical, right_);
    rightSplitter_->setObjectName("SplitterRight");
    rightSplitter_->setChildrenCollapsible(false);
    rightLayout->addWidget(rightSplitter_);
    rightPanel_ = Placeholder("PanelTracks", rightSplitter_);
    playerPanel_ = Placeholder("PanelPlayer", rightSplitter_);
    rightSplitter_->addWidget(rightPanel_);
    rightSplitter_->addWidget(playerPanel_);
    // The player takes what the pane gains or loses; the tracks keep their height.
    rightSplitter_->setStretchFactor(0, 0);
    rightSplitter_->setStretchFactor(1, 1);
    // Kept for the settings when the pane is hidden later.
    connect(rightSplitter_, &QSplitter::splitterMoved, this,
            [this] { tracksHeight_ = rightSplitter_->sizes().value(0); });
    rightSplitter_->installEventFilter(this);

    splitter_->addWidget(pages_);
    splitter_->addWidget(right_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
}

QWidget* TMainPanels::Central() const {
    return splitter_;
}

void TMainPanels::ReplacePage(int index, QWidget* page) {
    QWidget* old = pages_->widget(index);
    const bool current = pages_->currentIndex() == index;
    pages_->insertWidget(index, page);
    pages_->removeWidget(old);
    delete old;
    if (current) pages_->setCurrentIndex(index);
}

void TMainPanels::SetListPage(QWidget* page) {
    ReplacePage(ListPage, page);
}
void TMainPanels::SetBrowsePage(QWidget* page) {
    ReplacePage(BrowsePage, page);
}

void TMainPanels::ReplaceInRightPane(QWidget*& slot, QWidget* widget) {
    const QList<int> sizes = rightSplitter_->sizes();
    delete rightSplitter_->replaceWidget(rightSplitter_->indexOf(slot), widget);
    slot = widget;
    rightSplitter_->setSizes(sizes);
    SetTracksHeight(tracksHeight_);
}

void TMainPanels::SetRightPanel(QWidget* panel) {
    ReplaceInRightPane(rightPanel_, panel);
    panel->setMinimumHeight(kMinTracksHeight);
}

void TMainPanels::SetPlayerPanel(QWidget* panel) {
    ReplaceInRightPane(playerPanel_, panel);
}

int TMainPanels::CurrentPage() const {
    return pages_->currentIndex();
}

void TMainPanels::SetCurrentPage(int page) {
    pages_->setCurrentIndex(page == BrowsePage ? BrowsePage : ListPage);
}

int TMainPanels::RightWidth() const {
    // Until the window is on screen (or while the pane is hidden) the pane
    // has no real width: keep the one asked for.
    return right_->isVisible() ? right_->width() : rightWidth_;
}

void TMainPanels::SetRightWidth(int width) {
    rightWidth_ = width;
    // The left side takes what the window gains or loses; the pane keeps its width.
    const int total = std::max(splitter_->width(), width * 4);
    splitter_->setSizes({total - width, width});
}

void TMainPanels::SetRightPaneVisible(bool visible) {
    right_->setVisible(visible);
}

int TMainPanels::TracksHeight() const {
    return rightSplitter_->isVisible() ? rightSplitter_->sizes().value(0) : tracksHeight_;
}

void TMainPanels::SetTracksHeight(int height) {
    tracksHeight_ = std::max(height, kMinTracksHeight);
    const int total = std::max(rightSplitter_->height(), tracksHeight_ * 4);
    rightSplitter_->setSizes({tracksHeight_, total - tracksHeight_});
}

// The splitter shares a new height out by the sizes it had, so the tracks
// would grow and shrink with the pane: their height is given back once the
// splitter has laid itself out.
bool TMainPanels::eventFilter(QObject* watched, QEvent* event) {
    const bool shownOrResized = event->type() == QEvent::Show || event->type() == QEvent::Resize;
    if (watched == rightSplitter_ && shownOrResized && rightSplitter_->isVisible())
        QMetaObject::invokeMethod(
            this,
            [this] {
                const int total = rightSplitter_->height() - rightSplitter_->handleWidth();
                if (rightSplitter_->sizes().value(0) != tracksHeight_)
                    rightSplitter_->setSizes({tracksHeight_, std::max(total - tracksHeight_, 0)});
            },
            Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}
