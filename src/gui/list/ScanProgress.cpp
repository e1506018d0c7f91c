#include "gui/list/ScanProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

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

void TProgressDisplay::Stop() {
    Tick();  // the final count
    timer_->stop();
    bar_->reset();
    bar_->setVisible(false);
}

void TProgressDisplay::Tick() {
    if (kind_ == FolderCount) {
        count_->setText(
            QString::number(ProgressCount) + ' ' +
            QString::fromStdString(LangText("ScannedDirectories", "scanned directories")));
        return;
    }
    bar_->setRange(1, std::max(1, ProgressTotal));
    bar_->setValue(std::clamp(ProgressCount, 1, std::max(1, ProgressTotal)));
}
