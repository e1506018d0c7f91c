// HttpGetText against a small HTTP server that the test runs on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "core/Ucommon.h"

namespace {
// Answers each connection in a thread of its own with what the handler
// gives for the request's head; an empty answer keeps the connection silent
// until the client gives up.
class LocalHttpServer {
  public:
    using Handler = std::function<std::string(const std::string& request)>;

    explicit LocalHttpServer(Handler handler) : handler_(std::move(handler)) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 16);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
    ~LocalHttpServer() {
        stop_ = true;
        acceptor_.join();
        for (auto& t : connections_) t.join();
        close(listener_);
    }

    std::string Url(const std::string& path, const std::string& credentials = "") const {
        return "http://" + credentials + "127.0.0.1:" + std::to_string(port_) + path;
    }
    int Requests() const { return requests_; }

  private:
    void AcceptLoop() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) connections_.emplace_back([this, client] { Serve(client); });
        }
    }

    // Waits for data up to 50 ms at a time, so that a stop is noticed.
    bool Readable(int fd) {
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) > 0) return true;
        }
        return false;
    }

    void Serve(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && Readable(client)) {
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<size_t>(n));
        }
        ++requests_;
        std::string answer;
        {
            std::lock_guard lock(mutex_);
            answer = handler_(request);
        }
        if (!answer.empty()) send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        // Keep the connection open until the client closes it (silent answers
        // and bodies shorter than announced).
        while (Readable(client) && recv(client, buffer, sizeof buffer, 0) > 0) {
        }
        close(client);
    }

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex mutex_;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};

std::string Response(const std::string& status, const std::string& headers,
                     const std::string& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

std::string Path(const std::string& request) {
    const auto start = request.find(' ') + 1;
    return request.substr(start, request.find(' ', start) - start);
}

bool HasHeader(const std::string& request, const std::string& line) {
    return request.find("\r\n" + line + "\r\n") != std::string::npos;
}

const std::string kBinaryBody("line one\r\nline two\n\0\x01\xFF end", 25);

std::string Answer(const std::string& request) {
    const std::string path = Path(request);
    if (path == "/plain") return Response("200 OK", "", kBinaryBody);
    if (path == "/moved") return Response("302 Found", "Location: /plain\r\n", "");
    if (path == "/login")
        return Response("302 Found", "Set-Cookie: session=abc; Path=/\r\nLocation: /private\r\n",
                        "");
    if (path == "/private")
        return request.find("Cookie: session=abc") != std::string::npos
                   ? Response("200 OK", "", "welcome")
                   : Response("403 Forbidden", "", "no cookie");
    if (path.starts_with("/loop")) return Response("302 Found", "Location: " + path + "x\r\n", "");
    if (path == "/auth")
        return HasHeader(request, "Authorization: Basic dXNlcjpzZWNyZXQ=")  // user:secret
                   ? Response("200 OK", "", "granted")
                   : Response("401 Unauthorized", "WWW-Authenticate: Basic realm=\"m\"\r\n",
                              "denied");
    if (path == "/missing") return Response("404 Not Found", "", "not here");
    if (path == "/silent") return "";
    if (path == "/partial")
        return "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\nonly this";
    return Response("500 Error", "", "");
}
}  // namespace

TEST(HttpGetText, AnswersOfTheServer) {
    LocalHttpServer server(Answer);
    struct Case {
        std::string url;
        long status;
        std::string body;
    } cases[] = {
        {server.Url("/plain"), 200, kBinaryBody},
        {server.Url("/moved"), 200, kBinaryBody},
        {server.Url("/login"), 200, "welcome"},  // the cookie comes back after the redirect
        {server.Url("/private"), 403, "no cookie"},
        {server.Url("/auth", "user:secret@"), 200, "granted"},
        {server.Url("/auth", "user:wrong@"), 401, "denied"},
        {server.Url("/auth"), 401, "denied"},
        {server.Url("/missing"), 404, "not here"},
    };
    for (const auto& c : cases) {
        const HttpResult result = HttpGetText(c.url, 5000);
        EXPECT_EQ(result.status, c.status) << c.url << " " << result.error;
        EXPECT_EQ(result.body, c.body) << c.url;
        EXPECT_EQ(result.error.empty(), c.status == 200) << c.url;
    }
}

TEST(HttpGetText, FollowsAtMost15Redirects) {
    LocalHttpServer server(Answer);
    const HttpResult result = HttpGetText(server.Url("/loop"), 5000);
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(server.Requests(), 16);  // the first request and 15 redirects
}

TEST(HttpGetText, TransportFailuresGiveStatusZero) {
    LocalHttpServer server(Answer);
    int closedPort = 0;
    {
        LocalHttpServer gone(Answer);
        closedPort = std::stoi(gone.Url("").substr(std::string("http://127.0.0.1:").size()));
    }
    const std::string urls[] = {
        server.Url("/silent"),   // no answer within the time-out
        server.Url("/partial"),  // the body stops half way
        "http://127.0.0.1:" + std::to_string(closedPort) + "/",
        "file:///etc/hostname",
        "not a url",
    };
    for (const auto& url : urls) {
        const auto start = std::chrono::steady_clock::now();
        const HttpResult result = HttpGetText(url, 300);
        EXPECT_EQ(result.status, 0) << url;
        EXPECT_FALSE(result.error.empty()) << url;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << url;
    }
}
