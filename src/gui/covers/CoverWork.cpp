#include "gui/covers/CoverWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/Progress.h"
#include "core/Ulang.h"

void RunOffWindowThread(TProgress& progress, QProgressBar* bar, const std::function<void()>& work) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!bar) return;
        bar->setMaximum(int(std::clamp<int64_t>(progress.Total(), 1, INT32_MAX)));
        bar->setValue(int(std::clamp<int64_t>(progress.Done(), 0, INT32_MAX)));
    });
    if (bar) {
        bar->setMinimum(0);
        bar->setValue(0);
    }
    timer.start(100);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
        // Wakes the waiting loop below.
        QMetaObject::invokeMethod(&timer, [] {}, Qt::QueuedConnection);
    });
    // Events are handled until the work has ended, even when the program is
    // asked to quit meanwhile: the work may wait for an answer asked on this
    // thread, and it uses what the caller holds.
    while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();
    timer.stop();
    if (bar) bar->setValue(0);
}

TReplacePrompts AskOnWindowThread(QObject* context, const TReplacePrompts& prompts) {
    TReplacePrompts onWindow;
    if (prompts.AskReplace)
        onWindow.AskReplace = [context, ask = prompts.AskReplace](const TReplaceOffer& offer,
                                                                   bool& applyForAll) {
            TReplaceAnswer answer = TReplaceAnswer::Stop;
            QMetaObject::invokeMethod(
                context, [&] { answer = ask(offer, applyForAll); }, Qt::BlockingQueuedConnection);
            return answer;
        };
    if (prompts.Confirm)
        onWindow.Confirm = [context, confirm = prompts.Confirm](const std::string& text) {
            bool yes = false;
            QMetaObject::invokeMethod(
                context, [&] { yes = confirm(text); }, Qt::BlockingQueuedConnection);
            return yes;
        };
    return onWindow;
}

QString FailureText(const TFailure& failure) {
    auto q = [](const std::string& text) { return QString::fromStdString(text); };
    QString reason = q(failure.reason);
    if (failure.reason == "Could not read file")
        reason = q(LangText("CouldNotReadFile", "Could not read file"));
    else if (failure.reason == "Could not write file")
        reason = q(LangText("CouldNotWriteFile", "Could not write file"));
    else if (failure.reason == "Could not delete file")
        reason = q(LangText("CouldNotDeleteFile", "Could not delete file"));
    QString text = reason + ' ' + q(failure.file);
    if (!failure.systemMessage.empty()) text += ": " + q(failure.systemMessage);
    return text;
}
