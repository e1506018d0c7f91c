// The play queue without sound: shuffle order, removing and moving songs,
// and the saved queue file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <set>

#include "SafeWriteCases.h"
#include "TempDir.h"
#include "collection/UIo.h"
#include "core/FileSystem.h"
#include "player/SoundSystem.h"
#include "player/Uplaylist.h"

namespace {

class PlayQueueTest : public ::testing::Test {
  protected:
    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            Tmp3 track("/music/" + std::to_string(queue.Count()) + ".mp3");
            ASSERT_TRUE(queue.Add("", track, false, false));
        }
    }
    // The songs in shuffle order; fails the test on a bad link or a cycle.
    std::vector<const TSong*> Chain() {
        std::vector<const TSong*> chain;
        std::set<size_t> seen;
        for (auto i = queue.FirstShuffled(); i; i = queue.ShuffleSuccessor(*i)) {
            EXPECT_TRUE(queue.ValidIndex(*i)) << "link " << *i;
            if (!queue.ValidIndex(*i) || !seen.insert(*i).second) {
                ADD_FAILURE() << "broken chain at " << *i;
                break;
            }
            chain.push_back(&queue.Song(*i));
        }
        // Songs outside the chain point nowhere.
        for (size_t i = 0; i < queue.Count(); ++i)
            if (!seen.count(i)) {
                EXPECT_EQ(queue.Song(i).NextShuffled, std::nullopt) << i;
            }
        return chain;
    }
    std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        for (size_t i = 0; i < queue.Count(); ++i)
            paths.push_back(ExtractFileName(queue.Song(i).Track.Path));
        return paths;
    }

    TSoundSystem sound;  // no device: nothing is opened
    TPlayList queue{sound};
};

TEST_F(PlayQueueTest, ShuffleVisitsEverySongOnceOrBuildsNoChainForFewSongs) {
    for (int count : {0, 1, 2, 3, 17, 200}) {
        SCOPED_TRACE(count);
        queue.Clear();
        queue.SetShuffle(false);
        Fill(count);
        queue.SetShuffle(true);
        const auto chain = Chain();
        EXPECT_EQ(chain.size(), count < 2 ? 0u : static_cast<size_t>(count));
        if (count < 2) {
            EXPECT_EQ(queue.FirstShuffled(), std::nullopt);
        }
        queue.SetShuffle(false);
        EXPECT_EQ(queue.FirstShuffled(), std::nullopt);
        EXPECT_TRUE(Chain().empty());
    }
}

TEST_F(PlayQueueTest, AddingAndRemovingKeepTheShuffleChainValidAndInOrder) {
    std::mt19937 random(12345);
    Fill(12);
    queue.SetShuffle(true);
    for (int step = 0; step < 400; ++step) {
        auto before = Chain();
        if (queue.Count() < 4 || random() % 2 == 0) {
            Fill(1);
            const auto after = Chain();
            // The new song joins the chain somewhere; the others keep their order.
            auto without = after;
            std::erase(without, &queue.Song(queue.Count() - 1));
            EXPECT_EQ(without, before);
            EXPECT_EQ(after.size(), before.size() + 1);
        } else {
            const size_t index = random() % queue.Count();
            const TSong* removed = &queue.Song(index);
            ASSERT_TRUE(queue.Delete(index));
            std::erase(before, removed);
            EXPECT_EQ(Chain(), before);  // the rest keeps its order
        }
    }
}

TEST_F(PlayQueueTest, ShuffleOrderIsBoundedByItsTable) {
    Fill(static_cast<int>(TPlayList::kShuffleTableSize) + 2);
    queue.SetShuffle(true);
    EXPECT_EQ(Chain().size(), TPlayList::kShuffleTableSize);
    for (size_t i = 0; i < queue.Count(); ++i) {
        const auto next = queue.ShuffleSuccessor(i);
        ASSERT_TRUE(!next || *next < TPlayList::kShuffleTableSize);
    }
}

TEST_F(PlayQueueTest, DeleteKeepsTheCurrentSongAndRefusesBadIndices) {
    Fill(4);
    queue.Current = 2;
    const TSong* current = &queue.Song(2);
    EXPECT_FALSE(queue.Delete(4));
    EXPECT_FALSE(queue.Delete(static_cast<size_t>(-1)));  // a negative row, converted
    EXPECT_EQ(queue.Count(), 4u);
    ASSERT_TRUE(queue.Delete(0));
    EXPECT_EQ(queue.Current, 1u);
    EXPECT_EQ(&queue.Song(*queue.Current), current);
    ASSERT_TRUE(queue.Delete(2));  // after the current one: no change
    EXPECT_EQ(queue.Current, 1u);
}

TEST_F(PlayQueueTest, DeleteTellsTheFirstSongApartFromNoCurrentSong) {
    struct Case {
        std::optional<size_t> current;
        size_t deleted;
        std::optional<size_t> after;
    };
    const Case cases[] = {
        {0, 0, std::nullopt},  // the current song itself goes
        {1, 0, 0},             // the song above goes: the first song is current
        {0, 1, 0},
        {2, 2, std::nullopt},
        {std::nullopt, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "delete " << c.deleted);
        queue.Clear();
        Fill(3);
        queue.Current = c.current;
        ASSERT_TRUE(queue.Delete(c.deleted));
        EXPECT_EQ(queue.Current, c.after);
    }
}

TEST_F(PlayQueueTest, ShuffleLinksToTheFirstSongSurviveDeletesAndMoves) {
    // Many rounds, so that the first song heads the order in some and sits
    // inside or at the end of it in others.
    for (int round = 0; round < 30; ++round) {
        queue.Clear();
        queue.SetShuffle(false);
        Fill(3);
        queue.SetShuffle(true);
        auto chain = Chain();
        ASSERT_EQ(chain.size(), 3u);
        ASSERT_TRUE(queue.Move(false, 0, 0));  // the first song and its links move
        EXPECT_EQ(Chain(), chain);
        ASSERT_TRUE(queue.Move(true, 1, 1));  // and back to the top
        EXPECT_EQ(Chain(), chain);
        const TSong* first = &queue.Song(0);
        ASSERT_TRUE(queue.Delete(0));
        std::erase(chain, first);
        EXPECT_EQ(Chain(), chain);  // links to the new first song stay links
        ASSERT_TRUE(queue.Delete(0));
        ASSERT_EQ(Chain().size(), 1u);
        EXPECT_EQ(queue.FirstShuffled(), 0u);
    }
}

TEST_F(PlayQueueTest, MoveShiftsABlockOnePlaceAndCurrentFollowsItsSong) {
    struct Case {
        bool up;
        size_t first, last;
        bool moved;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {true, 1, 2, true, {"1.mp3", "2.mp3", "0.mp3", "3.mp3"}},
        {false, 1, 2, true, {"0.mp3", "3.mp3", "1.mp3", "2.mp3"}},
        {true, 0, 1, false, {"0.mp3", "1.mp3", "2.mp3", "3.mp3"}},
        {false, 2, 3, false, {"0.mp3", "1.mp3", "2.mp3", "3.mp3"}},
        {true, 3, 3, true, {"0.mp3", "1.mp3", "3.mp3", "2.mp3"}},
        {true, 2, 2, true, {"0.mp3", "2.mp3", "1.mp3", "3.mp3"}},
        {false, 0, 0, true, {"1.mp3", "0.mp3", "2.mp3", "3.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.up << " " << c.first << ".." << c.last);
        queue.Clear();
        queue.SetShuffle(false);
        Fill(4);
        queue.SetShuffle(true);
        const auto chain = Chain();
        queue.Current = 1;
        const TSong* current = &queue.Song(1);
        EXPECT_EQ(queue.Move(c.up, c.first, c.last), c.moved);
        EXPECT_EQ(Paths(), c.order);
        // The song that played stays current, the shuffle order names the
        // same songs in the same order.
        ASSERT_TRUE(queue.Current && queue.ValidIndex(*queue.Current));
        EXPECT_EQ(&queue.Song(*queue.Current), current);
        EXPECT_EQ(Chain(), chain);
    }
}

TEST_F(PlayQueueTest, EveryWayOfFillingTheQueueWithShuffleOnGivesACompleteOrder) {
    TempDir dir;
    const std::string playlist = dir / "list.b4s";  // read without measuring
    const std::string saved = dir / "queue.els";
    Fill(3);
    ASSERT_TRUE(queue.SavePlaylist(playlist));
    queue.SaveQueue(saved);
    struct Case {
        const char* way;
        std::function<void()> fill;
        int count;
    };
    const Case cases[] = {
        {"clear, then add one by one",
         [&] {
             queue.Clear();
             Fill(5);
         },
         5},
        {"clear, then add one song",
         [&] {
             queue.Clear();
             Fill(1);
         },
         1},
        {"one song shuffled, then more",
         [&] {
             queue.Clear();
             Fill(1);
             queue.SetShuffle(true);
             Fill(2);
         },
         3},
        {"saved queue", [&] { queue.LoadQueue(saved); }, 3},
        {"saved queue, then more",
         [&] {
             queue.LoadQueue(saved);
             Fill(2);
         },
         5},
        {"playlist, then more",
         [&] {
             queue.LoadPlaylist(playlist);
             Fill(1);
         },
         -1},
    };
    for (int round = 0; round < 20; ++round)
        for (const auto& c : cases) {
            SCOPED_TRACE(c.way);
            queue.Clear();
            Fill(4);
            queue.SetShuffle(true);  // an order of songs about to go
            c.fill();
            if (c.count >= 0) {
                ASSERT_EQ(queue.Count(), static_cast<size_t>(c.count));
            }
            ASSERT_GE(queue.Count(), 1u);
            EXPECT_EQ(Chain().size(), queue.Count());
        }
}

TEST_F(PlayQueueTest, EmptyQueueHasNoTimesAndNothingToPause) {
    EXPECT_FALSE(queue.Play(0));
    queue.TogglePause();
    EXPECT_FALSE(queue.PausedIndex().has_value());
    EXPECT_FALSE(queue.CurrentEnded());
    const auto times = queue.GetTimes();
    EXPECT_EQ(times.Length, 0);
    EXPECT_EQ(times.Position, 0);
    EXPECT_EQ(times.TimeText, "");
}

// ---------------------------------------------------------------- mavelo.els

Tmp3 SampleTrack() {
    Tmp3 track("/music/a b/01 - Intro.mp3");
    track.Title = "Intro";
    track.Artist = "Artist";
    track.Album = "Album";
    track.Genre = "Rock";
    track.Year = 1999;
    track.TagKind = TTagKind::ID3v2;
    track.Duration = 249000;
    track.Bitrate = 192;
    return track;
}

TEST_F(PlayQueueTest, SavedQueueHasTheRecordLayout) {
    TempDir dir;
    Tmp3 track = SampleTrack();
    ASSERT_TRUE(queue.Add("/music/a b/cover.jpg", track, false, false));
    queue.SaveQueue(dir / "mavelo.els");

    TLoadSave expected;
    expected.OpenWriteToMemory();
    expected.WriteInteger(1);
    for (const char* text : {"/music/a b/01 - Intro.mp3", "Intro", "Artist", "Album", "Rock"})
        expected.WriteString(text);
    for (int32_t value : {1999, 2, 249000, 192}) expected.WriteInteger(value);
    expected.WriteString("/music/a b/cover.jpg");
    EXPECT_EQ(dir.Read("mavelo.els"), expected.Bytes());
    EXPECT_FALSE(FileExists(dir / "mavelo.els~"));  // written through a temporary file
}

TEST_F(PlayQueueTest, SavedQueuePassesEverySafeWriteCase) {
    Fill(2);
    auto save = [this](const std::string& path) {
        try {
            queue.SaveQueue(path);
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    };
    auto holdsTheQueue = [this](const std::string& path) {
        TSoundSystem otherSound;
        TPlayList read{otherSound};
        read.LoadQueue(path);
        return read.Count() == queue.Count();
    };
    CheckSafeWrites({{"mavelo.els", [](const std::string& p) { std::ofstream(p) << "old queue"; },
                      save, holdsTheQueue}});
}

TEST_F(PlayQueueTest, SavedQueueReadsBackIdle) {
    TempDir dir;
    Tmp3 track = SampleTrack();
    Tmp3 untitled("/music/x.ogg");
    ASSERT_TRUE(queue.Add("/music/a b/cover.jpg", track, false, false));
    ASSERT_TRUE(queue.Add("", untitled, false, false));
    queue.SaveQueue(dir / "mavelo.els");

    TPlayList loaded(sound);
    loaded.LoadQueue(dir / "mavelo.els");
    ASSERT_EQ(loaded.Count(), 2u);
    const Tmp3& back = loaded.Song(0).Track;
    EXPECT_EQ(back.Path, track.Path);
    EXPECT_EQ(back.Title, "Intro");
    EXPECT_EQ(back.Genre, "Rock");
    EXPECT_EQ(back.Year, 1999);
    EXPECT_EQ(back.TagKind, TTagKind::ID3v2);
    EXPECT_EQ(back.Duration, 249000);
    EXPECT_EQ(back.Bitrate, 192);
    EXPECT_EQ(back.PicturePath, "/music/a b/cover.jpg");
    EXPECT_EQ(loaded.Song(0).Length, 249);
    EXPECT_FALSE(loaded.Song(0).Started);
    EXPECT_EQ(loaded.Song(1).Track.Path, "/music/x.ogg");
    EXPECT_EQ(loaded.Current, std::nullopt);
}

TEST_F(PlayQueueTest, MissingEmptyOrDamagedQueueFiles) {
    TempDir dir;
    Fill(2);
    queue.LoadQueue(dir / "none.els");
    EXPECT_EQ(queue.Count(), 0u);

    queue.LoadQueue(dir.File("zero.els", std::string(4, '\0')));
    EXPECT_EQ(queue.Count(), 0u);

    // Two songs announced, the second one cut short: the first stays.
    Fill(2);
    queue.SaveQueue(dir / "full.els");
    const std::string bytes = dir.Read("full.els");
    const std::string cut = dir.File("cut.els", bytes.substr(0, bytes.size() - 10));
    TPlayList loaded(sound);
    EXPECT_THROW(loaded.LoadQueue(cut), EMyFileError);
    EXPECT_EQ(loaded.Count(), 1u);
}

TEST_F(PlayQueueTest, PlaylistRoundTripAndUnknownExtension) {
    TempDir dir;
    Tmp3 track = SampleTrack();
    track.Path = dir.File("01 - Intro.wav", "");  // a file of no known kind: no tags are read
    ASSERT_TRUE(queue.Add("", track, false, false));
    ASSERT_TRUE(queue.Add("", track, false, false));  // listed once in the playlist

    EXPECT_FALSE(queue.SavePlaylist(dir / "queue.txt"));
    EXPECT_FALSE(FileExists(dir / "queue.txt"));

    ASSERT_TRUE(queue.SavePlaylist(dir / "queue.m3u"));
    TPlayList loaded(sound);
    loaded.LoadPlaylist(dir / "queue.m3u");  // sound is off: nothing is measured
    ASSERT_EQ(loaded.Count(), 1u);
    EXPECT_EQ(loaded.Song(0).Track.Path, track.Path);
}

// What plays for a path the desktop hands over: a file, or an album folder's
// playlist chosen as scans choose it; nothing for a missing path or a folder
// without a playlist.
TEST(PlayableFileTest, FindsTheFileOrTheFoldersPlaylist) {
    TempDir dir;
    dir.File("both/b.pls", "");
    const std::string m3u = dir.File("both/z.m3u", "");
    dir.File("both/a.b4s", "");
    const std::string first = dir.File("two/a.m3u", "");
    dir.File("two/b.m3u", "");
    dir.File("none/01.mp3", "");
    const std::string track = dir.File("none/02.mp3", "");
    struct Case {
        std::string path;
        std::string expected;  // "" for a failure
    };
    const Case cases[] = {
        {dir / "both", m3u},   {dir / "two", first},  {track, track},
        {dir / "none", ""},    {dir / "missing", ""}, {dir / "missing.mp3", ""},
    };
    for (const Case& c : cases) {
        const TResult<std::string> found = PlayableFile(c.path);
        if (c.expected.empty()) {
            EXPECT_FALSE(found) << c.path;
            if (!found) EXPECT_NE(found.Failure().Text().find(c.path), std::string::npos);
        } else {
            ASSERT_TRUE(found) << c.path << ": " << found.Failure().Text();
            EXPECT_EQ(*found, c.expected);
        }
    }
}

TEST_F(PlayQueueTest, LoadPathNumbersThePlaylistsTracks) {
    TempDir dir;
    dir.File("a.wav", "");
    dir.File("b.wav", "");
    const std::string playlist = dir.File("album.m3u", "a.wav\nb.wav\n");
    Fill(1);
    ASSERT_TRUE(queue.LoadPath(playlist));
    ASSERT_EQ(queue.Count(), 2u);
    EXPECT_EQ(queue.Song(1).TrackNumber, 2);
    EXPECT_EQ(ExtractFileName(queue.Song(1).Track.Path), "b.wav");
}

}  // namespace
