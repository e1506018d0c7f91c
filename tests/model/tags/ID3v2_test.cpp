#include "tags/ID3v2.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TagTestFiles.h"
#include "Unprivileged.h"
#include "core/FileSystem.h"
#include "tags/TagFile.h"

#include "WriteFault.h"

namespace {

std::string Syncsafe(uint32_t n) {
    return {static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F),
            static_cast<char>((n >> 7) & 0x7F), static_cast<char>(n & 0x7F)};
}

// A version 3 tag of the given frames (id and data each).
std::string TagV3(std::initializer_list<std::pair<std::string, std::string>> frames) {
    std::string body;
    for (const auto& [id, data] : frames) {
        body += id;
        for (int i = 3; i >= 0; --i) body += static_cast<char>((data.size() >> (8 * i)) & 0xFF);
        body += std::string(2, '\0') + data;
    }
    return "ID3\x03" + std::string(2, '\0') + Syncsafe(static_cast<uint32_t>(body.size())) + body;
}

TID3v2 LoadBytes(const std::string& bytes) {
    TMemorySource source(bytes);
    TID3v2 tag;
    EXPECT_TRUE(tag.Load(source));
    return tag;
}

TEST(ID3v2Read, FixturesOfEveryVersionAndEncoding) {
    struct Case {
        const char* file;
        int version;
        const char* title;
        const char* artist;
        const char* album;
        const char* year;
        const char* genre;
        int track;
        std::string comment;
    } cases[] = {
        {"id3v23_full.mp3", 3, "Title", "Artist", "Album", "1999", "Rock", 3, "Hello"},
        {"id3v24_utf8.mp3", 4, "Beyonc\xC3\xA9 \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC",
         "\xC3\x84rtist", "Alb\xC3\xBCm", "2004", "Pop", 0, std::string(300, 'x')},
        {"id3v23_utf16.mp3", 3,
         "\xC3\x9Cn\xC3\xAF"
         "c\xC3\xB6"
         "d\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC",
         "Artist", "Album", "2010", "Jazz", 0, ""},
        {"id3v22.mp3", 2, "Old title", "Old artist", "Old album", "1995", "Rock", 0, "Hello"},
        {"id3v24_unsync.mp3", 4,
         "\xC3\xBF"
         "es",
         "Artist", "", "", "", 0, ""},
        {"id3v23_unsync.mp3", 3,
         "\xC3\xBF"
         "es",
         "Artist", "", "", "", 0, ""},
        {"id3v23_extended_header.mp3", 3, "Behind extended header", "", "", "1987", "", 0, ""},
        {"id3v24_plain_sizes.mp3", 4, "After plain size", "", "", "", "", 0, std::string(300, 'L')},
        {"id3v24_syncsafe_sizes.mp3", 4, "After syncsafe size", "", "", "2004", "", 0,
         std::string(300, 'L')},
        {"id3v2_encodings.mp3", 3, "Big endian", "No BOM", "BOM BE", "",
         "\xC3\x9Cn\xC3\xAF"
         "code \xE6\x9D\xB1\xE4\xBA\xAC",
         7, "Hello"},
        {"id3v2_frame_overruns_tag.mp3", 3, "Kept", "", "", "", "", 0, ""},
    };
    for (const auto& c : cases) {
        TID3v2 tag;
        ASSERT_TRUE(tag.Load(FixturePath(c.file))) << c.file;
        EXPECT_TRUE(tag.Present) << c.file;
        EXPECT_EQ(tag.Version, c.version) << c.file;
        EXPECT_EQ(tag.Title, c.title) << c.file;
        EXPECT_EQ(tag.Artist, c.artist) << c.file;
        EXPECT_EQ(tag.Album, c.album) << c.file;
        EXPECT_EQ(tag.Year, c.year) << c.file;
        EXPECT_EQ(tag.Genre, c.genre) << c.file;
        EXPECT_EQ(tag.Track, c.track) << c.file;
        EXPECT_EQ(tag.Comment, c.comment) << c.file;
    }
    TID3v2 tag;
    ASSERT_TRUE(tag.Load(FixturePath("id3v2_encodings.mp3")));
    EXPECT_EQ(tag.TrackText, "7/12");
    EXPECT_EQ(tag.Link, "http://x.example/");
}

TEST(ID3v2Read, UnusableTagsArePresentButEmpty) {
    for (const char* file : {"id3v2_version5.mp3", "id3v2_size_beyond_file.mp3"}) {
        TID3v2 tag;
        ASSERT_TRUE(tag.Load(FixturePath(file))) << file;
        EXPECT_TRUE(tag.Present) << file;
        EXPECT_EQ(tag.Title, "") << file;
        EXPECT_TRUE(tag.Frames().empty()) << file;
    }
    TID3v2 tag;
    EXPECT_FALSE(tag.Load(FixturePath("tiny.mp3")));
    EXPECT_TRUE(tag.Load(FixturePath("plain.mp3")));
    EXPECT_FALSE(tag.Present);
}

TEST(ID3v2Read, Version4ExtendedHeaderIsSkipped) {
    // A six-byte extended header (its size, seven-bit, counts itself), then a frame.
    const std::string frame =
        "TIT2" + Syncsafe(6) + std::string(2, '\0') + std::string("\0Title", 6);
    const std::string body = Syncsafe(6) + std::string("\x01\0", 2) + frame;
    const std::string tag =
        std::string("ID3\x04\0\x40", 6) + Syncsafe(static_cast<uint32_t>(body.size())) + body;
    EXPECT_EQ(LoadBytes(tag).Title, "Title");
}

TEST(ID3v2Read, FrameTextRules) {
    EXPECT_EQ(LoadBytes(TagV3({{"TPE1", std::string("\x01\0A\0B", 5)}})).Artist, "AB");  // no mark
    EXPECT_EQ(LoadBytes(TagV3({{"TIT2", std::string("\x01\xFF\xFE"
                                                    "A\0B\0\0\0",
                                                    9)}}))
                  .Title,
              "AB");
    EXPECT_EQ(LoadBytes(TagV3({{"TIT2", std::string("\x04x")}})).Title, "");  // unknown encoding
    EXPECT_EQ(LoadBytes(TagV3({{"TIT1", std::string("\0Group", 6)}})).Title, "Group");
    EXPECT_EQ(LoadBytes(TagV3({{"TIT2", std::string("\0First", 6)},
                               {"TIT2", std::string("\0Second", 7)}}))
                  .Title,
              "Second");
    EXPECT_EQ(LoadBytes(TagV3({{"TDRC", std::string("\0"
                                                    "2004-05-01",
                                                    11)}}))
                  .Year,
              "2004");
    EXPECT_EQ(LoadBytes(TagV3({{"COMM", std::string("\0engdesc\0Hello", 14)}})).Comment, "Hello");
    struct TrackCase {
        const char* text;
        int track;
    } tracks[] = {{"7/12", 7}, {"A1", 0}, {"99999999999", 0}, {"-3", 0}, {"12", 12}};
    for (const auto& t : tracks)
        EXPECT_EQ(LoadBytes(TagV3({{"TRCK", std::string(1, '\0') + t.text}})).Track, t.track)
            << t.text;
}

TEST(ID3v2Read, GenreReferences) {
    struct Case {
        const char* text;
        const char* genre;
    } cases[] = {
        {"(17)Rock", "Rock"},
        {"(17)", "Rock"},
        {"Rock", "Rock"},
        {"17", "Rock"},
        {"(RX)", "Remix"},
        {"(CR)(17)", "Rock"},
        {"(255)", ""},
        {"((foo)", "(foo)"},
        {"Rock (live)", "Rock (live)"},
        {"(17)(18)Jazz", "Jazz"},
        {"2000", "2000"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveGenreText(c.text), c.genre) << c.text;
}

class ID3v2Write : public ::testing::Test {
  protected:
    // The frames other than the five that Store writes.
    static std::vector<TID3v2Frame> KeptFrames(const TID3v2& tag) {
        std::vector<TID3v2Frame> kept;
        for (const auto& f : tag.Frames())
            if (f.Id != "TIT2" && f.Id != "TPE1" && f.Id != "TALB" && f.Id != "TYER" &&
                f.Id != "TDRC" && f.Id != "TCON" && f.Id != "TT2" && f.Id != "TP1" &&
                f.Id != "TAL" && f.Id != "TYE" && f.Id != "TCO")
                kept.push_back(f);
        return kept;
    }
    static void ExpectSameFrames(const std::vector<TID3v2Frame>& a,
                                 const std::vector<TID3v2Frame>& b) {
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].Id, b[i].Id);
            EXPECT_EQ(a[i].Flags, b[i].Flags) << a[i].Id;
            EXPECT_EQ(a[i].Data, b[i].Data) << a[i].Id;
        }
    }
    static std::string AudioAfterTag(const std::string& path) {
        TID3v2 tag;
        tag.Load(path);
        return FileBytes(path).substr(static_cast<size_t>(tag.Present ? tag.Size : 0));
    }
    static void SetAll(TID3v2& tag, const std::string& title) {
        tag.SetTitle(title);
        tag.SetArtist("New artist");
        tag.SetAlbum("New album");
        tag.SetYear("2020");
        tag.SetGenre("Jazz");
    }
    TempDir dir;
};

TEST_F(ID3v2Write, KeepsOtherFramesAndAudioAndWritesInPlaceWhenItFits) {
    struct Case {
        const char* file;
        bool fits;  // the old tag has room for the new frames
    } cases[] = {{"id3v23_full.mp3", true},
                 {"id3v22.mp3", true},
                 {"id3v24_utf8.mp3", true},
                 {"id3v23_unsync.mp3", false}};
    for (const auto& [file, fits] : cases) {
        const std::string path = CopyFixture(dir, file);
        const std::string before = FileBytes(path);
        TID3v2 tag;
        ASSERT_TRUE(tag.Load(path));
        const auto kept = KeptFrames(tag);
        const int version = tag.Version;
        const std::string audio = AudioAfterTag(path);
        SetAll(tag, "New title");
        ASSERT_TRUE(tag.Store(path)) << file;

        TID3v2 back;
        ASSERT_TRUE(back.Load(path));
        EXPECT_EQ(back.Version, version) << file;
        EXPECT_EQ(back.Title, "New title") << file;
        EXPECT_EQ(back.Artist, "New artist") << file;
        EXPECT_EQ(back.Album, "New album") << file;
        EXPECT_EQ(back.Year, "2020") << file;
        EXPECT_EQ(back.Genre, "Jazz") << file;
        ExpectSameFrames(KeptFrames(back), kept);
        EXPECT_EQ(AudioAfterTag(path), audio) << file;
        EXPECT_EQ(FileBytes(path).size() == before.size(), fits) << file;  // in place
        EXPECT_EQ(back.Size == 4096, !fits) << file;                       // rewritten with padding
    }
}

TEST_F(ID3v2Write, NewTagIsVersion3WithPaddingTo4096) {
    const std::string path = CopyFixture(dir, "plain.mp3");
    TID3v2 tag;
    ASSERT_TRUE(tag.Load(path));
    SetAll(tag, "Title");
    ASSERT_TRUE(tag.Store(path));
    const std::string after = FileBytes(path);
    EXPECT_EQ(after.substr(0, 4), "ID3\x03");
    EXPECT_EQ(after.size(), 4096 + FileBytes(FixturePath("plain.mp3")).size());
    EXPECT_EQ(after.substr(4096), FileBytes(FixturePath("plain.mp3")));
}

TEST_F(ID3v2Write, TagThatOutgrowsItsSpaceIsRewrittenWithoutPadding) {
    const std::string path = CopyFixture(dir, "id3v23_full.mp3");
    const std::string audio = AudioAfterTag(path);
    const std::string longTitle(5000, 't');
    const TID3v2 back = StoreAndReload<TID3v2>(path, [&](TID3v2& tag) { tag.SetTitle(longTitle); });
    EXPECT_EQ(back.Title, longTitle);  // values are never cut
    EXPECT_EQ(AudioAfterTag(path), audio);
    EXPECT_FALSE(FileExists(path + "~"));
    // Every byte of the tag is frames: no padding after the last one.
    const std::string bytes = FileBytes(path);
    EXPECT_NE(bytes[static_cast<size_t>(back.Size) - 1], '\0');
}

TEST_F(ID3v2Write, TextFramesAreLatin1OrUtf16AndUnchangedFramesKeepTheirBytes) {
    const std::string path = CopyFixture(dir, "id3v24_utf8.mp3");
    TID3v2 tag;
    ASSERT_TRUE(tag.Load(path));
    const TID3v2Frame oldArtist = tag.Frames()[1];
    tag.SetTitle("\xE6\x9D\xB1\xE4\xBA\xAC");
    tag.SetAlbum("Caf\xC3\xA9");
    ASSERT_TRUE(tag.Store(path));
    TID3v2 back;
    ASSERT_TRUE(back.Load(path));
    for (const auto& f : back.Frames()) {
        if (f.Id == "TIT2") {
            EXPECT_EQ(f.Data, std::string("\x01\xFF\xFE\x71\x67\xAC\x4E", 7));
        } else if (f.Id == "TALB") {
            EXPECT_EQ(f.Data, std::string("\0Caf\xE9", 5));
        } else if (f.Id == "TPE1") {
            EXPECT_EQ(f.Data, oldArtist.Data);  // still UTF-8, untouched
        }
    }
    EXPECT_EQ(back.Title, "\xE6\x9D\xB1\xE4\xBA\xAC");
    EXPECT_EQ(back.Album, "Caf\xC3\xA9");
}

TEST_F(ID3v2Write, UnsynchronisedVersion4TagStaysReadable) {
    const TID3v2 back = StoreAndReload<TID3v2>(CopyFixture(dir, "id3v24_unsync.mp3"),
                                               [](TID3v2& tag) { tag.SetAlbum("Added"); });
    EXPECT_EQ(back.Title,
              "\xC3\xBF"
              "es");
    EXPECT_EQ(back.Artist, "Artist");
    EXPECT_EQ(back.Album, "Added");
}

TEST_F(ID3v2Write, BytesAfterTheLastFrameAreKept) {
    const std::string path = CopyFixture(dir, "id3v2_frame_overruns_tag.mp3");
    StoreAndReload<TID3v2>(path, [](TID3v2& tag) { tag.SetArtist("A"); });
    EXPECT_NE(FileBytes(path).find("Lost"), std::string::npos);
}

TEST_F(ID3v2Write, TagsItCannotReadAreNeverReplaced) {
    for (const char* file : {"id3v2_version5.mp3", "id3v2_size_beyond_file.mp3", "tiny.mp3"}) {
        const std::string path = CopyFixture(dir, file);
        TID3v2 tag;
        tag.SetTitle("x");
        EXPECT_FALSE(tag.Store(path)) << file;
        EXPECT_EQ(FileBytes(path), FileBytes(FixturePath(file))) << file;
    }
}

TEST_F(ID3v2Write, FailedRewriteLeavesTheOriginal) {
    const std::string path = CopyFixture(dir, "plain.mp3");
    const std::string tagged = CopyFixture(dir, "id3v23_full.mp3");
    const auto names = FolderNames(dir.Path());
    TID3v2 tag;
    tag.SetTitle("x");
    {
        FileSizeLimit diskFull(1);
        EXPECT_FALSE(tag.Store(path));
        EXPECT_FALSE(tag.Strip(tagged));
    }
    EXPECT_EQ(FileBytes(path), FileBytes(FixturePath("plain.mp3")));
    EXPECT_EQ(FolderNames(dir.Path()), names);  // no temporary file left
    EXPECT_EQ(FileBytes(tagged), FileBytes(FixturePath("id3v23_full.mp3")));
}

TEST_F(ID3v2Write, RewriteKeepsPermissionBits) {
    const std::string path = CopyFixture(dir, "plain.mp3");
    chmod(path.c_str(), 0640);
    TID3v2 tag;
    tag.SetTitle("x");
    ASSERT_TRUE(tag.Store(path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ID3v2Write, ReadOnlyFileIsNotWritten) {
    const std::string path = CopyFixture(dir, "id3v23_full.mp3");
    const std::string original = FileBytes(FixturePath("id3v23_full.mp3"));
    RunUnprivileged({dir.Path()}, [&] {
        chmod(path.c_str(), 0444);
        TID3v2 tag;
        ASSERT_TRUE(tag.Load(path));
        tag.SetTitle("x");
        EXPECT_FALSE(tag.Store(path));
        EXPECT_FALSE(tag.Strip(path));
        EXPECT_EQ(FileBytes(path), original);
    });
}

TEST_F(ID3v2Write, StripLeavesTheAudio) {
    const std::string path = CopyFixture(dir, "id3v23_extended_header.mp3");
    TID3v2 tag;
    ASSERT_TRUE(tag.Strip(path));
    EXPECT_EQ(FileBytes(path), FileBytes(FixturePath("plain.mp3")));
    EXPECT_FALSE(tag.Strip(path));  // no tag any more
    EXPECT_EQ(FileBytes(path), FileBytes(FixturePath("plain.mp3")));
}

}  // namespace
