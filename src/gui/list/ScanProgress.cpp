#include "gui/list/ScanProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

#include "collection/Udir_obj.h"
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

void TProgressDisplay::StartScan(TScanProgress& progress) {
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

void TProgressDisplay::Stop() {
    Tick();  // the final count
    timer_->stop();
    if (scan_) {
        // The count of folders scanned stays after the scan.
        count_->setText(QString::number(scan_->done.load()) + ' ' +
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
    scan_->cancelRequested = true;
    cancel_->setEnabled(false);
}

bool TProgressDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    if (watched == cancel_ && event->type() == QEvent::MouseButtonRelease) {
        Cancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TProgressDisplay::TickScan() {
    const int total = scan_->total.load(std::memory_order_relaxed);
    const int done = scan_->done.load(std::memory_order_relaxed);
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
    if (kind_ == FolderCount) {
        count_->setText(
            QString::number(ProgressCount) + ' ' +
            QString::fromStdString(LangText("ScannedDirectories", "scanned directories")));
        return;
    }
    bar_->setRange(1, std::max(1, ProgressTotal));
    bar_->setValue(std::clamp(ProgressCount, 1, std::max(1, ProgressTotal)));
}
