#include "tags/TagWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "SafeWriteCases.h"
#include "TagTestFiles.h"
#include "WriteFault.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/OggVorbis.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"

namespace {

TTagValues NewValues() {
    return {"New title", "New artist", "New album", "Rock", 2005};
}

std::vector<std::string> FrameIds(const std::string& path) {
    TID3v2 tag;
    EXPECT_TRUE(tag.Load(path));
    std::vector<std::string> ids;
    for (const auto& frame : tag.Frames()) ids.push_back(frame.Id);
    return ids;
}

// A version 2.3 tag (with the given header flags) holding the frames, then
// the audio bytes.
std::string Id3v23File(const std::vector<std::pair<std::string, std::string>>& frames,
                       uint8_t flags, const std::string& audio) {
    std::string body;
    for (const auto& [id, text] : frames) {
        body += id;
        AppendBE(body, static_cast<uint32_t>(text.size() + 1), 4);
        body += std::string(2, '\0') + '\0' + text;
    }
    body += std::string(64, '\0');
    std::string tag = std::string("ID3\x03\x00", 5) + static_cast<char>(flags);
    AppendSyncsafe(tag, static_cast<uint32_t>(body.size()));
    return tag + body + audio;
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

const std::string kAudio = "\xFF\xFB\x90\x00 audio frames that must survive every write";

TEST(TagWriterSafety, EveryKindOfTagWrite) {
    auto copy = [](const char* fixture) {
        return [fixture](const std::string& path) {
            std::ofstream(path, std::ios::binary) << FileBytes(FixturePath(fixture));
        };
    };
    auto mp3 = [](TId3Choice choice) {
        return [choice](const std::string& path) {
            return static_cast<bool>(WriteMp3Tags(path, choice, NewValues()));
        };
    };
    auto titleIsNew = [](auto reader) {
        return [reader](const std::string& path) {
            auto tag = reader;
            return tag.Load(path) && tag.Title == "New title";
        };
    };
    CheckSafeWrites({
        {"v2.mp3", copy("id3v23_full.mp3"), mp3(TId3Choice::V2), titleIsNew(TID3v2())},
        {"v1.mp3", copy("id3v1_v10.mp3"), mp3(TId3Choice::V1), titleIsNew(TID3v1())},
        {"both.mp3", copy("plain.mp3"), mp3(TId3Choice::Both), titleIsNew(TID3v1())},
        {"song.ogg", copy("vorbis.ogg"),
         [](const std::string& path) { return static_cast<bool>(WriteOggTags(path, NewValues())); },
         titleIsNew(TOggVorbis())},
    });
}

TEST(TagWriterId3v1, WindowsCodePageWithQuestionMarksAndWholeCharacters) {
    struct Case {
        std::string title;
        std::string stored;  // the 30 bytes of the title field, zeros left out
        std::string readBack;
    } cases[] = {
        {"\xCE\xA9mega", "?mega", "?mega"},  // Greek capital omega
        {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},  // e acute, euro
        {"\xC3\x89\xE6\x9D\xB1", "\xC9?", "\xC3\x89?"},  // one field, one encoding
        {Repeat("\xC3\xA9", 31), std::string(30, '\xE9'), Repeat("\xC3\xA9", 30)},  // cut whole
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string path = CopyFixture(dir, "plain.mp3");
        TTagValues values = NewValues();
        values.Title = c.title;
        ASSERT_TRUE(WriteMp3Tags(path, TId3Choice::V1, values));
        const std::string bytes = FileBytes(path);
        std::string field = bytes.substr(bytes.size() - 125, 30);
        field.erase(field.find_last_not_of('\0') + 1);
        EXPECT_EQ(field, c.stored) << c.title;
        TID3v1 back;
        ASSERT_TRUE(back.Load(path));
        EXPECT_EQ(back.Title, c.readBack) << c.title;
    }
}

TEST(TagWriterId3v2, ValuesOnlyTheId3v1TagHeldMoveIntoTheNewTag) {
    TempDir dir;
    const std::string path = CopyFixture(dir, "id3v1_v11_cp1252.mp3");  // no ID3v2 tag
    TTagValues values = NewValues();
    values.Album.clear();
    values.Year = 0;
    ASSERT_TRUE(WriteMp3Tags(path, TId3Choice::V2, values));
    EXPECT_FALSE(TID3v1::HasTag(FileBytes(path)));
    TID3v2 tag;
    ASSERT_TRUE(tag.Load(path));
    EXPECT_EQ(tag.Title, "New title");
    EXPECT_EQ(tag.Album, "Album");
    EXPECT_EQ(tag.Year, "19x9");
    EXPECT_EQ(tag.Track, 7);
    EXPECT_EQ(tag.Comment, "Comment");
}

TEST(TagWriterId3v1, RemovesOnlyTheFramesThatWouldHideTheNewValues) {
    TempDir dir;
    const std::string full = CopyFixture(dir, "id3v23_full.mp3");
    ASSERT_TRUE(WriteMp3Tags(full, TId3Choice::V1, NewValues()));
    EXPECT_EQ(FrameIds(full), (std::vector<std::string>{"PRIV", "TXXX", "APIC"}));
    TID3v1 v1;
    ASSERT_TRUE(v1.Load(full));
    EXPECT_EQ(v1.Title, "New title");

    // A tag left with nothing goes whole.
    const std::string onlyText =
        dir.File("text.mp3", Id3v23File({{"TIT2", "Old"}, {"TDRC", "1990"}}, 0, kAudio));
    ASSERT_TRUE(WriteMp3Tags(onlyText, TId3Choice::V1, NewValues()));
    EXPECT_TRUE(FileBytes(onlyText).starts_with(kAudio));
}

TEST(TagWriterId3v2, YearReplacesBothYearFramesOfAVersion3Tag) {
    TempDir dir;
    const std::string path =
        dir.File("y.mp3", Id3v23File({{"TYER", "1990"}, {"TDRC", "1990-05-01"}}, 0, kAudio));
    ASSERT_TRUE(WriteMp3Tags(path, TId3Choice::V2, NewValues()));
    const auto ids = FrameIds(path);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), "TDRC"), 0);
    TID3v2 tag;
    ASSERT_TRUE(tag.Load(path));
    EXPECT_EQ(tag.Year, "2005");
}

TEST(TagWriterId3v2, FooterFlagOfOlderVersionsCutsNoAudio) {
    TempDir dir;
    for (uint8_t flags : {0x10, 0x00}) {
        const std::string path = dir.File("f.mp3", Id3v23File({{"TIT2", "Old"}}, flags, kAudio));
        TID3v2 before;
        ASSERT_TRUE(before.Load(path));
        EXPECT_EQ(before.Title, "Old");
        ASSERT_TRUE(WriteMp3Tags(path, TId3Choice::V2, NewValues()));
        EXPECT_TRUE(FileBytes(path).ends_with(kAudio)) << int{flags};
    }
}

TEST(TagWriterId3v2, Version4ExtendedHeaderFlagWithoutTheHeader) {
    std::string body = "TIT2";
    AppendSyncsafe(body, 6);
    body += std::string(2, '\0') + '\0' + "Found";
    std::string file = std::string("ID3\x04\x00\x40", 6);
    AppendSyncsafe(file, static_cast<uint32_t>(body.size()));
    file += body + kAudio;
    TID3v2 tag;
    ASSERT_TRUE(tag.Load(TMemorySource(file)));
    EXPECT_EQ(tag.Title, "Found");
}

TEST(TagWriterFailures, AreReportedAndChangeNothing) {
    TempDir dir;
    // A tag header that claims more bytes than the file has.
    std::string oversized = std::string("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10) + kAudio;
    const std::string bad = dir.File("bad.mp3", oversized);
    for (TId3Choice choice : {TId3Choice::V1, TId3Choice::V2, TId3Choice::Both}) {
        const TWriteResult result = WriteMp3Tags(bad, choice, NewValues());
        EXPECT_FALSE(result);
        EXPECT_EQ(result.file, bad);
        EXPECT_EQ(FileBytes(bad), oversized);
    }
    const TWriteResult missing = WriteMp3Tags(dir / "missing.mp3", TId3Choice::V2, NewValues());
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.systemMessage, "No such file or directory");
}

TEST(TagWriterFailures, BothTagsChangeInOneRewriteOrNotAtAll) {
    TempDir dir;
    const std::string path = CopyFixture(dir, "id3v1_v10.mp3");
    const std::string before = FileBytes(path);
    {
        // Room for the file as it is: an ID3v1 tag rewritten in place would
        // fit, the new ID3v2 tag does not.
        FileSizeLimit noRoomToGrow(before.size());
        EXPECT_FALSE(WriteMp3Tags(path, TId3Choice::Both, NewValues()));
    }
    EXPECT_EQ(FileBytes(path), before);
}

// The settings and the windows' tag lists number the choices 0 ID3v2, 1 ID3v1,
// 2 both; a number that names none is ID3v2 only, the default.
TEST(TagWriterChoice, OfASettingOrAChoiceIndex) {
    const std::pair<int32_t, TId3Choice> cases[] = {
        {0, TId3Choice::V2}, {1, TId3Choice::V1},  {2, TId3Choice::Both},
        {3, TId3Choice::V2}, {-1, TId3Choice::V2},
    };
    for (const auto& [value, choice] : cases) EXPECT_EQ(Id3ChoiceFromInt(value), choice) << value;
}

TEST(TagWriterOgg, UnknownYearLeavesNoDateComment) {
    TempDir dir;
    const std::string path = CopyFixture(dir, "vorbis.ogg");
    TTagValues values = NewValues();
    values.Year = 0;
    ASSERT_TRUE(WriteOggTags(path, values));
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Load(path));
    for (const std::string& entry : ogg.Comments().Entries)
        EXPECT_FALSE(entry.starts_with("DATE=") || entry.starts_with("date=")) << entry;
}

}  // namespace
