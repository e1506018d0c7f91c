// Measuring files, the error texts and the spectrum analysis of the sound layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <vector>

#include "SoundTestSupport.h"
#include "TempDir.h"
#include "core/FileSystem.h"
#include "player/ModuleDecoder.h"
#include "player/SoundError.h"
#include "player/SoundSource.h"
#include "player/SpectrumAnalyzer.h"
#include "player/Uplaylist.h"

namespace {

class SoundLayerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartSound(sound)); }
    TSoundSystem sound;
};

// Durations and bit rates as an independent tool (ffprobe) reports them for
// the fixtures; the MP3 holds 78 frames of 1152 samples.
struct MeasureCase {
    const char* file;
    int durationMs;
    double kbps;
};

TEST_F(SoundLayerTest, MeasuresDurationAndBitrateWithinOnePercent) {
    const MeasureCase cases[] = {
        {"tone.mp3", 2038, 128.0},
        {"tone.ogg", 2000, 37.8},
        {"tone.wma", 2042, 77.4},
        {"tone.wav", 2000, 353.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Tmp3 track(Fixture(c.file));
        MeasureTrack(sound, track);
        EXPECT_NEAR(track.Duration, c.durationMs, c.durationMs * 0.01);
        EXPECT_NEAR(track.Bitrate, c.kbps, c.kbps * 0.01 + 0.5);  // kbit/s are whole numbers
    }
}

TEST_F(SoundLayerTest, TagsAroundTheAudioDoNotRaiseTheBitrate) {
    TempDir dir;
    // An ID3v2 tag of 64 KiB of padding in front and an ID3v1 tag behind.
    std::string id3v2 = std::string("ID3\x03\x00\x00", 6) + std::string("\x00\x04\x00\x00", 4) +
                        std::string(65536, '\0');
    std::string id3v1 = "TAG" + std::string(125, ' ');
    const std::string path =
        dir.File("tagged.mp3", id3v2 + ReadWholeFile(Fixture("tone.mp3")) + id3v1);
    Tmp3 track(path);
    MeasureTrack(sound, track);
    EXPECT_NEAR(track.Duration, 2038, 21);
    EXPECT_NEAR(track.Bitrate, 128, 2);
}

TEST_F(SoundLayerTest, ModuleHasOrdersAndPlayingTime) {
    auto module = sound.LoadSong(Fixture("tone.mod"));
    ASSERT_TRUE(module);
    EXPECT_EQ(module->NumOrders(), 3);
    EXPECT_EQ(module->ModuleType(), 1);
    EXPECT_NEAR(module->LengthMs(), 2880, 29);
    // Stream files are never taken for modules.
    for (const char* file : {"tone.mp3", "tone.ogg", "tone.wma", "tone.wav"})
        EXPECT_FALSE(sound.LoadSong(Fixture(file))) << file;
}

TEST(ModuleSound, OldModulesPlayWithANarrowStereoImage) {
    // The fixture's tone sits on channel 1, which MOD files pan to the left:
    // opened as they are, they play with a separation of 0.15, so the right
    // side carries nearly as much of it.
    auto ratio = [](TModuleDecoder& decoder) {
        std::vector<float> frames(2 * 22050);
        const size_t got = decoder.Read(frames.data(), frames.size() / 2);
        double left = 0, right = 0;
        for (size_t i = 0; i < got; ++i) {
            left += std::abs(frames[2 * i]);
            right += std::abs(frames[2 * i + 1]);
        }
        return std::min(left, right) / std::max(left, right);
    };
    const std::string path = Fixture("tone.mod");
    TModuleDecoder asOpened(path, TInterpolation::Linear), narrow(path, TInterpolation::Linear),
        wide(path, TInterpolation::Linear);
    narrow.SetStereoSeparation(0.15);
    wide.SetStereoSeparation(1.0);
    const double openedRatio = ratio(asOpened);
    EXPECT_NEAR(openedRatio, ratio(narrow), 0.01);
    EXPECT_LT(ratio(wide), openedRatio - 0.2);
}

TEST_F(SoundLayerTest, MissingOrUnreadableFileIsNotMeasuredAndNotAdded) {
    TempDir dir;
    const std::string missing = dir / "gone.mp3";
    const std::string junk = dir.File("junk.mp3", std::string(4000, 'x'));
    TPlayList queue(sound);

    Tmp3 gone(missing);
    gone.Bitrate = 99;
    TSong song(sound, "", gone, true, false, 0, 0);
    EXPECT_EQ(song.ErrorText, "File not found " + missing);
    EXPECT_FALSE(queue.Add("", gone, true, false));

    Tmp3 bad(junk);
    EXPECT_FALSE(queue.Add("", bad, true, true));
    EXPECT_EQ(queue.Count(), 0u);
    MeasureTrack(sound, bad);
    EXPECT_EQ(bad.Duration, 0);
    EXPECT_EQ(bad.Bitrate, 0);

    // Without measuring, a missing file is still queued; it just never starts.
    EXPECT_TRUE(queue.Add("", gone, false, false));
    EXPECT_FALSE(queue.Play(0));
    EXPECT_EQ(queue.Current, std::nullopt);
}

TEST(SoundWithoutDevice, NothingPlaysAndMeasuringStoresZeros) {
    TSoundSystem sound;  // never initialised: no device
    EXPECT_FALSE(sound.Available());
    Tmp3 track(Fixture("tone.mp3"));
    MeasureTrack(sound, track);
    EXPECT_EQ(track.Duration, 0);
    EXPECT_EQ(track.Bitrate, 0);

    // Adding with a length to measure keeps the values it had.
    TPlayList queue(sound);
    track.Duration = 0;
    track.Bitrate = 77;
    EXPECT_TRUE(queue.Add("", track, true, false));
    EXPECT_EQ(track.Bitrate, 77);
    EXPECT_FALSE(queue.Play(0));
    EXPECT_EQ(queue.GetTimes().TimeText, "");
}

TEST(SoundSetup, FailingStepsAreReportedUnderTheirNames) {
    TSoundSystem sound;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto failures = sound.Init({TSoundSystem::OutputTypeOf("dummy"), -1, 9});
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].Function, "FSOUND_SetDriver");
    EXPECT_EQ(failures[1].Function, "FSOUND_SetMixer");
    EXPECT_EQ(failures[1].Text, "An invalid parameter was passed to this function");
    EXPECT_TRUE(sound.Available());  // the device itself still opened

    failures = sound.Init({999, 0, 4});
    ASSERT_FALSE(failures.empty());
    EXPECT_EQ(failures[0].Function, "FSOUND_SetOutput");
}

TEST(SoundErrorTexts, CodesMapToTheirTexts) {
    const std::pair<int, const char*> cases[] = {
        {0, "No errors"},
        {1, "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first"},
        {9, "File not found"},
        {10, "Unknown file format"},
        {18, "Required Mediaplayer codec is not installed"},
        {19, "Unknown error"},
        {-1, "Unknown error"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(SoundErrorText(code), text) << code;
}

TEST(SoundMixers, PlainMixersTakeNearestAndInterpolatingOnesFilter) {
    EXPECT_EQ(TSoundSystem::MixerQuality(1), TInterpolation::Nearest);
    EXPECT_EQ(TSoundSystem::MixerQuality(3), TInterpolation::Nearest);
    EXPECT_EQ(TSoundSystem::MixerQuality(0), TInterpolation::Linear);
    EXPECT_EQ(TSoundSystem::MixerQuality(4), TInterpolation::Cubic);
    EXPECT_EQ(TSoundSystem::MixerQuality(7), TInterpolation::Sinc);
}

TEST(SpectrumAnalysis, SinePeaksInItsBandAndSilenceIsFlat) {
    TSpectrumAnalyzer analyzer;
    std::vector<float> samples(TSpectrumAnalyzer::kWindow);
    for (double hz : {1000.0, 5000.0}) {
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / 44100));
        const auto bands = analyzer.Analyze(samples.data());
        const auto peak = std::max_element(bands.begin(), bands.end()) - bands.begin();
        EXPECT_EQ(peak, std::lround(hz * 1024 / 44100)) << hz;
        EXPECT_NEAR(bands[static_cast<size_t>(peak)], 1.0f, 0.2f);  // full scale reads about 1
    }
    std::fill(samples.begin(), samples.end(), 0.0f);
    const auto silent = analyzer.Analyze(samples.data());
    EXPECT_EQ(*std::max_element(silent.begin(), silent.end()), 0.0f);
}

}  // namespace

namespace {
TEST(SoundSystems, AnotherSystemComingAndGoingLeavesTheFirstPlaying) {
    TSoundSystem first;
    ASSERT_TRUE(StartSound(first));
    {
        // The dummy output opens one device only, so this one may be refused
        // its device; either way the first keeps its output.
        TSoundSystem second;
        second.Init({TSoundSystem::OutputTypeOf("dummy"), 0, 4});
        EXPECT_EQ(second.DriverNames(TSoundSystem::OutputTypeOf("dummy")).front(),
                  "Default device");
    }
    TPlayList queue(first);
    Tmp3 track(Fixture("tone.ogg"));
    ASSERT_TRUE(queue.Add("", track, true, true));
    ASSERT_TRUE(queue.Play(0));
    EXPECT_TRUE(WaitFor([&] { return queue.Song(0).Stream->TimeMs() > 200; }));
    EXPECT_TRUE(WaitFor([&] { return queue.CurrentEnded(); }));
}
}  // namespace
