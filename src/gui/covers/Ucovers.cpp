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

#include "core/FileSystem.h"
#include "core/PumpEvents.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "covers/Ucov_obj.h"
#include "gui/common/DropPan.h"
#include "gui/common/Prompts.h"
#include "gui/covers/CoverPrompts.h"
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

// The hourglass and the progress bar while a file is read or written.
class TFileWork {
  public:
    explicit TFileWork(QProgressBar* bar) : bar_(bar) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        bar_->setMinimum(1);
        bar_->setValue(0);
        QObject::connect(&timer_, &QTimer::timeout, bar_, [this] {
            bar_->setMaximum(std::max(1, ProgressTotal));
            bar_->setValue(ProgressCount);
        });
        timer_.start(100);
    }
    ~TFileWork() {
        timer_.stop();
        bar_->setMinimum(0);
        bar_->setValue(0);
        QApplication::restoreOverrideCursor();
    }

  private:
    QProgressBar* bar_;
    QTimer timer_;
};
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

void TFormCoversManagement::ReadWithProgress(const std::string& path, TCoverDb& db) {
    TCdbReadResult read;
    {
        TFileWork work(progress_);
        read = ReadCoverDbFile(path, db);
    }
    // Read errors are kept silent: what was read stays.
    if (!read.message.empty()) prompts_.Error(QStr(read.message));
}

void TFormCoversManagement::OpenDatabase(const std::string& path) {
    if (!FileExists(path)) return;
    ReadWithProgress(path, *db_);
    FillLists();
    modified_ = false;
    currentFile_ = path;
    // Paths compare by the program's one rule (exactly, on Linux): another
    // file that differs only in letter case must not be taken for the local one.
    viewing_ = !SamePath(path, LocalFile());
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
    picture_->SetPicture({});
    // A cover without a thumbnail, or one that cannot be decoded, shows an
    // empty box and cannot be saved.
    if (const TCover* cover = SelectedCover())
        picture_->SetPicture(JpegToImage(db_->CoverBytes(*cover)));
    UpdateState();
}

void TFormCoversManagement::SpeedButtonDelArtistClick() {
    QListWidgetItem* item = artists_->currentItem();
    if (viewing_ || !item) return;
    if (!coverPrompts_.ConfirmOk(QStr(LangText("AreYouSure", "Are your sure ?")))) return;
    db_->Artists.Remove(Key(item).toStdString());
    modified_ = true;
    FillLists();
}

void TFormCoversManagement::SpeedButtonDelAlbumClick() {
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
    if (viewing_) OpenDatabase(LocalFile());
}

void TFormCoversManagement::ActionCDBOpenFileExecute() {
    const QString path = prompts_.OpenFileName(QStr(programFolder_), kCdbFilter);
    if (!path.isEmpty()) OpenDatabase(path.toStdString());
}

void TFormCoversManagement::ActionCDBImportExecute() {
    if (viewing_) return;
    const QString path = prompts_.OpenFileName(QStr(programFolder_), kCdbFilter);
    if (!path.isEmpty()) MergeFile(path.toStdString());
}

void TFormCoversManagement::MergeFile(const std::string& path) {
    if (viewing_ || !FileExists(path)) return;
    TCoverDb other(defaultQuality_);
    ReadWithProgress(path, other);
    const TReplacePrompts ask{
        [this](const TReplaceOffer& offer, bool& all) {
            return coverPrompts_.AskReplace(offer, all);
        },
        [this](const std::string& text) { return prompts_.Confirm(QStr(text)); }};
    const int count = db_->MergeDb(other, ask);
    if (count > 0)
        prompts_.Inform(QString::number(count) + ' ' +
                        QStr(LangText("CoversAdded", "covers added or updated")));
    else
        prompts_.Inform(QStr(LangText("NothingUpdated", "Nothing updated")));
    if (count <= 0) {
        db_->MergeSource = nullptr;  // `other` goes now
        return;
    }
    modified_ = true;
    SaveIfModified();
    db_->MergeSource = nullptr;
    OpenDatabase(LocalFile());
}

bool TFormCoversManagement::SaveIfModified() {
    if (viewing_ || !modified_ || !db_) return true;
    std::string error;
    {
        TFileWork work(progress_);
        error = WriteCoverDbFile(currentFile_, *db_, true);
    }
    modified_ = false;
    // The previous file stays whole; the user must learn that the changes
    // did not reach it.
    if (!error.empty())
        prompts_.Error(QStr(LangText("CouldNotWriteFile", "Could not write file")) + ' ' +
                       QStr(currentFile_) + "\n" + QStr(error));
    return error.empty();
}

void TFormCoversManagement::done(int result) {
    SaveIfModified();
    QDialog::done(result);
}
