// HttpGetText against a small HTTP server that the test runs on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "LocalHttpServer.h"
#include "core/Ucommon.h"

namespace {
constexpr auto Response = &LocalHttpServer::Response;

bool HasHeader(const std::string& request, const std::string& line) {
    return request.find("\r\n" + line + "\r\n") != std::string::npos;
}

const std::string kBinaryBody("line one\r\nline two\n\0\x01\xFF end", 25);

std::string Answer(const std::string& request) {
    const std::string path = LocalHttpServer::Target(request);
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
