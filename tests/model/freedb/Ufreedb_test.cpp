// The FreeDB client against a CDDB server the test runs on 127.0.0.1.
#include <gtest/gtest.h>

#include "CddbServer.h"
#include "collection/Um3u_obj.h"
#include "freedb/Ubatch.h"
#include "freedb/Ufreedb.h"

namespace {
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
    EXPECT_EQ(FreeDBQuery(settings, empty, {}).Failure, TFreeDBFailure::NoDisc);
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
