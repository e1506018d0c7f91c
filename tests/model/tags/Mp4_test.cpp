#include "tags/Mp4.h"

#include <gtest/gtest.h>

#include "TagTestFiles.h"
#include "tags/AudioFile.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"

namespace {

TMp4File Loaded(const std::string& bytes) {
    TMemorySource source(bytes);
    TMp4File mp4;
    EXPECT_TRUE(mp4.Load(source));
    return mp4;
}

std::string Atom(std::string_view type, std::string_view body) {
    std::string atom;
    AppendBE(atom, static_cast<uint32_t>(8 + body.size()), 4);
    return atom + std::string(type) + std::string(body);
}

std::string DataAtom(uint32_t type, std::string_view payload) {
    std::string body;
    AppendBE(body, type, 4);
    AppendBE(body, 0, 4);
    return Atom("data", body + std::string(payload));
}

// The fixture with its movie atom (the last atom) holding `items` as its
// item list instead of the one it has.
std::string WithItems(const std::string& items) {
    std::string bytes = FileBytes(FixturePath("aac_no_tags.m4a"));
    const size_t moov = bytes.find("moov") - 4;
    const std::string meta = Atom("meta", std::string(4, '\0') + Atom("ilst", items));
    bytes += Atom("udta", meta);
    const uint32_t size = ReadBE(bytes, moov, 4) + static_cast<uint32_t>(8 + meta.size());
    std::string field;
    AppendBE(field, size, 4);
    bytes.replace(moov, 4, field);
    return bytes;
}

// Values as mutagen wrote them (make_modern_fixtures.py).
TEST(Mp4Read, TakesItemsDurationAndBitRate) {
    const struct {
        const char* name;
        int32_t bitrate;     // kbit/s of the sample description
        int32_t durationMs;  // as mutagen gives it: AAC counts the encoder's priming
    } cases[] = {{"aac.m4a", 16, 428}, {"aac_faststart.m4a", 16, 428}, {"alac.m4a", 0, 300}};
    for (const auto& c : cases) {
        const auto file = OpenTagFile(FixturePath(c.name));
        ASSERT_NE(file, nullptr);
        const TTrackTags tags = file->Read();
        EXPECT_EQ(tags.kind, TTagKind::Mp4) << c.name;
        EXPECT_EQ(tags.title, "Sông") << c.name;
        EXPECT_EQ(tags.artist, "Jay") << c.name;  // the last of two values
        EXPECT_EQ(tags.album, "東京") << c.name;
        EXPECT_EQ(tags.genre, "Pop") << c.name;
        EXPECT_EQ(tags.year, 2004) << c.name;
        EXPECT_EQ(tags.trackNumber, 3) << c.name;
        EXPECT_EQ(tags.comment, "Hi") << c.name;
        EXPECT_EQ(tags.durationMs, c.durationMs) << c.name;
        if (c.bitrate) {
            EXPECT_NEAR(tags.bitrate, c.bitrate, 4) << c.name;
        }
        EXPECT_GT(tags.bitrate, 0) << c.name;
    }
    TMp4File mp4 = Loaded(FileBytes(FixturePath("aac.m4a")));
    ASSERT_EQ(mp4.Covers.size(), 1u);
    EXPECT_EQ(mp4.Covers[0].Format, 13);
    EXPECT_EQ(mp4.TrackTotal, 12);
    EXPECT_EQ(mp4.AlbumArtist, "Album Artist");
}

TEST(Mp4Read, GenreNumbersAndAlbumArtistStandIn) {
    std::string number;
    AppendBE(number, 18, 2);  // ID3v1 genre 17 plus one
    TMp4File mp4 = Loaded(WithItems(Atom("gnre", DataAtom(0, number)) +
                                    Atom("aART", DataAtom(1, "Band"))));
    EXPECT_EQ(mp4.Genre, "Rock");
    EXPECT_TRUE(mp4.Artist.empty());
    EXPECT_EQ(mp4.AlbumArtist, "Band");
    // A text genre wins over the number; a number out of range names none.
    mp4 = Loaded(WithItems(Atom("gnre", DataAtom(0, number)) + Atom("\xA9gen", DataAtom(1, "Jazz"))));
    EXPECT_EQ(mp4.Genre, "Jazz");
    mp4 = Loaded(WithItems(Atom("gnre", DataAtom(0, std::string("\xFF\xFF", 2)))));
    EXPECT_EQ(mp4.Genre, "");
}

TEST(Mp4Read, AtomsWithSixtyFourBitSizes) {
    // The movie atom of the fixture (after the media data) with a 64-bit size.
    std::string bytes = FileBytes(FixturePath("aac.m4a"));
    const size_t moov = bytes.find("moov") - 4;
    const uint32_t size = ReadBE(bytes, moov, 4);
    std::string header = std::string("\0\0\0\x01", 4) + "moov";
    AppendBE(header, 0, 4);
    AppendBE(header, size + 8, 4);
    bytes = bytes.substr(0, moov) + header + bytes.substr(moov + 8);
    TMp4File mp4 = Loaded(bytes);
    EXPECT_EQ(mp4.Title, "Sông");
    EXPECT_GT(mp4.DurationMs(), 0);
    std::string out, problem;
    ASSERT_TRUE(RewriteMp4Tags(bytes, {"Long " + std::string(3000, 'x'), "", "", "", 0}, out, problem));
    EXPECT_EQ(Loaded(out).Title, "Long " + std::string(3000, 'x'));
    EXPECT_EQ(ReadBE(out, moov, 4), 1u);
}

TEST(Mp4Read, DamagedFilesGiveNoValues) {
    for (const std::string& bytes :
         {std::string(), std::string("\0\0\0\x08moov", 8).substr(0, 7),
          std::string("\0\0\0\x10moov\0\0\0\x08", 12), std::string("\0\0\0\x01moov", 8)}) {
        TMemorySource source(bytes);
        TMp4File mp4;
        mp4.Load(source);
        EXPECT_TRUE(mp4.Title.empty());
    }
}

// The chunk offsets of the file's sound track.
std::vector<uint32_t> ChunkOffsets(const std::string& bytes) {
    const size_t stco = bytes.find("stco");
    std::vector<uint32_t> offsets;
    const uint32_t count = ReadBE(bytes, stco + 8, 4);
    for (uint32_t i = 0; i < count; ++i) offsets.push_back(ReadBE(bytes, stco + 12 + 4 * i, 4));
    return offsets;
}

TEST(Mp4Write, AListThatOutgrowsTheFreeRoomMovesTheChunkOffsets) {
    const std::string before = FileBytes(FixturePath("aac_faststart.m4a"));
    std::string out, problem;
    const std::string title(5000, 't');
    ASSERT_TRUE(RewriteMp4Tags(before, {title, "Beyoncé", "東京", "Pop", 2004}, out, problem));
    const std::vector<uint32_t> old = ChunkOffsets(before), now = ChunkOffsets(out);
    ASSERT_EQ(old.size(), now.size());
    ASSERT_FALSE(old.empty());
    for (size_t i = 0; i < old.size(); ++i) {
        EXPECT_GT(now[i], old[i]);
        EXPECT_EQ(out.substr(now[i], 16), before.substr(old[i], 16)) << "chunk " << i;
    }
    const TMp4File mp4 = Loaded(out);
    EXPECT_EQ(mp4.Title, title);
    EXPECT_EQ(mp4.Artist, "Beyoncé");  // was two values, now one
    EXPECT_EQ(mp4.Comment, "Hi");
    EXPECT_EQ(mp4.Track, 3);
    EXPECT_EQ(mp4.Date, "2004-05-01");  // the same year keeps the day
}

TEST(Mp4Write, ASmallChangeStaysInPlace) {
    const std::string before = FileBytes(FixturePath("aac_faststart.m4a"));
    std::string out, problem;
    ASSERT_TRUE(RewriteMp4Tags(before, {"Song", "Jay", "東京", "Rock", 1999}, out, problem));
    EXPECT_EQ(out.size(), before.size());
    EXPECT_EQ(ChunkOffsets(out), ChunkOffsets(before));
    const TMp4File mp4 = Loaded(out);
    EXPECT_EQ(mp4.Title, "Song");
    EXPECT_EQ(mp4.Genre, "Rock");
    EXPECT_EQ(mp4.Date, "1999");
    ASSERT_EQ(mp4.Covers.size(), Loaded(before).Covers.size());
}

TEST(Mp4Write, AddsTheAtomsAFileWithoutTagsLacks) {
    const std::string before = FileBytes(FixturePath("aac_no_tags.m4a"));
    std::string out, problem;
    ASSERT_TRUE(RewriteMp4Tags(before, {"T", "A", "B", "G", 2001}, out, problem));
    const TMp4File mp4 = Loaded(out);
    EXPECT_EQ(mp4.Title, "T");
    EXPECT_EQ(mp4.Genre, "G");
    EXPECT_EQ(mp4.Date, "2001");
    EXPECT_EQ(ChunkOffsets(out), ChunkOffsets(before));  // the media data lies before
    EXPECT_FALSE(RewriteMp4Tags("not an mp4 file", {"T", "", "", "", 0}, out, problem));
}

}  // namespace
