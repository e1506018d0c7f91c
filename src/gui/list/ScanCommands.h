#pragma once
// The commands that scan folders or change the roots: new list, full and
// fast scan, add roots, move or remove a root, and remove one album.  Scans
// run in busy mode with the progress display and keep the window painting.
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDirectory;
class TSession;
class TShellPort;
class TFormRootDirs;
class TListFileCommands;
class TListViews;
class TProgressDisplay;
struct TScanResult;
class TScanJob;
class TProgress;

class TScanCommands : public QObject {
    Q_OBJECT
  public:
    TScanCommands(TListViews& views, TListFileCommands& files, TProgressDisplay& progress);

    // Shows the playlist builder on the roots of a new list (none until the
    // builder exists).
    std::function<void(const std::vector<std::string>& roots)> RunPlaylistBuilder;

    void ActionFileNewExecute();
    void ActionListUpdateExecute() { Rescan(true); }
    void ActionListFastUpdateExecute() { Rescan(false); }
    void ActionListAddRootExecute();
    void ActionListRemoveRootExecute();
    void ActionAlbumRemoveExecute();

    // The steps after the dialogs, also for tests.
    void NewList(const std::vector<std::string>& roots);
    void Rescan(bool force);
    void AddRoots(const std::vector<std::string>& folders);
    void MoveRoot(const std::string& oldRoot, const std::string& newRoot);
    void RemoveRoot(const std::string& root);

    // Runs the job on a worker thread while this thread goes on with the
    // window's events (the total, the bar and Cancel show in the status
    // bar); then applies it to the catalogue.
    TScanResult RunScanJob(bool force, TScanJob& job);
    // Scans a disc into a new album list the same way (full scan, the disc
    // as the only root); null when the user cancelled it.
    std::unique_ptr<TDirectory> ScanDisc(const std::string& root);

    TFormRootDirs& FormRootDirs() const { return *formRootDirs_; }

    // Folders of the roots changed on disk: a fast scan of just them, the
    // views refreshed as after a fast update.
    void RescanFolders(const std::vector<std::string>& folders);

  private:
    // Runs the work on a worker thread while this thread goes on with the
    // window's events, the progress and Cancel showing in the status bar.
    void RunOffWindowThread(TProgress& progress, const std::function<void()>& work);
    // The current album's key, to find it again after a scan.
    std::string CurrentKey() const;
    // Busy mode, the scan, then the list is modified and sorted again (a
    // cancelled scan leaves the list as it was).
    void ScanAndResort(bool force, TScanJob& job);
    // The outcome after the scan: the note, the log line.
    void ReportScan(bool force, const TScanResult& result, int64_t folders);
    void ShowAlbumOf(const std::string& key);
    void RebuildViews();

    TListViews& views_;
    TSession& session_;
    TShellPort& shell_;
    TListFileCommands& files_;
    TProgressDisplay& progress_;
    TFormRootDirs* formRootDirs_;
};
