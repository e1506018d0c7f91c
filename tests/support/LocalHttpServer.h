#pragma once
// A small HTTP server on 127.0.0.1 for tests of code that makes requests.
// Each connection is answered in a thread of its own with what the handler
// gives for the request's head; an empty answer keeps the connection silent
// until the client gives up.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // `credentials`: "user:password@" before the host.
    std::string Url(const std::string& path, const std::string& credentials = "") const {
        return "http://" + credentials + "127.0.0.1:" + std::to_string(port_) + path;
    }
    int Requests() const { return requests_; }
    // The request targets ("/cddb?cmd=...") in the order they arrived.
    std::vector<std::string> Targets() const {
        std::lock_guard lock(mutex_);
        return targets_;
    }

    static std::string Response(const std::string& status, const std::string& headers,
                                const std::string& body) {
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }
    static std::string Ok(const std::string& body) { return Response("200 OK", "", body); }
    static std::string Target(const std::string& request) {
        const auto start = request.find(' ') + 1;
        return request.substr(start, request.find(' ', start) - start);
    }

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
            targets_.push_back(Target(request));
            answer = handler_(request);
        }
        if (!answer.empty()) send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        while (Readable(client) && recv(client, buffer, sizeof buffer, 0) > 0) {
        }
        close(client);
    }

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};
