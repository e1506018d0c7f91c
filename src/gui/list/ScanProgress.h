#pragma once
// The progress of long catalogue operations, shown every 100 ms from the
// model's counters (ProgressTotal, ProgressCount): a progress bar for list
// loads and saves and for scans with prescan; for a scan without prescan the
// status bar counts the folders scanned ("StatusScan", beside the current
// album's path), and that text stays afterwards.
#include <QObject>

class QLabel;
class QProgressBar;
class QPushButton;
struct TScanProgress;
class QStatusBar;
class QTimer;

class TProgressDisplay : public QObject {
    Q_OBJECT
  public:
    explicit TProgressDisplay(QStatusBar* statusBar);

    enum Kind { Bar, FolderCount };
    void Start(Kind kind);
    // A scan running on another thread: "done / total scanned directories",
    // the bar with its percentage, and Cancel (or Escape), which still work
    // while busy mode drops the window's input.
    void StartScan(TScanProgress& progress);
    void Stop();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Tick();
    void TickScan();
    void Cancel();

    QLabel* count_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QTimer* timer_;
    Kind kind_ = Bar;
    TScanProgress* scan_ = nullptr;
};

// The progress display for the lifetime of the guard.
class TProgressGuard {
  public:
    TProgressGuard(TProgressDisplay& display, TProgressDisplay::Kind kind) : display_(display) {
        display_.Start(kind);
    }
    ~TProgressGuard() { display_.Stop(); }
    TProgressGuard(const TProgressGuard&) = delete;
    TProgressGuard& operator=(const TProgressGuard&) = delete;

  private:
    TProgressDisplay& display_;
};
