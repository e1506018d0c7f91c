#include "collection/Ump3_obj.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "collection/UIo.h"
#include "core/FileSystem.h"

namespace {

Tmp3 FullTrack() {
    Tmp3 t("/music/a/01.mp3");
    t.Title = "Intro";
    t.Artist = "Artist";
    t.Album = "Album";
    t.Genre = "Rock";
    t.Year = 1999;
    t.TagKind = TagID3v2;
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
    EXPECT_EQ(t.TagKind, TagNone);
    EXPECT_EQ(t.Duration, 0);
    EXPECT_EQ(t.RefreshMark, 0);
    EXPECT_FALSE(t.FileFound);
}

TEST(TrackRecord, WritesItemsInOrderWithoutPath) {
    TLoadSave out;
    out.OpenWrite("/nonexistent/never-written");
    FullTrack().WriteTrackRecord(out, "/music/");
    TLoadSave expected;
    expected.OpenWrite("/nonexistent/never-written-either");
    for (const char* s : {"Intro", "Artist", "Album", "Rock"}) expected.WriteString(s);
    for (int v : {1999, 2, 123456, 192}) expected.WriteInteger(v);
    expected.WriteString("a/cover.jpg");
    EXPECT_EQ(out.Bytes(), expected.Bytes());
    out.OpenBytes({});
    expected.OpenBytes({});
}

TEST(TrackRecord, ReadsBackUnderAnotherBase) {
    TLoadSave out;
    out.OpenWrite("/nonexistent/never-written");
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
    EXPECT_EQ(t.TagKind, TagID3v2);
    EXPECT_EQ(t.Duration, 123456);
    EXPECT_EQ(t.Bitrate, 192);
    EXPECT_EQ(t.PicturePath, "/media/cd/a/cover.jpg");
    EXPECT_EQ(t.Path, "/other.mp3");
    EXPECT_EQ(t.RefreshMark, 0);
}

TEST(TrackRecord, TruncatedRecordThrowsAndKeepsFieldsReadSoFar) {
    TLoadSave out;
    out.OpenWrite("/nonexistent/never-written");
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

TEST(TrackFileKind, UsesLastThreeLettersWithoutDot) {
    EXPECT_EQ(TrackFileKind("/a/song.MP3"), "mp3");
    EXPECT_EQ(TrackFileKind("/a/songmp3"), "mp3");
    EXPECT_EQ(TrackFileKind("/a/x.Ogg"), "ogg");
    EXPECT_EQ(TrackFileKind("ab"), "");
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
    EXPECT_FALSE(taken.RenameToFormat(1, "%number - %title"));
    EXPECT_EQ(taken.Path, dir / "x.mp3");
    EXPECT_EQ(dir.Read("01 - A.mp3"), "other");

    Tmp3 ogg(dir.File("y.ogg", "ogg"));
    ogg.Title = "B";
    EXPECT_FALSE(ogg.RenameToFormat(1, "%title"));
    EXPECT_TRUE(FileExists(dir / "y.ogg"));

    Tmp3 missing(dir / "gone.mp3");
    EXPECT_FALSE(missing.RenameToFormat(1, "%title"));
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
    EXPECT_EQ(copy.TagKind, TagID3v2);
    EXPECT_EQ(copy.Path, source.Path);
    EXPECT_EQ(copy.Duration, 123456);
    EXPECT_EQ(copy.RefreshMark, 1);
    EXPECT_EQ(copy.Bitrate, 7);
    EXPECT_EQ(copy.PicturePath, "/keep.jpg");
    EXPECT_FALSE(copy.FileFound);
    EXPECT_FALSE(copy.InAlbumFolder);
}

}  // namespace
