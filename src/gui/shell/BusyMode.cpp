#include "gui/shell/BusyMode.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

#include "core/PumpEvents.h"

bool IsUserInputEvent(const QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
            return true;
        default:
            return false;
    }
}

TBusyMode::TBusyMode(QWidget* menuBar, QObject* parent) : QObject(parent), menuBar_(menuBar) {}

TBusyMode::~TBusyMode() {
    while (depth_ > 0) Set(false);
}

void TBusyMode::Set(bool on) {
    if (on) {
        if (depth_++ == 0) {
            qApp->installEventFilter(this);
            if (menuBar_) menuBar_->setEnabled(false);
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    if (depth_ == 0) return;
    QApplication::restoreOverrideCursor();
    if (--depth_ == 0) {
        qApp->removeEventFilter(this);
        if (menuBar_) menuBar_->setEnabled(true);
        emit Idle();
    }
}

bool TBusyMode::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInputEvent(event)) return true;
    return QObject::eventFilter(watched, event);
}

TWaitCursor::TWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
TWaitCursor::~TWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void InstallPumpEventsHook() {
    SetPumpEventsHook([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); });
}
