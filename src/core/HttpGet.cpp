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
    const Clock::time_point started = Clock::now();
    Clock::time_point lastData = started;
    std::chrono::milliseconds readTimeout{0};
    HttpLimits limits;
    bool timedOut = false;
    bool tookTooLong = false;
    bool tooLarge = false;

    bool OverTime() const {
        return limits.totalMs > 0 &&
               Clock::now() - started >= std::chrono::milliseconds(limits.totalMs);
    }
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->limits.maxBytes > 0 &&
        transfer->body.size() + bytes > transfer->limits.maxBytes) {
        transfer->tooLarge = true;
        return 0;  // aborts the transfer
    }
    if (transfer->OverTime()) {
        transfer->tookTooLong = true;
        return 0;
    }
    transfer->body.append(data, bytes);
    transfer->lastData = Transfer::Clock::now();
    return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    if (transfer->OverTime()) {
        transfer->tookTooLong = true;
        return 1;  // aborts the transfer
    }
    if (Transfer::Clock::now() - transfer->lastData < transfer->readTimeout) return 0;
    transfer->timedOut = true;
    return 1;
}

std::string Megabytes(size_t bytes) {
    const size_t mb = bytes / (1024 * 1024);
    return mb > 0 ? std::to_string(mb) + " MB" : std::to_string(bytes) + " bytes";
}

bool Connected(CURL* curl) {
    curl_off_t connectUs = 0;
    return curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectUs) == CURLE_OK &&
           connectUs > 0;
}

std::string Seconds(long ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
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
    // The callbacks below end the transfer; these let curl stop it early too.
    if (transfer.limits.totalMs > 0)
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, transfer.limits.totalMs);
    if (transfer.limits.maxBytes > 0)
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(transfer.limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
}
}  // namespace

HttpResult HttpGetText(const std::string& url, long timeoutMs) {
    return HttpGetWithin(url, timeoutMs, {});
}

HttpResult HttpGetWithin(const std::string& url, long timeoutMs, const HttpLimits& limits) {
    InitCurlOnce();
    HttpResult result;
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.error = "Could not start an HTTP transfer";
        return result;
    }
    Transfer transfer;
    transfer.limits = limits;
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
    } else if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        result.error = "The answer is larger than " + Megabytes(limits.maxBytes);
    } else if (transfer.tookTooLong ||
               (code == CURLE_OPERATION_TIMEDOUT && limits.totalMs > 0 &&
                (Connected(curl) || transfer.OverTime()))) {
        // Once connected, only the limit on the whole request times out
        // (the library's clock and ours may differ by a millisecond).
        result.error = "No complete answer within " + Seconds(limits.totalMs);
    } else if (transfer.timedOut) {
        result.error = "No answer within " + std::to_string(timeoutMs) + " ms";
    } else {
        result.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(code);
    }
    curl_easy_cleanup(curl);
    return result;
}
