#include "gui/list/FolderWatch.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#include "core/FolderWatcher.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/Session.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/shell/ShellPort.h"

namespace {
// A scan put off by a busy window is tried again this often.
constexpr int kBusyRetryMs = 250;
}  // namespace

TFolderWatchCommands::TFolderWatchCommands(TListViews& views, TScanCommands& scans)
    : QObject(&views),
      views_(views),
      session_(views.Session()),
      scans_(scans),
      watcher_(std::make_unique<TFolderWatcher>()),
      collector_(std::make_unique<TChangeCollector>(kQuietMs)) {
    setObjectName("FolderWatch");
    clock_.start();
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &TFolderWatchCommands::TakeChanges);
    if (watcher_->Fd() >= 0) {
        notifier_ = new QSocketNotifier(watcher_->Fd(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &TFolderWatchCommands::ReadChanges);
    }
    // A list opened or closed tells the session; new or changed roots are
    // scanned, and the grid is refilled after every scan or change of roots.
    connect(&session_, &TSession::changed, this, &TFolderWatchCommands::FollowCatalogue);
    connect(&views_, &TListViews::ViewRefilled, this, &TFolderWatchCommands::FollowCatalogue);
    FollowCatalogue();
}

TFolderWatchCommands::~TFolderWatchCommands() = default;

void TFolderWatchCommands::SetQuietMs(int ms) {
    quietMs_ = std::max(ms, 0);
    collector_ = std::make_unique<TChangeCollector>(quietMs_);
}

std::vector<std::string> TFolderWatchCommands::RootsToWatch() const {
    if (!session_.Settings.WatchFolders) return {};
    return session_.Catalogue.Roots.Folders();
}

void TFolderWatchCommands::FollowCatalogue() {
    std::vector<std::string> roots = RootsToWatch();
    if (roots == roots_) return;
    roots_ = std::move(roots);
    // Changes gathered for the old roots mean nothing for the new ones.
    collector_ = std::make_unique<TChangeCollector>(quietMs_);
    timer_->stop();
    if (roots_.empty()) {
        watcher_->Clear();
        return;
    }
    const TWatchResult result = watcher_->Watch(roots_);
    // Some folders cannot be followed (the system's watch limit, no
    // permission): the others still are, and the user learns why.
    if (!result.ok)
        views_.Shell().ShowStatus(
            QStr(LangText("WatchIncomplete", "Some folders are not followed for changes:")) + ' ' +
            QStr(result.error));
}

void TFolderWatchCommands::ReadChanges() {
    const TFolderChanges changes = watcher_->ReadChanges();
    if (roots_.empty()) return;  // a watch cleared while events were queued
    collector_->Add(changes, NowMs());
    // Every new change starts the quiet time again.
    if (collector_->Pending()) timer_->start(quietMs_);
}

bool TFolderWatchCommands::WindowBusy() const {
    return views_.Shell().IsBusy() || QApplication::activeModalWidget() ||
           QApplication::activePopupWidget();
}

void TFolderWatchCommands::TakeChanges() {
    if (!collector_->Pending() || roots_.empty()) return;
    if (WindowBusy()) {
        timer_->start(std::min(kBusyRetryMs, std::max(quietMs_, 1)));
        return;
    }
    const TFolderChanges changes = collector_->Take(NowMs());
    if (changes.folders.empty() && !changes.overflow) {
        timer_->start(std::max(quietMs_, 1));  // a change came in meanwhile
        return;
    }
    ScanChanged(changes);
}

void TFolderWatchCommands::ScanChanged(const TFolderChanges& changes) {
    // Lost events may hide a change anywhere: the whole list gets a fast scan.
    if (changes.overflow)
        scans_.Rescan(false);
    else
        scans_.RescanFolders({changes.folders.begin(), changes.folders.end()});
}
