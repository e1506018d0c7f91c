#pragma once
// SIGTERM and SIGINT close the main window the normal way (list saved,
// settings written), not by ending the process at once.  The signal handler
// only writes a byte to a pipe; the window thread reads it and closes.
#include <QObject>
#include <QPointer>

// Set on the window (a Qt property) when a signal, not the user, closes it:
// nobody is there to answer a question then.
inline constexpr const char* kClosingBySignal = "closingBySignal";

class QSocketNotifier;
class QWidget;

class TSignalCloser : public QObject {
    Q_OBJECT
  public:
    explicit TSignalCloser(QWidget* window);
    ~TSignalCloser() override;

  private:
    void SignalArrived();

    QPointer<QWidget> window_;
    QSocketNotifier* notifier_ = nullptr;
};
