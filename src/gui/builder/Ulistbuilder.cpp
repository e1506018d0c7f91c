// The playlist builder window: the tree over the builder nodes, the view
// switches and the commands offered for each selection.
#include "gui/builder/Ulistbuilder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

#include "builder/BuilderDetails.h"
#include "builder/CreatePlaylists.h"
#include "collection/Ump3_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/DialogParts.h"
#include "gui/common/OffThread.h"
#include "gui/common/Prompts.h"

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

QString Lang(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kPreviewSide = 160;

QCheckBox* ViewBox(QWidget* parent, const char* name, const QString& caption, bool on) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(on);
    return box;
}

}  // namespace

// The tree accepts only its own nodes, only as a move, and only where the
// builder has a drop for them.
class TBuilderTreeWidget : public QTreeWidget {
  public:
    explicit TBuilderTreeWidget(TFormListBuilder* form) : QTreeWidget(form), form_(form) {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::InternalMove);
        setDefaultDropAction(Qt::MoveAction);
    }

  protected:
    BuilderNode* TargetAt(const QPoint& at) const { return form_->NodeOf(itemAt(at)); }
    void dragMoveEvent(QDragMoveEvent* event) override {
        const bool ok = event->source() == this && event->proposedAction() == Qt::MoveAction &&
                        form_->CanDropOn(TargetAt(event->position().toPoint()));
        if (ok)
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent* event) override {
        BuilderNode* target = TargetAt(event->position().toPoint());
        event->setDropAction(Qt::IgnoreAction);  // the builder moves files, not items
        event->accept();
        if (event->source() == this && form_->CanDropOn(target)) form_->DropOn(target);
    }

  private:
    TFormListBuilder* form_;
};

TFormListBuilder::TFormListBuilder(QWidget* parent, TPrompts& prompts, TBuilderTools tools)
    : QDialog(parent), prompts_(prompts), tools_(std::move(tools)) {
    setObjectName("FormListBuilder");
    setWindowTitle(tr("Playlist management"));
    BuildWidgets();
    BuildActions();
    askNewList = [this](const QString& proposed) { return ShowNewListDialog(proposed); };
}

TFormListBuilder::~TFormListBuilder() = default;

void TFormListBuilder::BuildWidgets() {
    rootDirs_ = new QComboBox(this);
    rootDirs_->setObjectName("ComboBoxRootDirs");
    tree_ = new TBuilderTreeWidget(this);
    tree_->setObjectName("VST");
    tree_->setHeaderHidden(true);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    lists_ = ViewBox(this, "CheckBoxList", tr("Lists"), true);
    tracks_ = ViewBox(this, "CheckBoxTrack", tr("Tracks"), false);
    orphans_ = ViewBox(this, "CheckBoxOrphans", tr("Orphans"), true);
    pictures_ = ViewBox(this, "CheckBoxJpg", tr("Cover pictures"), true);
    images_ = ViewBox(this, "CheckBoxImage", tr("Image files"), true);
    preview_ = ViewBox(this, "CheckBoxPreview", tr("Preview pictures"), true);
    audioInfo_ = ViewBox(this, "CheckBoxAudioInfo", tr("Audio file info"), false);
    previewImage_ = new QLabel(this);
    previewImage_->setObjectName("ImagePreview");
    previewImage_->setFixedSize(kPreviewSide, kPreviewSide);
    previewImage_->setAlignment(Qt::AlignCenter);
    previewText_ = new QLabel(this);
    previewText_->setObjectName("LabelPreview");
    audioText_ = new QLabel(this);
    audioText_->setObjectName("LabelAudioInfo");
    for (QLabel* label : {previewImage_, previewText_, audioText_}) label->hide();
    status_ = new QLabel(this);
    status_->setObjectName("StatusBar");
    createAll_ = new QPushButton(tr("Create playlists for all folders"), this);
    createAll_->setObjectName("ButtonCreateAll");
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->hide();
    cancel_ = new QPushButton(Lang("Cancel", "Cancel"), this);
    cancel_->setObjectName("ButtonCancel");
    cancel_->hide();
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, &TFormListBuilder::ShowProgress);
    connect(cancel_, &QPushButton::clicked, this, &TFormListBuilder::CancelRunning);
    auto* ok = new QPushButton(tr("Ok"), this);
    ok->setObjectName("ButtonOk");
    options_ = new QPushButton(tr("&Options"), this);
    options_->setObjectName("ButtonOptions");
    options_->setAutoDefault(false);

    auto* side = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{lists_, tracks_, orphans_, pictures_, images_,
                                                      createAll_, preview_, audioInfo_,
                                                      previewImage_, previewText_, audioText_})
        side->addWidget(w);
    side->addStretch();
    side->addWidget(options_);
    side->addWidget(MakeHelpButton(this, "listbuild.htm"));
    side->addWidget(ok);
    auto* left = new QVBoxLayout;
    auto* rootsLabel = new QLabel(tr("Directories to scan"), this);
    rootsLabel->setObjectName("LabelRootDirs");
    left->addWidget(rootsLabel);
    left->addWidget(rootDirs_);
    left->addWidget(tree_);
    auto* main = new QHBoxLayout;
    main->addLayout(left, 1);
    main->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(progressBar_);
    bottom->addWidget(cancel_);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(main);
    outer->addLayout(bottom);

    connect(rootDirs_, &QComboBox::activated, this, &TFormListBuilder::ChooseRoot);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(options_, &QPushButton::clicked, this, [this] {
        if (openOptions) openOptions(listFormat_);
    });
    connect(createAll_, &QPushButton::clicked, this, &TFormListBuilder::CreateAllPlaylists);
    connect(tracks_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) lists_->setChecked(true);
        ApplyView();
    });
    for (QCheckBox* box : {lists_, orphans_, pictures_, images_})
        connect(box, &QCheckBox::toggled, this, &TFormListBuilder::ApplyView);
    // The focused node and the selection each decide what is shown and offered.
    const auto selectionChanged = [this] {
        if (filling_) return;  // the items are being replaced
        ShowDetails();
        UpdateCommands();
    };
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, selectionChanged);
    connect(tree_, &QTreeWidget::currentItemChanged, this, selectionChanged);
    for (QCheckBox* box : {preview_, audioInfo_})
        connect(box, &QCheckBox::toggled, this, &TFormListBuilder::ShowDetails);
    connect(tree_, &QTreeWidget::itemChanged, this, &TFormListBuilder::Renamed);
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (CurrentSelectionClass() < 0) return;  // nothing usable: no menu at all
        QMenu menu;
        for (QAction* action : actions())
            if (action->isVisible()) menu.addAction(action);
        menu.exec(tree_->viewport()->mapToGlobal(at));
    });
}

void TFormListBuilder::BuildActions() {
    struct Spec {
        const char* name;
        QString caption;
        const char* shortcut;
        std::function<void()> run;
    };
    const Spec specs[] = {
        {"ActionPLBPlaylistCreate", tr("&Create playlist"), "Ctrl+P", [this] { CreatePlaylist(); }},
        {"ActionPLBPlaylistDelete", tr("&Delete playlist"), "", [this] { DeletePlaylist(); }},
        {"ActionPLBPlaylistEdit", tr("&Edit details"), "Ctrl+D", [this] { EditDetails(); }},
        {"ActionPLBTrackRemove", tr("&Remove track(s) from playlist"), "",
         [this] { RemoveTracks(); }},
        {"ActionPLBTrackMoveUp", tr("Move track(s) &up"), "Ctrl+U", [this] { MoveTrack(true); }},
        {"ActionPLBTrackMoveDown", tr("Move track(s) &down"), "Ctrl+W",
         [this] { MoveTrack(false); }},
        {"ActionPLBPictureRemove", tr("Remove &picture"), "", [this] { RemovePicture(); }},
    };
    for (const Spec& spec : specs) {
        auto* action = new QAction(spec.caption, this);
        action->setObjectName(spec.name);
        if (*spec.shortcut) action->setShortcut(QKeySequence(spec.shortcut));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, spec.run);
        addAction(action);
    }
    // "Create playlist" acts on any selection, also where the menu does not
    // offer it (a playlist selected: an empty playlist beside it); a hidden
    // action's shortcut is off, so the key has its own while it is hidden.
    createKey_ = new QShortcut(QKeySequence("Ctrl+P"), this, [this] { CreatePlaylist(); },
                               Qt::WidgetWithChildrenShortcut);
    UpdateCommands();
}

void TFormListBuilder::ShowDetails() {
    const BuilderNode* node = NodeOf(tree_->currentItem());
    if (!node) return;
    status_->setText(Q(node->Path));
    ShowPicturePreview(*node);
    ShowAudioInfo(*node);
}

void TFormListBuilder::ShowPicturePreview(const BuilderNode& node) {
    QImage image;
    if ((node.Kind == KindPicture || node.Kind == KindImage) && preview_->isChecked())
        image.load(Q(node.Path));  // a missing or damaged file leaves it null
    previewImage_->setVisible(!image.isNull());
    previewText_->setVisible(!image.isNull());
    if (image.isNull()) return;
    previewImage_->setPixmap(QPixmap::fromImage(
        image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    previewText_->setText(
        Q(PictureDetails(image.width(), image.height(), GetFileSizeBytes(node.Path))));
}

void TFormListBuilder::ShowAudioInfo(const BuilderNode& node) {
    std::string text;
    if ((node.Kind == KindEntry || node.Kind == KindOrphan) && audioInfo_->isChecked() &&
        tools_.MeasureTrack && FileExists(node.Path)) {
        Tmp3 track(node.Path);
        tools_.MeasureTrack(track);
        // A file the sound layer cannot open measures nothing.
        if (track.Duration > 0) text = AudioDetails(track.Duration, GetFileSizeBytes(node.Path));
    }
    audioText_->setText(Q(text));
    audioText_->setVisible(!text.empty());
}

QAction* TFormListBuilder::Command(const char* name) const {
    return findChild<QAction*>(name);
}

void TFormListBuilder::SetRoots(const std::vector<std::string>& roots) {
    roots_ = roots;
}

void TFormListBuilder::Open() {
    options_->setVisible(openOptions != nullptr);
    rootDirs_->clear();
    for (const auto& root : roots_) rootDirs_->addItem(Q(root));
    ClearTree();
    root_.reset();
    if (!roots_.empty()) ChooseRoot(0);
    rootDirs_->setFocus();
}

void TFormListBuilder::ChooseRoot(int index) {
    if (index < 0 || static_cast<size_t>(index) >= roots_.size()) return;
    rootDirs_->setCurrentIndex(index);
    ClearTree();
    root_ = MakeRootNode(ExcludeTrailingSeparator(roots_[static_cast<size_t>(index)]));
    ScanNode(*root_);
    FillTree();
    UpdateCommands();
}

TBuilderView TFormListBuilder::View() const {
    return {lists_->isChecked(), tracks_->isChecked(), orphans_->isChecked(),
            pictures_->isChecked(), images_->isChecked()};
}

void TFormListBuilder::ScanNode(BuilderNode& folder) {
    // Scanned into a node of its own, off the window thread; the folder takes
    // what was found once the scan ended (a cancelled scan leaves the folders
    // it did not reach without children).
    BuilderNode scanned;
    scanned.Name = folder.Name;
    scanned.Path = folder.Path;
    scanned.Parent = folder.Parent;  // the scan finds the tree's root through it
    TProgress progress;
    const TBuilderView view = View();
    RunWithProgress(progress, [&] {
        TBuilderScanner scanner(view);
        scanner.progress = &progress;
        scanner.ScanFolderNode(scanned);
    });
    folder.Children = std::move(scanned.Children);
    for (auto& child : folder.Children) child->Parent = &folder;
    folder.HasPlaylist = scanned.HasPlaylist;
    folder.HasSubfolders = scanned.HasSubfolders;
    folder.HasOrphans = scanned.HasOrphans;
    folder.Expanded = true;
}

// ---- Work off the window thread ----

void TFormListBuilder::RunWithProgress(TProgress& progress, const std::function<void()>& work) {
    std::vector<QPointer<QWidget>> disabled;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isEnabled() && child != cancel_ && child != progressBar_ && child != status_) {
            child->setEnabled(false);
            disabled.emplace_back(child);
        }
    std::vector<QAction*> actionsOff;
    for (QAction* action : actions())
        if (action->isEnabled()) {
            action->setEnabled(false);
            actionsOff.push_back(action);
        }
    running_ = &progress;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    progressBar_->setRange(0, 0);
    progressBar_->show();
    cancel_->setEnabled(true);
    cancel_->show();
    progressTimer_->start();
    RunOffWindowThread(work);
    progressTimer_->stop();
    ShowProgress();
    running_ = nullptr;
    QApplication::restoreOverrideCursor();
    progressBar_->hide();
    cancel_->hide();
    for (const auto& child : disabled)
        if (child) child->setEnabled(true);
    for (QAction* action : actionsOff) action->setEnabled(true);
}

void TFormListBuilder::ShowProgress() {
    if (!running_) return;
    const int64_t total = running_->Total();
    const int64_t done = running_->Done();
    if (total > 0) {
        progressBar_->setRange(0, int(std::min<int64_t>(total, INT_MAX)));
        progressBar_->setValue(int(std::min(done, total)));
        return;
    }
    status_->setText(QString::number(done) + " " +
                     Lang("ScannedDirectories", "scanned directories"));
}

void TFormListBuilder::CancelRunning() {
    if (!running_) return;
    running_->Cancel();
    cancel_->setEnabled(false);
}

void TFormListBuilder::reject() {
    if (running_) {
        CancelRunning();
        return;
    }
    QDialog::reject();
}

TBuilderTools TFormListBuilder::OffThreadTools() {
    TBuilderTools tools = tools_;
    if (tools_.MeasureTrack)
        tools.MeasureTrack = [this, measure = tools_.MeasureTrack](Tmp3& track) {
            QMetaObject::invokeMethod(this, [&] { measure(track); }, Qt::BlockingQueuedConnection);
        };
    return tools;
}

// ---- The tree widget over the nodes ----

BuilderNode* TFormListBuilder::NodeOf(const QTreeWidgetItem* item) const {
    return item ? reinterpret_cast<BuilderNode*>(item->data(0, kNodeRole).value<quintptr>())
                : nullptr;
}

QTreeWidgetItem* TFormListBuilder::ItemOf(const std::string& path) const {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if (const BuilderNode* node = NodeOf(*it); node && SamePath(node->Path, path)) return *it;
    return nullptr;
}

// Items hold pointers to nodes: they go before a scan replaces the nodes.
void TFormListBuilder::ClearTree() {
    filling_ = true;
    tree_->clear();
    filling_ = false;
}

void TFormListBuilder::FillTree() {
    ClearTree();
    filling_ = true;
    if (root_) AddItems(nullptr, *root_);
    filling_ = false;
}

void TFormListBuilder::AddItems(QTreeWidgetItem* parentItem, BuilderNode& node) {
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(tree_);
    item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    ShowNode(item, node);
    for (const auto& child : node.Children) AddItems(item, *child);
    item->setHidden(!node.Visible);
    item->setExpanded(node.Expanded);
}

void TFormListBuilder::ShowNode(QTreeWidgetItem* item, const BuilderNode& node) {
    const TBuilderNodeStyle style = NodeStyle(node);
    item->setText(0, Q(node.Name));
    QFont font("Verdana");
    font.setPointSize(style.FontSize);
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    item->setFont(0, font);
    item->setForeground(0, QColor(QRgb(style.Colour)));
    static const QStyle::StandardPixmap icons[] = {QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon,
                                                   QStyle::SP_FileIcon,
                                                   QStyle::SP_FileDialogContentsView};
    if (style.Icon >= 0) item->setIcon(0, tree_->style()->standardIcon(icons[style.Icon]));
}

void TFormListBuilder::ApplyView() {
    if (!root_) return;
    ApplyViewSwitches(*root_, View());
    filling_ = true;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        const BuilderNode* node = NodeOf(*it);
        (*it)->setHidden(!node->Visible);
        (*it)->setExpanded(node->Expanded || node == root_.get());
    }
    filling_ = false;
    if (tree_->currentItem()) tree_->scrollToItem(tree_->currentItem());
}

std::vector<BuilderNode*> TFormListBuilder::SelectedNodes() const {
    std::vector<BuilderNode*> nodes;
    for (QTreeWidgetItemIterator it(tree_, QTreeWidgetItemIterator::Selected); *it; ++it)
        nodes.push_back(NodeOf(*it));
    return nodes;  // in tree order
}

int32_t TFormListBuilder::CurrentSelectionClass() const {
    const auto selected = SelectedNodes();
    const BuilderNode* focused = NodeOf(tree_->currentItem());
    if (focused && std::find(selected.begin(), selected.end(), focused) == selected.end())
        focused = nullptr;
    return SelectionClass(selected, focused);
}

void TFormListBuilder::SelectPath(const std::string& path) {
    tree_->clearSelection();
    if (QTreeWidgetItem* item = ItemOf(path)) {
        tree_->setCurrentItem(item);
        item->setSelected(true);
        tree_->scrollToItem(item);
    }
    UpdateCommands();
}

// Each selection change shows the commands offered for its class.
void TFormListBuilder::UpdateCommands() {
    const int32_t cls = CurrentSelectionClass();
    const auto selected = SelectedNodes();
    const BuilderNode* first = selected.empty() ? nullptr : selected.front();
    const bool oneEntry = cls == KindEntry && first;
    QAction* create = Command("ActionPLBPlaylistCreate");
    create->setVisible((cls == KindFolder && first->HasOrphans) || cls == KindOrphan ||
                       cls == SelectionOrphans);
    if (createKey_) createKey_->setEnabled(!create->isVisible() && first);
    Command("ActionPLBPlaylistDelete")->setVisible(cls == KindPlaylist);
    Command("ActionPLBPlaylistEdit")->setVisible(cls == KindPlaylist && editDetails != nullptr);
    Command("ActionPLBTrackRemove")->setVisible(cls == KindEntry || cls == SelectionEntries);
    Command("ActionPLBTrackMoveUp")->setVisible(oneEntry && first->PreviousSibling());
    Command("ActionPLBTrackMoveDown")->setVisible(oneEntry && first->NextSibling());
    Command("ActionPLBPictureRemove")->setVisible(cls == KindPicture || cls == KindImage);
    createAll_->setEnabled(root_ && !FoldersWithoutPlaylist(*root_).empty());
}
