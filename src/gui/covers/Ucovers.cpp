#include "gui/covers/Ucovers.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

#include "core/FileSystem.h"
#include "core/Progress.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "covers/CoverOperations.h"
#include "covers/Ucov_obj.h"
#include "gui/common/DropPan.h"
#include "gui/common/Prompts.h"
#include "gui/covers/CoverPrompts.h"
#include "gui/covers/CoverWork.h"
#include "gui/covers/PictureConvert.h"

namespace {
QString QStr(const std::string& text) {
    return QString::fromStdString(text);
}

const char* const kCdbFilter = "CoversDB file (*.cdb)";
const char* const kJpegFilter = "Jpg file (*.jpg)";

QString QualityCaption(int quality) {
    switch (quality) {
        case 0:
            return QStr(
                LangText("CacheCoversQualityNormal", "Normal quality (128x128) small size"));
        case 1:
            return QStr(LangText("CacheCoversQualityHigh", "High quality (256x256) medium size"));
        default:
            return QStr(LangText("CacheCoversQualityExtra", "Extra quality (512x512) large size"));
    }
}

QString Key(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

}  // namespace

TFormCoversManagement::TFormCoversManagement(TPrompts& prompts, TCoverPrompts& coverPrompts,
                                             QWidget* parent)
    : QDialog(parent), prompts_(prompts), coverPrompts_(coverPrompts) {
    setObjectName("FormCoversManagement");
    setModal(true);
    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStr(LangText("CDBMenuFile", "&File")));
    file->setObjectName("CDBMenuFile");
    auto action = [&](const char* name, const char* caption) {
        QAction* a = file->addAction(tr(caption));
        a->setObjectName(name);
        return a;
    };
    openLocal_ = action("ActionCDBOpenLocal", "&Open local CoversDB");
    openFile_ = action("ActionCDBOpenFile", "&View a CoversDB file");
    import_ = action("ActionCDBImport", "&Import covers from a CoversDB file");
    file->addSeparator();
    exit_ = action("ActionCDBExit", "&Close");
    connect(openLocal_, &QAction::triggered, this,
            &TFormCoversManagement::ActionCDBOpenLocalExecute);
    connect(openFile_, &QAction::triggered, this, &TFormCoversManagement::ActionCDBOpenFileExecute);
    connect(import_, &QAction::triggered, this, &TFormCoversManagement::ActionCDBImportExecute);
    connect(exit_, &QAction::triggered, this, &QDialog::close);

    const QString listStyle =
        "QListWidget::item { color: black; padding-left: 2px; }"
        "QListWidget::item:selected { background: #D1E6EF; color: black; }";
    auto list = [&](const char* name, const char* caption, QVBoxLayout*& column) {
        auto* box = new QListWidget(this);
        box->setObjectName(name);
        box->setStyleSheet(listStyle);
        column = new QVBoxLayout;
        auto* label = new QLabel(tr(caption), this);
        label->setObjectName(QString(name) + "Caption");
        column->addWidget(label);
        column->addWidget(box);
        return box;
    };
    QVBoxLayout *artistColumn = nullptr, *albumColumn = nullptr;
    artists_ = list("ListBoxArtists", "ARTISTS", artistColumn);
    albums_ = list("ListBoxAlbums", "ALBUMS", albumColumn);
    connect(artists_, &QListWidget::currentRowChanged, this,
            &TFormCoversManagement::ListBoxArtistsClick);
    connect(albums_, &QListWidget::currentRowChanged, this,
            &TFormCoversManagement::ListBoxAlbumsClick);

    picture_ = new TDropPanel(this);
    picture_->setObjectName("ImageCover");
    picture_->setMinimumSize(200, 200);
    picture_->setFrameShape(QFrame::StyledPanel);
    quality_ = new QLabel(this);
    quality_->setObjectName("LabelQuality");
    auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(tr(caption), this);
        b->setObjectName(name);
        return b;
    };
    saveCover_ = button("SpeedButtonSaveCover", "Save cover picture");
    removeAlbum_ = button("SpeedButtonDelAlbum", "Remove album");
    removeArtist_ = button("SpeedButtonDelArtist", "Remove artist");
    connect(saveCover_, &QPushButton::clicked, this,
            &TFormCoversManagement::SpeedButtonSaveCoverClick);
    connect(removeAlbum_, &QPushButton::clicked, this,
            &TFormCoversManagement::SpeedButtonDelAlbumClick);
    connect(removeArtist_, &QPushButton::clicked, this,
            &TFormCoversManagement::SpeedButtonDelArtistClick);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    progress_->setTextVisible(false);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(picture_, 1);
    pictureColumn->addWidget(quality_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveCover_);
    buttons->addWidget(removeAlbum_);
    buttons->addWidget(removeArtist_);
    pictureColumn->addLayout(buttons);
    auto* columns = new QHBoxLayout;
    columns->addLayout(artistColumn);
    columns->addLayout(albumColumn);
    columns->addLayout(pictureColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(columns, 1);
    layout->addWidget(progress_);
    resize(720, 420);
}

TFormCoversManagement::~TFormCoversManagement() = default;

std::string TFormCoversManagement::LocalFile() const {
    return JoinPath(programFolder_, "mavelo.cdb");
}

void TFormCoversManagement::Start(const std::string& programFolder, int defaultQuality) {
    programFolder_ = programFolder;
    defaultQuality_ = defaultQuality;
    db_ = std::make_unique<TCoverDb>(defaultQuality);
    currentFile_.clear();
    viewing_ = false;
    modified_ = false;
    if (FileExists(LocalFile())) {
        OpenDatabase(LocalFile());
    } else {
        currentFile_ = LocalFile();
        FillLists();
        UpdateState();
        prompts_.Inform(QStr(LangText("ShouldExportCovers", "You should export your covers !")));
    }
    artists_->setFocus();
}

void TFormCoversManagement::BlockInput(bool blocked) {
    for (QWidget* w : std::initializer_list<QWidget*>{artists_, albums_, picture_, saveCover_,
                                                      removeAlbum_, removeArtist_})
        w->setEnabled(!blocked);
    for (QAction* a : {openLocal_, openFile_, import_, exit_}) a->setEnabled(!blocked);
    if (blocked)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFormCoversManagement::RunWork(const std::function<void(TProgress&)>& work) {
    TProgress progress;
    busy_ = true;
    BlockInput(true);
    RunOffWindowThread(progress, progress_, [&] { work(progress); });
    BlockInput(false);
    busy_ = false;
    if (db_) UpdateState();
}

void TFormCoversManagement::OpenDatabase(const std::string& path) {
    if (busy_ || !FileExists(path)) return;
    auto db = std::make_unique<TCoverDb>(defaultQuality_);
    std::optional<TResult<TCdbRead>> read;
    RunWork([&](TProgress& progress) { read.emplace(ReadCoverDbFile(path, *db, &progress)); });
    db_ = std::move(db);
    modified_ = false;
    currentFile_ = path;
    // Paths compare by the program's one rule (exactly, on Linux): another
    // file that differs only in letter case must not be taken for the local one.
    viewing_ = !SamePath(path, LocalFile());
    if (!*read) {
        // Nothing of a damaged file is shown, and the window never writes it:
        // saved back, it would lose every cover after the damage.
        viewing_ = true;
        prompts_.Error(FailureText(read->Failure()));
    } else if ((*read)->WrongVersion()) {
        prompts_.Error(QStr((*read)->versionMessage));
    }
    FillLists();
    UpdateState();
}

void TFormCoversManagement::UpdateState() {
    removeAlbum_->setVisible(!viewing_);
    removeArtist_->setVisible(!viewing_);
    import_->setEnabled(!viewing_);
    openLocal_->setEnabled(viewing_);
    removeArtist_->setEnabled(artists_->currentItem() != nullptr);
    removeAlbum_->setEnabled(albums_->currentItem() != nullptr);
    const TCover* cover = SelectedCover();
    saveCover_->setEnabled(cover && !db_->CoverBytes(*cover).empty());
    setWindowTitle(viewing_ ? QStr(LangText("CoversDBView", "CoversDB : viewing")) + ' ' +
                                  QStr(ExtractFileName(currentFile_))
                            : QStr(LangText("CoversDBLocal", "Local CoversDB")));
}

void TFormCoversManagement::FillLists() {
    quality_->setText(QualityCaption(db_->Quality));
    artists_->blockSignals(true);
    artists_->clear();
    for (const auto& [key, artist] : db_->Artists) {
        auto* item = new QListWidgetItem(QStr(artist->Name), artists_);
        item->setData(Qt::UserRole, QStr(key));
    }
    artists_->blockSignals(false);
    albums_->clear();
    picture_->SetPicture({});
    if (artists_->count() > 0) artists_->setCurrentRow(0);  // shows its albums
    UpdateState();
}

void TFormCoversManagement::ListBoxArtistsClick() {
    if (busy_) return;
    albums_->blockSignals(true);
    albums_->clear();
    albums_->blockSignals(false);
    picture_->SetPicture({});
    const TArtist* artist = db_->Artists.Find(Key(artists_->currentItem()).toStdString());
    if (artist) {
        albums_->blockSignals(true);
        for (const auto& [key, cover] : artist->Covers) {
            auto* item = new QListWidgetItem(QStr(cover->AlbumTitle), albums_);
            item->setData(Qt::UserRole, QStr(key));
        }
        albums_->blockSignals(false);
        if (albums_->count() > 0) albums_->setCurrentRow(0);
    }
    UpdateState();
}

TCover* TFormCoversManagement::SelectedCover() const {
    if (!db_) return nullptr;
    const TArtist* artist = db_->Artists.Find(Key(artists_->currentItem()).toStdString());
    return artist ? artist->Covers.Find(Key(albums_->currentItem()).toStdString()) : nullptr;
}

void TFormCoversManagement::ListBoxAlbumsClick() {
    if (busy_) return;
    picture_->SetPicture({});
    // A cover without a thumbnail, or one that cannot be decoded, shows an
    // empty box and cannot be saved.
    if (const TCover* cover = SelectedCover())
        picture_->SetPicture(JpegToImage(db_->CoverBytes(*cover)));
    UpdateState();
}

void TFormCoversManagement::SpeedButtonDelArtistClick() {
    if (busy_) return;
    QListWidgetItem* item = artists_->currentItem();
    if (viewing_ || !item) return;
    if (!coverPrompts_.ConfirmOk(QStr(LangText("AreYouSure", "Are your sure ?")))) return;
    db_->Artists.Remove(Key(item).toStdString());
    modified_ = true;
    FillLists();
}

void TFormCoversManagement::SpeedButtonDelAlbumClick() {
    if (busy_) return;
    const QString artistKey = Key(artists_->currentItem());
    TArtist* artist = db_->Artists.Find(artistKey.toStdString());
    if (viewing_ || !artist || !albums_->currentItem()) return;
    if (!coverPrompts_.ConfirmOk(QStr(LangText("AreYouSure", "Are your sure ?")))) return;
    artist->Covers.Remove(Key(albums_->currentItem()).toStdString());
    modified_ = true;
    if (!artist->Covers.Empty()) {
        ListBoxArtistsClick();
        return;
    }
    db_->Artists.Remove(artistKey.toStdString());
    FillLists();
}

void TFormCoversManagement::SpeedButtonSaveCoverClick() {
    if (busy_) return;
    const TCover* cover = SelectedCover();
    if (!cover) return;
    const std::string bytes = db_->CoverBytes(*cover);
    if (bytes.empty()) return;
    const QString path = prompts_.SaveFileName(QStr(programFolder_), kJpegFilter);
    if (path.isEmpty()) return;
    try {
        ReplaceFileContents(path.toStdString(), bytes);
    } catch (const std::exception&) {
        prompts_.Error(QStr(LangText("CouldNotWriteFile", "Could not write file")) + ' ' + path);
    }
}

void TFormCoversManagement::ActionCDBOpenLocalExecute() {
    if (busy_) return;
    if (viewing_) OpenDatabase(LocalFile());
}

void TFormCoversManagement::ActionCDBOpenFileExecute() {
    if (busy_) return;
    const QString path = prompts_.OpenFileName(QStr(programFolder_), kCdbFilter);
    if (!path.isEmpty()) OpenDatabase(path.toStdString());
}

void TFormCoversManagement::ActionCDBImportExecute() {
    if (busy_) return;
    if (viewing_) return;
    const QString path = prompts_.OpenFileName(QStr(programFolder_), kCdbFilter);
    if (!path.isEmpty()) MergeFile(path.toStdString());
}

void TFormCoversManagement::MergeFile(const std::string& path) {
    if (busy_ || viewing_ || !FileExists(path)) return;
    const TReplacePrompts ask = AskOnWindowThread(
        this, {[this](const TReplaceOffer& offer, bool& all) {
                   return coverPrompts_.AskReplace(offer, all);
               },
               [this](const std::string& text) { return prompts_.Confirm(QStr(text)); }});
    std::optional<TResult<TCoverMerge>> merged;
    RunWork([&](TProgress& progress) {
        merged.emplace(MergeCoverDbFile(*db_, currentFile_, path, ask, progress));
    });
    if (!*merged) {
        prompts_.Error(FailureText(merged->Failure()));
        // A merge whose write failed leaves covers that came from the other
        // file: the local file, unchanged, is shown again.
        if (merged->Failure().file != path) OpenDatabase(LocalFile());
        return;
    }
    const TCoverMerge& result = **merged;
    if (!result.VersionMessage.empty()) prompts_.Error(QStr(result.VersionMessage));
    if (result.Count > 0)
        prompts_.Inform(QString::number(result.Count) + ' ' +
                        QStr(LangText("CoversAdded", "covers added or updated")));
    else
        prompts_.Inform(QStr(LangText("NothingUpdated", "Nothing updated")));
    // The merged covers are read back from the file just written.
    if (result.Count > 0) OpenDatabase(LocalFile());
}

bool TFormCoversManagement::SaveIfModified() {
    if (busy_ || viewing_ || !modified_ || !db_) return true;
    std::optional<TResult<void>> written;
    RunWork([&](TProgress& progress) {
        written.emplace(WriteCoverDbFile(currentFile_, *db_, true, &progress));
    });
    // The previous file stays whole; the user must learn that the changes
    // did not reach it.
    if (!*written) {
        prompts_.Error(FailureText(written->Failure()));
        return false;
    }
    modified_ = false;
    return true;
}

void TFormCoversManagement::done(int result) {
    // The window stays until the work on its database has ended.
    if (busy_) return;
    SaveIfModified();
    QDialog::done(result);
}
