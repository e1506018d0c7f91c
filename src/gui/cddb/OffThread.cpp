#include "gui/cddb/OffThread.h"

#include <QEventLoop>
#include <QTimer>

#include <atomic>
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

HttpResult GetOffThread(const std::string& url, long timeoutMs,
                        const std::function<bool()>& stillWanted) {
    auto pending = std::make_shared<TPendingRequest>();
    std::thread([pending, url, timeoutMs] {
        HttpResult result = HttpGetText(url, timeoutMs);
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
    return [stillWanted = std::move(stillWanted)](const std::string& url, long timeoutMs) {
        return GetOffThread(url, timeoutMs, stillWanted);
    };
}
