#include "gui/covers/CoversController.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <optional>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Progress.h"
#include "core/PumpEvents.h"
#include "core/Ulang.h"
#include "covers/CoverOperations.h"
#include "covers/EmbeddedPicture.h"
#include "covers/Ucov_obj.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/covers/CoverPrompts.h"
#include "gui/covers/CoverWork.h"
#include "gui/covers/PictureConvert.h"
#include "gui/covers/Ucovers.h"
#include "gui/shell/ShellPort.h"
#include "views/ListFile.h"

namespace {
QString QStr(const std::string& text) {
    return QString::fromStdString(text);
}

const char* const kPictureFilters =
    "All (*.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.png);;JPEG files (*.jpg *.jpeg);;"
    "Bitmap files (*.bmp);;GIF files (*.gif);;TIFF files (*.tif *.tiff);;PNG files (*.png)";
const char* const kCdbSaveFilter = "Covers database (*.cdb)";

// Busy mode for the length of a long operation, its progress shown by the
// main window's progress bar (which reads the shared counters).
class TBusy {
  public:
    explicit TBusy(TShellPort& shell) : shell_(shell) {
        shell_.SetBusy(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Show(); });
        timer_.start(100);
    }
    ~TBusy() {
        timer_.stop();
        ProgressTotal = ProgressCount = 0;
        shell_.SetBusy(false);
    }
    TProgress Progress;

  private:
    void Show() {
        ProgressTotal = int(std::min<int64_t>(Progress.Total(), INT32_MAX));
        ProgressCount = int(std::min<int64_t>(Progress.Done(), INT32_MAX));
    }
    TShellPort& shell_;
    QTimer timer_;
};

}  // namespace

TCoversController::TCoversController(TSession& session, TShellPort& shell, TPrompts& prompts,
                                     TCoverPrompts& coverPrompts, TCurrentAlbum currentAlbum,
                                     QObject* parent)
    : QObject(parent),
      ProgramFolderPath(ProgramFolder()),
      session_(session),
      shell_(shell),
      prompts_(prompts),
      coverPrompts_(coverPrompts),
      currentAlbum_(std::move(currentAlbum)) {
    const struct {
        TCommandId id;
        void (TCoversController::*handler)();
    } commands[] = {
        {TCommandId::AlbumPasteImage, &TCoversController::ActionAlbumPasteImageExecute},
        {TCommandId::AlbumLoadImage, &TCoversController::ActionAlbumLoadImageExecute},
        {TCommandId::AlbumDeleteImage, &TCoversController::ActionAlbumDeleteImageExecute},
        {TCommandId::AlbumImportCover, &TCoversController::ActionAlbumImportCoverExecute},
        {TCommandId::ListCacheCovers, &TCoversController::ActionListCacheCoversExecute},
        {TCommandId::ListExportCoToFile, &TCoversController::ActionListExportCoToFileExecute},
        {TCommandId::ListImportFromCdb, &TCoversController::ActionListImportFromCdbExecute},
        {TCommandId::ToolsCoversMgt, &TCoversController::ActionToolsCoversMgtExecute},
    };
    for (const auto& c : commands)
        connect(shell_.Action(c.id), &QAction::triggered, this, c.handler);
    connect(shell_.Action(TCommandId::ListExportCoToCdb), &QAction::triggered, this,
            [this] { ActionListExportCoToCdbExecute(false); });
}

TCoversController::~TCoversController() = default;

TCoverOptions TCoversController::Options() const {
    const TSettings& s = session_.Settings;
    return {s.CacheCovers, s.CacheCoversQuality, s.EmbeddedCovers};
}

std::string TCoversController::LocalDbPath() const {
    return JoinPath(ProgramFolderPath, "mavelo.cdb");
}

TReplacePrompts TCoversController::ReplacePrompts(std::function<bool(const std::string&)> confirm) {
    return {[this](const TReplaceOffer& offer, bool& all) {
                return coverPrompts_.AskReplace(offer, all);
            },
            std::move(confirm)};
}

// --- pictures of the views ---------------------------------------------------

QImage TCoversController::AlbumPicture(Tm3u* album) {
    if (!album) return {};
    const TCoverOptions options = Options();
    if (options.CacheCovers) {
        // Showing never changes the album: a cover not cached yet is made for
        // the display only, and cached by "Cache all covers" or before a save.
        if (album->CachedCover.empty()) return JpegToImage(MakeAlbumThumbnail(*album, options));
        return JpegToImage(album->CachedCover);
    }
    const std::string picture = album->PictureFile();
    if (!picture.empty() && FileExists(picture)) return QImage(QStr(picture));
    if (picture.empty() && options.FromTracks && !album->Tracks.Empty())
        return JpegToImage(EmbeddedPicture(album->Tracks[0].Path));
    return {};
}

void TCoversController::AskToCacheCovers() {
    bool needed = false;
    {
        TBusy busy(shell_);
        needed = CoversNeedCaching(session_.Catalogue.Directory, session_.Settings.CacheCovers);
    }
    if (needed && prompts_.Confirm(QStr(LangText(
                      "CacheCovers",
                      "There are covers with no cached covers, do you want to cache them now ?"))))
        CacheAllCovers();
}

void TCoversController::CacheAllCovers() {
    if (!session_.Settings.CacheCovers) return;
    size_t built = 0;
    {
        TBusy busy(shell_);
        built = ::CacheAllCovers(session_.Catalogue.Directory, Options(), &busy.Progress);
    }
    if (built > 0) {
        session_.MarkModified();
        emit PicturesChanged();
    }
    shell_.RefreshCommands();
}

// --- album pictures ------------------------------------------------------------

void TCoversController::PictureReplaced(Tm3u* album) {
    session_.MarkModified();
    emit PictureChanged(album);
    shell_.RefreshCommands();
}

bool TCoversController::ChangeAlbumPicture(Tm3u* album, int kind, const QString& fileName) {
    if (!album) return false;
    int result = PictureNothingDone;
    TFailure failure;
    if (kind == PictureFromClipboard) {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        const std::string jpeg =
            ClipboardPictureAsJpeg(clipboard ? clipboard->mimeData() : nullptr);
        result = SetPicture(*album, kind, {}, jpeg, {}, &failure);
    } else {
        result = SetPicture(*album, kind, fileName.toStdString(), {}, PictureFileToJpeg, &failure);
    }
    switch (result) {
        case PictureDone:
            PictureReplaced(album);
            return true;
        case PictureClipboardEmpty:
            prompts_.Error(QStr(LangText("CouldNotPasteImage", "Could not paste image !")));
            break;
        case PictureFileUnreadable:
            prompts_.Error(QStr(LangText("CouldNotReadFile", "Could not read file")) + ' ' +
                           fileName);
            break;
        case PictureNotWritten:
        case PictureNotDeleted:
            prompts_.Error(FailureText(failure));
            break;
        default:
            prompts_.Error(QStr(LangText("CouldNotChangeImage", "Could not change the image")));
            break;
    }
    // The cached cover is gone even when the picture stayed.
    emit PictureChanged(album);
    return false;
}

void TCoversController::PanelImageDropped(const QStringList& files) {
    Tm3u* album = currentAlbum_();
    if (album && !files.isEmpty()) ChangeAlbumPicture(album, PictureFromFile, files.first());
}

void TCoversController::ActionAlbumPasteImageExecute() {
    if (Tm3u* album = currentAlbum_()) ChangeAlbumPicture(album, PictureFromClipboard);
}

void TCoversController::ActionAlbumLoadImageExecute() {
    Tm3u* album = currentAlbum_();
    if (!album) return;
    const QString path =
        prompts_.OpenFileName(QStr(ExtractFilePath(album->PlaylistPath)), kPictureFilters);
    if (!path.isEmpty()) ChangeAlbumPicture(album, PictureFromFile, path);
}

void TCoversController::ActionAlbumDeleteImageExecute() {
    Tm3u* album = currentAlbum_();
    if (album && prompts_.Confirm(QStr(LangText("AreYouSure", "Are you sure ?"))))
        ChangeAlbumPicture(album, PictureDelete);
}

// --- covers databases ------------------------------------------------------------

void TCoversController::ActionListExportCoToCdbExecute(bool fromManagement) {
    const std::string path = LocalDbPath();
    std::optional<TResult<TCoverExport>> exported;
    {
        TBusy busy(shell_);
        exported.emplace(ExportCoversToDbFile(
            session_.Catalogue.Directory, path, session_.Settings.CoversDBDefaultPictureQuality,
            TOtherVersion::Rebuild, ReplacePrompts([this](const std::string& text) {
                return prompts_.Confirm(QStr(text));
            }),
            busy.Progress));
    }
    // A file that could not be read whole is left as it is, and said so.
    if (!*exported) {
        prompts_.Error(FailureText(exported->Failure()));
        return;
    }
    const TCoverExport& result = **exported;
    if (!result.VersionMessage.empty()) prompts_.Error(QStr(result.VersionMessage));
    if (result.StartedEmpty)
        prompts_.Inform(QStr(LangText("EmptyCdbFile",
                                      "The CoversDB file is empty or of a wrong version. Covers "
                                      "will be exported now.")));
    if (result.Count > 0) {
        prompts_.Inform(QString::number(result.Count) + ' ' +
                        QStr(LangText("CoversAdded", "covers added or updated")));
        if (!fromManagement) ActionToolsCoversMgtExecute();
    } else {
        prompts_.Inform(
            QStr(LangText("CoversDBuptodate", "The local CoversDB was already up to date")));
    }
}

void TCoversController::ActionListExportCoToFileExecute() {
    const QString chosen = prompts_.SaveFileName(QStr(ProgramFolderPath), kCdbSaveFilter);
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toStdString();
    if (IsLocalCoverDbName(path)) {
        prompts_.Error(QStr(LangText("CannotOverwriteLocalCoversDB",
                                     "Cannot overwrite the default covers database")));
        return;
    }
    std::optional<TResult<void>> written;
    {
        TBusy busy(shell_);
        written.emplace(ExportAllCoversToFile(session_.Catalogue.Directory, path,
                                              session_.Settings.CoversDBDefaultPictureQuality,
                                              busy.Progress));
    }
    if (!*written) prompts_.Error(FailureText(written->Failure()));
}

int TCoversController::ImportFromLocal(bool coverlessOnly, Tm3u* only) {
    const std::string path = LocalDbPath();
    if (!FileExists(path)) {
        prompts_.Error(QStr(LangText("NoLocalCoversDB", "No local CoversDB found !")));
        return -1;
    }
    std::optional<TResult<TCoverImportResult>> imported;
    {
        TBusy busy(shell_);
        imported.emplace(ImportCoversFromDbFile(
            session_.Catalogue.Directory, path, session_.Settings.CoversDBDefaultPictureQuality,
            {coverlessOnly, only, TExistingPicture::Replace},
            ReplacePrompts([this](const std::string& text) { return prompts_.Confirm(QStr(text)); }),
            busy.Progress));
    }
    if (!*imported) {
        prompts_.Error(FailureText(imported->Failure()));
        return -1;
    }
    const TCoverImportResult& result = **imported;
    if (!result.VersionMessage.empty()) prompts_.Error(QStr(result.VersionMessage));
    for (const TFailure& failure : result.Failures) prompts_.Error(FailureText(failure));
    // Pictures already written are the list's news even when others failed.
    return result.Count;
}

void TCoversController::ActionListImportFromCdbExecute() {
    const auto choice = coverPrompts_.AskYesNoCancel(
        QStr(LangText("ImportCoverLessOnly", "Import covers only for cover-less albums ?")));
    if (choice == TCoverPrompts::TChoice::Cancel) return;
    const int count = ImportFromLocal(choice == TCoverPrompts::TChoice::Yes, nullptr);
    if (count < 0) return;
    if (count == 0) {
        prompts_.Inform(QStr(LangText("NothingUpdated", "Nothing updated !")));
        return;
    }
    session_.MarkModified();
    prompts_.Inform(QString::number(count) + ' ' +
                    QStr(LangText("CoversAdded", "covers added or updated")));
    emit PicturesChanged();
    shell_.RefreshCommands();
}

void TCoversController::ActionAlbumImportCoverExecute() {
    Tm3u* album = currentAlbum_();
    if (album && ImportFromLocal(false, album) > 0) PictureReplaced(album);
}

void TCoversController::ActionToolsCoversMgtExecute() {
    if (!FileExists(LocalDbPath()) &&
        prompts_.Confirm(QStr(LangText("AutoCreateCoversDB",
                                       "You should create your local CoversDB file. Do you want "
                                       "to export your covers now ?"))))
        ActionListExportCoToCdbExecute(true);
    if (!management_) {
        management_ = new TFormCoversManagement(prompts_, coverPrompts_, shell_.Window());
        shell_.RegisterTranslatableWindow(management_);
    }
    {
        // The main window takes no input while the window reads its database.
        TShellBusy busy(shell_);
        management_->Start(ProgramFolderPath, session_.Settings.CoversDBDefaultPictureQuality);
    }
    management_->open();
}
