#include "collection/Um3u_obj.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "CollectionFixtures.h"
#include "TempDir.h"
#include "collection/UIo.h"

#include "WriteFault.h"

namespace {

using Names = std::vector<std::string>;

TEST(AlbumTracks, AddFindsExistingAndInsertPlacesAfterNamedTrack) {
    Tm3u album("/m/A/list.m3u");
    album.AddTrack("/m/A/1.mp3", false);
    album.AddTrack("/m/A/2.mp3", false);
    album.Tracks[0].RefreshMark = 1;
    EXPECT_EQ(album.AddTrack("/m/A/1.mp3", false), 0u);  // same path: one track
    EXPECT_EQ(album.Tracks[0].RefreshMark, 0);
    EXPECT_EQ(album.InsertTrack("/m/A/x.mp3", false, "/m/A/1.mp3"), 1u);
    EXPECT_EQ(album.InsertTrack("/m/A/y.mp3", false, "/m/A/2.mp3"), 3u);  // after the last
    EXPECT_EQ(album.InsertTrack("/m/A/z.mp3", false, "/m/A/none"), 4u);   // unknown: appended
    EXPECT_EQ(album.InsertTrack("/m/A/2.mp3", false, "/m/A/1.mp3"), 2u);  // existing: not moved
    EXPECT_EQ(TrackNames(album), (Names{"1.mp3", "x.mp3", "2.mp3", "y.mp3", "z.mp3"}));
    EXPECT_EQ(album.Tracks.IndexOf("/m/A/y.mp3"), 3u);
}

TEST(AlbumTracks, NewTrackNotesFolderAndExistence) {
    TempDir dir;
    Tm3u album(dir / "A/list.m3u");
    dir.File("A/here.mp3", "");
    album.AddTrack(dir / "A/here.mp3", true);
    album.AddTrack(dir / "A/gone.mp3", true);
    album.AddTrack(dir / "A2/x.mp3", true);
    album.AddTrack(dir / "A/here2.mp3", false);
    EXPECT_TRUE(album.Tracks[0].FileFound);
    EXPECT_FALSE(album.Tracks[1].FileFound);
    EXPECT_TRUE(album.Tracks[0].InAlbumFolder);
    EXPECT_FALSE(album.Tracks[2].InAlbumFolder);  // "A2" is not the folder "A"
    EXPECT_FALSE(album.Tracks[3].FileFound);      // not checked
}

TEST(AlbumRecord, RoundTripWithBase) {
    Tm3u album("/cd/A/list.m3u");
    album.SetInfo("Artist", 1999, "Rock", "Album");
    album.Status = TAlbumStatus::Green;
    album.PictureState = TPictureState::Present;
    album.PlayCount = 7;
    album.LastPlayed = "20240102030405";
    album.CachedCover = std::string("\xFF\xD8\0\x01", 4);
    album.AddTrack("/cd/A/1.mp3", false);
    album.Tracks[0].Title = "One";
    album.Tracks[0].Duration = 1234;
    album.AddTrack("/elsewhere/2.mp3", false);

    TLoadSave out;
    out.OpenWriteToMemory();
    album.WriteAlbumRecord(out, "/cd/");
    const std::string bytes = out.Bytes();
    out.OpenBytes({});
    EXPECT_NE(bytes.find("A/1.mp3"), std::string::npos);
    EXPECT_EQ(bytes.find("/cd/A/1.mp3"), std::string::npos);

    TLoadSave in;
    in.OpenBytes(bytes);
    Tm3u read("/dvd/A/list.m3u");
    read.ReadAlbumRecord(in, "/dvd/");
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(read.Tracks.Key(0), "/dvd/A/1.mp3");
    EXPECT_EQ(read.Tracks[0].Path, "/dvd/A/1.mp3");
    EXPECT_EQ(read.Tracks[0].Title, "One");
    EXPECT_EQ(read.Tracks[0].Duration, 1234);
    EXPECT_EQ(read.Tracks.Key(1), "/elsewhere/2.mp3");  // outside the base: full path kept
    EXPECT_EQ(read.Artist, "Artist");
    EXPECT_EQ(read.Year, 1999);
    EXPECT_EQ(read.Status, TAlbumStatus::Green);
    EXPECT_EQ(read.PictureState, TPictureState::Present);
    EXPECT_EQ(read.PlayCount, 7);
    EXPECT_EQ(read.LastPlayed, "20240102030405");
    EXPECT_EQ(read.CachedCover, album.CachedCover);
}

// The status and the picture state are stored as numbers: each value reads
// back as itself and is written as the same number; a number that names no
// value reads as the default (a red status, no picture), as the grid draws it.
TEST(AlbumRecord, StoredStatusAndPictureNumbers) {
    const struct {
        int32_t storedStatus;
        int32_t storedPicture;
        TAlbumStatus status;
        TPictureState picture;
        int32_t writtenStatus;
        int32_t writtenPicture;
    } cases[] = {
        {0, 0, TAlbumStatus::Red, TPictureState::Missing, 0, 0},
        {1, 1, TAlbumStatus::Orange, TPictureState::Present, 1, 1},
        {2, 0, TAlbumStatus::Green, TPictureState::Missing, 2, 0},
        {3, 2, TAlbumStatus::Red, TPictureState::Missing, 0, 0},
        {7, -1, TAlbumStatus::Red, TPictureState::Missing, 0, 0},
        {-1, INT32_MAX, TAlbumStatus::Red, TPictureState::Missing, 0, 0},
        {INT32_MIN, 1, TAlbumStatus::Red, TPictureState::Present, 0, 1},
    };
    // An album record without tracks: values, status, picture, plays, cover.
    const auto recordBytes = [](int32_t status, int32_t picture) {
        TLoadSave out;
        out.OpenWriteToMemory();
        out.WriteInteger(0);
        for (const char* s : {"Artist", "Album", "Rock"}) out.WriteString(s);
        for (int32_t v : {1999, status, picture, 7}) out.WriteInteger(v);
        out.WriteString("20240102030405");
        out.WriteInteger(0);
        std::string bytes = out.Bytes();
        out.OpenBytes({});
        return bytes;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.storedStatus) + "/" + std::to_string(c.storedPicture));
        TLoadSave in;
        in.OpenBytes(recordBytes(c.storedStatus, c.storedPicture));
        Tm3u album("/m/A/list.m3u");
        album.ReadAlbumRecord(in, "");
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(album.Status, c.status);
        EXPECT_EQ(album.PictureState, c.picture);
        EXPECT_EQ(album.PlayCount, 7);  // the values after them stay in step
        EXPECT_EQ(album.PictureFile().empty(), c.picture == TPictureState::Missing);
        TLoadSave out;
        out.OpenWriteToMemory();
        album.WriteAlbumRecord(out, "");
        EXPECT_EQ(out.Bytes(), recordBytes(c.writtenStatus, c.writtenPicture));
        out.OpenBytes({});
    }
}

// The values an album's tracks repeat are held once after a load or a tag
// read; a value that differs keeps its own copy.
TEST(AlbumRecord, RepeatedValuesAreHeldOnce) {
    Tm3u album("/m/A/list.m3u");
    for (const char* path : {"/m/A/1.mp3", "/m/A/2.mp3", "/m/A/3.mp3"}) {
        Tmp3& track = album.Tracks[album.AddTrack(path, false)];
        track.Artist = std::string("Band");
        track.Album = std::string("Record");
        track.Genre = std::string("Rock");
        track.TagKind = TTagKind::ID3v2;
    }
    album.Tracks[2].Artist = std::string("Guest");
    album.DeriveFromTracks();
    album.ShareTrackTexts();
    const auto sharedByAll = [](const Tm3u& a) {
        return a.Tracks[0].Artist.SharesBlockWith(a.Tracks[1].Artist) &&
               a.Tracks[0].Album.SharesBlockWith(a.Tracks[2].Album) &&
               a.Tracks[1].Genre.SharesBlockWith(a.Tracks[2].Genre) &&
               a.Album.SharesBlockWith(a.Tracks[2].Album);
    };
    EXPECT_TRUE(sharedByAll(album));
    EXPECT_EQ(album.Tracks[2].Artist, "Guest");
    EXPECT_EQ(album.Artist, "Band");

    TLoadSave out;
    out.OpenWriteToMemory();
    album.WriteAlbumRecord(out, "");
    TLoadSave in;
    in.OpenBytes(out.Bytes());
    out.OpenBytes({});
    Tm3u read("/m/A/list.m3u");
    read.ReadAlbumRecord(in, "");
    EXPECT_TRUE(sharedByAll(read));
    EXPECT_TRUE(read.Tracks.Key(1).SharesBlockWith(read.Tracks[1].Path));
    EXPECT_EQ(read.Tracks[2].Artist, "Guest");
    EXPECT_EQ(read.Tracks[1].Artist, "Band");
    EXPECT_EQ(read.Artist, "Band");
}

// Bytes of an album record with the given tracks and cover length.
std::string RecordBytes(const Names& keys, int32_t coverLength) {
    TLoadSave out;
    out.OpenWriteToMemory();
    out.WriteInteger(static_cast<int32_t>(keys.size()));
    for (size_t i = 0; i < keys.size(); ++i) {
        out.WriteString(keys[i]);
        Tmp3 track;
        track.Title = "t" + std::to_string(i);
        track.WriteTrackRecord(out, "");
    }
    for (const char* text : {"a", "b", "g"}) out.WriteString(text);
    for (int i = 0; i < 4; ++i) out.WriteInteger(0);
    out.WriteString("");
    out.WriteInteger(coverLength);
    std::string bytes = out.Bytes();
    out.OpenBytes({});
    return bytes;
}

TEST(AlbumRecord, DuplicateKeyOverwritesAndDamageFails) {
    Tm3u album("/m/list.m3u");
    TLoadSave in;
    in.OpenBytes(RecordBytes({"/m/1.mp3", "/m/2.mp3", "/m/1.mp3"}, 0));
    album.ReadAlbumRecord(in, "");
    EXPECT_EQ(TrackNames(album), (Names{"1.mp3", "2.mp3"}));
    EXPECT_EQ(album.Tracks[0].Title, "t2");

    for (const auto& bytes : {RecordBytes({"/m/1.mp3"}, -1), RecordBytes({"/m/1.mp3"}, 10),
                              RecordBytes({}, 0).substr(0, 10)}) {
        Tm3u damaged("/m/list.m3u");
        TLoadSave stream;
        stream.OpenBytes(bytes);
        EXPECT_THROW(damaged.ReadAlbumRecord(stream, ""), EMyFileError);
    }
    std::string negativeCount = RecordBytes({}, 0);
    negativeCount[3] = '\x80';
    TLoadSave stream;
    stream.OpenBytes(negativeCount);
    EXPECT_THROW(album.ReadAlbumRecord(stream, ""), EMyFileError);
}

TEST(AlbumRefresh, KeepsOldOrderDropsVanishedAppendsNew) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/list.m3u", {"1.mp3", "2.mp3", "3.mp3"}));
    album.Refresh(true, [](Tmp3&) { return false; });
    MakeAlbum(dir, "A/list.m3u", {"4.mp3", "3.mp3", "1.mp3", "1.mp3", "5.mp3"});
    album.Refresh(true, [](Tmp3&) { return false; });
    EXPECT_EQ(TrackNames(album), (Names{"1.mp3", "3.mp3", "4.mp3", "5.mp3"}));
    EXPECT_EQ(album.Tracks.IndexOf(dir / "A/5.mp3"), 3u);

    std::remove(album.PlaylistPath.c_str());
    album.Refresh(true, [](Tmp3&) { return false; });
    EXPECT_EQ(album.Tracks.Count(), 0u);  // a missing playlist names nothing
}

TEST(AlbumRefresh, PlaylistValuesFillTracksAndPictureStateFollowsTheFile) {
    TempDir dir;
    const std::string path =
        dir.File("A/list.m3u", "#@Artist:Band\n#@Year:1990\n#EXTINF:215,Song A\nsong a.mp3\n");
    Tm3u album(path);
    album.Refresh(true, [](Tmp3&) { return false; });  // no tags: the playlist's values stay
    ASSERT_EQ(album.Tracks.Count(), 1u);
    EXPECT_EQ(album.Tracks[0].Path, dir / "A/song a.mp3");
    EXPECT_EQ(album.Tracks[0].Duration, 215000);
    EXPECT_EQ(album.Tracks[0].Title, "Song A");
    EXPECT_EQ(album.Tracks[0].Artist, "Band");
    EXPECT_EQ(album.Tracks[0].Year, 1990);
    EXPECT_EQ(album.Artist, "Band");
    EXPECT_EQ(album.PictureState, TPictureState::Missing);
    dir.File("A/list.jpg", "x");
    album.Refresh(true, [](Tmp3&) { return false; });
    EXPECT_EQ(album.PictureState, TPictureState::Present);
    EXPECT_EQ(album.PictureFile(), dir / "A/list.jpg");
}

TEST(AlbumRefresh, DropsCachedCoverAndTellsTheOwner) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/list.m3u", {"1.mp3"}));
    int dropped = 0;
    dropped += album.Refresh(false).coverDropped;  // no cover: nothing to tell
    album.CachedCover = "jpeg";
    const Tm3u::TRefreshResult refreshed = album.Refresh(false, [](Tmp3&) { return false; });
    dropped += refreshed.coverDropped;
    EXPECT_TRUE(album.CachedCover.empty());
    EXPECT_EQ(dropped, 1);
    EXPECT_TRUE(refreshed.playlistRead);
    std::remove((dir / "A/list.m3u").c_str());
    EXPECT_FALSE(album.Refresh(false).playlistRead);
}

TEST(AlbumRefresh, TagReadingDependsOnForceMarkAndValues) {
    struct Case {
        const char* name;
        bool force;
        TScanMark scanMark;
        int32_t year;  // the album's only value
        int expectedOpens;
    } cases[] = {
        {"fast, known album with a value", false, TScanMark::KnownBefore, 1990, 0},
        {"fast, known album without values", false, TScanMark::KnownBefore, 0, 2},
        {"fast, new album", false, TScanMark::None, 1990, 2},
        {"full", true, TScanMark::KnownBefore, 1990, 2},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Tm3u album(MakeAlbum(dir, "A/list.m3u", {"1.mp3", "2.mp3"}));
        album.AddTrack(dir / "A/gone.mp3", false);
        album.ScanMark = c.scanMark;
        album.Year = c.year;
        TFakeTags tags;
        tags.byFile["1.mp3"] = {"Band", "Live", "Rock", 2001, ""};
        album.Refresh(c.force, tags.Reader());
        EXPECT_EQ(tags.opens, c.expectedOpens) << c.name;
        EXPECT_EQ(album.Tracks.Count(), 2u) << c.name;  // the playlist is re-read anyway
        EXPECT_EQ(album.Year, c.expectedOpens ? 2001 : c.year) << c.name;
    }
}

TEST(AlbumDerive, MostFrequentValueWinsTiesToFirstMet) {
    Tm3u album("/m/list.m3u");
    auto add = [&](const char* file, TTagKind tag, const char* artist, const char* genre,
                   int32_t year) {
        Tmp3& t = album.Tracks[album.AddTrack(std::string("/m/") + file, false)];
        t.TagKind = tag;
        t.Artist = artist;
        t.Genre = genre;
        t.Year = year;
    };
    add("0", TTagKind::None, "Untagged", "Untagged", 1);  // untagged tracks take no part
    add("1", TTagKind::ID3v1, "Band", "", 0);
    add("2", TTagKind::ID3v2, "Guest", "Jazz", 1999);
    add("3", TTagKind::ID3v2, "BAND", "Rock", 2001);
    add("4", TTagKind::ID3v2, "Other", "", 2001);
    album.Album = "Kept";
    EXPECT_TRUE(album.DeriveFromTracks());
    EXPECT_EQ(album.Artist, "Band");  // Band/BAND twice, with the first one's case
    EXPECT_EQ(album.Genre, "Jazz");   // a tie: the first met
    EXPECT_EQ(album.Year, 2001);
    EXPECT_EQ(album.Album, "Kept");  // fields already set are kept

    Tm3u untagged("/m/u.m3u");
    untagged.AddTrack("/m/x", false);
    EXPECT_FALSE(untagged.DeriveFromTracks());
}

TEST(AlbumDerive, RefreshKeepsOldValuesWhenTracksGiveNone) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/list.m3u", {"1.mp3"}));
    album.SetInfo("Old", 1980, "", "");
    TFakeTags tags;
    album.Refresh(true, tags.Reader());
    EXPECT_EQ(album.Artist, "Old");
    EXPECT_EQ(album.Year, 1980);
    tags.byFile["1.mp3"] = {"", "New album", "", 0, ""};
    album.Refresh(true, tags.Reader());
    EXPECT_EQ(album.Artist, "");  // any value from the tags replaces all old ones
    EXPECT_EQ(album.Album, "New album");
    EXPECT_EQ(album.Year, 0);
}

TEST(AlbumName, PlaceholdersBlanksAndUnsafeCharacters) {
    struct Case {
        const char* pattern;
        const char* artist;
        const char* album;
        int32_t year;
        const char* expected;
    } cases[] = {
        {"%artist - %album (%year)", "AC/DC", "", 0, "AC_DC - Album (Year)"},
        {"%artist - %album (%year)", "A", "B?", 1999, "A - B_ (1999)"},
        {"%year %year", "", "", 2000, "2000 %year"},
        {"plain", "A", "B", 1, "plain"},
    };
    for (const auto& c : cases) {
        Tm3u album;
        album.SetInfo(c.artist, c.year, "", c.album);
        EXPECT_EQ(album.FormatAlbumName(c.pattern), c.expected) << c.pattern;
    }
}

TEST(AlbumRename, PlaylistAndPictureMoveTogether) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/old.m3u", {"1.mp3"}));
    dir.File("A/old.jpg", "picture");
    album.PictureState = TPictureState::Present;
    album.SetInfo("AC/DC", 1990, "", "Live");
    album.CachedCover = "jpeg";
    EXPECT_TRUE(album.RenamePlaylist("%artist - %album (%year)"));
    EXPECT_EQ(album.PlaylistPath, dir / "A/AC_DC - Live (1990).m3u");
    EXPECT_TRUE(FileExists(album.PlaylistPath));
    EXPECT_EQ(dir.Read("A/AC_DC - Live (1990).jpg"), "picture");
    EXPECT_FALSE(FileExists(dir / "A/old.m3u"));
    EXPECT_TRUE(album.CachedCover.empty());
}

TEST(AlbumRename, FailedPlaylistRenameLeavesEverything) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/old.m3u", {"1.mp3"}));
    dir.File("A/old.jpg", "picture");
    dir.File("A/Taken.m3u", "other album");
    album.PictureState = TPictureState::Present;
    const TWriteResult renamed = album.RenamePlaylist("Taken");
    EXPECT_FALSE(renamed);
    EXPECT_EQ(renamed.error, EEXIST);  // the reason reaches the user
    EXPECT_EQ(renamed.file, dir / "A/old.m3u");
    EXPECT_EQ(album.PlaylistPath, dir / "A/old.m3u");
    EXPECT_EQ(dir.Read("A/Taken.m3u"), "other album");  // never overwritten
    EXPECT_TRUE(FileExists(dir / "A/old.jpg"));
    EXPECT_FALSE(FileExists(dir / "A/Taken.jpg"));
}

// The album would otherwise show another album's picture as its own.
TEST(AlbumRename, APictureNameTakenLeavesThePlaylistWhereItWas) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/old.m3u", {"1.mp3"}));
    dir.File("A/old.jpg", "picture");
    dir.File("A/New.jpg", "another picture");
    album.PictureState = TPictureState::Present;
    const TWriteResult renamed = album.RenamePlaylist("New");
    EXPECT_FALSE(renamed);
    EXPECT_EQ(renamed.error, EEXIST);
    EXPECT_EQ(renamed.file, dir / "A/old.jpg");
    EXPECT_EQ(album.PlaylistPath, dir / "A/old.m3u");
    EXPECT_TRUE(FileExists(dir / "A/old.m3u"));
    EXPECT_FALSE(FileExists(dir / "A/New.m3u"));
    EXPECT_EQ(dir.Read("A/old.jpg"), "picture");
    EXPECT_EQ(dir.Read("A/New.jpg"), "another picture");
}

TEST(AlbumRename, FolderFollowsPatternAndPathsFollowTheFolder) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "M/old/list.m3u", {"1.mp3", "2.mp3"}));
    album.Refresh(true, [](Tmp3&) { return false; });
    album.SetInfo("Band", 0, "", "Live");
    EXPECT_TRUE(album.RenameFolder("%artist - %album"));
    EXPECT_EQ(album.PlaylistPath, dir / "M/Band - Live/list.m3u");
    EXPECT_TRUE(FileExists(dir / "M/Band - Live/1.mp3"));
    EXPECT_EQ(album.Tracks.Key(1), dir / "M/Band - Live/2.mp3");
    EXPECT_EQ(album.Tracks[1].Path, dir / "M/Band - Live/2.mp3");
    EXPECT_EQ(album.Tracks.IndexOf(dir / "M/Band - Live/2.mp3"), 1u);
}

TEST(AlbumRename, FolderRenameRefusals) {
    TempDir dir;
    Tm3u shared(MakeAlbum(dir, "M/shared/a.m3u", {"1.mp3"}));
    MakeAlbum(dir, "M/shared/b.PLS", {"1.mp3"});
    EXPECT_FALSE(shared.RenameFolder("New"));
    EXPECT_TRUE(DirectoryExists(dir / "M/shared"));

    Tm3u blocked(MakeAlbum(dir, "M/one/a.m3u", {"1.mp3"}));
    dir.Folder("M/Taken");
    EXPECT_FALSE(blocked.RenameFolder("Taken"));
    EXPECT_TRUE(FileExists(dir / "M/one/a.m3u"));
    EXPECT_EQ(blocked.PlaylistPath, dir / "M/one/a.m3u");

    Tm3u atRoot("/list.m3u");  // a playlist in the root of the file system
    EXPECT_FALSE(atRoot.RenameFolder("New"));
}

TEST(AlbumPaths, ReplaceFolderOnlyUnderTheOldFolder) {
    Tm3u inside("/c/Old/A/x.m3u");
    inside.AddTrack("/c/Old/A/1.mp3", false);
    inside.AddTrack("/c/Older/2.mp3", false);
    inside.ReplaceFolder("/c/Old", "/d/New");
    EXPECT_EQ(inside.PlaylistPath, "/d/New/A/x.m3u");
    EXPECT_EQ(inside.Tracks.Key(0), "/d/New/A/1.mp3");
    EXPECT_EQ(inside.Tracks.Key(1), "/c/Older/2.mp3");
    EXPECT_EQ(inside.Tracks.IndexOf("/d/New/A/1.mp3"), 0u);

    Tm3u sibling("/c/Older/y.m3u");
    sibling.ReplaceFolder("/c/Old", "/d/New");
    EXPECT_EQ(sibling.PlaylistPath, "/c/Older/y.m3u");

    Tm3u slash("/mnt/cd/A/x.m3u");
    slash.ReplaceFolder("/mnt/cd/", "/media/dvd");
    EXPECT_EQ(slash.PlaylistPath, "/media/dvd/A/x.m3u");
}

TEST(AlbumPaths, IsUnderNeedsASeparatorAfterTheFolder) {
    const struct {
        const char* playlist;
        const char* folder;
        bool expected;
    } cases[] = {
        {"/d/Music/a.m3u", "/d/Music", true},   {"/d/Music/A/a.m3u", "/d/Music/", true},
        {"/d/Music2/a.m3u", "/d/Music", false}, {"/d/Music", "/d/Music", false},
        {"/d/music/a.m3u", "/d/Music", false},  // paths compare exactly here
        {"/d/Music/a.m3u", "/", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tm3u(c.playlist).IsUnder(c.folder), c.expected) << c.playlist << " " << c.folder;
}

TEST(AlbumPaths, PlaylistTypeAndPictureFile) {
    const struct {
        const char* path;
        TPlaylistType type;
        const char* picture;
    } cases[] = {
        {"/m/x.m3u", TPlaylistType::M3U, "/m/x.jpg"}, {"/m/x.PLS", TPlaylistType::PLS, "/m/x.jpg"},
        {"/m/x.b4S", TPlaylistType::B4S, "/m/x.jpg"}, {"/m/x.txt", TPlaylistType::M3U, "/m/x.jpg"},
        {"/m/b4s", TPlaylistType::M3U, "/m/jpg"},
    };
    for (const auto& c : cases) {
        Tm3u album(c.path);
        EXPECT_EQ(album.PlaylistType(), c.type) << c.path;
        EXPECT_EQ(album.PictureFile(), "") << c.path;  // no picture noted
        album.PictureState = TPictureState::Present;
        EXPECT_EQ(album.PictureFile(), c.picture) << c.path;
    }
}

// The windows' format lists hold M3U, PLS, B4S in that order; an index that
// names none (no choice made) is M3U.
TEST(AlbumPaths, PlaylistTypeOfAChoiceIndex) {
    const std::pair<int32_t, TPlaylistType> cases[] = {
        {0, TPlaylistType::M3U}, {1, TPlaylistType::PLS},  {2, TPlaylistType::B4S},
        {3, TPlaylistType::M3U}, {-1, TPlaylistType::M3U},
    };
    for (const auto& [index, type] : cases) EXPECT_EQ(PlaylistTypeFromInt(index), type) << index;
}

TEST(AlbumPlaylistWrite, OtherFormatReplacesTheOldFile) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/list.b4s", {"1.mp3", "2.mp3"}));
    album.Refresh(true, [](Tmp3&) { return false; });
    album.Tracks[0].Duration = 59999;
    album.Tracks[0].Title = "One";
    album.SetInfo("Band", 1999, "", "");
    EXPECT_TRUE(album.WritePlaylist(TPlaylistType::M3U));
    EXPECT_EQ(album.PlaylistPath, dir / "A/list.m3u");
    EXPECT_FALSE(FileExists(dir / "A/list.b4s"));
    EXPECT_EQ(dir.Read("A/list.m3u"),
              "#EXTM3U\r\n#@Artist:Band\r\n#@Year:1999\r\n#EXTINF:59,One\r\n1.mp3\r\n"
              "#EXTINF:0,\r\n2.mp3\r\n");

    Tm3u read(album.PlaylistPath);
    read.Refresh(true, [](Tmp3&) { return false; });
    EXPECT_EQ(TrackNames(read), (Names{"1.mp3", "2.mp3"}));
    EXPECT_EQ(read.Tracks[0].Duration, 59000);
    EXPECT_EQ(read.Artist, "Band");
}

TEST(AlbumPlaylistWrite, OwnFormatReplacedInPlaceWhateverTheCase) {
    TempDir dir;
    for (const auto& [name, format] :
         {std::pair{"A/x.M3U", TPlaylistType::M3U}, std::pair{"A/y.Pls", TPlaylistType::PLS},
          std::pair{"A/z.B4S", TPlaylistType::B4S}}) {
        Tm3u album(MakeAlbum(dir, name, {"1.mp3"}));
        album.Refresh(true, [](Tmp3&) { return false; });
        EXPECT_TRUE(album.WritePlaylist(format)) << name;
        EXPECT_EQ(album.PlaylistPath, dir / name);
        Tm3u read(album.PlaylistPath);
        read.Refresh(true, [](Tmp3&) { return false; });
        EXPECT_EQ(TrackNames(read), (Names{"1.mp3"})) << name;
        // No temporary file left beside it.
        const std::string prefix = ExtractFileName(album.PlaylistPath) + ".";
        for (const auto& entry : std::filesystem::directory_iterator(dir / "A"))
            EXPECT_FALSE(entry.path().filename().string().starts_with(prefix)) << entry.path();
    }
}

TEST(AlbumPlaylistWrite, FailureChangesNothing) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/list.m3u", {"1.mp3"}));
    const std::string before = dir.Read("A/list.m3u");
    dir.Folder("A/list.pls");  // the new file cannot replace a folder
    EXPECT_FALSE(album.WritePlaylist(TPlaylistType::PLS));
    {
        FileSizeLimit diskFull(1);  // nor can the new contents be written
        EXPECT_FALSE(album.WritePlaylist(TPlaylistType::M3U));
    }
    EXPECT_FALSE(album.WritePlaylist(static_cast<TPlaylistType>(7)));  // a format of no name
    EXPECT_EQ(album.PlaylistPath, dir / "A/list.m3u");
    EXPECT_EQ(dir.Read("A/list.m3u"), before);
}

TEST(AlbumPlaylistWrite, OtherFormatNeverOverwritesAnotherPlaylist) {
    TempDir dir;
    Tm3u album(MakeAlbum(dir, "A/list.m3u", {"1.mp3"}));
    MakeAlbum(dir, "A/list.pls", {"2.mp3"});  // a second album of the same folder
    const std::string other = dir.Read("A/list.pls");
    album.Refresh(true, [](Tmp3&) { return false; });
    const TWriteResult written = album.WritePlaylist(TPlaylistType::PLS);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.Text(), "cannot replace another playlist: " + (dir / "A/list.pls") + ": File exists");
    EXPECT_EQ(album.PlaylistPath, dir / "A/list.m3u");
    EXPECT_EQ(dir.Read("A/list.pls"), other);
    EXPECT_TRUE(FileExists(dir / "A/list.m3u"));
}

TEST(AlbumValues, MarkPlayedMatchesTextAndMeasure) {
    Tm3u album("/m/Best Of.m3u");
    album.SetInfo("Band", 0, "", "Live");
    album.MarkPlayed();
    EXPECT_EQ(album.PlayCount, 1);
    ASSERT_EQ(album.LastPlayed.size(), 14u);
    EXPECT_EQ(album.LastPlayed.find_first_not_of("0123456789"), std::string::npos);

    EXPECT_TRUE(album.MatchesText("band", false, SearchArtist));
    EXPECT_FALSE(album.MatchesText("band", false, SearchAlbum | SearchTrack));
    EXPECT_TRUE(album.MatchesText("live", false, SearchAlbum));
    EXPECT_TRUE(album.MatchesText("best", false, SearchFiles));
    EXPECT_FALSE(album.MatchesText("best", false, SearchArtist | SearchAlbum));

    album.AddTrack("/m/1.mp3", false);
    album.AddTrack("/m/2.mp3", false);
    album.MeasureTracks([](Tmp3& t) { t.Duration = static_cast<int32_t>(t.Path.size()); });
    EXPECT_EQ(album.Tracks[1].Duration, 8);
}

}  // namespace
