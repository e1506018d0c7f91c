#include "gui/list/ListWindows.h"

#include "collection/Udir_obj.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/list/CdCommands.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/ScanProgress.h"
#include "gui/list/SearchCommands.h"
#include "gui/list/Uselection.h"
#include "gui/shell/MainPanels.h"
#include "views/OpticalMedia.h"

TListWindows::TListWindows(TSession& session, TShellPort& shell, TPrompts& prompts,
                           const TListPageHost& host, const std::string& mountTable,
                           QObject* parent)
    : QObject(parent), session_(session) {
    setObjectName("ListWindows");
    views_ = new TListViews(session, shell, prompts, host, this);
    progress_ = new TProgressDisplay(&host.statusBar);
    files_ = new TListFileCommands(*views_, *progress_);
    scans_ = new TScanCommands(*views_, *files_, *progress_);
    selections_ = new TSelectionCommands(*views_);
    search_ = new TSearchCommands(*views_);
    cd_ = new TCdCommands(*views_, *files_, *scans_,
                          mountTable.empty() ? std::string(kMountTable) : mountTable);
    // Dropping a cached cover is a change of the list.
    session.Catalogue.Directory.OnCachedCoverDropped = [this] { views_->SetModified(); };
}

TListWindows::~TListWindows() {
    session_.Catalogue.Directory.OnCachedCoverDropped = {};
}

void TListWindows::OpenCatalogue() {
    if (session_.Settings.CDAutoScan && cd_->CheckProgramDisc()) return;
    files_->OpenLastFile();
}

bool TListWindows::BeforeExit(bool mayAsk, bool opened) {
    if (!mayAsk) {
        files_->SaveUnattended();
    } else {
        // A list whose save failed (the user was told why) or whose name the
        // user did not give loses its changes when the window closes: ask
        // before letting them go.
        const bool saved = files_->SaveIfModified() && !session_.Catalogue.ListModified;
        if (!saved &&
            !views_->Prompts().Confirm(QStr(
                LangText("LoseUnsavedList",
                         "The list could not be saved. Close anyway and lose its changes ?"))))
            return false;
    }
    // A window closed before its first activation never opened the list:
    // the stored list file and pages stay as they were.
    if (!opened) return true;
    TSettings& settings = session_.Settings;
    settings.CurrentFile = session_.Catalogue.CurrentFile;
    settings.CurrentPageList = views_->ListPageIndex();
    settings.DetailsHeight = views_->Page().DetailsHeight();
    return true;
}

void TListWindows::Free() {
    views_->EmptyViews();
}
