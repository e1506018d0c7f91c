#include "tags/Flac.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TagTestFiles.h"
#include "tags/AudioFile.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/VorbisFields.h"

namespace {

// The blocks of a FLAC file as (type, size), and where the frames begin.
struct TLayout {
    std::vector<std::pair<int, uint32_t>> blocks;
    size_t audio = 0;
};

TLayout LayoutOf(const std::string& bytes, size_t start = 0) {
    TLayout layout;
    EXPECT_EQ(bytes.substr(start, 4), "fLaC");
    size_t at = start + 4;
    for (bool last = false; !last && at + 4 <= bytes.size();) {
        last = (ByteAt(bytes, at) & 0x80) != 0;
        const uint32_t size = ReadBE(bytes, at + 1, 3);
        layout.blocks.emplace_back(ByteAt(bytes, at) & 0x7F, size);
        at += 4 + size;
    }
    layout.audio = at;
    return layout;
}

TTrackTags ReadTags(const std::string& path) {
    const auto file = OpenTagFile(path);
    EXPECT_NE(file, nullptr) << path;
    return file ? file->Read() : TTrackTags();
}

// The values mutagen wrote into the fixtures (make_modern_fixtures.py).
TEST(FlacRead, TakesStreamInfoAndComments) {
    const struct {
        const char* name;
        TTagKind kind;
        const char* title;
        const char* artist;  // the later of two ARTIST comments
        int32_t year;
    } cases[] = {
        {"flac.flac", TTagKind::Flac, "Sông", "Jay", 2004},
        {"flac_id3.flac", TTagKind::Flac, "Sông", "Jay", 2004},  // ID3v2 before "fLaC"
        {"oggflac.oga", TTagKind::Flac, "Sông", "Jay", 2004},
        {"flac_no_padding.flac", TTagKind::Flac, "Tight", "", 0},
        {"flac_no_tags.flac", TTagKind::None, "", "", 0},
    };
    for (const auto& c : cases) {
        const TTrackTags tags = ReadTags(FixturePath(c.name));
        EXPECT_EQ(tags.kind, c.kind) << c.name;
        EXPECT_EQ(tags.title, c.title) << c.name;
        EXPECT_EQ(tags.artist, c.artist) << c.name;
        EXPECT_EQ(tags.year, c.year) << c.name;
        // 0.3 s of 8 kHz audio: 2,400 samples.
        EXPECT_EQ(tags.durationMs, 300) << c.name;
        EXPECT_GT(tags.bitrate, 0) << c.name;
    }
    const TTrackTags full = ReadTags(FixturePath("flac.flac"));
    EXPECT_EQ(full.album, "東京");
    EXPECT_EQ(full.genre, "Pop");
    EXPECT_EQ(full.trackNumber, 3);
    EXPECT_EQ(full.comment, "Hi");
}

TEST(FlacRead, DamagedFilesGiveNoValues) {
    EXPECT_EQ(ReadTags(FixturePath("flac_truncated.flac")).kind, TTagKind::None);
    TFlacFile flac;
    for (const std::string& bytes : {std::string("fLaC"), std::string("fLaC\x80\x00\x00\x10", 8),
                                    std::string("OggS"), std::string()}) {
        TMemorySource source(bytes);
        EXPECT_FALSE(flac.Load(source));
        EXPECT_FALSE(flac.LoadOgg(source));
    }
}

TEST(FlacRead, FindsPictureBlocks) {
    TFileSource file(FixturePath("flac_picture.flac"));
    TFlacFile flac;
    ASSERT_TRUE(flac.Load(file));
    ASSERT_EQ(flac.Pictures.size(), 1u);
    EXPECT_GT(flac.Pictures[0].Size, 700u);
}

// Writes the values into a copy of the fixture; returns the bytes before.
std::string WriteCopy(const TempDir& dir, const std::string& name, const TTagValues& values,
                      std::string& path) {
    path = CopyFixture(dir, name);
    const std::string before = FileBytes(path);
    EXPECT_TRUE(WriteFlacTags(path, values)) << name;
    return before;
}

TEST(FlacWrite, PaddingThatFitsKeepsTheFramesInPlace) {
    TempDir dir;
    std::string path;
    const std::string before = WriteCopy(dir, "flac.flac", {"New", "Beyoncé", "Alb", "Rock", 2004}, path);
    const std::string after = FileBytes(path);
    EXPECT_EQ(after.size(), before.size());
    const TLayout old = LayoutOf(before), now = LayoutOf(after);
    EXPECT_EQ(now.audio, old.audio);
    EXPECT_EQ(after.substr(now.audio), before.substr(old.audio));
    EXPECT_EQ(now.blocks.size(), old.blocks.size());
    const TTrackTags tags = ReadTags(path);
    EXPECT_EQ(tags.title, "New");
    EXPECT_EQ(tags.artist, "Beyoncé");
    EXPECT_EQ(tags.album, "Alb");
    EXPECT_EQ(tags.genre, "Rock");
    // Comments the values did not change stay, a date keeps its day.
    TFileSource file(path);
    TFlacFile flac;
    ASSERT_TRUE(flac.Load(file));
    const auto& entries = flac.Comments.Entries;
    for (const char* kept : {"REPLAYGAIN_TRACK_GAIN=-6.00 dB", "TRACKNUMBER=3/12", "COMMENT=Hi",
                             "DATE=2004-05-01"})
        EXPECT_NE(std::find(entries.begin(), entries.end(), kept), entries.end()) << kept;
    // The artist was written anew as one comment.
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const std::string& e) { return e.starts_with("ARTIST="); }),
              1);
}

TEST(FlacWrite, NoRoomMovesTheFramesBehindNewPadding) {
    TempDir dir;
    std::string path;
    const std::string before =
        WriteCopy(dir, "flac_no_padding.flac", {"A much longer title", "Artist", "", "", 1999}, path);
    const std::string after = FileBytes(path);
    const TLayout old = LayoutOf(before), now = LayoutOf(after);
    EXPECT_EQ(after.substr(now.audio), before.substr(old.audio));
    EXPECT_EQ(now.blocks.back(), std::make_pair(1, FlacNewPadding));
    EXPECT_EQ(ReadTags(path).title, "A much longer title");
    EXPECT_EQ(ReadTags(path).year, 1999);
}

TEST(FlacWrite, AddsCommentsToAFileWithoutAndKeepsIdAndPictures) {
    TempDir dir;
    std::string path;
    std::string before = WriteCopy(dir, "flac_no_tags.flac", {"T", "", "", "", 0}, path);
    EXPECT_EQ(ReadTags(path).title, "T");
    EXPECT_EQ(LayoutOf(FileBytes(path)).blocks[1].first, 4);  // right after STREAMINFO

    before = WriteCopy(dir, "flac_picture.flac", {"T", "", "", "", 0}, path);
    const TLayout old = LayoutOf(before), now = LayoutOf(FileBytes(path));
    EXPECT_EQ(now.audio, old.audio);
    const auto picture = std::find_if(old.blocks.begin(), old.blocks.end(),
                                      [](const auto& block) { return block.first == 6; });
    ASSERT_NE(picture, old.blocks.end());
    EXPECT_EQ(std::count(now.blocks.begin(), now.blocks.end(), *picture), 1);

    // The ID3v2 tag in front stays byte for byte.
    before = WriteCopy(dir, "flac_id3.flac", {"T", "", "", "", 0}, path);
    const std::string after = FileBytes(path);
    const size_t id3 = before.find("fLaC");
    EXPECT_EQ(after.substr(0, id3), before.substr(0, id3));
    EXPECT_EQ(ReadTags(path).title, "T");
}

TEST(FlacWrite, RefusesDamagedFilesAndLeavesThem) {
    TempDir dir;
    for (const char* name : {"flac_truncated.flac", "vorbis.ogg"}) {
        const std::string path = CopyFixture(dir, name);
        const std::string before = FileBytes(path);
        EXPECT_FALSE(WriteFlacTags(path, {"T", "", "", "", 0})) << name;
        EXPECT_EQ(FileBytes(path), before) << name;
    }
    EXPECT_FALSE(WriteFlacTags(dir / "gone.flac", {"T", "", "", "", 0}));
}

TEST(FlacWrite, OggFlacIsReadOnly) {
    TempDir dir;
    const auto file = OpenTagFile(CopyFixture(dir, "oggflac.oga"));
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(file->Writable());
}

}  // namespace
