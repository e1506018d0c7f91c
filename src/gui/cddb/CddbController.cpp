#include "gui/cddb/CddbController.h"

#include <QAction>

#include "collection/Um3u_obj.h"
#include "gui/cddb/FormBatch.h"
#include "gui/cddb/FormEdit.h"
#include "gui/cddb/FormFreeDB.h"
#include "gui/cddb/OffThread.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/shell/ShellPort.h"

namespace {
// Runs a command once at a time: a lookup lets events run, and a second
// press must not start another over the same album.
class TRunGuard {
  public:
    explicit TRunGuard(bool& running) : running_(running), entered_(!running) { running_ = true; }
    ~TRunGuard() {
        if (entered_) running_ = false;
    }
    bool Entered() const { return entered_; }

  private:
    bool& running_;
    bool entered_;
};
}  // namespace

TCddbController::TCddbController(TSession& session, TShellPort& shell, TPrompts& prompts,
                                 TCddbHooks hooks)
    : session_(session), shell_(shell), prompts_(prompts), hooks_(std::move(hooks)) {
    editor_ = std::make_unique<TFormEdit>(shell.Window(), &prompts);
    progress_ = std::make_unique<TFormFreeDB>(shell.Window());
    shell.RegisterTranslatableWindow(editor_.get());
    shell.RegisterTranslatableWindow(progress_.get());
    connect(shell.Action(TCommandId::AlbumEdit), &QAction::triggered, this,
            &TCddbController::EditAlbum);
    connect(shell.Action(TCommandId::AlbumUpdate), &QAction::triggered, this,
            &TCddbController::ScanAlbum);
    connect(shell.Action(TCommandId::AlbumFreeDB), &QAction::triggered, this,
            &TCddbController::UpdateAlbum);
    connect(shell.Action(TCommandId::AlbumSaveInfo), &QAction::triggered, this,
            &TCddbController::SaveInfo);
    connect(shell.Action(TCommandId::ListBatch), &QAction::triggered, this,
            &TCddbController::RunBatch);
}

TCddbController::~TCddbController() = default;

TFormBatch* TCddbController::BatchDialog() {
    if (!batch_) {
        // Made once, so its check boxes keep their state for the program run.
        batch_ =
            std::make_unique<TFormBatch>(shell_.Window(), session_.Settings.FreeDBBatchTagging);
        shell_.RegisterTranslatableWindow(batch_.get());
    }
    return batch_.get();
}

TFreeDBServer TCddbController::Server() const {
    const auto& s = session_.Settings;
    return {s.FreeDB, s.FreeDBLogin, s.FreeDBHostName, OffThreadHttpGet()};
}

TFreeDBUpdateOptions TCddbController::SettingsOptions() const {
    const auto& s = session_.Settings;
    TFreeDBUpdateOptions options;
    options.Server = Server();
    options.SearchAndTag = s.FreeDBTag;
    options.Apply.TagType = Id3ChoiceFromInt(s.FreeDBTagging);
    options.Apply.RenameFiles = s.FreeDBRenameFile;
    options.Apply.RenamePlaylist = s.FreeDBRenamePlayList;
    options.Apply.RenameFolder = s.FreeDBRenameDir;
    options.Apply.TrackFormat = s.TrackFormat;
    options.Apply.ListFormat = s.ListFormat;
    options.Measure = hooks_.measure;
    options.ReadTags = hooks_.readTags;
    return options;
}

void TCddbController::AlbumChanged(Tm3u& album) {
    session_.Catalogue.Directory.RekeyAlbum(&album);
    session_.MarkModified();
    shell_.RefreshCommands();
    emit albumChanged(&album);
}

void TCddbController::ReportFailures(const TAlbumApplyReport& report) {
    if (report.Failures.empty()) return;
    QString text;
    for (const auto& failure : report.Failures) text += QString::fromStdString(failure) + "\n";
    prompts_.Error(text.trimmed());
}

bool TCddbController::RunEditor(Tm3u& album, const std::string& listFormat,
                                bool allowRenameDir) {
    auto& s = session_.Settings;
    TEditInputs inputs;
    inputs.Server = Server();
    inputs.UseFreeDB = s.UseFreeDB;
    inputs.TrackFormat = s.TrackFormat;
    inputs.ListFormat = listFormat;
    inputs.TagType = s.DefaultTagging;
    inputs.Measure = hooks_.measure;
    inputs.AllowRenameDir = allowRenameDir;
    editor_->Open(album, inputs);
    const bool applied = editor_->exec() == QDialog::Accepted;
    s.DefaultTagging = editor_->TagType();  // kept however the editor closed
    return applied;
}

void TCddbController::EditAlbum() {
    Tm3u* album = hooks_.currentAlbum ? hooks_.currentAlbum() : nullptr;
    TRunGuard guard(running_);
    if (!album || !guard.Entered()) return;
    const TPictureState pictureState = album->PictureState;
    if (!RunEditor(*album, session_.Settings.ListFormat, true)) {
        // The picture panel changes the album at once, Apply or not.
        if (album->PictureState != pictureState) session_.MarkModified();
        return;
    }
    AlbumChanged(*album);
    ReportFailures(editor_->Report());
}

std::string TCddbController::EditPlaylist(Tm3u& album, const std::string& listFormat) {
    TRunGuard guard(running_);
    if (guard.Entered() && RunEditor(album, listFormat, false))
        ReportFailures(editor_->Report());
    return album.PlaylistPath.str();
}

void TCddbController::ScanAlbum() {
    Tm3u* album = hooks_.currentAlbum ? hooks_.currentAlbum() : nullptr;
    TRunGuard guard(running_);
    if (!album || !guard.Entered()) return;
    shell_.SetBusy(true);
    album->Refresh(true, hooks_.readTags);
    shell_.SetBusy(false);
    AlbumChanged(*album);
}

void TCddbController::SaveInfo() {
    Tm3u* album = hooks_.currentAlbum ? hooks_.currentAlbum() : nullptr;
    if (!album) return;
    TAlbumApplyReport report;
    WriteAlbumPlaylist(*album, album->PlaylistType(), report);
    ReportFailures(report);
}

TFreeDBBatchResult TCddbController::RunUpdates(const std::vector<Tm3u*>& albums,
                                               TFreeDBUpdateOptions options, bool showEach) {
    // Durations are measured here, through the player's sound system, which
    // belongs to this thread; the rest runs off it.
    for (Tm3u* album : albums) AlbumDurations(*album, options.Measure);
    options.Measure = {};
    options.Server.Get = {};  // the plain request: it already runs off the window thread
    TProgress progress;
    progress_->Track(&progress);
    progress_->show();
    // The albums change under the main window: the progress window keeps
    // its input away (it is modal, which also holds back the folder watcher)
    // and it does not paint them meanwhile.
    QWidget* window = shell_.Window();
    const bool updates = window && window->updatesEnabled();
    if (window) window->setUpdatesEnabled(false);
    TFreeDBBatchResult batch;
    RunOffWindowThread([&] { batch = RunFreeDBBatch(albums, options, *progress_, progress); });
    if (window) window->setUpdatesEnabled(updates);
    progress_->Track(nullptr);
    for (const auto& outcome : batch.Albums) {
        AlbumChanged(*outcome.Album);
        if (hooks_.showAlbum && showEach) hooks_.showAlbum(outcome.Album);
    }
    return batch;
}

void TCddbController::UpdateAlbum() {
    Tm3u* album = hooks_.currentAlbum ? hooks_.currentAlbum() : nullptr;
    TRunGuard guard(running_);
    if (!album || !guard.Entered()) return;
    const auto batch = RunUpdates({album}, SettingsOptions(), false);
    const auto& result = batch.Albums.front().Result;
    // On failure the window stays with its comment until the user closes it.
    if (result.Success) progress_->hide();
    ReportFailures(result.Report);
}

void TCddbController::RunBatch() {
    TRunGuard guard(running_);
    if (!guard.Entered()) return;
    TFormBatch* dialog = BatchDialog();
    if (dialog->exec() != QDialog::Accepted) return;
    session_.Settings.FreeDBBatchTagging = dialog->TagType();
    auto options = SettingsOptions();
    options.SearchAndTag = dialog->SearchAndTag();
    options.Apply.TagType = Id3ChoiceFromInt(dialog->TagType());
    options.Apply.RenameFiles = dialog->RenameFiles();
    options.Apply.RenamePlaylist = dialog->RenamePlaylist();
    options.Apply.RenameFolder = dialog->RenameFolder();
    const auto batch = RunUpdates(BatchAlbums(session_.Catalogue.View.Albums()), options, true);
    progress_->hide();
    TAlbumApplyReport failures;
    for (const auto& outcome : batch.Albums)
        for (const auto& f : outcome.Result.Report.Failures) failures.Failures.push_back(f);
    // The current album stays current in its new place.
    if (!batch.Albums.empty()) emit albumsRetagged();
    ReportFailures(failures);
}
