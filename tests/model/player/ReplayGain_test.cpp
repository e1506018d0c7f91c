// ReplayGain: reading the tags and the factor applied to the samples.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "player/ReplayGain.h"

namespace {
TReplayGainTags Read(const std::map<std::string, std::string>& tags) {
    return ReplayGainFromTags([&](const char* name) -> const char* {
        const auto it = tags.find(name);
        return it == tags.end() ? nullptr : it->second.c_str();
    });
}

TEST(ReplayGainTest, ReadsGainsAndPeaksAsTaggedAndSkipsWhatIsNoNumber) {
    const TReplayGainTags tags = Read({{"REPLAYGAIN_TRACK_GAIN", "-6.48 dB"},
                                       {"REPLAYGAIN_TRACK_PEAK", "0.988"},
                                       {"REPLAYGAIN_ALBUM_GAIN", "+1.5dB"},
                                       {"REPLAYGAIN_ALBUM_PEAK", "loud"}});
    EXPECT_DOUBLE_EQ(*tags.trackGainDb, -6.48);
    EXPECT_DOUBLE_EQ(*tags.trackPeak, 0.988);
    EXPECT_DOUBLE_EQ(*tags.albumGainDb, 1.5);
    EXPECT_FALSE(tags.albumPeak);

    struct Case {
        const char* value;
        bool read;
    };
    for (const Case& c : {Case{"", false}, Case{"dB", false}, Case{"nan", false},
                          Case{"1e400", false}, Case{"-61", false}, Case{" -3", true},
                          Case{"60 dB", true}})
        EXPECT_EQ(Read({{"REPLAYGAIN_TRACK_GAIN", c.value}}).trackGainDb.has_value(), c.read)
            << '"' << c.value << '"';
}

TEST(ReplayGainTest, OpusR128GainsCountFromTheirOwnReference) {
    // -23 LUFS is 5 dB below ReplayGain's reference; the value is in 1/256 dB.
    const TReplayGainTags tags = Read({{"R128_TRACK_GAIN", "-1280"}, {"R128_ALBUM_GAIN", "0"}});
    EXPECT_DOUBLE_EQ(*tags.trackGainDb, 0.0);
    EXPECT_DOUBLE_EQ(*tags.albumGainDb, 5.0);
    // A ReplayGain tag wins over an R128 one.
    EXPECT_DOUBLE_EQ(
        *Read({{"R128_TRACK_GAIN", "0"}, {"REPLAYGAIN_TRACK_GAIN", "-2 dB"}}).trackGainDb, -2.0);
}

TEST(ReplayGainTest, FactorFollowsTheModeFallsBackAndNeverClips) {
    TReplayGainTags tags;
    tags.trackGainDb = -12.0;
    tags.albumGainDb = -6.0;
    const auto dB = [](double db) { return static_cast<float>(std::pow(10.0, db / 20.0)); };
    struct Case {
        TReplayGainMode mode;
        bool album;
        double preamp;
        float expected;
    };
    for (const Case& c : {Case{TReplayGainMode::Off, true, 0, 1.0f},
                          Case{TReplayGainMode::Track, true, 0, dB(-12)},
                          Case{TReplayGainMode::Album, false, 0, dB(-6)},
                          Case{TReplayGainMode::Auto, true, 0, dB(-6)},
                          Case{TReplayGainMode::Auto, false, 0, dB(-12)},
                          Case{TReplayGainMode::Album, false, 3, dB(-3)}})
        EXPECT_NEAR(ReplayGainFactor(tags, c.mode, c.album, c.preamp), c.expected, 1e-6)
            << ReplayGainModeText(c.mode) << " album " << c.album << " preamp " << c.preamp;

    TReplayGainTags trackOnly;
    trackOnly.trackGainDb = -6.0;
    EXPECT_NEAR(ReplayGainFactor(trackOnly, TReplayGainMode::Album, true, 0), dB(-6), 1e-6);
    EXPECT_EQ(ReplayGainFactor({}, TReplayGainMode::Album, true, 0), 1.0f);

    // +10 dB on a track whose peak is 0.8 would clip: it stops at 1 / 0.8.
    TReplayGainTags quiet;
    quiet.trackGainDb = 10.0;
    quiet.trackPeak = 0.8;
    EXPECT_NEAR(ReplayGainFactor(quiet, TReplayGainMode::Track, false, 0), 1.25f, 1e-6);
}

TEST(ReplayGainTest, ModeTextsReadBack) {
    for (TReplayGainMode mode : {TReplayGainMode::Off, TReplayGainMode::Track,
                                 TReplayGainMode::Album, TReplayGainMode::Auto})
        EXPECT_EQ(ReplayGainModeFromText(ReplayGainModeText(mode)), mode);
    EXPECT_EQ(ReplayGainModeFromText("ALBUM"), TReplayGainMode::Album);
    EXPECT_EQ(ReplayGainModeFromText("loudest"), TReplayGainMode::Auto);
}
}  // namespace
