#pragma once
// Follows the folders of the open list: when files or folders change under
// its roots, a fast scan of just the changed folders runs once the changes
// have stopped for a quiet time.  The roots are watched while a list is open
// and the "WatchFolders" setting is on; a scan due while the window is busy
// (another scan, a dialog) waits until it is not.
#include <QElapsedTimer>
#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;
class TChangeCollector;
class TFolderWatcher;
class TListViews;
class TScanCommands;
class TSession;
struct TFolderChanges;

class TFolderWatchCommands : public QObject {
    Q_OBJECT
  public:
    static constexpr int kQuietMs = 3000;

    TFolderWatchCommands(TListViews& views, TScanCommands& scans);
    ~TFolderWatchCommands() override;

    // How long the changes must stop before the scan (tests shorten it).
    void SetQuietMs(int ms);
    // The roots watched now; empty when nothing is.
    const std::vector<std::string>& WatchedRoots() const { return roots_; }

  private:
    // Watches the open list's roots, or nothing (no list, setting off).
    void FollowCatalogue();
    std::vector<std::string> RootsToWatch() const;
    void ReadChanges();
    void TakeChanges();
    bool WindowBusy() const;
    void ScanChanged(const TFolderChanges& changes);
    int64_t NowMs() const { return clock_.elapsed(); }

    TListViews& views_;
    TSession& session_;
    TScanCommands& scans_;
    std::unique_ptr<TFolderWatcher> watcher_;
    std::unique_ptr<TChangeCollector> collector_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* timer_;
    QElapsedTimer clock_;
    std::vector<std::string> roots_;
    int quietMs_ = kQuietMs;
};
