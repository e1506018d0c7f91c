// The FreeDB client against a CDDB server the test runs on 127.0.0.1.
#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>

#include "CddbServer.h"
#include "collection/Um3u_obj.h"
#include "freedb/Ubatch.h"
#include "freedb/Ufreedb.h"

namespace {
// A server that answers every request with a CDDB read whose bytes then come
// one at a time, every 50 ms, for at most `seconds` (and never the end).
class DripServer {
  public:
    explicit DripServer(int seconds) : seconds_(seconds) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~DripServer() {
        stop_ = true;
        thread_.join();
        close(listener_);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/cddb.cgi"; }

  private:
    void Serve() {
        pollfd p{listener_, POLLIN, 0};
        while (!stop_ && poll(&p, 1, 50) <= 0) {
        }
        if (stop_) return;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        const std::string head =
            "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n210 rock 14026c03 entry follows\n";
        send(client, head.data(), head.size(), MSG_NOSIGNAL);
        const std::string line = "DTITLE=Slow Artist / Slow Album\n";
        for (int i = 0; !stop_ && i < seconds_ * 20; ++i) {
            if (send(client, &line[i % line.size()], 1, MSG_NOSIGNAL) < 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        close(client);
    }

    int seconds_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TDiscTable ThreeTracks() {
    return *BuildDiscTable({180000, 200500, 240250});
}
using R = LocalHttpServer;
}  // namespace

TEST(FreeDBQuery, AnswersOfTheServer) {
    struct Case {
        std::string name;
        std::string answer;
        int result;
        TFreeDBFailure failure;
        std::string comment;
    } cases[] = {
        {"single exact match", R::Ok(CddbReply("query_200_single.txt")), 3, TFreeDBFailure::None,
         "1 albums were found on FreeDB"},
        {"exact matches", R::Ok(CddbReply("query_210_exact.txt")), 9, TFreeDBFailure::None,
         "3 albums were found on FreeDB"},
        {"inexact matches", R::Ok(CddbReply("query_211_inexact.txt")), 6, TFreeDBFailure::None,
         "2 albums were found on FreeDB"},
        {"no match", R::Ok(CddbReply("query_202_none.txt")), 0, TFreeDBFailure::None,
         "No album found on FreeDB"},
        {"refusal", R::Ok(CddbReply("query_500_refused.txt")), -1, TFreeDBFailure::Refused,
         "500 Unknown application"},
        {"HTTP 500", R::Response("500 Internal Server Error", "", "oops"), -1,
         TFreeDBFailure::NoAnswer, "Could not connect to FreeDB"},
        {"silent server", "", -1, TFreeDBFailure::NoAnswer, "Could not connect to FreeDB"},
    };
    CddbServer server;
    auto settings = server.Server();
    settings.QueryTimeoutMs = 300;  // the silent server is given up quickly
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.Query = c.answer;
        auto result = FreeDBQueryDisc(settings, ThreeTracks());
        EXPECT_EQ(result.Result, c.result);
        EXPECT_EQ(result.Failure, c.failure);
        EXPECT_EQ(FreeDBQueryComment(result), c.comment);
        if (c.failure == TFreeDBFailure::NoAnswer) {
            EXPECT_FALSE(result.Reason.empty());
        }
    }
    const auto targets = server.Targets();
    ASSERT_FALSE(targets.empty());
    EXPECT_EQ(targets[0],
              "/~cddb/cddb.cgi?cmd=cddb+query+14026c03+3+0+13500+28537+620"
              "&hello=tester+testhost+Mavelo+v1%2E00%2E01&proto=6");
}

TEST(FreeDBQuery, FollowsARedirectAndMeasuresTheAlbum) {
    CddbServer server;
    server.Query = R::Ok(CddbReply("query_211_inexact.txt"));
    auto settings = server.Server();
    settings.Url = server.Url().replace(server.Url().find("/~cddb/cddb.cgi"), 15, "/moved");
    Tm3u album("/m/a.m3u");
    for (auto name : {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}) album.AddTrack(name, false);
    const int32_t durations[] = {180000, 200500, 240250};
    int measured = 0;
    auto result =
        FreeDBQuery(settings, album, [&](Tmp3& track) { track.Duration = durations[measured++]; });
    EXPECT_EQ(measured, 3);
    EXPECT_EQ(result.Result, 6);
    EXPECT_EQ(server.Commands().back(), "cddb+query+14026c03+3+0+13500+28537+620");

    // An album without tracks makes no request.
    Tm3u empty("/m/b.m3u");
    const int before = server.Requests();
    auto noDisc = FreeDBQuery(settings, empty, {});
    EXPECT_EQ(noDisc.Result, -1);
    EXPECT_EQ(FreeDBQueryComment(noDisc), "The album does not fit on a CD: no disc id");
    EXPECT_EQ(server.Requests(), before);
}

TEST(FreeDBRead, RecordsAndFailures) {
    CddbServer server;
    server.Reads["rock+14026c03"] = R::Ok(CddbReply("read_basic.txt"));
    server.Reads["folk+0a0b0c01"] = R::Ok(CddbReply("read_utf8.txt"));
    server.Reads["misc+00000000"] = R::Response("500 Internal Server Error", "", "");
    server.Reads["blues+11111111"] = "";  // hangs
    // An old server answering in Latin-1.
    server.Reads["jazz+22222222"] = R::Ok("210 jazz 22222222\nDTITLE=Caf\xE9 / Noir\n.\n");
    auto settings = server.Server();
    settings.ReadTimeoutMs = 300;

    auto basic = FreeDBRead(settings, "rock", "14026c03");
    EXPECT_EQ(basic.Result, 9);  // 5 + 2 per track
    EXPECT_EQ(basic.Details.Artist, "Artist One");
    EXPECT_EQ(FreeDBRead(settings, "folk", "0a0b0c01").Details.Tracks[0].Title, "夜の歌");
    EXPECT_EQ(FreeDBRead(settings, "jazz", "22222222").Details.Artist, "Caf\xC3\xA9");

    auto missing = FreeDBRead(settings, "rock", "99999999");
    EXPECT_EQ(missing.Result, -1);
    EXPECT_EQ(missing.Failure, TFreeDBFailure::Refused);
    EXPECT_EQ(missing.Reason, "401 rock 14026c03 No such CD entry in database.");
    EXPECT_EQ(FreeDBRead(settings, "misc", "00000000").Failure, TFreeDBFailure::NoAnswer);
    auto hang = FreeDBRead(settings, "blues", "11111111");
    EXPECT_EQ(hang.Result, -1);
    EXPECT_EQ(hang.Failure, TFreeDBFailure::NoAnswer);
}

// A server that sends a byte now and then never trips the time-out between
// data; the limit on the whole request ends it, and says so.
TEST(FreeDBRead, ASlowServerMeetsTheRequestsTimeLimit) {
    DripServer server(8);
    TFreeDBServer settings{server.Url(), "tester", "testhost", {}, 2000, 2000};
    settings.Limits.totalMs = 700;
    const auto start = std::chrono::steady_clock::now();
    auto read = FreeDBRead(settings, "rock", "14026c03");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(read.Result, -1);
    EXPECT_EQ(read.Failure, TFreeDBFailure::NoAnswer);
    EXPECT_EQ(read.Reason, "No complete answer within 700 ms");
    EXPECT_TRUE(read.Details.Artist.empty());
}

TEST(FreeDBRead, RepliesBeyondTheSizeLimitAndCutShortRepliesFail) {
    CddbServer server;
    std::string huge = "210 rock 14026c03 entry follows\n";
    while (huge.size() < kCddbMaxReplyBytes + 1024) huge += "EXTD=" + std::string(70, 'x') + "\n";
    server.Reads["rock+14026c03"] = R::Ok(huge + ".\n");
    // The transfer ends before the reply's end line came.
    server.Reads["rock+0a0b0c0d"] =
        R::Ok("210 rock 0a0b0c0d entry follows\nDTITLE=Cut Artist /");
    server.Query = R::Ok("211 Found inexact matches, list follows\nrock 14026c03 Artist / Album\n");
    auto settings = server.Server();  // the default limits

    auto big = FreeDBRead(settings, "rock", "14026c03");
    EXPECT_EQ(big.Result, -1);
    EXPECT_EQ(big.Failure, TFreeDBFailure::NoAnswer);
    EXPECT_EQ(big.Reason, "The answer is larger than 4 MB");

    auto cut = FreeDBRead(settings, "rock", "0a0b0c0d");
    EXPECT_EQ(cut.Result, -1);
    EXPECT_EQ(cut.Failure, TFreeDBFailure::CutShort);
    EXPECT_TRUE(cut.Details.Artist.empty());

    auto query = FreeDBQueryDisc(settings, ThreeTracks());
    EXPECT_EQ(query.Result, -1);
    EXPECT_EQ(query.Failure, TFreeDBFailure::CutShort);
    EXPECT_TRUE(query.Matches.empty());
    EXPECT_EQ(FreeDBQueryComment(query), "The FreeDB server's reply was cut short");
}
