// Renaming an album's files and rewriting its playlist as one change: after
// any failure the album keeps its old names and a playlist that names them.
#include "collection/AlbumRenames.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "WriteFault.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"

namespace {
// An album in dir/old: list.m3u naming 1.mp3 ... n.mp3, with these titles.
Tm3u MakeAlbum(const TempDir& dir, const std::vector<std::string>& titles) {
    std::string list;
    for (size_t i = 1; i <= titles.size(); ++i) {
        list += std::to_string(i) + ".mp3\n";
        dir.File("old/" + std::to_string(i) + ".mp3", "audio " + std::to_string(i));
    }
    Tm3u album(dir.File("old/list.m3u", list));
    album.ReadPlaylist(true);
    for (size_t i = 0; i < titles.size(); ++i) album.Tracks[i].Title = titles[i];
    return album;
}

TAlbumRenameOptions Everything(const TempDir& dir) {
    TAlbumRenameOptions options;
    options.RenamePlaylist = options.RenameFiles = options.RenameFolder = true;
    options.TrackFormat = "%number - %title";
    options.ListFormat = "%artist - %album";
    options.JournalFolder = dir.Folder("home") + "/";
    return options;
}

// Every file the album's playlist on disk names exists, and the album in
// memory is that playlist.
void ExpectWhole(const Tm3u& album) {
    ASSERT_TRUE(FileExists(album.PlaylistPath)) << album.PlaylistPath.str();
    Tm3u reread(album.PlaylistPath);
    ASSERT_TRUE(reread.ReadPlaylist(true));
    ASSERT_EQ(reread.Tracks.Count(), album.Tracks.Count());
    for (size_t i = 0; i < reread.Tracks.Count(); ++i) {
        EXPECT_TRUE(reread.Tracks[i].FileFound) << reread.Tracks[i].Path.str();
        EXPECT_EQ(reread.Tracks[i].Path, album.Tracks[i].Path);
    }
}
}  // namespace

// A name that starts with "." is hidden: the next scan would not see the album.
TEST(AlbumRenames, NamesFromValuesNeverStartWithADot) {
    struct Case {
        std::string artist, album, title;
        std::string folder, playlist, track;
    } cases[] = {
        {"...Of Dots And Dashes", "First Light", "Intro", "_..Of Dots And Dashes - First Light",
         "_..Of Dots And Dashes - First Light.m3u", "01 - Intro.mp3"},
        {"../..", "..", "..", "_._.. - ..", "_._.. - ...m3u", "01 - ...mp3"},
        {".", ".hidden", ".x", "_ - .hidden", "_ - .hidden.m3u", "01 - .x.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.artist);
        TempDir dir;
        Tm3u album = MakeAlbum(dir, {c.title});
        album.SetInfo(c.artist, 0, "", c.album);
        auto done = RenameAndWriteAlbum(album, Everything(dir), TPlaylistType::M3U);
        ASSERT_TRUE(done) << done.Failure().Text();
        EXPECT_TRUE(done->Skipped.empty());
        EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{c.folder, "home"}));
        EXPECT_EQ(FolderNames(dir / c.folder), (std::vector<std::string>{c.track, c.playlist}));
        ExpectWhole(album);
    }
    // A track format that starts with the title gets the same care.
    TempDir dir;
    Tm3u album = MakeAlbum(dir, {".secret"});
    auto options = Everything(dir);
    options.RenameFolder = options.RenamePlaylist = false;
    options.TrackFormat = "%title";
    ASSERT_TRUE(RenameAndWriteAlbum(album, options, TPlaylistType::M3U));
    EXPECT_EQ(FolderNames(dir / "old"), (std::vector<std::string>{"_secret.mp3", "list.m3u"}));
}

TEST(AlbumRenames, APictureNameTakenKeepsPlaylistAndPictureTogether) {
    TempDir dir;
    Tm3u album = MakeAlbum(dir, {"One"});
    album.SetInfo("Artist", 0, "", "Album");
    dir.File("old/list.jpg", "our picture");
    dir.File("old/Artist - Album.jpg", "another album's picture");
    album.PictureState = TPictureState::Present;
    auto options = Everything(dir);
    options.RenameFolder = false;
    auto done = RenameAndWriteAlbum(album, options, TPlaylistType::M3U);
    ASSERT_TRUE(done);
    ASSERT_EQ(done->Skipped.size(), 1u);
    EXPECT_EQ(done->Skipped[0].file, dir / "old/list.jpg");
    EXPECT_EQ(done->Skipped[0].error, EEXIST);
    EXPECT_EQ(album.PlaylistPath, dir / "old/list.m3u");
    EXPECT_EQ(dir.Read("old/list.jpg"), "our picture");
    EXPECT_EQ(dir.Read("old/Artist - Album.jpg"), "another album's picture");
    EXPECT_FALSE(FileExists(dir / "old/Artist - Album.m3u"));
    ExpectWhole(album);  // the tracks were renamed and the playlist names them
    EXPECT_EQ(ExtractFileName(album.Tracks[0].Path), "01 - One.mp3");
}

// The second track's new name is too long for the file system: the
// playlist and the first track, renamed already, get their names back.
TEST(AlbumRenames, ARenameThatFailsUndoesTheOnesBefore) {
    TempDir dir;
    Tm3u album = MakeAlbum(dir, {"Short", std::string(300, 'x')});
    album.SetInfo("Artist", 0, "", "Album");
    const std::string oldList = dir.Read("old/list.m3u");
    const auto oldNames = FolderNames(dir / "old");
    auto done = RenameAndWriteAlbum(album, Everything(dir), TPlaylistType::M3U);
    ASSERT_FALSE(done);
    EXPECT_EQ(done.Failure().file, dir / "old/2.mp3");
    EXPECT_EQ(done.Failure().error, ENAMETOOLONG);
    EXPECT_EQ(FolderNames(dir / "old"), oldNames);
    EXPECT_EQ(dir.Read("old/list.m3u"), oldList);
    EXPECT_EQ(album.PlaylistPath, dir / "old/list.m3u");
    EXPECT_EQ(album.Tracks[0].Path, dir / "old/1.mp3");
    EXPECT_EQ(album.Tracks.Key(0), album.Tracks[0].Path);
    EXPECT_EQ(FolderNames(dir / "home"), std::vector<std::string>{});
    ExpectWhole(album);
}

// Whatever the point at which the disk is full (the journal, a temporary
// file, the playlist), the album keeps its old names and old playlist, or
// the change is complete; no journal stays behind.
TEST(AlbumRenames, AFullDiskAtAnyPointLeavesTheAlbumWhole) {
    const std::vector<std::string> titles{std::string(200, 'a'), std::string(200, 'b'),
                                          std::string(200, 'c')};
    int olds = 0, news = 0, undone = 0;
    for (rlim_t limit = 0; limit < 4000; limit += 97) {
        SCOPED_TRACE(limit);
        TempDir dir;
        Tm3u album = MakeAlbum(dir, titles);
        album.SetInfo("Artist", 0, "", "Album");
        const std::string oldList = dir.Read("old/list.m3u");
        const auto oldNames = FolderNames(dir / "old");
        const auto options = Everything(dir);
        TResult<TAlbumRenameResult> done = TFailure{};
        {
            FileSizeLimit full(limit);
            done = RenameAndWriteAlbum(album, options, TPlaylistType::M3U);
        }
        EXPECT_EQ(FolderNames(dir / "home"), std::vector<std::string>{});
        if (done) {
            ++news;
            EXPECT_FALSE(DirectoryExists(dir / "old"));
            ExpectWhole(album);
            continue;
        }
        ++olds;
        // The renames were done and undone when the playlist itself could not be written.
        if (done.Failure().file != options.JournalFolder + "mavelo-renames-" +
                                       std::to_string(getpid()) + ".journal")
            ++undone;
        EXPECT_EQ(album.PlaylistPath, dir / "old/list.m3u");
        EXPECT_EQ(FolderNames(dir / "old"), oldNames);
        EXPECT_EQ(dir.Read("old/list.m3u"), oldList);
        EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"home", "old"}));
        ExpectWhole(album);
    }
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
    EXPECT_GT(undone, 0);
}
