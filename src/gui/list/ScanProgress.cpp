#include "gui/list/ScanProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

#include <climits>

#include "core/Progress.h"
#include "core/PumpEvents.h"
#include "core/Ulang.h"

TProgressDisplay::TProgressDisplay(QStatusBar* statusBar) : QObject(statusBar) {
    count_ = new QLabel(statusBar);
    count_->setObjectName("StatusScan");
    statusBar->addPermanentWidget(count_);
    bar_ = new QProgressBar(statusBar);
    bar_->setObjectName("ProgressBar");
    bar_->setMaximumWidth(160);
    bar_->setTextVisible(false);
    bar_->setVisible(false);
    statusBar->addPermanentWidget(bar_);
    cancel_ = new QPushButton(QString::fromStdString(LangText("Cancel", "Cancel")), statusBar);
    cancel_->setObjectName("ScanCancel");
    cancel_->setVisible(false);
    statusBar->addPermanentWidget(cancel_);
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &TProgressDisplay::Tick);
}

void TProgressDisplay::Start(Kind kind) {
    kind_ = kind;
    bar_->setRange(1, 1);
    bar_->setValue(1);
    bar_->setVisible(kind == Bar);
    timer_->start();
}

void TProgressDisplay::StartScan(TProgress& progress) {
    scan_ = &progress;
    bar_->setRange(0, 1);
    bar_->setValue(0);
    bar_->setFormat("%p%");
    bar_->setTextVisible(true);
    bar_->setVisible(true);
    cancel_->setText(QString::fromStdString(LangText("Cancel", "Cancel")));
    cancel_->setEnabled(true);
    cancel_->setVisible(true);
    qApp->installEventFilter(this);  // after busy mode's filter, so asked first
    TickScan();
    timer_->start();
}

void TProgressDisplay::StartBar(TProgress& progress) {
    work_ = &progress;
    Tick();
}

void TProgressDisplay::Stop() {
    Tick();  // the final count
    timer_->stop();
    work_ = nullptr;
    if (scan_) {
        // The count of folders scanned stays after the scan.
        count_->setText(QString::number(scan_->Done()) + ' ' +
                        QString::fromStdString(LangText("ScannedDirectories", "scanned directories")));
        qApp->removeEventFilter(this);
        scan_ = nullptr;
        cancel_->setVisible(false);
        bar_->setTextVisible(false);
    }
    bar_->reset();
    bar_->setVisible(false);
}

void TProgressDisplay::Cancel() {
    if (!scan_) return;
    scan_->Cancel();
    cancel_->setEnabled(false);
}

bool TProgressDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    // A click reaches the window before the button, and busy mode drops it
    // there: the button is found by where the click is.
    const bool press = event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonDblClick;
    if ((press || event->type() == QEvent::MouseButtonRelease) &&
        OverCancel(*static_cast<QMouseEvent*>(event))) {
        if (!press) Cancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool TProgressDisplay::OverCancel(const QMouseEvent& event) const {
    if (!cancel_->isVisible() || !cancel_->isEnabled()) return false;
    return cancel_->rect().contains(cancel_->mapFromGlobal(event.globalPosition().toPoint()));
}

void TProgressDisplay::TickScan() {
    const int total = int(std::min<int64_t>(scan_->Total(), INT_MAX));
    const int done = int(std::min<int64_t>(scan_->Done(), INT_MAX));
    const QString scanned = QString::fromStdString(LangText("ScannedDirectories", "scanned directories"));
    if (total <= 0) {  // still counting
        count_->setText(QString::number(done) + ' ' + scanned);
        bar_->setRange(0, 0);
        return;
    }
    count_->setText(QString::number(done) + " / " + QString::number(total) + ' ' + scanned);
    bar_->setRange(0, total);
    bar_->setValue(std::clamp(done, 0, total));
}

void TProgressDisplay::Tick() {
    if (scan_) {
        TickScan();
        return;
    }
    if (work_) {
        const int total = int(std::clamp<int64_t>(work_->Total(), 1, INT_MAX));
        bar_->setRange(1, total);
        bar_->setValue(int(std::clamp<int64_t>(work_->Done(), 1, total)));
        return;
    }
    if (kind_ == FolderCount) {
        count_->setText(
            QString::number(ProgressCount) + ' ' +
            QString::fromStdString(LangText("ScannedDirectories", "scanned directories")));
        return;
    }
    bar_->setRange(1, std::max(1, ProgressTotal));
    bar_->setValue(std::clamp(ProgressCount, 1, std::max(1, ProgressTotal)));
}
