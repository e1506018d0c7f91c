// HttpGetText over libcurl.
#include <curl/curl.h>

#include <chrono>
#include <mutex>

#include "core/Ucommon.h"

namespace {
constexpr long kMaxRedirects = 15;

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Tracks when data last arrived, so that a silent server ends the transfer
// after the read time-out however long the whole answer takes.
struct Transfer {
    using Clock = std::chrono::steady_clock;
    std::string body;
    Clock::time_point lastData = Clock::now();
    std::chrono::milliseconds readTimeout{0};
    bool timedOut = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    transfer->body.append(data, size * count);
    transfer->lastData = Transfer::Clock::now();
    return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    if (Transfer::Clock::now() - transfer->lastData < transfer->readTimeout) return 0;
    transfer->timedOut = true;
    return 1;  // aborts the transfer
}

void Configure(CURL* curl, const std::string& url, Transfer& transfer, long timeoutMs,
               char* errorBuffer) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // in-memory cookie engine
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
    curl_easy_setopt(curl, CURLOPT_UNRESTRICTED_AUTH, 0L);  // no credentials to other hosts
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mavelo");
    if (timeoutMs > 0) curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
}
}  // namespace

HttpResult HttpGetText(const std::string& url, long timeoutMs) {
    InitCurlOnce();
    HttpResult result;
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.error = "Could not start an HTTP transfer";
        return result;
    }
    Transfer transfer;
    // A time-out of 0 or less waits as long as the connection stays open.
    transfer.readTimeout =
        timeoutMs > 0 ? std::chrono::milliseconds(timeoutMs) : std::chrono::hours(24 * 365);
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Configure(curl, url, transfer, timeoutMs, errorBuffer);
    const CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_OK) {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
        result.body = std::move(transfer.body);
        if (result.status != 200) result.error = "HTTP status " + std::to_string(result.status);
    } else if (transfer.timedOut) {
        result.error = "No answer within " + std::to_string(timeoutMs) + " ms";
    } else {
        result.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(code);
    }
    curl_easy_cleanup(curl);
    return result;
}
