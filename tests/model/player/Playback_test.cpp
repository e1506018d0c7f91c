// Playing through SDL's dummy and disk drivers: the end of a song, pause and
// resume, seeking, modules, volume and the spectrum of what plays.  Every wait
// is for a condition, never for a time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <fstream>

#include "SoundTestSupport.h"
#include "TempDir.h"
#include "core/FileSystem.h"
#include "player/SoundSource.h"
#include "player/Transport.h"
#include "player/Uplaylist.h"

namespace {

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartSound(sound)); }
    void Queue(std::initializer_list<const char*> files) {
        for (const char* f : files) {
            Tmp3 track(Fixture(f));
            track.Title = f;
            ASSERT_TRUE(queue.Add("", track, true, true));
        }
    }
    // Waits until the current stream has played `ms` milliseconds.
    bool WaitForTime(int64_t ms) {
        return WaitFor([&] {
            const TSong& song = queue.Song(*queue.Current);
            return song.Stream && song.Stream->TimeMs() >= ms;
        });
    }

    TSoundSystem sound;
    TPlayList queue{sound};
    TTransport transport{queue};
};

TEST_F(PlaybackTest, EndOfSongAdvancesToTheNextAndStopsAfterTheLast) {
    Queue({"tone.wav", "tone.ogg"});
    transport.SelectedRow = 1;
    ASSERT_TRUE(transport.PlayCommand(true));
    EXPECT_EQ(transport.NowPlaying().ScrollTitle, "tone.wav - ");
    EXPECT_EQ(transport.Display().BitrateText, "353kb");

    ASSERT_TRUE(WaitFor([&] { return transport.Tick(), queue.Current == 1u; }));
    EXPECT_EQ(transport.SelectedRow, 2);
    ASSERT_TRUE(WaitFor([&] { return !transport.Tick(); }));
    EXPECT_EQ(queue.Current, std::nullopt);
    EXPECT_EQ(transport.SelectedRow, 2);  // the last row stays selected
    EXPECT_EQ(transport.Display().TimeText, "0:00 / 0:00");
    EXPECT_EQ(transport.Display().BitrateText, "- kb");
}

TEST_F(PlaybackTest, PauseAndResumeContinueAtTheWholeSecond) {
    Queue({"tone.mp3"});
    ASSERT_TRUE(queue.Play(0));
    ASSERT_TRUE(WaitForTime(1400));
    queue.TogglePause();
    EXPECT_EQ(queue.PausedIndex(), 0u);
    EXPECT_EQ(queue.Song(0).PausedAt, 1);
    EXPECT_EQ(queue.GetTimes().TimeText, "Pause");
    EXPECT_FALSE(queue.CurrentEnded());  // a paused song never counts as ended

    queue.TogglePause();
    EXPECT_FALSE(queue.PausedIndex().has_value());
    EXPECT_EQ(queue.Current, 0u);
    const int64_t resumed = queue.Song(0).Stream->TimeMs();
    EXPECT_GE(resumed, 1000);
    EXPECT_LT(resumed, 1400);  // from 1.0 s, not from where the pause came
    EXPECT_EQ(queue.GetTimes().TimeText.substr(0, 4), "0:01");
}

TEST_F(PlaybackTest, SeekMovesTheStreamAndTheTimeText) {
    Queue({"tone.ogg"});
    ASSERT_TRUE(queue.Play(0));
    EXPECT_EQ(queue.GetTimes().Length, 2);
    queue.Seek(1);
    const auto times = queue.GetTimes();
    EXPECT_EQ(times.Position, 1);
    EXPECT_EQ(times.TimeText, "0:01 / 0:02");
    ASSERT_TRUE(WaitFor([&] { return queue.CurrentEnded(); }));
}

TEST_F(PlaybackTest, ModulePlaysByOrdersWithoutTimeText) {
    Queue({"tone.mod"});
    ASSERT_TRUE(queue.Play(0));
    EXPECT_EQ(queue.GetTimes().Length, 3);
    queue.Seek(2);
    ASSERT_TRUE(WaitFor([&] { return queue.GetTimes().Position == 2; }));
    EXPECT_EQ(queue.GetTimes().TimeText, "");
    queue.TogglePause();
    EXPECT_EQ(queue.Song(0).PausedAt, 2);
    EXPECT_EQ(queue.GetTimes().TimeText, "Pause");
    queue.TogglePause();
    EXPECT_EQ(queue.GetTimes().Position, 2);  // resumed at its order
    ASSERT_TRUE(WaitFor([&] { return queue.CurrentEnded(); }));
}

TEST_F(PlaybackTest, SpectrumOfASinePeaksAtItsFrequency) {
    Queue({"tone.wav"});
    sound.SetSpectrumActive(true);
    ASSERT_TRUE(queue.Play(0));
    ASSERT_TRUE(WaitForTime(300));
    const auto bands = sound.GetSpectrum();
    const auto peak = std::max_element(bands.begin(), bands.end()) - bands.begin();
    EXPECT_EQ(peak, 23);          // 1000 Hz / (44100 Hz / 1024)
    EXPECT_GT(bands[23], 0.05f);  // the fixture sine has an amplitude of 1/8
    sound.SetSpectrumActive(false);
    EXPECT_EQ(sound.GetSpectrum()[23], 0.0f);
}

TEST_F(PlaybackTest, NextAndPreviousMoveFromTheSelectedRow) {
    Queue({"tone.wav", "tone.ogg", "tone.mp3"});
    transport.SelectedRow = 1;
    ASSERT_TRUE(transport.PlayCommand(true));
    transport.PreviousCommand();  // on row 1: nothing
    EXPECT_EQ(queue.Current, 0u);
    transport.NextCommand();
    EXPECT_EQ(queue.Current, 1u);
    transport.SelectedRow = 3;
    transport.NextCommand();  // on the last row: nothing
    EXPECT_EQ(queue.Current, 1u);
    transport.PreviousCommand();  // from the selected row, not the playing one
    EXPECT_EQ(queue.Current, 1u);
    EXPECT_EQ(transport.SelectedRow, 2);
}

TEST_F(PlaybackTest, PreviousWithShuffleFollowsTheShuffleOrder) {
    Queue({"tone.wav", "tone.ogg", "tone.mp3"});
    queue.SetShuffle(true);
    ASSERT_TRUE(transport.PlayCommand(true));  // user-started: the head of the order
    EXPECT_EQ(queue.Current, queue.FirstShuffled());
    ASSERT_TRUE(queue.Current.has_value());
    const auto next = queue.ShuffleSuccessor(*queue.Current);
    transport.PreviousCommand();
    EXPECT_EQ(queue.Current, next);
}

TEST_F(PlaybackTest, PlayWhilePausedResumesOrStartsAnotherRow) {
    Queue({"tone.wav", "tone.ogg"});
    transport.SelectedRow = 1;
    ASSERT_TRUE(transport.PlayCommand(true));
    ASSERT_TRUE(WaitForTime(1000));
    transport.PauseCommand();
    queue.SetShuffle(true);  // the shuffle rule does not apply while paused
    transport.PlayCommand(true);
    EXPECT_EQ(queue.Current, 0u);
    EXPECT_GE(queue.Song(0).Stream->TimeMs(), 1000);  // resumed, not restarted

    transport.PauseCommand();
    transport.SelectedRow = 2;
    transport.PlayCommand(true);
    EXPECT_EQ(queue.Current, 1u);
    EXPECT_LT(queue.Song(1).Stream->TimeMs(), 1000);  // from its beginning
    EXPECT_FALSE(queue.Song(0).Started);
    EXPECT_FALSE(queue.PausedIndex().has_value());
}

// The next song is opened ahead and joins the current one in the mixer; an
// edit of the queue, a seek or a pause drops what was prepared, and a song
// that cannot be opened is left to start (and fail) the ordinary way.
TEST_F(PlaybackTest, TheNextSongIsPreparedAndDroppedWhenTheQueueChanges) {
    Queue({"tone.wav", "tone.ogg", "tone.mp3"});
    transport.SelectedRow = 1;
    ASSERT_TRUE(transport.PlayCommand(true));
    transport.Tick();  // the songs are shorter than the time ahead: prepared at once
    ASSERT_EQ(queue.Prepared(), std::optional<size_t>(1));

    using TEdit = std::function<void()>;
    for (const TEdit& edit : {TEdit([&] { queue.Move(false, 2, 2); }),
                              TEdit([&] { queue.Seek(0); }),
                              TEdit([&] { queue.SetShuffle(false); }),
                              TEdit([&] { queue.Delete(2); })}) {
        transport.Tick();
        ASSERT_TRUE(queue.Prepared());
        edit();
        EXPECT_EQ(queue.Prepared(), std::nullopt);
        EXPECT_EQ(queue.Current, std::optional<size_t>(0));  // the current song plays on
        EXPECT_FALSE(queue.Song(1).Started);
    }
    // The mixer moves on by itself; the transport takes the new song over.
    transport.Tick();
    ASSERT_TRUE(WaitFor([&] { return transport.Tick(), queue.Current == 1u; }));
    EXPECT_TRUE(queue.Song(1).Started);
    EXPECT_FALSE(queue.Song(0).Started);
    EXPECT_EQ(transport.SelectedRow, 2);
    EXPECT_EQ(transport.NowPlaying().ScrollTitle, "tone.ogg - ");
    ASSERT_TRUE(WaitFor([&] { return !transport.Tick(); }));
}

TEST_F(PlaybackTest, ASongThatDoesNotOpenIsNotPreparedAndFailsAsBefore) {
    TempDir dir;
    Queue({"tone.wav"});
    Tmp3 broken(dir.File("broken.mp3", "not audio at all"));
    ASSERT_TRUE(queue.Add("", broken, false, false));
    transport.SelectedRow = 1;
    ASSERT_TRUE(transport.PlayCommand(true));
    transport.Tick();
    EXPECT_EQ(queue.Prepared(), std::nullopt);
    EXPECT_TRUE(queue.Song(1).ErrorText.empty());
    ASSERT_TRUE(WaitFor([&] { return !transport.Tick(); }));
    EXPECT_EQ(queue.Current, std::nullopt);
}

TEST(PlaybackToDisk, VolumeZeroWritesSilenceAndFullVolumeDoesNot) {
    TempDir dir;
    for (int volume : {0, 255}) {
        SCOPED_TRACE(volume);
        const std::string out = dir / ("out" + std::to_string(volume) + ".raw");
        setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);  // as fast as the machine goes
        TSoundSystem sound;
        ASSERT_TRUE(StartSound(sound, "disk"));
        TPlayList queue(sound);
        Tmp3 track(Fixture("tone.wav"));
        ASSERT_TRUE(queue.Add("", track, true, true));
        queue.SetVolume(volume);
        ASSERT_TRUE(queue.Play(0));
        ASSERT_TRUE(WaitFor([&] { return queue.CurrentEnded(); }));
        sound.Close();
        const std::string bytes = ReadWholeFile(out);
        ASSERT_GT(bytes.size(), 100000u);
        const bool silent = bytes.find_first_not_of('\0') == std::string::npos;
        EXPECT_EQ(silent, volume == 0);
    }
}

}  // namespace
