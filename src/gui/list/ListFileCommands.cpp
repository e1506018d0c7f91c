#include "gui/list/ListFileCommands.h"

#include <optional>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <ctime>
#include <iostream>

#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/OffThread.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanProgress.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/ShellPort.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

const char* const kListOpenFilters =
    "All Mavelo (*.mvo *.cmo);;Mavelo (*.mvo);;Mavelo CD/DVD auto-launch (*.cmo)";
const char* const kListSaveFilters = "Mavelo (*.mvo);;Mavelo CD/DVD auto-launch (*.cmo)";

namespace {
// The timing log never stops the operation it times.
void TryWriteLog(const std::string& line) {
    try {
        WriteLog(line);
    } catch (const std::exception&) {
    }
}

// A line for whoever reads the log of a session that ended without a window
// to show it in.
void TellTheLog(const std::string& line) {
    std::cerr << "mavelo: " << line << std::endl;
    TryWriteLog(line);  // when logging is on
}

// Where a list without a name is offered to be saved: the user's music
// folder when there is one, else the program folder.
QString SuggestedListPath() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    const QString folder = QFileInfo(music).isDir() ? music : QStr(ProgramFolder());
    return QDir(folder).filePath("mavelo.mvo");
}
}  // namespace

// The load or save runs off the window thread (the views let go of the
// albums before a load), the bar showing its progress.
template <typename Operation>
auto TListFileCommands::WithProgress(Operation operation) {
    TShellBusy busy(shell_);
    TProgressGuard guard(progress_, TProgressDisplay::Bar);
    TProgress progress;
    progress_.StartBar(progress);
    std::optional<decltype(operation(&progress))> result;
    RunOffWindowThread([&] { result.emplace(operation(&progress)); });
    return std::move(*result);
}

TListFileCommands::TListFileCommands(TListViews& views, TProgressDisplay& progress)
    : QObject(&views),
      views_(views),
      session_(views.Session()),
      shell_(views.Shell()),
      progress_(progress) {
    connect(shell_.Action(TCommandId::FileLoad), &QAction::triggered, this,
            &TListFileCommands::ActionFileLoadExecute);
    connect(shell_.Action(TCommandId::FileSave), &QAction::triggered, this,
            &TListFileCommands::ActionFileSaveExecute);
    connect(shell_.Action(TCommandId::FileSaveAs), &QAction::triggered, this,
            &TListFileCommands::ActionFileSaveAsExecute);
    connect(shell_.Action(TCommandId::FileClose), &QAction::triggered, this,
            &TListFileCommands::ActionFileCloseExecute);
}

bool TListFileCommands::SaveIfModified() {
    if (!session_.Catalogue.ListModified) return true;
    // Declining to name an unnamed list lets it go, as the user chose; a list
    // whose write failed (the user was told) must not be replaced or closed.
    return ActionFileSaveExecute() || session_.Catalogue.CurrentFile.empty();
}

void TListFileCommands::AskToCacheCovers() {
    if (!CacheAllCovers) return;  // nothing could be done about it
    bool needed;
    {
        TWaitCursor wait;
        needed = CoversNeedCaching(session_.Catalogue.Directory, session_.Settings.CacheCovers);
    }
    if (needed && views_.Prompts().Confirm(QStr(LangText(
                      "CacheCovers",
                      "There are covers with no cached covers, do you want to cache them now ?"))))
        CacheAllCovers();
}

bool TListFileCommands::ActionFileSaveExecute() {
    if (session_.Catalogue.CurrentFile.empty()) return SaveAs(false);
    AskToCacheCovers();
    return SaveCurrentFile();
}

TListSaveResult TListFileCommands::WriteCurrentFile() {
    TCatalogue& catalogue = session_.Catalogue;
    TSettings& settings = session_.Settings;
    const TListSaveResult result = WithProgress(
        [&](TProgress* progress) {
            return SaveListFile(catalogue, settings.CacheCoversQuality, settings.RecentFiles,
                                progress);
        });
    if (settings.Log) TryWriteLog(LogLineSave(int(result.albums), result.elapsedMs));
    session_.NotifyChanged();
    views_.UpdateTitle();
    return result;
}

bool TListFileCommands::SaveCurrentFile() {
    const TListSaveResult result = WriteCurrentFile();
    if (!result.saved)
        views_.Prompts().Error(QStr(LangText("CouldNotSaveList", "Could not save the list file")) +
                               ' ' + QStr(session_.Catalogue.CurrentFile) + "\n" +
                               QStr(result.error));
    return result.saved;
}

void TListFileCommands::SaveUnattended() {
    TCatalogue& catalogue = session_.Catalogue;
    if (!catalogue.ListModified) return;
    if (catalogue.CurrentFile.empty()) {
        catalogue.CurrentFile = RecoveryListPath(ProgramFolder(), std::time(nullptr));
        TellTheLog("the new list had no name; it is saved as " + catalogue.CurrentFile);
    }
    const TListSaveResult result = WriteCurrentFile();
    if (!result.saved)
        TellTheLog(LangText("CouldNotSaveList", "Could not save the list file") + " " +
                   catalogue.CurrentFile + ": " + result.error);
}

bool TListFileCommands::ActionFileSaveAsExecute() {
    return SaveAs(false);
}

bool TListFileCommands::SaveAs(bool coversAsked) {
    if (!coversAsked) AskToCacheCovers();
    const std::string& current = session_.Catalogue.CurrentFile;
    const QString start = current.empty() ? SuggestedListPath() : QStr(current);
    const QString path = views_.Prompts().SaveFileName(start, kListSaveFilters);
    if (path.isEmpty()) return false;
    session_.Catalogue.CurrentFile = path.toStdString();
    // The cover question was answered a moment ago: it is not asked twice.
    return SaveCurrentFile();
}

void TListFileCommands::CloseList() {
    views_.EmptyViews();
    ::CloseList(session_.Catalogue);
    ListReplaced();
}

void TListFileCommands::ListReplaced() {
    views_.RefreshChoosers();
    session_.NotifyChanged();
    views_.Resort();
    views_.Page().Grid()->setFocus();
}

void TListFileCommands::ActionFileCloseExecute() {
    if (SaveIfModified()) CloseList();
}

void TListFileCommands::ActionFileLoadExecute() {
    if (!SaveIfModified()) return;
    const QString path = views_.Prompts().OpenFileName(QStr(ProgramFolder()), kListOpenFilters);
    if (path.isEmpty()) return;
    LoadFile(path.toStdString());
}

void TListFileCommands::OpenRecentFile(std::string path) {
    if (!FileExists(path)) return;  // it stays in the list
    if (SaveIfModified()) LoadFile(std::move(path));
}

void TListFileCommands::LoadFile(std::string path) {
    views_.EmptyViews();
    ::CloseList(session_.Catalogue);
    session_.Catalogue.CurrentFile = std::move(path);
    LoadCurrentFile();
}

void TListFileCommands::OpenLastFile() {
    const std::string last = session_.Settings.CurrentFile;
    if (last.empty())
        ListReplaced();
    else
        LoadFile(last);
}

void TListFileCommands::LoadCurrentFile() {
    TCatalogue& catalogue = session_.Catalogue;
    TSettings& settings = session_.Settings;
    // A copy: opening starts by closing the list, which empties CurrentFile.
    const std::string path = catalogue.CurrentFile;
    int32_t quality = settings.CacheCoversQuality;
    const TListLoadResult result =
        WithProgress([&](TProgress* progress) {
            return OpenListFile(path, catalogue, quality, settings.RecentFiles, progress);
        });
    settings.CacheCoversQuality = quality;
    catalogue.ListModified = false;
    if (result.status != TListLoadStatus::Missing && settings.Log)
        TryWriteLog(LogLineLoad(int(result.albums), result.elapsedMs));
    ListReplaced();
    ReportLoad(result);
}

void TListFileCommands::ReportLoad(const TListLoadResult& result) {
    const QString file = QStr(session_.Catalogue.CurrentFile);
    switch (result.status) {
        case TListLoadStatus::WrongVersion:
            views_.Prompts().Error(
                QStr(LangText("IncorrectMvoFile", "Incorrect file format or version !")));
            break;
        case TListLoadStatus::Damaged:
            views_.Prompts().Error(
                QStr(LangText("DamagedMvoFile",
                              "The list file is damaged; the albums before the damage were "
                              "read:")) +
                ' ' + QString::number(result.albums) + "\n" + file);
            break;
        case TListLoadStatus::Unreadable:
            views_.Prompts().Error(QStr(LangText("CouldNotReadFile", "Could not read file")) + ' ' +
                                   file + "\n" + QStr(result.error));
            break;
        default:
            break;
    }
}
