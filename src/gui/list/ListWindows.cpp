#include "gui/list/ListWindows.h"

#include <QStatusBar>

#include "collection/Um3u_obj.h"
#include "core/Ulang.h"
#include "gui/list/CdCommands.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/ScanProgress.h"
#include "gui/shell/Umain.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/common/Prompts.h"
#include "gui/list/SearchCommands.h"
#include "gui/list/Uselection.h"
#include "views/OpticalMedia.h"

TListWindows::TListWindows(TFormMain& main, const std::string& mountTable)
    : QObject(&main), main_(main), prompts_(std::make_unique<TPrompts>(&main)) {
    setObjectName("ListWindows");
    views_ = new TListViews(main, prompts_);
    progress_ = new TProgressDisplay(main.statusBar());
    files_ = new TListFileCommands(*views_, *progress_);
    scans_ = new TScanCommands(*views_, *files_, *progress_);
    selections_ = new TSelectionCommands(*views_);
    search_ = new TSearchCommands(*views_);
    cd_ = new TCdCommands(*views_, *files_, *scans_,
                          mountTable.empty() ? std::string(kMountTable) : mountTable);
    // Dropping a cached cover is a change of the list.
    Tm3u::OnCachedCoverDropped = [this] { views_->SetModified(); };
}

TListWindows::~TListWindows() {
    Tm3u::OnCachedCoverDropped = {};
}

void TListWindows::SetPrompts(std::unique_ptr<TPrompts> prompts) {
    prompts_ = std::move(prompts);
}

void TListWindows::PrepareWindows() {
    views_->PrepareWindows();
}

void TListWindows::OpenCatalogue() {
    if (main_.Settings().CDAutoScan && cd_->CheckProgramDisc()) return;
    files_->OpenLastFile();
}

void TListWindows::ShowListPage(int listPage) {
    views_->ShowListPage(listPage);
}

void TListWindows::RefreshTexts() {
    views_->RefreshTexts();
}

void TListWindows::OpenRecentFile(const std::string& path) {
    files_->OpenRecentFile(path);
}

void TListWindows::SortOrderChanged() {
    views_->SortOrderChanged();
}

bool TListWindows::BeforeExit(bool mayAsk) {
    // A list whose save failed (the user was told why) loses its changes
    // when the window closes: ask before letting them go.
    if (!files_->SaveIfModified() && mayAsk &&
        !views_->Prompts().Confirm(
            QStr(LangText("LoseUnsavedList",
                          "The list could not be saved. Close anyway and lose its changes ?"))))
        return false;
    // A window closed before its first activation never opened the list:
    // the stored list file and pages stay as they were.
    if (!main_.FirstActivationDone()) return true;
    TSettings& settings = main_.Settings();
    settings.CurrentFile = main_.CurrentFile;
    settings.CurrentPageList = views_->ListPageIndex();
    settings.DetailsHeight = views_->Page().DetailsHeight();
    return true;
}

void TListWindows::Free() {
    views_->EmptyViews();
}

TCommandState TListWindows::State() const {
    return views_->State();
}
