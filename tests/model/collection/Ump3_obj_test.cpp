#include "collection/Ump3_obj.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "TempDir.h"
#include "collection/UIo.h"
#include "core/FileSystem.h"

#include "WriteFault.h"

namespace {

Tmp3 FullTrack() {
    Tmp3 t("/music/a/01.mp3");
    t.Title = "Intro";
    t.Artist = "Artist";
    t.Album = "Album";
    t.Genre = "Rock";
    t.Year = 1999;
    t.TagKind = TTagKind::ID3v2;
    t.Duration = 123456;
    t.Bitrate = 192;
    t.PicturePath = "/music/a/cover.jpg";
    return t;
}

TEST(TrackRecord, CreationSetsPathOnly) {
    Tmp3 t("/x/y.mp3");
    EXPECT_EQ(t.Path, "/x/y.mp3");
    EXPECT_EQ(t.Title, "");
    EXPECT_EQ(t.Year, 0);
    EXPECT_EQ(t.TagKind, TTagKind::None);
    EXPECT_EQ(t.Duration, 0);
    EXPECT_EQ(t.RefreshMark, 0);
    EXPECT_FALSE(t.FileFound);
}

TEST(TrackRecord, WritesItemsInOrderWithoutPath) {
    TLoadSave out;
    out.OpenWriteToMemory();
    FullTrack().WriteTrackRecord(out, "/music/");
    TLoadSave expected;
    expected.OpenWriteToMemory();
    for (const char* s : {"Intro", "Artist", "Album", "Rock"}) expected.WriteString(s);
    for (int v : {1999, 2, 123456, 192}) expected.WriteInteger(v);
    expected.WriteString("a/cover.jpg");
    EXPECT_EQ(out.Bytes(), expected.Bytes());
    out.OpenBytes({});
    expected.OpenBytes({});
}

TEST(TrackRecord, ReadsBackUnderAnotherBase) {
    TLoadSave out;
    out.OpenWriteToMemory();
    FullTrack().WriteTrackRecord(out, "/music/");
    TLoadSave in;
    in.OpenBytes(out.Bytes());
    out.OpenBytes({});
    Tmp3 t("/other.mp3");
    t.RefreshMark = 1;
    t.ReadTrackRecord(in, "/media/cd/");
    EXPECT_EQ(t.Title, "Intro");
    EXPECT_EQ(t.Genre, "Rock");
    EXPECT_EQ(t.Year, 1999);
    EXPECT_EQ(t.TagKind, TTagKind::ID3v2);
    EXPECT_EQ(t.Duration, 123456);
    EXPECT_EQ(t.Bitrate, 192);
    EXPECT_EQ(t.PicturePath, "/media/cd/a/cover.jpg");
    EXPECT_EQ(t.Path, "/other.mp3");
    EXPECT_EQ(t.RefreshMark, 0);
}

TEST(TrackRecord, NoPictureStaysNoPictureUnderABase) {
    Tmp3 albumTrack("/music/a/1.mp3");
    TLoadSave out;
    out.OpenWriteToMemory();
    albumTrack.WriteTrackRecord(out, "/music/");
    TLoadSave in;
    in.OpenBytes(out.Bytes());
    out.OpenBytes({});
    Tmp3 read("/media/cd/a/1.mp3");
    read.ReadTrackRecord(in, "/media/cd/");
    EXPECT_EQ(read.PicturePath, "");
}

// The tag kind is stored as a number: each kind reads back as itself and is
// written as the same number; a number that names no kind (a damaged or
// foreign file) reads as untagged, as the track grid draws it.
TEST(TrackRecord, StoredTagKindNumbers) {
    const struct {
        int32_t stored;
        TTagKind kind;
        int32_t written;
    } cases[] = {
        {0, TTagKind::None, 0},      {1, TTagKind::ID3v1, 1},        {2, TTagKind::ID3v2, 2},
        {3, TTagKind::OggVorbis, 3}, {4, TTagKind::WMA, 4},          {5, TTagKind::Flac, 5}, {6, TTagKind::Opus, 6},
        {7, TTagKind::Mp4, 7},
        {99, TTagKind::None, 0},
        {-1, TTagKind::None, 0},     {INT32_MAX, TTagKind::None, 0},
    };
    const auto recordBytes = [](int32_t kind) {
        TLoadSave out;
        out.OpenWriteToMemory();
        for (const char* s : {"Intro", "Artist", "Album", "Rock"}) out.WriteString(s);
        for (int32_t v : {1999, kind, 123456, 192}) out.WriteInteger(v);
        out.WriteString("");
        std::string bytes = out.Bytes();
        out.OpenBytes({});
        return bytes;
    };
    for (const auto& c : cases) {
        TLoadSave in;
        in.OpenBytes(recordBytes(c.stored));
        Tmp3 track("/m/1.mp3");
        track.ReadTrackRecord(in, "");
        EXPECT_EQ(in.Remaining(), 0u) << c.stored;
        EXPECT_EQ(track.TagKind, c.kind) << c.stored;
        EXPECT_EQ(track.Duration, 123456) << c.stored;  // the values after it stay in step
        TLoadSave out;
        out.OpenWriteToMemory();
        track.WriteTrackRecord(out, "");
        EXPECT_EQ(out.Bytes(), recordBytes(c.written)) << c.stored;
        out.OpenBytes({});
    }
}

TEST(TrackRecord, TruncatedRecordThrowsAndKeepsFieldsReadSoFar) {
    TLoadSave out;
    out.OpenWriteToMemory();
    out.WriteString("Only title");
    TLoadSave in;
    in.OpenBytes(out.Bytes());
    out.OpenBytes({});
    Tmp3 t;
    EXPECT_THROW(t.ReadTrackRecord(in, ""), EMyFileError);
    EXPECT_EQ(t.Title, "Only title");
}

TEST(RelativeForm, RemovesBaseOnlyWhenPathBeginsWithIt) {
    struct Case {
        const char* path;
        const char* base;
        const char* stored;
    } cases[] = {
        {"/cd/cover.jpg", "/cd/", "cover.jpg"},
        {"/cd/cover.jpg", "", "/cd/cover.jpg"},
        {"/other/cover.jpg", "/cd/", "/other/cover.jpg"},
        {"/CD/cover.jpg", "/cd/", "/CD/cover.jpg"},  // paths compare exactly here
        {"/c", "/cd/", "/c"},                        // shorter than the base
        {"", "/cd/", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ToRelativeForm(c.path, c.base), c.stored) << c.path;
    EXPECT_EQ(FromRelativeForm("cover.jpg", "/media/cd/"), "/media/cd/cover.jpg");
    EXPECT_EQ(FromRelativeForm("", "/media/cd/"), "/media/cd/");
}

TEST(RelativeForm, LongPathsAreKeptWhole) {
    const std::string longPath = "/cd/" + std::string(400, 'x') + ".jpg";
    EXPECT_EQ(FromRelativeForm(ToRelativeForm(longPath, "/cd/"), "/cd/"), longPath);
}

TEST(TrackFormat, ReplacesFirstOccurrenceOfEachPlaceholder) {
    Tmp3 t = FullTrack();
    struct Case {
        int position;
        const char* pattern;
        const char* name;
    } cases[] = {
        {3, "%number - %title", "03 - Intro"},
        {10, "%number", "10"},
        {123, "%number", "123"},
        {1, "%artist - %album (%year) %title", "Artist - Album (1999) Intro"},
        {1, "%title %title", "Intro %title"},
        {1, "plain", "plain"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatTrackName(t, c.position, c.pattern), c.name);
    t.Year = 0;
    EXPECT_EQ(FormatTrackName(t, 1, "%year"), "0");
}

TEST(AudioKindOf, ByExtensionOrTheLastThreeLettersOfTheTaggedKinds) {
    const struct {
        const char* path;
        TAudioKind kind;
        bool audio;  // named by an extension
    } cases[] = {
        {"/a/song.MP3", TAudioKind::Mp3, true},
        {"/a/songmp3", TAudioKind::Mp3, false},
        {"/a/x.Ogg", TAudioKind::Ogg, true},
        {"/a/x.oga", TAudioKind::Ogg, true},
        {"/a/x.wma", TAudioKind::Wma, true},
        {"/a/x.WAV", TAudioKind::Untagged, true},
        {"/a/x.mod", TAudioKind::Untagged, true},
        {"/a/x.txt", TAudioKind::None, false},
        {"/a.mp3/x", TAudioKind::None, false},
        {"/a/.mp3", TAudioKind::Mp3, true},
        {"ab", TAudioKind::None, false},
        {"", TAudioKind::None, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AudioKindOf(c.path), c.kind) << c.path;
        EXPECT_EQ(IsAudioPath(c.path), c.audio) << c.path;
    }
}

TEST(OpenTagFile, NoneForFilesWithoutTagSupportOrMissing) {
    TempDir dir;
    EXPECT_EQ(OpenTagFile(dir.File("a.wav", "RIFF")), nullptr);
    EXPECT_EQ(OpenTagFile(dir.File("a.txt", "x")), nullptr);
    EXPECT_EQ(OpenTagFile(dir / "gone.mp3"), nullptr);
    EXPECT_EQ(OpenTagFile(dir.Folder("folder.mp3")), nullptr);
    const auto file = OpenTagFile(dir.File("b.mp3", std::string(200, 'x')));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Writable());
    EXPECT_EQ(file->Read().kind, TTagKind::None);
}

class TrackRename : public ::testing::Test {
  protected:
    TempDir dir;
};

TEST_F(TrackRename, RenamesInSameFolderAfterPattern) {
    Tmp3 t(dir.File("x.mp3", "audio"));
    t.Title = "Intro?/Part";
    ASSERT_TRUE(t.RenameToFormat(3, "%number - %title"));
    EXPECT_EQ(t.Path, dir / "03 - Intro__Part.mp3");
    EXPECT_TRUE(FileExists(t.Path));
    EXPECT_FALSE(FileExists(dir / "x.mp3"));
    EXPECT_EQ(dir.Read("03 - Intro__Part.mp3"), "audio");
}

TEST_F(TrackRename, RefusesExistingTargetOtherKindsAndMissingFiles) {
    Tmp3 taken(dir.File("x.mp3", "mine"));
    dir.File("01 - A.mp3", "other");
    taken.Title = "A";
    EXPECT_EQ(taken.RenameToFormat(1, "%number - %title").error, EEXIST);
    EXPECT_EQ(taken.Path, dir / "x.mp3");
    EXPECT_EQ(dir.Read("01 - A.mp3"), "other");

    Tmp3 ogg(dir.File("y.ogg", "ogg"));
    ogg.Title = "B";
    EXPECT_FALSE(ogg.RenameToFormat(1, "%title"));
    EXPECT_TRUE(FileExists(dir / "y.ogg"));

    Tmp3 missing(dir / "gone.mp3");
    EXPECT_EQ(missing.RenameToFormat(1, "%title").error, ENOENT);
}

TEST(TrackReplaceFolder, ReplacesOnlyRealParentFolders) {
    struct Case {
        const char* path;
        const char* oldFolder;
        const char* newFolder;
        const char* result;
    } cases[] = {
        {"/m/old/a.mp3", "/m/old", "/m/new", "/m/new/a.mp3"},
        {"/m/old/a.mp3", "/m/old/", "/m/new", "/m/new/a.mp3"},
        {"/m/old/sub/a.mp3", "/m/old", "/m/new/", "/m/new/sub/a.mp3"},
        {"/m/older/a.mp3", "/m/old", "/m/new", "/m/older/a.mp3"},
        {"/m/Old/a.mp3", "/m/old", "/m/new", "/m/Old/a.mp3"},
    };
    for (const auto& c : cases) {
        Tmp3 t(c.path);
        t.ReplaceFolder(c.oldFolder, c.newFolder);
        EXPECT_EQ(t.Path, c.result) << c.path << " " << c.oldFolder;
    }
    const std::string deep = "/m/old/" + std::string(300, 'd') + "/a.mp3";
    Tmp3 t(deep);
    t.ReplaceFolder("/m/old", "/n");
    EXPECT_EQ(t.Path, "/n/" + std::string(300, 'd') + "/a.mp3");
}

TEST(TrackMatchesText, TitleThenFileNameWhenAsked) {
    Tmp3 t("/music/rock/hidden gem.mp3");
    t.Title = "Song of the Sea";
    EXPECT_TRUE(t.MatchesText("the sea", false, SearchTrack));
    EXPECT_TRUE(t.MatchesText("sea song", true, SearchTrack));
    EXPECT_FALSE(t.MatchesText("sea song", false, SearchTrack));
    EXPECT_FALSE(t.MatchesText("gem", false, SearchTrack));
    EXPECT_TRUE(t.MatchesText("gem", false, SearchTrack | SearchFiles));
    EXPECT_FALSE(t.MatchesText("rock", false, SearchFiles));  // folder names are not searched
}

TEST(TrackCopy, CopiesTagValuesButNotQueueFields) {
    Tmp3 source = FullTrack();
    source.RefreshMark = 1;
    source.FileFound = true;
    source.InAlbumFolder = true;
    Tmp3 copy;
    copy.Bitrate = 7;
    copy.PicturePath = "/keep.jpg";
    copy.CopyFrom(source);
    EXPECT_EQ(copy.Title, "Intro");
    EXPECT_EQ(copy.Artist, "Artist");
    EXPECT_EQ(copy.Album, "Album");
    EXPECT_EQ(copy.Genre, "Rock");
    EXPECT_EQ(copy.Year, 1999);
    EXPECT_EQ(copy.TagKind, TTagKind::ID3v2);
    EXPECT_EQ(copy.Path, source.Path);
    EXPECT_EQ(copy.Duration, 123456);
    EXPECT_EQ(copy.RefreshMark, 1);
    EXPECT_EQ(copy.Bitrate, 7);
    EXPECT_EQ(copy.PicturePath, "/keep.jpg");
    EXPECT_FALSE(copy.FileFound);
    EXPECT_FALSE(copy.InAlbumFolder);
}

}  // namespace

namespace {

std::string TagFixture(const std::string& name) {
    return std::string(MAVELO_TEST_DATA) + "/tags/" + name;
}

// A fixture copied into the folder under another name.
std::string CopyTagFixture(const TempDir& dir, const std::string& name, std::string as = {}) {
    return dir.File(as.empty() ? name : as, ReadWholeFile(TagFixture(name)));
}

TEST(TrackReadTags, TakesValuesByFileKind) {
    struct Case {
        const char* file;
        TTagKind kind;
        const char* title;
        const char* artist;
        const char* album;
        const char* genre;
        int year;
    } cases[] = {
        // ID3v2 wins, but a year it lacks or cannot give stays the ID3v1 year
        {"both_tags_year_from_v1.mp3", TTagKind::ID3v2, "From v2", "", "", "", 1977},
        {"id3v1_v10.mp3", TTagKind::ID3v1, "Title", "Artist", "Album", "Rock", 1999},
        {"id3v1_v11_cp1252.mp3", TTagKind::ID3v1, "Caf\xC3\xA9 \xE2\x82\xAC", "Artist", "Album", "",
         0},
        {"id3v23_full.mp3", TTagKind::ID3v2, "Title", "Artist", "Album", "Rock", 1999},
        {"id3v24_utf8.mp3", TTagKind::ID3v2, "Beyonc\xC3\xA9 \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC",
         "\xC3\x84rtist", "Alb\xC3\xBCm", "Pop", 2004},
        {"id3v2_version5.mp3", TTagKind::ID3v2, "", "", "", "", 0},  // present but unreadable
        {"plain.mp3", TTagKind::None, "Playlist title", "", "", "", 0},
        {"vorbis.ogg", TTagKind::OggVorbis, "Song", "Beyonc\xC3\xA9", "Album", "Pop", 2001},
        {"vorbis_performer.ogg", TTagKind::OggVorbis, "Song", "X", "", "", 1998},
        {"vorbis_no_comments.ogg", TTagKind::None, "Playlist title", "", "", "", 0},
        {"wma.wma", TTagKind::WMA, "Wma title", "Wma artist", "Wma album", "Jazz", 2003},
        {"not_asf.wma", TTagKind::None, "Playlist title", "", "", "", 0},
    };
    for (const auto& c : cases) {
        Tmp3 track(TagFixture(c.file));
        track.Title = "Playlist title";
        track.Genre = "Old";
        track.Year = 1;
        EXPECT_EQ(track.ReadTags(), c.kind != TTagKind::None) << c.file;
        EXPECT_EQ(track.TagKind, c.kind) << c.file;
        EXPECT_EQ(track.Title, c.title) << c.file;
        EXPECT_EQ(track.Artist, c.artist) << c.file;
        EXPECT_EQ(track.Album, c.album) << c.file;
        EXPECT_EQ(track.Genre, c.genre) << c.file;
        EXPECT_EQ(track.Year, c.year) << c.file;
    }
}

TEST(TrackReadTags, KindFromLastThreeLettersAndMissingFiles) {
    TempDir dir;
    for (const char* name : {"song.MP3", "songmp3"}) {
        Tmp3 track(CopyTagFixture(dir, "id3v1_v10.mp3", name));
        EXPECT_TRUE(track.ReadTags()) << name;
        EXPECT_EQ(track.Title, "Title") << name;
    }
    Tmp3 other(CopyTagFixture(dir, "id3v1_v10.mp3", "song.flac"));
    EXPECT_FALSE(other.ReadTags());
    Tmp3 missing(dir / "gone.mp3");
    missing.Title = "Kept";
    missing.Artist = "Cleared";
    EXPECT_FALSE(missing.ReadTags());
    EXPECT_EQ(missing.Title, "Kept");
    EXPECT_EQ(missing.Artist, "");
}

class TrackWriteTags : public ::testing::Test {
  protected:
    static bool EndsWithId3v1(const std::string& path) {
        std::string bytes = ReadWholeFile(path);
        return bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
    }
    static bool StartsWithId3v2(const std::string& path) {
        return ReadWholeFile(path).compare(0, 3, "ID3") == 0;
    }
    TempDir dir;
};

TEST_F(TrackWriteTags, EachTagTypeWritesItsTagAndReadsBack) {
    struct Case {
        TId3Choice type;
        bool v1;
        bool v2;
        TTagKind kind;
    } cases[] = {
        {TId3Choice::V2, false, true, TTagKind::ID3v2},
        // the ID3v2 tag keeps its picture and private frames, which hide nothing
        {TId3Choice::V1, true, true, TTagKind::ID3v1},
        {TId3Choice::Both, true, true, TTagKind::ID3v2},
    };
    for (const auto& c : cases) {
        const int type = static_cast<int>(c.type);
        // The fixture has both tags, so a single type removes the other one.
        Tmp3 track(CopyTagFixture(dir, "id3v23_full.mp3"));
        ASSERT_TRUE(track.WriteTags(c.type, {"T\xC3\xADtulo", "Artist\tName", "LP", "jazz", 2005}))
            << type;
        EXPECT_EQ(track.TagKind, c.kind) << type;
        EXPECT_EQ(EndsWithId3v1(track.Path), c.v1) << type;
        EXPECT_EQ(StartsWithId3v2(track.Path), c.v2) << type;
        EXPECT_EQ(track.Artist, "ArtistName") << type;  // read back, control bytes removed
        EXPECT_EQ(track.Title, "T\xC3\xADtulo") << type;
        EXPECT_EQ(track.Album, "LP") << type;
        EXPECT_EQ(track.Year, 2005) << type;
        EXPECT_EQ(track.Genre, c.kind == TTagKind::ID3v1 ? "Jazz" : "jazz") << type;
    }
}

TEST_F(TrackWriteTags, Id3v1KeepsItsGenreWhenTheNameIsUnknownAndCutsLongTitles) {
    Tmp3 track(CopyTagFixture(dir, "id3v1_v10.mp3"));
    ASSERT_TRUE(
        track.WriteTags(TId3Choice::V1, {std::string(40, 't'), "A", "B", "No such genre", 0}));
    EXPECT_EQ(track.Genre, "Rock");
    EXPECT_EQ(track.Title, std::string(30, 't'));
    EXPECT_EQ(track.Year, 0);
}

TEST_F(TrackWriteTags, OggIsWrittenWhateverTheTagType) {
    Tmp3 track(CopyTagFixture(dir, "vorbis.ogg"));
    ASSERT_TRUE(track.WriteTags(TId3Choice::V1, {"New title", "New artist", "New", "Rock", 1999}));
    EXPECT_EQ(track.TagKind, TTagKind::OggVorbis);
    Tmp3 back(track.Path);
    ASSERT_TRUE(back.ReadTags());
    EXPECT_EQ(back.Artist, "New artist");
    EXPECT_EQ(back.Title, "New title");
    EXPECT_EQ(back.Year, 1999);
}

TEST_F(TrackWriteTags, UnwritableKindsAndMissingFilesOnlyStoreTheValues) {
    for (const char* name : {"wma.wma", "plain.mp3"}) {
        const std::string path = CopyTagFixture(dir, name, std::string(name) + ".flac");
        Tmp3 track(path);
        EXPECT_FALSE(track.WriteTags(TId3Choice::Both, {"T", "A", "B", "Rock", 2000})) << name;
        EXPECT_EQ(track.Title, "T");
        EXPECT_EQ(track.TagKind, TTagKind::None);
        EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(TagFixture(name)));
    }
    Tmp3 wma(CopyTagFixture(dir, "wma.wma"));
    EXPECT_FALSE(wma.WriteTags(TId3Choice::V2, {"T", "A", "B", "Rock", 2000}));
    EXPECT_EQ(ReadWholeFile(wma.Path), ReadWholeFile(TagFixture("wma.wma")));
    Tmp3 missing(dir / "gone.mp3");
    EXPECT_FALSE(missing.WriteTags(TId3Choice::V2, {"T", "A", "B", "Rock", 2000}));
    EXPECT_FALSE(FileExists(dir / "gone.mp3"));
}

TEST_F(TrackWriteTags, FailedId3v2WriteKeepsTheId3v1Tag) {
    Tmp3 track(CopyTagFixture(dir, "id3v1_v10.mp3"));
    FileSizeLimit diskFull(1);
    const TWriteResult result = track.WriteTags(TId3Choice::V2, {"T", "A", "B", "Rock", 2000});
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, "cannot write");
    EXPECT_EQ(result.systemMessage, "File too large");
    EXPECT_EQ(ReadWholeFile(track.Path), ReadWholeFile(TagFixture("id3v1_v10.mp3")));
}

}  // namespace

namespace {

TEST(TrackWriteTagsYear, UnknownYearWritesNoYear) {
    TempDir dir;
    Tmp3 ogg(CopyTagFixture(dir, "vorbis.ogg"));
    ASSERT_TRUE(ogg.WriteTags(TId3Choice::V2, {"T", "A", "B", "Rock", 0}));
    EXPECT_EQ(ReadWholeFile(ogg.Path).find("DATE="), std::string::npos);
    Tmp3 mp3(CopyTagFixture(dir, "id3v23_full.mp3"));
    ASSERT_TRUE(mp3.WriteTags(TId3Choice::Both, {"T", "A", "B", "Rock", 0}));
    const std::string bytes = ReadWholeFile(mp3.Path);
    EXPECT_EQ(bytes.find("TYER"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 128 + 93, 4), std::string(4, '\0'));
    EXPECT_EQ(mp3.Year, 0);
}

}  // namespace
