#include "tags/OggVorbis.h"

#include <gtest/gtest.h>

#include "TagTestFiles.h"
#include "core/FileSystem.h"
#include "tags/ID3v2.h"
#include "tags/OggPages.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"

#include "WriteFault.h"

namespace {

// Checks every page from `start` to the end: checksums right, sequence
// numbers consecutive.  Returns the number of pages.
size_t CheckPages(const std::string& bytes, int64_t start = 0) {
    TMemorySource source(bytes);
    TOggPage page;
    size_t count = 0;
    uint32_t expected = 0;
    int64_t at = start;
    for (; ReadOggPage(source, at, page); at += static_cast<int64_t>(page.TotalSize())) {
        std::string copy = bytes.substr(static_cast<size_t>(at), page.TotalSize());
        const auto stored = static_cast<uint32_t>(ReadLE(copy, 22, 4));
        PutLE32(copy, 22, 0);
        EXPECT_EQ(OggChecksum(copy), stored) << "page " << count;
        if (count > 0) {
            EXPECT_EQ(page.Sequence, expected) << "page " << count;
        }
        expected = page.Sequence + 1;
        ++count;
    }
    EXPECT_EQ(at, static_cast<int64_t>(bytes.size())) << "bytes after the last page";
    return count;
}

// Every packet of the stream in the file.
std::vector<std::string> Packets(const std::string& path) {
    const std::string bytes = FileBytes(path);
    TMemorySource source(bytes);
    TOggPackets all;
    ReadOggPackets(source, Id3v2TotalSize(source), 100000, all);
    return all.Packets;
}

// The vorbis.ogg fixture with another comment packet.
std::string OggWithComments(const std::vector<std::string>& entries) {
    const std::string base = FileBytes(FixturePath("vorbis.ogg"));
    TMemorySource source(base);
    TOggPackets headers;
    EXPECT_TRUE(ReadOggPackets(source, 0, 3, headers));
    TVorbisComments comments{"test vendor", entries, "\x01"};
    const uint32_t serial = headers.Pages[1].Serial;
    size_t count = 0;
    std::string pages = MakeOggPages({BuildVorbisCommentPacket(comments), headers.Packets[2]},
                                     serial, headers.Pages[1].Sequence, count);
    std::string rest = base.substr(static_cast<size_t>(headers.End));
    RenumberOggPages(rest, serial,
                     static_cast<int64_t>(count) - static_cast<int64_t>(headers.Pages.size() - 1));
    return base.substr(0, static_cast<size_t>(headers.Pages[1].Offset)) + pages + rest;
}

TOggVorbis LoadBytes(const std::string& bytes) {
    TMemorySource source(bytes);
    TOggVorbis ogg;
    EXPECT_TRUE(ogg.Load(source));
    return ogg;
}

TEST(OggRead, FixtureValuesAndStream) {
    struct Case {
        const char* file;
        const char* title;
        const char* artist;
        const char* date;
        const char* comment;
        int track;
        int64_t id3v2Size;
    } cases[] = {
        {"vorbis.ogg", "Song", "Beyonc\xC3\xA9", "2001", "Hi", 3, 0},
        {"vorbis_id3.ogg", "Song", "Beyonc\xC3\xA9", "2001", "Hi", 3, 1024},
        {"vorbis_performer.ogg", "Song", "X", "1998-02-03", "About", 0, 0},
        {"vorbis_picture.ogg", "With picture", "Artist", "", "", 0, 0},
        {"vorbis_no_comments.ogg", "", "", "", "", 0, 0},
    };
    for (const auto& c : cases) {
        TOggVorbis ogg;
        ASSERT_TRUE(ogg.Load(FixturePath(c.file))) << c.file;
        EXPECT_EQ(ogg.Title, c.title) << c.file;
        EXPECT_EQ(ogg.Artist, c.artist) << c.file;
        EXPECT_EQ(ogg.Date, c.date) << c.file;
        EXPECT_EQ(ogg.Comment, c.comment) << c.file;
        EXPECT_EQ(ogg.Track, c.track) << c.file;
        EXPECT_EQ(ogg.ID3v2Size, c.id3v2Size) << c.file;
        EXPECT_EQ(ogg.Channels, 1) << c.file;
        EXPECT_EQ(ogg.SampleRate, 8000u) << c.file;
        EXPECT_EQ(ogg.Samples, 2400) << c.file;
        EXPECT_DOUBLE_EQ(ogg.Duration(), 0.3) << c.file;
        EXPECT_TRUE(ogg.Valid()) << c.file;
    }
}

TEST(OggRead, OtherFilesAreRefused) {
    TOggVorbis ogg;
    EXPECT_FALSE(ogg.Load(FixturePath("plain.mp3")));
    EXPECT_FALSE(ogg.Load(FixturePath("tiny.mp3")));
    EXPECT_FALSE(ogg.Load(FixturePath("missing.ogg")));
    // The identification page is whole, the comments are cut off.
    ASSERT_TRUE(ogg.Load(FixturePath("vorbis_truncated.ogg")));
    EXPECT_EQ(ogg.Title, "");
    EXPECT_EQ(ogg.Samples, 0);
}

TEST(OggRead, CommentRules) {
    const std::string longValue(300, 'v');
    TOggVorbis ogg = LoadBytes(
        OggWithComments({"title=Song", "TITLE=Other", "TRACKNUMBER=3/12", "ALBUM=" + longValue,
                         "GENRE=Caf\xE9", "ARTIST=  padded  ", "no equals sign"}));
    EXPECT_EQ(ogg.Title, "Other");
    EXPECT_EQ(ogg.Track, 3);
    EXPECT_EQ(ogg.Album, longValue);      // never cut
    EXPECT_EQ(ogg.Genre, "Caf\xC3\xA9");  // not UTF-8: read as 8-bit text
    EXPECT_EQ(ogg.Artist, "padded");
    EXPECT_EQ(ogg.Vendor, "test vendor");
}

TEST(OggDuration, FromSamplesOrNominalBitRate) {
    TOggVorbis ogg;
    ogg.Channels = 2;
    ogg.SampleRate = 44100;
    ogg.Samples = 13230000;
    ogg.FileSize = 4800000;
    EXPECT_DOUBLE_EQ(ogg.Duration(), 300.0);
    EXPECT_EQ(ogg.BitRate(), 128);
    EXPECT_TRUE(ogg.Valid());
    ogg.Samples = 0;
    ogg.NominalBitRate = 128;
    EXPECT_DOUBLE_EQ(ogg.Duration(), 300.0);
    ogg.Channels = 6;
    EXPECT_FALSE(ogg.Valid());
    ogg.Samples = int64_t{1} << 40;  // granule positions beyond 32 bits
    ogg.Channels = 2;
    EXPECT_DOUBLE_EQ(ogg.Duration(), static_cast<double>(int64_t{1} << 40) / 44100);
}

class OggWrite : public ::testing::Test {
  protected:
    TempDir dir;
};

TEST_F(OggWrite, ReplacesChangedFieldsAndKeepsEverythingElse) {
    const std::string path = CopyFixture(dir, "vorbis.ogg");
    const auto before = Packets(path);
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Load(path));
    ogg.Title = "New \xE6\x9D\xB1";
    ogg.Genre = "";
    ASSERT_TRUE(ogg.Store(path));

    const auto after = Packets(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(after.begin() + 2, after.end(), before.begin() + 2));  // setup, audio
    TVorbisComments comments;
    ASSERT_TRUE(ParseVorbisComments(after[1], comments));
    const std::vector<std::string> expected = {
        "TITLE=New \xE6\x9D\xB1", "ARTIST=Beyonc\xC3\xA9",          "ALBUM=Album", "DATE=2001",
        "TRACKNUMBER=3/12",       "REPLAYGAIN_TRACK_GAIN=-6.00 dB", "COMMENT=Hi"};
    EXPECT_EQ(comments.Entries, expected);
    TVorbisComments old;
    ParseVorbisComments(before[1], old);
    EXPECT_EQ(comments.Vendor, old.Vendor);
    EXPECT_EQ(comments.Tail, old.Tail);
    CheckPages(FileBytes(path));
    EXPECT_FALSE(FileExists(path + "~"));
}

TEST_F(OggWrite, CommentPacketSpanningPagesKeepsThePicture) {
    const std::string path = CopyFixture(dir, "vorbis_picture.ogg");
    const auto before = Packets(path);
    const TOggVorbis back =
        StoreAndReload<TOggVorbis>(path, [](TOggVorbis& ogg) { ogg.Album = "Added"; });
    CheckPages(FileBytes(path));
    const auto after = Packets(path);
    TVorbisComments oldComments, newComments;
    ParseVorbisComments(before[1], oldComments);
    ParseVorbisComments(after[1], newComments);
    EXPECT_EQ(newComments.Entries.size(), oldComments.Entries.size() + 1);
    EXPECT_EQ(newComments.Entries[2], oldComments.Entries[2]);  // the picture, byte for byte
    EXPECT_TRUE(std::equal(after.begin() + 2, after.end(), before.begin() + 2));
    EXPECT_EQ(back.Album, "Added");
    EXPECT_EQ(back.Title, "With picture");
}

TEST_F(OggWrite, PacketNeedingMoreThan255SegmentsIsRepaged) {
    const std::string path = CopyFixture(dir, "vorbis.ogg");
    const std::string original = FileBytes(path);
    const size_t pagesBefore = CheckPages(original);
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Load(path));
    const std::string title = ogg.Title;
    ogg.Title = std::string(70000, 'T');
    ASSERT_TRUE(ogg.Store(path));
    EXPECT_GT(CheckPages(FileBytes(path)), pagesBefore);  // later pages renumbered
    TOggVorbis back;
    ASSERT_TRUE(back.Load(path));
    EXPECT_EQ(back.Title.size(), 70000u);
    EXPECT_EQ(back.Samples, 2400);

    back.Title = title;  // and back to the old layout
    ASSERT_TRUE(back.Store(path));
    EXPECT_EQ(CheckPages(FileBytes(path)), pagesBefore);
    EXPECT_EQ(Packets(path), Packets(FixturePath("vorbis.ogg")));
}

TEST_F(OggWrite, TagInFrontIsKept) {
    const std::string path = CopyFixture(dir, "vorbis_id3.ogg");
    const TOggVorbis back =
        StoreAndReload<TOggVorbis>(path, [](TOggVorbis& ogg) { ogg.Artist = "Other"; });
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.substr(0, 1024), FileBytes(FixturePath("vorbis_id3.ogg")).substr(0, 1024));
    CheckPages(bytes, 1024);
    EXPECT_EQ(back.Artist, "Other");
}

TEST_F(OggWrite, FailuresLeaveTheFile) {
    for (const char* file : {"vorbis_truncated.ogg", "plain.mp3"}) {
        const std::string path = CopyFixture(dir, file);
        TOggVorbis ogg;
        ogg.Title = "x";
        EXPECT_FALSE(ogg.Store(path)) << file;
        EXPECT_EQ(FileBytes(path), FileBytes(FixturePath(file))) << file;
    }
    const std::string path = CopyFixture(dir, "vorbis.ogg");
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Load(path));
    ogg.Title = "x";
    {
        FileSizeLimit diskFull(1);
        EXPECT_FALSE(ogg.Store(path));
    }
    EXPECT_EQ(FileBytes(path), FileBytes(FixturePath("vorbis.ogg")));
}

}  // namespace
