#pragma once
// The progress of long catalogue operations, shown every 100 ms: a progress
// bar for list loads and saves (from their TProgress) and for the covers'
// operations (from the model's counters ProgressTotal, ProgressCount); for a
// scan the status bar counts the folders scanned ("StatusScan", beside the
// current album's path), with the bar and Cancel, and that text stays
// afterwards.
#include <QObject>

class QLabel;
class QProgressBar;
class QPushButton;
class TProgress;
class QMouseEvent;
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
    void StartScan(TProgress& progress);
    // A list load or save running on another thread: the bar shows the
    // albums done out of the total (no Cancel: a list half read or half
    // written is nothing to keep).
    void StartBar(TProgress& progress);
    void Stop();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Tick();
    void TickScan();
    void Cancel();
    bool OverCancel(const QMouseEvent& event) const;

    QLabel* count_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QTimer* timer_;
    Kind kind_ = Bar;
    TProgress* scan_ = nullptr;
    TProgress* work_ = nullptr;  // the load or save StartBar shows
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
