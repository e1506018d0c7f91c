#include "tags/ID3v1.h"

#include <gtest/gtest.h>

#include "TagTestFiles.h"
#include "tags/TagFile.h"

namespace {

TEST(ID3v1Read, FixturesGiveTheirFields) {
    struct Case {
        const char* file;
        int version;
        const char* title;
        const char* artist;
        const char* year;
        std::string comment;
        int track;
        int genre;
    } cases[] = {
        {"id3v1_v10.mp3", 1, "Title", "Artist", "1999", std::string(30, 'c'), 0, 17},
        {"id3v1_v11_cp1252.mp3", 2, "Caf\xC3\xA9 \xE2\x82\xAC", "Artist", "19x9", "Comment", 7,
         200},
        {"id3v1_utf8.mp3", 1, "Caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC", "A", "2001", "", 0, 255},
        // a blank at 125 and a printable byte at 126: version 1.1 with track '5'
        {"id3v1_blank_track.mp3", 2, "T", "", "", std::string(28, 'x'), '5', 8},
    };
    for (const auto& c : cases) {
        TID3v1 tag;
        ASSERT_TRUE(tag.Load(FixturePath(c.file))) << c.file;
        EXPECT_TRUE(tag.Present) << c.file;
        EXPECT_EQ(tag.Version, c.version) << c.file;
        EXPECT_EQ(tag.Title, c.title) << c.file;
        EXPECT_EQ(tag.Artist, c.artist) << c.file;
        EXPECT_EQ(tag.Year, c.year) << c.file;
        EXPECT_EQ(tag.Comment, c.comment) << c.file;
        EXPECT_EQ(tag.Track, c.track) << c.file;
        EXPECT_EQ(tag.GenreIndex, c.genre) << c.file;
    }
}

TEST(ID3v1Read, NoTagShortFileAndMissingFile) {
    TID3v1 tag;
    EXPECT_TRUE(tag.Load(FixturePath("plain.mp3")));
    EXPECT_FALSE(tag.Present);
    EXPECT_EQ(tag.GenreIndex, 255);
    EXPECT_FALSE(tag.Load(FixturePath("tiny.mp3")));
    EXPECT_FALSE(tag.Load(FixturePath("missing.mp3")));
}

TEST(ID3v1Read, FieldEndsAtZeroByteAndLosesTrailingBlanks) {
    std::string block = "TAG" + std::string("Ti\0junk", 7) + std::string(23, '\0') + "Art  \t" +
                        std::string(24, ' ') + std::string(64, '\0') + '\x11';
    ASSERT_EQ(block.size(), 128u);
    const std::string file = "audio" + block;
    TMemorySource source(file);
    TID3v1 tag;
    ASSERT_TRUE(tag.Load(source));
    EXPECT_EQ(tag.Title, "Ti");
    EXPECT_EQ(tag.Artist, "Art");
    EXPECT_EQ(tag.GenreIndex, 17);
}

TEST(ID3v1Setters, CutToStoredWidthWithoutSplittingCharacters) {
    TID3v1 tag;
    tag.SetTitle(std::string(31, 'a') + "   ");
    EXPECT_EQ(tag.Title, std::string(30, 'a'));
    tag.SetTitle("Title   ");
    EXPECT_EQ(tag.Title, "Title");
    std::string accented;  // 31 characters that Windows-1252 stores in one byte each
    for (int i = 0; i < 31; ++i) accented += "\xC3\xA9";
    tag.SetArtist(accented);
    EXPECT_EQ(tag.Artist, accented.substr(0, 60));
    std::string wide;  // not in Windows-1252: one "?" each, thirty of them
    for (int i = 0; i < 31; ++i) wide += "\xE6\x9D\xB1";
    tag.SetAlbum(wide);
    EXPECT_EQ(tag.Album, std::string(30, '?'));
    tag.SetYear("19999");
    EXPECT_EQ(tag.Year, "1999");
}

TEST(ID3v1Block, BuildAndReadAreMirrorImages) {
    TID3v1 tag;
    tag.SetTitle("Caf\xC3\xA9 \xE2\x82\xAC");
    tag.SetArtist("\xE6\x9D\xB1\xE4\xBA\xAC");
    tag.SetYear("2001");
    tag.Comment = std::string(30, 'c');
    tag.Track = 9;
    tag.SetGenreIndex(17);
    const std::string block = tag.BuildBlock();
    ASSERT_EQ(block.size(), 128u);
    EXPECT_EQ(block.substr(3, 7), std::string("Caf\xE9 \x80\0", 7));  // Windows-1252 where it fits
    EXPECT_EQ(block[125], '\0');
    EXPECT_EQ(block[126], 9);
    TID3v1 back;
    back.ReadBlock(block);
    EXPECT_EQ(back.Title, tag.Title);
    EXPECT_EQ(back.Artist, tag.Artist);
    EXPECT_EQ(back.Year, "2001");
    EXPECT_EQ(back.Comment, std::string(28, 'c'));  // the track takes the last two bytes
    EXPECT_EQ(back.Track, 9);
    EXPECT_EQ(back.Version, 2);
}

class ID3v1Write : public ::testing::Test {
  protected:
    TempDir dir;
};

TEST_F(ID3v1Write, StoreAppendsOrReplacesAndKeepsCommentAndTrack) {
    const std::string plain = CopyFixture(dir, "plain.mp3");
    const size_t audio = FileBytes(plain).size();
    TID3v1 tag;
    ASSERT_TRUE(tag.Load(plain));
    tag.SetTitle("New");
    ASSERT_TRUE(tag.Store(plain));
    EXPECT_EQ(FileBytes(plain).size(), audio + 128);

    const std::string tagged = CopyFixture(dir, "id3v1_v11_cp1252.mp3");
    const std::string before = FileBytes(tagged);
    ASSERT_TRUE(tag.Load(tagged));
    tag.SetTitle("Replaced");
    ASSERT_TRUE(tag.Store(tagged));
    const std::string after = FileBytes(tagged);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, after.size() - 128), before.substr(0, before.size() - 128));
    TID3v1 back;
    ASSERT_TRUE(back.Load(tagged));
    EXPECT_EQ(back.Title, "Replaced");
    EXPECT_EQ(back.Comment, "Comment");
    EXPECT_EQ(back.Track, 7);
    EXPECT_EQ(back.GenreIndex, 200);
}

TEST_F(ID3v1Write, StripRemovesOnlyATag) {
    const std::string tagged = CopyFixture(dir, "id3v1_v10.mp3");
    TID3v1 tag;
    ASSERT_TRUE(tag.Strip(tagged));
    EXPECT_EQ(FileBytes(tagged), FileBytes(FixturePath("plain.mp3")));
    ASSERT_TRUE(tag.Strip(tagged));  // nothing left to remove
    EXPECT_EQ(FileBytes(tagged), FileBytes(FixturePath("plain.mp3")));
}

TEST_F(ID3v1Write, ShortFileIsRefusedUnchanged) {
    const std::string tiny = CopyFixture(dir, "tiny.mp3");
    TID3v1 tag;
    tag.SetTitle("x");
    EXPECT_FALSE(tag.Store(tiny));
    EXPECT_FALSE(tag.Strip(tiny));
    EXPECT_EQ(FileBytes(tiny), FileBytes(FixturePath("tiny.mp3")));
    EXPECT_FALSE(tag.Store(dir / "missing.mp3"));
}

TEST(GenreTable, NamesAndNumbers) {
    ASSERT_EQ(GenreList().size(), 148u);
    EXPECT_EQ(GenreNames[0], "Blues");
    EXPECT_EQ(GenreNames[17], "Rock");
    EXPECT_EQ(GenreNames[147], "SynthPop");
    EXPECT_EQ(GenreIndexOf("rock"), 17);
    EXPECT_EQ(GenreIndexOf("R&B"), 14);
    EXPECT_EQ(GenreIndexOf("Blues"), 0);  // genre 0 is a genre, not "none"
    EXPECT_FALSE(GenreIndexOf("Nope").has_value());
    EXPECT_EQ(GenreName(147), "SynthPop");
    EXPECT_EQ(GenreName(148), "");
    EXPECT_EQ(GenreName(255), "");
}

}  // namespace
