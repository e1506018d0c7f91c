#pragma once
// Busy mode for long operations that run on the window thread (list load
// and save, scans, cover caching...): keyboard and mouse input is dropped
// before it reaches any window, the menu bar is disabled and the wait cursor
// shows, while the operation lets pending events run (PumpEvents) so that
// windows repaint and timers tick.  Nestable: input returns when the last
// level ends.
#include <QObject>
#include <QPointer>

class QWidget;

class TBusyMode : public QObject {
    Q_OBJECT
  public:
    // `menuBar` is disabled while busy (may be null).
    explicit TBusyMode(QWidget* menuBar, QObject* parent = nullptr);
    ~TBusyMode() override;

    void Set(bool on);
    bool IsBusy() const { return depth_ > 0; }

  signals:
    // The last level ended (queue a connection: the operation is still unwinding).
    void Idle();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> menuBar_;
    int depth_ = 0;
};

// Busy mode for the lifetime of the guard.
class TBusyGuard {
  public:
    explicit TBusyGuard(TBusyMode& mode) : mode_(mode) { mode_.Set(true); }
    ~TBusyGuard() { mode_.Set(false); }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

  private:
    TBusyMode& mode_;
};

// The wait cursor alone, for short blocking steps (reading the play queue,
// the update check).
class TWaitCursor {
  public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// True for the keyboard and mouse events that busy mode drops.
bool IsUserInputEvent(const QEvent* event);

// Lets the model's PumpEvents() run the pending window events.
void InstallPumpEventsHook();
