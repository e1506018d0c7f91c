#include "gui/cddb/OffThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {
// Shared by the waiting window and the request's thread, which may outlive it.
struct TPendingRequest {
    std::mutex mutex;
    HttpResult result;
    std::atomic<bool> done{false};
};

HttpResult GetOffThread(const std::string& url, long timeoutMs, const HttpLimits& limits,
                        const std::function<bool()>& stillWanted) {
    auto pending = std::make_shared<TPendingRequest>();
    std::thread([pending, url, timeoutMs, limits] {
        HttpResult result = HttpGetWithin(url, timeoutMs, limits);
        std::lock_guard lock(pending->mutex);
        pending->result = std::move(result);
        pending->done = true;
    }).detach();

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (pending->done || (stillWanted && !stillWanted())) loop.quit();
    });
    poll.start(20);
    if (!pending->done) loop.exec();
    std::lock_guard lock(pending->mutex);
    if (!pending->done) return {0, {}, "Cancelled"};
    return pending->result;
}
}  // namespace

THttpGet OffThreadHttpGet(std::function<bool()> stillWanted) {
    return [stillWanted = std::move(stillWanted)](const std::string& url, long timeoutMs,
                                                  const HttpLimits& limits) {
        return GetOffThread(url, timeoutMs, limits, stillWanted);
    };
}

void RunOffWindowThread(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done) loop.quit();
    });
    poll.start(20);
    if (!done) loop.exec();
    worker.join();
    // What the work posted to the windows arrives before the caller goes on.
    QCoreApplication::sendPostedEvents();
    if (failure) std::rethrow_exception(failure);
}
