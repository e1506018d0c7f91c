// Writing new values into an album on disk: the fallbacks of the tags, and
// renames that cannot happen reported rather than lost.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "WriteFault.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "freedb/AlbumApply.h"

namespace {
Tm3u MakeAlbum(const TempDir& dir, const std::string& folder, int tracks) {
    std::string list;
    dir.Folder(folder);
    for (int i = 1; i <= tracks; ++i) {
        const std::string name = std::to_string(i) + ".mp3";
        list += name + "\n";
        std::filesystem::copy_file(std::string(MAVELO_TEST_DATA) + "/tags/id3v1_v10.mp3",
                                   dir / (folder + "/" + name));
    }
    Tm3u album(dir.File(folder + "/list.m3u", list));
    album.ReadPlaylist(true);
    return album;
}

Tmp3 ReadBack(const std::string& path) {
    Tmp3 track(path);
    EXPECT_TRUE(track.ReadTags()) << path;
    return track;
}
}  // namespace

TEST(WriteAlbumTags, EmptyYearAndGenreTakeTheFirstTracksValues) {
    TempDir dir;
    Tm3u album = MakeAlbum(dir, "a", 3);
    album.Tracks[0].Year = 1990;
    album.Tracks[0].Genre = "Blues";
    album.Tracks[1].Year = 2005;
    album.Tracks[1].Genre = "Pop";
    album.Tracks[2].Title = "Own";
    TAlbumValues values{"Artist", "Album", "", 0, {"One", "Two"}};
    TAlbumApplyReport report;
    std::vector<size_t> progress;
    WriteAlbumTags(
        album, values, TId3Choice::V2, [&](size_t done, size_t) { progress.push_back(done); },
        report);
    EXPECT_TRUE(report.Failures.empty());
    EXPECT_EQ(progress, (std::vector<size_t>{1, 2, 3}));
    const std::string titles[] = {"One", "Two", "Own"};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        Tmp3 track = ReadBack(album.Tracks[i].Path);
        EXPECT_EQ(track.Year, 1990);  // the first track's year holds for the later ones
        EXPECT_EQ(track.Genre, "Blues");
        EXPECT_EQ(track.Title, titles[i]);
        EXPECT_EQ(track.Artist, "Artist");
    }
}

TEST(AlbumRenames, FailuresAreReported) {
    TempDir dir;
    Tm3u album = MakeAlbum(dir, "Artist - Album (2000)", 1);
    album.SetInfo("Artist", 2000, "", "Album");
    TAlbumApplyReport report;
    TAlbumApplyOptions options;
    options.JournalFolder = dir.Folder("home") + "/";
    options.RenameFolder = true;
    // The folder has the right name already: nothing to do, nothing wrong.
    EXPECT_TRUE(RenameAndSaveAlbum(album, options, TPlaylistType::M3U, report));
    EXPECT_TRUE(report.Failures.empty());
    // A folder shared with another album is never renamed.
    dir.File("Artist - Album (2000)/other.m3u", "");
    options.ListFormat = "%album";
    EXPECT_TRUE(RenameAndSaveAlbum(album, options, TPlaylistType::M3U, report));
    ASSERT_EQ(report.Failures.size(), 1u);
    EXPECT_TRUE(DirectoryExists(dir / "Artist - Album (2000)"));
    // A track whose new name is taken keeps its name and says so.
    dir.File("Artist - Album (2000)/01 - Song.mp3", "taken");
    album.Tracks[0].Title = "Song";
    options.RenameFolder = false;
    options.RenameFiles = true;
    EXPECT_TRUE(RenameAndSaveAlbum(album, options, TPlaylistType::M3U, report));
    EXPECT_EQ(report.Failures.size(), 2u);
    EXPECT_EQ(ExtractFileName(album.Tracks[0].Path), "1.mp3");
    // Each says which file and why.
    EXPECT_EQ(report.Failures[0],
              "Could not rename " + (dir / "Artist - Album (2000)") + ": other albums share the folder");
    EXPECT_EQ(report.Failures[1],
              "Could not rename " + (dir / "Artist - Album (2000)/1.mp3") + ": File exists");
    EXPECT_EQ(FolderNames(dir / "home"), std::vector<std::string>{});  // no journal left
}
