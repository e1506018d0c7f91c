// The disc table rebuilt from track durations, its identifier and the query
// command, against worked FreeDB examples.
#include <gtest/gtest.h>

#include "collection/Um3u_obj.h"
#include "freedb/Udiscid.h"

namespace {
std::string Position(const TDiscPosition& p) {
    return std::to_string(p.Minutes) + ":" + std::to_string(p.Seconds) + "." +
           std::to_string(p.Frames);
}
}  // namespace

TEST(DiscId, WorkedExamples) {
    struct Case {
        std::vector<int32_t> durations;
        std::vector<std::string> starts;
        std::string leadOut;
        uint32_t id;
        std::string command;
    } cases[] = {
        {{180000, 200500, 240250},
         {"0:0.0", "3:0.0", "6:20.37"},
         "10:20.56",
         0x14026c03,
         "cddb+query+14026c03+3+0+13500+28537+620"},
        {{59999}, {"0:0.0"}, "0:59.74", 0x00003b01, "cddb+query+00003b01+1+0+59"},
        // Truncated, never rounded: 2,999 ms is 2 seconds and 74 frames.
        {{2999, 1000}, {"0:0.0", "0:2.74"}, "0:3.74", 0x02000302, "cddb+query+02000302+2+0+224+3"},
        // A track that could not be measured starts where the next one starts.
        {{60000, 0, 30000},
         {"0:0.0", "1:0.0", "1:0.0"},
         "1:30.0",
         0x0c005a03,
         "cddb+query+0c005a03+3+0+4500+4500+90"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        auto table = BuildDiscTable(c.durations);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->TrackCount, c.durations.size());
        for (size_t i = 0; i < c.starts.size(); ++i)
            EXPECT_EQ(Position(table->Entries[i].Start), c.starts[i]);
        EXPECT_EQ(Position(table->LeadOut), c.leadOut);
        EXPECT_EQ(DiscId(*table), c.id);
        EXPECT_EQ(CddbQueryCommand(*table), c.command);
    }
}

TEST(DiscId, LayoutOfTheIdentifier) {
    // 100 tracks of 2 minutes: 200 minutes in all, the largest count.
    auto table = BuildDiscTable(std::vector<int32_t>(100, 120000));
    ASSERT_TRUE(table);
    const uint32_t id = DiscId(*table);
    EXPECT_EQ(id & 0xff, 100u);                     // track count
    EXPECT_EQ((id >> 8) & 0xffff, 200u * 60u);      // total seconds
    EXPECT_EQ(DiscIdText(0x00003b01), "00003b01");  // always 8 digits
}

TEST(DiscId, AlbumsThatFitNoDisc) {
    EXPECT_FALSE(BuildDiscTable({}));
    EXPECT_FALSE(BuildDiscTable(std::vector<int32_t>(101, 1000)));
    // 255:59.999 still fits; one more second does not.
    EXPECT_TRUE(BuildDiscTable({255 * 60000 + 59999}));
    EXPECT_FALSE(BuildDiscTable({256 * 60000}));
    EXPECT_FALSE(BuildDiscTable({200 * 60000, 56 * 60000}));
}

TEST(DiscId, MeasuresOnlyTracksWithoutDuration) {
    Tm3u album("/music/a.m3u");
    album.AddTrack("/music/1.mp3", false);
    album.AddTrack("/music/2.mp3", false);
    album.AddTrack("/music/3.mp3", false);
    album.Tracks[0].Duration = 1000;
    std::vector<std::string> measured;
    auto durations = AlbumDurations(album, [&](Tmp3& track) {
        measured.push_back(track.Path);
        // The third file cannot be measured.
        track.Duration = track.Path == "/music/2.mp3" ? 5000 : 0;
    });
    EXPECT_EQ(measured, (std::vector<std::string>{"/music/2.mp3", "/music/3.mp3"}));
    EXPECT_EQ(durations, (std::vector<int32_t>{1000, 5000, 0}));
    EXPECT_EQ(album.Tracks[1].Duration, 5000);  // kept in the track record
}
