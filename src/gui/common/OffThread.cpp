#include "gui/common/OffThread.h"

#include <QEventLoop>

#include <thread>

void RunOffWindowThread(const std::function<void()>& work) {
    QEventLoop loop;
    std::thread worker([&work, &loop] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
}
