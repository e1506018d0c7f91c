#include "gui/list/CdCommands.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include "collection/Udir_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "gui/common/Session.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/Ucmochoose.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/ShellPort.h"
#include "views/Catalogue.h"
#include "views/OpticalMedia.h"

namespace {
constexpr int kPollIntervalMs = 2000;
}

TCdCommands::TCdCommands(TListViews& views, TListFileCommands& files, TScanCommands& scans,
                         const std::string& mountTable)
    : QObject(&views),
      views_(views),
      session_(views.Session()),
      shell_(views.Shell()),
      files_(files),
      scans_(scans),
      mountTable_(mountTable),
      watcher_(std::make_unique<TMediaWatcher>(mountTable)) {
    formCmoChoose_ = new TFormCmoChoose(shell_.Window());
    shell_.RegisterTranslatableWindow(formCmoChoose_);
    connect(shell_.Action(TCommandId::FileAutoScan), &QAction::triggered, this,
            &TCdCommands::ActionFileAutoScanExecute);
    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(kPollIntervalMs);
    connect(pollTimer_, &QTimer::timeout, this, &TCdCommands::PollNewMedia);
    pollTimer_->start();
}

TCdCommands::~TCdCommands() = default;

void TCdCommands::UseMountTable(const std::string& mountTable) {
    mountTable_ = mountTable;
    watcher_ = std::make_unique<TMediaWatcher>(mountTable);
}

void TCdCommands::PollNewMedia() {
    // A disc that arrives during a long operation or a dialog waits its turn.
    if (shell_.IsBusy() || QApplication::activeModalWidget()) return;
    for (const auto& medium : watcher_->PollNewMedia())
        if (CdCheck(medium.MountPoint)) break;
}

bool TCdCommands::CdCheck(const std::string& mountPoint) {
    const auto medium = FindReadyMedium(ListOpticalMedia(mountTable_), mountPoint);
    return medium && OpenCd(medium->MountPoint);
}

bool TCdCommands::CheckProgramDisc() {
    for (const auto& medium : ListOpticalMedia(mountTable_))
        if (IsPathUnder(ProgramFolder(), medium.MountPoint)) return CdCheck(medium.MountPoint);
    return false;
}

bool TCdCommands::OpenCd(const std::string& root) {
    if (!files_.SaveIfModified()) return false;
    const TCdPlan plan = PlanCdOpening(root);
    switch (plan.action) {
        case TCdOpening::LoadList:
            files_.LoadFile(plan.lists.front());
            return true;
        case TCdOpening::ChooseList: {
            std::vector<std::string> names;
            for (const auto& list : plan.lists) names.push_back(ExtractFileName(list));
            formCmoChoose_->SetNames(names);
            return LoadChosenList(root);
        }
        default:
            return ScanDisc(root);
    }
}

bool TCdCommands::LoadChosenList(const std::string& root) {
    if (formCmoChoose_->exec() != QDialog::Accepted) return false;
    files_.LoadFile(JoinPath(root, formCmoChoose_->TakenName()));
    return true;
}

bool TCdCommands::ScanDisc(const std::string& root) {
    TShellBusy busy(shell_);
    std::unique_ptr<TDirectory> scanned = scans_.ScanDisc(root);
    if (!scanned || scanned->List.Empty()) return false;  // cancelled or no album
    // The old albums are freed: the views let go of them first.
    views_.EmptyViews();
    AdoptScannedMedium(session_.Catalogue, std::move(scanned), root);
    views_.RefreshChoosers();
    views_.UpdateTitle();
    views_.Resort();
    return true;
}
