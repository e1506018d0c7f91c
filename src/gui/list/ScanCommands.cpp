#include "gui/list/ScanCommands.h"

#include <algorithm>

#include <QAction>
#include <QStatusBar>
#include <QStringList>

#include "collection/Udir_obj.h"
#include "core/Log.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/OffThread.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanProgress.h"
#include "gui/list/Urootdirs.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/ShellPort.h"
#include "views/Catalogue.h"
#include "views/OpticalMedia.h"

TScanCommands::TScanCommands(TListViews& views, TListFileCommands& files,
                             TProgressDisplay& progress)
    : QObject(&views),
      views_(views),
      session_(views.Session()),
      shell_(views.Shell()),
      files_(files),
      progress_(progress) {
    formRootDirs_ = new TFormRootDirs(shell_.Window());
    shell_.RegisterTranslatableWindow(formRootDirs_);
    if (QWidget* picker = formRootDirs_->findChild<QWidget*>("FormGetDirectory"))
        shell_.RegisterTranslatableWindow(picker);
    auto on = [this](TCommandId id, void (TScanCommands::*handler)()) {
        connect(shell_.Action(id), &QAction::triggered, this, handler);
    };
    on(TCommandId::FileNew, &TScanCommands::ActionFileNewExecute);
    on(TCommandId::ListUpdate, &TScanCommands::ActionListUpdateExecute);
    on(TCommandId::ListFastUpdate, &TScanCommands::ActionListFastUpdateExecute);
    on(TCommandId::ListAddRoot, &TScanCommands::ActionListAddRootExecute);
    on(TCommandId::ListRemoveRoot, &TScanCommands::ActionListRemoveRootExecute);
    on(TCommandId::AlbumRemove, &TScanCommands::ActionAlbumRemoveExecute);
}

namespace {
QString ScanNote(const TScanResult& result) {
    QStringList parts;
    for (const auto& root : result.missingRoots)
        parts << QStr(LangText("RootMissing", "Missing or not mounted, albums kept:")) + ' ' +
                     QStr(root);
    const TUnreadable& unreadable = result.unreadable;
    if (unreadable.folders + unreadable.files > 0) {
        // The first few are named: a folder whose albums were kept is worth a look.
        constexpr size_t kNamed = 3;
        QStringList named;
        for (size_t i = 0; i < std::min(kNamed, unreadable.paths.size()); ++i)
            named << QStr(unreadable.paths[i]);
        if (unreadable.paths.size() > kNamed) named << "...";
        parts << QStr(LangText("ScanUnreadable", "Could not be read: %1 folders, %2 files"))
                         .arg(unreadable.folders)
                         .arg(unreadable.files) +
                     " (" + named.join(", ") + ")";
    }
    return parts.join("; ");
}
}  // namespace

void TScanCommands::RunOffWindowThread(TProgress& progress, const std::function<void()>& work) {
    TProgressGuard guard(progress_, TProgressDisplay::FolderCount);
    progress_.StartScan(progress);
    ::RunOffWindowThread(work);
}

TScanResult TScanCommands::RunScanJob(bool force, TScanJob& job) {
    RunOffWindowThread(job.Progress, [&job] { job.Run(); });  // touches only the job's copy
    // A rescan frees the albums whose playlist vanished: the views let go of
    // every album first.
    views_.EmptyViews();
    const TScanResult result = job.Apply(session_.Catalogue.Directory, session_.Catalogue.Roots);
    ReportScan(force, result, job.Progress.Done());
    return result;
}

std::unique_ptr<TDirectory> TScanCommands::ScanDisc(const std::string& root) {
    // The window counts the folders first, as for every scan, for the total.
    TMediumScan scan(root, true, session_.Catalogue.Directory.TagReader);
    RunOffWindowThread(scan.Job().Progress, [&scan] { scan.Job().Run(); });
    TScanResult result;
    std::unique_ptr<TDirectory> scanned = scan.Finish(result);
    ReportScan(true, result, scan.Job().Progress.Done());
    return scanned;
}

void TScanCommands::ReportScan(bool force, const TScanResult& result, int64_t folders) {
    const TSettings& settings = session_.Settings;
    if (result.cancelled) {
        shell_.ShowStatus(QStr(LangText("ScanCancelled", "Scan cancelled: the list is unchanged")));
        return;
    }
    // Roots the scan could not see and what it could not read stay in view.
    if (const QString note = ScanNote(result); !note.isEmpty()) shell_.ShowStatus(note);
    if (settings.Log) {
        try {
            WriteLog(LogLineScan(force, int(folders), int(session_.Catalogue.Albums().Count()),
                                 result.elapsedMs));
        } catch (const std::exception&) {
        }
    }
}

std::string TScanCommands::CurrentKey() const {
    const Tm3u* current = views_.Page().CurrentAlbum();
    return current ? current->PlaylistPath.str() : std::string();
}

void TScanCommands::ShowAlbumOf(const std::string& key) {
    if (const Tm3u* album = session_.Catalogue.Directory.List.Find(key))
        views_.Page().SetCurrentAlbum(album);
}

void TScanCommands::RebuildViews() {
    views_.RebuildViewList();
    views_.RefillAlbumGrid();
    views_.UpdateTitle();
}

void TScanCommands::ScanAndResort(bool force, TScanJob& job) {
    const std::string current = CurrentKey();
    {
        TShellBusy busy(shell_);
        const TScanResult result = RunScanJob(force, job);
        if (!result.cancelled) views_.SetModified();
        views_.Resort();
    }
    ShowAlbumOf(current);
}

void TScanCommands::Rescan(bool force) {
    TCatalogue& catalogue = session_.Catalogue;
    // The window always counts the folders first, for the total and the bar.
    const auto job = TScanJob::ForRescan(catalogue.Directory, catalogue.Roots, force, true);
    ScanAndResort(force, *job);
}

void TScanCommands::ActionFileNewExecute() {
    TFormRootDirs& dialog = *formRootDirs_;
    dialog.Prepare(TFormRootDirs::AddMode, {});
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<std::string> roots = dialog.NewFolders();
    if (!roots.empty()) NewList(roots);
}

void TScanCommands::NewList(const std::vector<std::string>& roots) {
    TCatalogue& catalogue = session_.Catalogue;
    if (!files_.SaveIfModified()) return;
    files_.CloseList();
    catalogue.CurrentFile.clear();
    catalogue.Roots.Assign(roots);
    views_.SetModified();
    if (RunPlaylistBuilder) RunPlaylistBuilder(catalogue.Roots.Folders());
    Rescan(true);
    if (catalogue.Albums().Empty())
        views_.Prompts().Inform(QStr(LangText("NoAlbumFound", "No album found !")));
    else
        files_.ActionFileSaveAsExecute();  // a new list is named at once
}

void TScanCommands::ActionListAddRootExecute() {
    TFormRootDirs& dialog = *formRootDirs_;
    dialog.Prepare(TFormRootDirs::AddMode, session_.Catalogue.Roots.Folders());
    if (dialog.exec() != QDialog::Accepted) return;
    AddRoots(std::vector<std::string>(dialog.NewFolders()));
}

void TScanCommands::AddRoots(const std::vector<std::string>& folders) {
    if (folders.empty()) return;
    const auto job = TScanJob::ForAddRoots(session_.Catalogue.Directory, folders, true);
    ScanAndResort(true, *job);
}

void TScanCommands::ActionListRemoveRootExecute() {
    TFormRootDirs& dialog = *formRootDirs_;
    const std::vector<std::string> roots = session_.Catalogue.Roots.Folders();
    dialog.Prepare(TFormRootDirs::ChangeMode, roots);
    if (dialog.exec() != QDialog::Accepted) return;
    const int index = dialog.ChosenIndex();
    if (index < 0 || size_t(index) >= roots.size()) return;
    if (dialog.ResultCode() == TFormRootDirs::Moved) {
        const QString question =
            QStr(LangText("MoveRoot1", "Are you sure you have moved the content of")) + ' ' +
            QStr(roots[size_t(index)]) + ' ' + QStr(LangText("MoveRoot2", "to")) + ' ' +
            QStr(dialog.MovedTo()) + " ?";
        if (views_.Prompts().Confirm(question)) MoveRoot(roots[size_t(index)], dialog.MovedTo());
    } else if (dialog.ResultCode() == TFormRootDirs::Removed) {
        const QString question =
            QStr(LangText("RemoveRoot", "Are you sure you want to remove all albums from")) + ' ' +
            QStr(roots[size_t(index)]);
        if (views_.Prompts().Confirm(question)) RemoveRoot(roots[size_t(index)]);
    }
}

void TScanCommands::MoveRoot(const std::string& oldRoot, const std::string& newRoot) {
    TCatalogue& catalogue = session_.Catalogue;
    views_.SetModified();
    ::MoveRoot(catalogue.Directory, catalogue.Roots, oldRoot, newRoot);
    RebuildViews();
}

void TScanCommands::RemoveRoot(const std::string& root) {
    TCatalogue& catalogue = session_.Catalogue;
    views_.SetModified();
    views_.EmptyViews();
    ::RemoveRoot(catalogue.Directory, catalogue.Roots, root);
    RebuildViews();
}

void TScanCommands::ActionAlbumRemoveExecute() {
    const Tm3u* album = views_.Page().CurrentAlbum();
    if (!album) return;
    if (!views_.Prompts().Confirm(QStr(LangText("AreYouSure", "Are you sure ?")))) return;
    const int row = views_.Page().CurrentRow();
    views_.EmptyViews();
    session_.Catalogue.Directory.RemoveAlbum(album);  // selections forget it too
    views_.SetModified();
    RebuildViews();
    views_.Page().SetCurrentRow(std::min(row, views_.Page().AlbumRows() - 1));
}

// ---- Folders changed on disk ----

void TScanCommands::RescanFolders(const std::vector<std::string>& folders) {
    TCatalogue& catalogue = session_.Catalogue;
    const auto job = TScanJob::ForFolders(catalogue.Directory, catalogue.Roots, folders);
    ScanAndResort(false, *job);
}
