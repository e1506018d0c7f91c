#include "collection/Udir_obj.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "CollectionFixtures.h"
#include "TempDir.h"
#include "Unprivileged.h"
#include "collection/FolderWalk.h"
#include "collection/ScanReadAhead.h"
#include "collection/UIo.h"

namespace {

using Names = std::vector<std::string>;

// Album keys relative to the test folder, in list order.
Names AlbumKeys(const TDirectory& directory, const TempDir& dir) {
    Names keys;
    for (const auto& entry : directory.List)
        keys.push_back(entry.key.substr(dir.Path().size() + 1));
    return keys;
}

TEST(RootList, SortedWithoutDuplicatesOrTrailingSeparators) {
    TRootList roots;
    EXPECT_TRUE(roots.Add("/m/rock"));
    EXPECT_TRUE(roots.Add("/m/Jazz/"));
    EXPECT_TRUE(roots.Add("/m/jazz"));  // another folder on a case-sensitive system
    EXPECT_FALSE(roots.Add("/m/rock/"));
    EXPECT_FALSE(roots.Add(""));
    EXPECT_TRUE(roots.Add("/"));
    EXPECT_EQ(roots.Folders(), (Names{"/", "/m/Jazz", "/m/jazz", "/m/rock"}));
    EXPECT_TRUE(roots.Contains("/m/Jazz/"));
    EXPECT_TRUE(roots.Remove("/m/jazz"));
    EXPECT_FALSE(roots.Remove("/m/jazz"));
    roots.Assign({"/b", "/a", "/b/"});
    EXPECT_EQ(roots.Folders(), (Names{"/a", "/b"}));
}

TEST(RootList, SplitRootText) {
    EXPECT_EQ(SplitRootText(""), Names{});
    EXPECT_EQ(SplitRootText("/a|"), (Names{"/a"}));
    EXPECT_EQ(SplitRootText("/a|/b c|"), (Names{"/a", "/b c"}));
    EXPECT_EQ(SplitRootText("/a||/b"), (Names{"/a", "/b"}));
}

TEST(Scan, SubfoldersFirstThenPlaylistsGroupedByExtension) {
    TempDir dir;
    for (const char* name :
         {"R/z.b4s", "R/c.pls", "R/b.M3U", "R/a.m3u", "R/Y/y.m3u", "R/X/x.pls", "R/X/Deep/d.m3u",
          "R/.hidden/h.m3u", "R/.h.m3u", "R/notes.txt", "R/a.m3u8"})
        MakeAlbum(dir, name, {});
    dir.Folder("R/folder.m3u");  // a folder named like a playlist is entered, not read
    TDirectory directory;
    directory.Scan(false, {dir / "R"}, false);
    EXPECT_EQ(AlbumKeys(directory, dir),
              (Names{"R/X/Deep/d.m3u", "R/X/x.pls", "R/Y/y.m3u", "R/.h.m3u", "R/a.m3u", "R/b.M3U",
                     "R/c.pls", "R/z.b4s"}));
}

TEST(Scan, SamePlaylistNameInTwoFormatsGivesTwoAlbums) {
    TempDir dir;
    MakeAlbum(dir, "R/a.m3u", {"1.mp3"});
    MakeAlbum(dir, "R/a.pls", {"1.mp3"});
    TDirectory directory;
    directory.Scan(true, {dir / "R"}, false);
    ASSERT_EQ(directory.List.Count(), 2u);
    EXPECT_EQ(directory.List[0].Tracks.Key(0), directory.List[1].Tracks.Key(0));
}

TEST(Scan, LinkedFoldersAreEnteredOnceAndLoopsEnd) {
    TempDir dir;
    MakeAlbum(dir, "R/A/a.m3u", {});
    MakeAlbum(dir, "Outside/o.m3u", {});
    ASSERT_EQ(symlink((dir / "R").c_str(), (dir / "R/A/loop").c_str()), 0);
    ASSERT_EQ(symlink((dir / "Outside").c_str(), (dir / "R/link").c_str()), 0);
    ASSERT_EQ(symlink((dir / "Outside").c_str(), (dir / "R/link2").c_str()), 0);
    TDirectory directory;
    TProgress progress;
    directory.Scan(false, {dir / "R", dir / "R/A"}, true, nullptr, &progress);
    EXPECT_EQ(AlbumKeys(directory, dir), (Names{"R/A/a.m3u", "R/link/o.m3u"}));
    EXPECT_EQ(progress.Total(), 3);  // R, R/A, R/link
    EXPECT_EQ(progress.Done(), 3);
}

TEST(Scan, ProgressWithoutPrescan) {
    TempDir dir;
    MakeAlbum(dir, "R/A/a.m3u", {});
    MakeAlbum(dir, "R/b.m3u", {});
    TDirectory directory;
    TProgress progress;
    directory.Scan(false, {dir / "R", dir / "missing"}, false, nullptr, &progress);
    EXPECT_EQ(progress.Total(), 0);
    EXPECT_EQ(progress.Done(), 2);
}

TEST(Scan, CancelStopsTheWalk) {
    TempDir dir;
    MakeAlbum(dir, "R/A/a.m3u", {});
    TDirectory directory;
    TProgress progress;
    progress.Cancel();
    EXPECT_THROW(directory.Scan(false, {dir / "R"}, false, nullptr, &progress), ECancelled);
    EXPECT_TRUE(directory.List.Empty());
}

// The stored album block of a scan of `root`, paths relative to it: every
// value the scan found, in the order it found them.
std::string ScannedBytes(const std::string& root, bool force, TDirectory& directory) {
    directory.Scan(force, {root}, false);
    TLoadSave stream;
    stream.OpenWriteToMemory();
    directory.WriteAlbums(stream, root + "/");
    return stream.Bytes();
}

// Reading ahead only warms the file cache: a scan with it finds the same
// albums, tracks and tags, in the same order, as a scan without it, whether
// the scan reads every tag or only those of new albums.
TEST(Scan, ReadingAheadChangesNothingTheScanFinds) {
    TempDir dir;
    const std::string data = std::string(MAVELO_TEST_DATA) + "/tags/";
    const std::vector<std::string> files = {
        "id3v23_full.mp3", "id3v1_v11_cp1252.mp3", "id3v24_utf8.mp3", "plain.mp3",
        "vorbis.ogg",      "wma.wma",              "both_tags_year_from_v1.mp3"};
    for (int album = 0; album < 60; ++album) {
        const std::string folder = "R/" + std::to_string(album % 7) + "/A" + std::to_string(album);
        static const char* const kinds[] = {"list.m3u", "list.pls", "list.b4s"};
        std::vector<std::string> tracks;
        for (int t = 0; t < 1 + album % 5; ++t) {
            const std::string& source = files[size_t(album + t) % files.size()];
            tracks.push_back(std::to_string(t) + "-" + source);
        }
        MakeAlbum(dir, folder + "/" + kinds[album % 3], tracks);
        for (const auto& track : tracks)
            std::filesystem::copy_file(data + track.substr(track.find('-') + 1),
                                       dir / (folder + "/" + track),
                                       std::filesystem::copy_options::overwrite_existing);
        if (album % 4 == 0) dir.File(folder + "/list.jpg", "picture");
    }
    MakeAlbum(dir, "R/2/missing.m3u", {"gone.mp3"});
    std::filesystem::remove(dir / "R/2/gone.mp3");

    for (const bool force : {true, false}) {
        SetScanReadAheadMode(TReadAheadMode::Never);
        TDirectory plain;
        const std::string without = ScannedBytes(dir / "R", force, plain);
        SetScanReadAheadMode(TReadAheadMode::Always);
        TDirectory ahead;
        const std::string with = ScannedBytes(dir / "R", force, ahead);
        SetScanReadAheadMode(TReadAheadMode::Auto);
        EXPECT_EQ(plain.List.Count(), 61u);
        EXPECT_EQ(with, without) << (force ? "full scan" : "fast scan");
    }
}

// A collection of three albums, tagged, scanned once in full.
struct ScannedCollection {
    TempDir dir;
    TFakeTags tags;
    TDirectory directory;
    TRootList roots;

    ScannedCollection() {
        MakeAlbum(dir, "R/A/a.m3u", {"a1.mp3", "a2.mp3"});
        MakeAlbum(dir, "R/B/b.pls", {"b1.mp3"});
        MakeAlbum(dir, "R/C/c.b4s", {"c1.mp3"});
        tags.byFile = {{"a1.mp3", {"Band A", "Album A", "Rock", 1990, ""}},
                       {"a2.mp3", {"Band A", "Album A", "Rock", 1990, ""}},
                       {"b1.mp3", {"Band B", "", "", 0, ""}},
                       {"c1.mp3", {"Band C", "", "", 0, ""}}};
        directory.TagReader = tags.Reader();
        roots.Add(dir / "R");
        EXPECT_TRUE(Rescan(directory, roots, true, false).completed);
        tags.opens = 0;
    }
    Tm3u& Album(const std::string& relative) { return *directory.List.Find(dir / relative); }
};

TEST(Rescan, FastScanOpensNoAudioFileOfKnownAlbumsWithValues) {
    ScannedCollection c;
    c.tags.byFile["a1.mp3"].artist = "Changed";
    TScanResult result = Rescan(c.directory, c.roots, false, false);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(c.tags.opens, 0);
    EXPECT_EQ(c.Album("R/A/a.m3u").Tracks[0].Artist, "Band A");  // old values kept

    Rescan(c.directory, c.roots, true, false);
    EXPECT_EQ(c.tags.opens, 4);
    EXPECT_EQ(c.Album("R/A/a.m3u").Tracks[0].Artist, "Changed");
    for (const auto& entry : c.directory.List) EXPECT_EQ(entry.object->ScanMark, TScanMark::None);
}

TEST(Rescan, FastScanReadsNewAlbumsAndAlbumsWithoutValues) {
    ScannedCollection c;
    c.Album("R/B/b.pls").SetInfo("", 0, "", "");
    MakeAlbum(c.dir, "R/D/d.m3u", {"d1.mp3", "d2.mp3"});
    Rescan(c.directory, c.roots, false, false);
    EXPECT_EQ(c.tags.opens, 3);  // b1, d1, d2
    EXPECT_EQ(c.Album("R/B/b.pls").Artist, "Band B");
    EXPECT_EQ(c.directory.List.Count(), 4u);
}

TEST(Rescan, AddsNewAlbumsAndRemovesVanishedOnes) {
    ScannedCollection c;
    std::vector<std::string> removing;
    c.directory.OnAlbumRemoving = [&](const Tm3u& album) {
        removing.push_back(album.PlaylistPath);
    };
    c.Album("R/A/a.m3u").PlayCount = 5;
    std::remove((c.dir / "R/B/b.pls").c_str());
    MakeAlbum(c.dir, "R/B/b.m3u", {"b1.mp3"});
    TScanResult result = Rescan(c.directory, c.roots, false, false);
    EXPECT_EQ(result.removed, 1u);
    EXPECT_EQ(removing, (Names{c.dir / "R/B/b.pls"}));
    EXPECT_EQ(AlbumKeys(c.directory, c.dir), (Names{"R/A/a.m3u", "R/C/c.b4s", "R/B/b.m3u"}));
    EXPECT_EQ(c.Album("R/A/a.m3u").PlayCount, 5);  // known albums keep their statistics
}

TEST(Rescan, RootThatIsNotThereKeepsItsAlbumsAndIsNamed) {
    struct Case {
        const char* what;
        std::function<void(ScannedCollection&)> makeUnavailable;
    } cases[] = {
        {"moved away",
         [](ScannedCollection& c) { std::filesystem::rename(c.dir / "R", c.dir / "Gone"); }},
        {"an empty mount point",
         [](ScannedCollection& c) {
             std::filesystem::rename(c.dir / "R", c.dir / "Gone");
             c.dir.Folder("R");
         }},
        {"renamed while the scan runs",
         [](ScannedCollection& c) {
             auto reader = c.directory.TagReader;
             c.directory.TagReader = [&c, reader](Tmp3& track) {
                 if (DirectoryExists(c.dir / "R"))
                     std::filesystem::rename(c.dir / "R", c.dir / "Gone");
                 return reader(track);
             };
         }},
    };
    for (const auto& c : cases) {
        ScannedCollection collection;
        MakeAlbum(collection.dir, "S/s.m3u", {"s1.mp3"});
        collection.roots.Add(collection.dir / "S");
        ASSERT_TRUE(Rescan(collection.directory, collection.roots, true, false).completed);
        std::remove((collection.dir / "S/s.m3u").c_str());  // truly gone: its album goes
        c.makeUnavailable(collection);
        const TScanResult result = Rescan(collection.directory, collection.roots, true, false);
        EXPECT_EQ(result.missingRoots, Names{collection.dir / "R"}) << c.what;
        EXPECT_EQ(result.removed, 1u) << c.what;
        EXPECT_EQ(AlbumKeys(collection.directory, collection.dir),
                  (Names{"R/A/a.m3u", "R/B/b.pls", "R/C/c.b4s"}))
            << c.what;
    }
}

TEST(Rescan, TellsWhatCouldNotBeRead) {
    ScannedCollection c;
    ASSERT_EQ(mkfifo((c.dir / "R/A/pipe.mp3").c_str(), 0644), 0);
    // Written by hand: making the tracks' files would open the pipe.
    c.dir.File("R/A/a.m3u", "a1.mp3\r\na2.mp3\r\npipe.mp3\r\nmissing.mp3\r\n");
    c.dir.Folder("R/Closed");
    chmod((c.dir / "R/Closed").c_str(), 0);
    const bool root = access((c.dir / "R/Closed").c_str(), R_OK) == 0;
    const TScanResult result = Rescan(c.directory, c.roots, true, false);
    EXPECT_EQ(result.unreadable.files, 1u);  // the pipe; a missing file is no read error
    EXPECT_EQ(result.unreadable.folders, root ? 0u : 1u);
    Names expected = {c.dir / "R/A/pipe.mp3"};
    if (!root) expected.insert(expected.begin(), c.dir / "R/Closed");
    EXPECT_EQ(result.unreadable.paths, expected);
    chmod((c.dir / "R/Closed").c_str(), 0755);
}

// The scan takes the albums' pictures from the folder listings: only a
// regular file (or a link to one) named like the playlist with "jpg" counts.
TEST(Rescan, PictureIsFoundFromTheFolderListing) {
    ScannedCollection c;  // R/A/a.m3u, R/B/b.pls, R/C/c.b4s
    c.dir.File("R/A/a.jpg", "jpeg");
    c.dir.Folder("R/B/b.jpg");
    c.dir.File("R/C/c.JPG", "jpeg");  // not the name the album looks for
    c.dir.File("R/C/cover.jpg", "jpeg");
    MakeAlbum(c.dir, "R/D/d.m3u", {"d1.mp3"});
    ASSERT_EQ(symlink((c.dir / "R/C/cover.jpg").c_str(), (c.dir / "R/D/d.jpg").c_str()), 0);
    MakeAlbum(c.dir, "R/E/e.m3u", {"e1.mp3"});
    ASSERT_EQ(symlink((c.dir / "R/E/gone.jpg").c_str(), (c.dir / "R/E/e.jpg").c_str()), 0);
    for (const bool force : {false, true}) {
        Rescan(c.directory, c.roots, force, false);
        const std::pair<const char*, TPictureState> expected[] = {
            {"R/A/a.m3u", TPictureState::Present}, {"R/B/b.pls", TPictureState::Missing},
            {"R/C/c.b4s", TPictureState::Missing}, {"R/D/d.m3u", TPictureState::Present},
            {"R/E/e.m3u", TPictureState::Missing}};
        for (const auto& [album, state] : expected) {
            EXPECT_EQ(c.Album(album).PictureState, state) << album << (force ? " full" : " fast");
            // The album's own look at the file system agrees.
            Tm3u alone(c.dir / album);
            alone.Refresh(false, [](Tmp3&) { return false; });
            EXPECT_EQ(alone.PictureState, state) << album;
        }
    }
}

TEST(Rescan, FastScanReportsOnlyTheTracksItFindsAnew) {
    ScannedCollection c;  // album A known, with values
    ASSERT_EQ(mkfifo((c.dir / "R/A/old.mp3").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo((c.dir / "R/A/new.mp3").c_str(), 0644), 0);
    c.dir.File("R/A/a.m3u", "a1.mp3\r\na2.mp3\r\nold.mp3\r\n");
    ASSERT_EQ(Rescan(c.directory, c.roots, false, false).unreadable.paths,
              Names{c.dir / "R/A/old.mp3"});  // named anew
    // Known now: a fast scan opens no audio file of the album, nor looks at it...
    EXPECT_EQ(Rescan(c.directory, c.roots, false, false).unreadable.files, 0u);
    // ...but at what its playlist names anew; a full scan looks at every track.
    c.dir.File("R/A/a.m3u", "a1.mp3\r\na2.mp3\r\nold.mp3\r\nnew.mp3\r\n");
    EXPECT_EQ(Rescan(c.directory, c.roots, false, false).unreadable.paths,
              Names{c.dir / "R/A/new.mp3"});
    EXPECT_EQ(Rescan(c.directory, c.roots, true, false).unreadable.paths,
              (Names{c.dir / "R/A/old.mp3", c.dir / "R/A/new.mp3"}));
    EXPECT_EQ(c.tags.opens, 6);  // only the full scan read tags: all six tracks
}

// Runs `work` in a child process; false when it has not ended after a long
// wait (it hangs) or failed.
bool EndsOnItsOwn(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    for (int i = 0; i < 600; ++i) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        usleep(50000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return false;
}

TEST(Rescan, TrackThatIsAPipeNeverHoldsTheScan) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.mp3").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo((dir / "pipe.ogg").c_str(), 0644), 0);
    dir.File("album.m3u", "pipe.mp3\r\npipe.ogg\r\n");
    EXPECT_TRUE(EndsOnItsOwn([&] {
        TDirectory directory;  // the program's own tag reader
        TRootList roots;
        roots.Add(dir.Path());
        if (Rescan(directory, roots, true, false).unreadable.files != 2) _exit(1);
    }));
}

TEST(Rescan, ScanEndedByAnErrorRemovesNothing) {
    ScannedCollection c;
    std::remove((c.dir / "R/A/a.m3u").c_str());  // vanished, but the scan never ends
    c.directory.TagReader = [](Tmp3& track) -> bool {
        if (ExtractFileName(track.Path) == "b1.mp3") throw std::runtime_error("disk gone");
        return false;
    };
    TScanResult result = Rescan(c.directory, c.roots, true, false);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.error, "disk gone");
    EXPECT_EQ(result.removed, 0u);
    EXPECT_EQ(c.directory.List.Count(), 3u);
    for (const auto& entry : c.directory.List) EXPECT_EQ(entry.object->ScanMark, TScanMark::None);
}

TEST(Rescan, MalformedPlaylistDoesNotDisturbTheScan) {
    ScannedCollection c;
    c.dir.File("R/C/c.b4s", "<WinAmpXML><playlist><entry Playstring=");
    TScanResult result = Rescan(c.directory, c.roots, false, false);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(c.directory.List.Count(), 3u);
    EXPECT_EQ(c.Album("R/C/c.b4s").Tracks.Count(), 0u);
    EXPECT_EQ(c.Album("R/A/a.m3u").Tracks.Count(), 2u);
}

TEST(Rescan, UnreadablePlaylistKeepsItsTracks) {
    ScannedCollection c;
    RunUnprivileged({c.dir.Path()}, [&] {
        chmod((c.dir / "R/A/a.m3u").c_str(), 0);
        EXPECT_TRUE(Rescan(c.directory, c.roots, false, false).completed);
        EXPECT_EQ(c.Album("R/A/a.m3u").Tracks.Count(), 2u);
    });
}

TEST(RescanFolders, ScansOnlyTheChangedFoldersAndKeepsTheValuesOfKnownAlbums) {
    ScannedCollection c;
    c.Album("R/A/a.m3u").PlayCount = 5;
    c.Album("R/A/a.m3u").Status = TAlbumStatus::Green;
    c.tags.byFile["a1.mp3"].artist = "Changed";
    std::remove((c.dir / "R/B/b.pls").c_str());
    std::remove((c.dir / "R/C/c.b4s").c_str());  // not among the changed folders
    MakeAlbum(c.dir, "R/D/d.m3u", {"d1.mp3"});
    MakeAlbum(c.dir, "R/E/e.m3u", {"e1.mp3"});  // neither
    // Folders as the watcher gives them, with a trailing separator.
    const TScanResult result = RescanFolders(
        c.directory, c.roots, {c.dir / "R/A/", c.dir / "R/B/", c.dir / "R/D/"}, false);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.removed, 1u);
    EXPECT_EQ(AlbumKeys(c.directory, c.dir), (Names{"R/A/a.m3u", "R/C/c.b4s", "R/D/d.m3u"}));
    EXPECT_EQ(c.tags.opens, 1);  // the new album's track only
    const Tm3u& a = c.Album("R/A/a.m3u");
    EXPECT_EQ(a.PlayCount, 5);
    EXPECT_EQ(a.Status, TAlbumStatus::Green);
    EXPECT_EQ(a.Tracks[0].Artist, "Band A");
    for (const auto& entry : c.directory.List) EXPECT_EQ(entry.object->ScanMark, TScanMark::None);
}

// The same scan as a job on another thread's copy: only the changed folders'
// albums are copied and may go; a stop asked for changes nothing.
TEST(RescanFolders, AsAJobOnlyTheChangedFoldersAlbumsCanChange) {
    for (const bool stop : {false, true}) {
        ScannedCollection c;
        Tm3u* a = &c.Album("R/A/a.m3u");
        a->PlayCount = 5;
        std::remove((c.dir / "R/B/b.pls").c_str());
        std::remove((c.dir / "R/C/c.b4s").c_str());  // not among the changed folders
        MakeAlbum(c.dir, "R/D/d.m3u", {"d1.mp3"});
        const auto job = TScanJob::ForFolders(c.directory, c.roots,
                                              {c.dir / "R/A/", c.dir / "R/B/", c.dir / "R/D/"});
        if (stop) job->Progress.Cancel();
        job->Run();
        const TScanResult result = job->Apply(c.directory, c.roots);
        EXPECT_EQ(result.cancelled, stop);
        const Names expected = stop ? Names{"R/A/a.m3u", "R/B/b.pls", "R/C/c.b4s"}
                                    : Names{"R/A/a.m3u", "R/C/c.b4s", "R/D/d.m3u"};
        EXPECT_EQ(AlbumKeys(c.directory, c.dir), expected) << stop;
        EXPECT_EQ(&c.Album("R/A/a.m3u"), a);  // the same object, with its values
        EXPECT_EQ(a->PlayCount, 5);
    }
}

TEST(RescanFolders, RemovedAlbumFolderGoesWhetherItOrItsParentIsNamed) {
    for (const char* changed : {"R/", "R/B/", "R/B"}) {
        ScannedCollection c;
        std::filesystem::remove_all(c.dir / "R/B");
        const TScanResult result = RescanFolders(c.directory, c.roots, {c.dir / changed}, false);
        EXPECT_EQ(result.removed, 1u) << changed;
        EXPECT_TRUE(result.missingRoots.empty()) << changed;
        EXPECT_EQ(AlbumKeys(c.directory, c.dir), (Names{"R/A/a.m3u", "R/C/c.b4s"})) << changed;
    }
}

TEST(RescanFolders, FoldersAScanWouldNotEnterAreLeftAlone) {
    struct Case {
        const char* album;    // made on disk after the first scan
        const char* changed;  // the folder named as changed
    } cases[] = {
        {"Other/o.m3u", "Other/"},          // outside every root
        {"R/.hidden/h.m3u", "R/.hidden/"},  // hidden: scans skip it
        {"R/.hidden/Deep/h.m3u", "R/.hidden/Deep/"},
        {"Rx/f.m3u", "Rx/"},  // a name that only starts like the root
    };
    for (const auto& t : cases) {
        ScannedCollection c;
        MakeAlbum(c.dir, t.album, {"x1.mp3"});
        const TScanResult result = RescanFolders(c.directory, c.roots, {c.dir / t.changed}, true);
        EXPECT_TRUE(result.completed) << t.changed;
        EXPECT_EQ(c.directory.List.Count(), 3u) << t.changed;
        EXPECT_EQ(c.tags.opens, 0) << t.changed;
    }
}

TEST(RescanFolders, AlbumsThatCouldNotBeSeenAreKept) {
    {  // the root moved away or unmounted
        ScannedCollection c;
        std::filesystem::rename(c.dir / "R", c.dir / "Gone");
        const TScanResult result =
            RescanFolders(c.directory, c.roots, {c.dir / "R/", c.dir / "R/A/"}, false);
        EXPECT_EQ(result.missingRoots, Names{c.dir / "R"});
        EXPECT_EQ(result.removed, 0u);
        EXPECT_EQ(c.directory.List.Count(), 3u);
    }
    {  // an error ended the scan
        ScannedCollection c;
        std::remove((c.dir / "R/A/a.m3u").c_str());
        c.directory.TagReader = [](Tmp3&) -> bool { throw std::runtime_error("disk gone"); };
        MakeAlbum(c.dir, "R/D/d.m3u", {"d1.mp3"});
        const TScanResult result = RescanFolders(c.directory, c.roots, {c.dir / "R/"}, false);
        EXPECT_FALSE(result.completed);
        EXPECT_EQ(result.removed, 0u);
        EXPECT_NE(c.directory.List.Find(c.dir / "R/A/a.m3u"), nullptr);
    }
    {  // a folder that cannot be listed
        ScannedCollection c;
        chmod((c.dir / "R/A").c_str(), 0);
        const bool root = access((c.dir / "R/A").c_str(), R_OK) == 0;
        const TScanResult result = RescanFolders(c.directory, c.roots, {c.dir / "R/"}, false);
        chmod((c.dir / "R/A").c_str(), 0755);
        if (!root) {
            EXPECT_EQ(result.unreadable.paths, Names{c.dir / "R/A"});
        }
        EXPECT_EQ(result.removed, 0u);
        EXPECT_EQ(c.directory.List.Count(), 3u);
    }
}

// A folder that cannot be read (no permission) is not a folder that lost
// its albums: every kind of scan keeps them, with the user's values, and
// names the folder.  Run as an ordinary user: root reads any folder.
TEST(Rescan, UnreadableAlbumFolderKeepsItsAlbumInEveryKindOfScan) {
    using Job = std::function<std::unique_ptr<TScanJob>(TDirectory&, const TRootList&)>;
    const auto copy = TScanJob::TTarget::Copy;
    const auto inPlace = TScanJob::TTarget::InPlace;
    struct Case {
        const char* what;
        Job job;
    } cases[] = {
        {"full scan (window)",
         [&](TDirectory& d, const TRootList& r) { return TScanJob::ForRescan(d, r, true, true, copy); }},
        {"fast scan (window)",
         [&](TDirectory& d, const TRootList& r) { return TScanJob::ForRescan(d, r, false, true, copy); }},
        {"full scan (tool)",
         [&](TDirectory& d, const TRootList& r) { return TScanJob::ForRescan(d, r, true, false, inPlace); }},
        {"fast scan (tool)",
         [&](TDirectory& d, const TRootList& r) { return TScanJob::ForRescan(d, r, false, false, inPlace); }},
        {"watched folders",
         [&](TDirectory& d, const TRootList& r) {
             return TScanJob::ForFolders(d, r, {r[0] + "/", r[0] + "/A/"}, false, copy);
         }},
    };
    for (const auto& t : cases) {
        ScannedCollection c;
        c.Album("R/A/a.m3u").PlayCount = 4;
        std::remove((c.dir / "R/C/c.b4s").c_str());  // truly gone: it still goes
        chmod((c.dir / "R/A").c_str(), 0);
        RunUnprivileged({c.dir.Path()}, [&] {
            const auto job = t.job(c.directory, c.roots);
            job->Run();
            const TScanResult result = job->Apply(c.directory, c.roots);
            std::string found;
            for (const auto& key : AlbumKeys(c.directory, c.dir)) found += key + " ";
            found += "plays " + std::to_string(c.Album("R/A/a.m3u").PlayCount);
            found += "; removed " + std::to_string(result.removed) + "; unreadable";
            for (const auto& path : result.unreadable.paths)
                found += " " + path.substr(c.dir.Path().size() + 1);
            EXPECT_EQ(found, "R/A/a.m3u R/B/b.pls plays 4; removed 1; unreadable R/A") << t.what;
        });
        chmod((c.dir / "R/A").c_str(), 0755);
    }
}

// A folder listing that fails partway is an error, never the end of the
// folder: the folder is named, and what was read of it is still walked.
// The first folder read gives an entry or two, then fails; later ones read
// as usual.
long ListOneChunkThenFail(int folder, char* buffer, size_t size) {
    static int calls = 0;
    if (folder < 0) return calls = 0;
    ++calls;
    if (calls == 1) return ReadEntriesOfFolder(folder, buffer, 64);
    if (calls == 2) {
        errno = EIO;
        return -1;
    }
    return ReadEntriesOfFolder(folder, buffer, size);
}

TEST(Scan, FolderListingThatFailsPartwayIsNamedAsUnreadable) {
    TempDir dir;
    for (const char* name : {"R/A/a.m3u", "R/B/b.m3u", "R/C/c.m3u", "R/D/d.m3u", "R/E/e.m3u"})
        MakeAlbum(dir, name, {});
    ListOneChunkThenFail(-1, nullptr, 0);
    TUnreadable unreadable;
    TFolderWalk walk;
    walk.unreadable = &unreadable;
    walk.readEntries = ListOneChunkThenFail;
    Names walked;
    walk.onFolder = [&](const std::string& folder) { walked.push_back(folder); };
    walk.Walk(dir / "R");
    EXPECT_EQ(unreadable.folders, 1u);
    EXPECT_EQ(unreadable.paths, Names{dir / "R"});
    ASSERT_FALSE(walked.empty());
    EXPECT_EQ(walked.front(), dir / "R");
    EXPECT_LT(walked.size(), 6u);  // not every subfolder was listed

    std::vector<char> buffer;
    ListOneChunkThenFail(-1, nullptr, 0);
    const int fd = open((dir / "R").c_str(), O_RDONLY | O_DIRECTORY);
    size_t entries = 0;
    EXPECT_EQ(ReadFolder(fd, buffer, [&](std::string_view, TEntryType, const dirent64&) { ++entries; },
                         ListOneChunkThenFail),
              EIO);
    close(fd);
    EXPECT_GE(entries, 1u);
}

TEST(Roots, AddRootsScansOnlyTheNewFoldersAndRemovesNothing) {
    ScannedCollection c;
    std::remove((c.dir / "R/C/c.b4s").c_str());
    MakeAlbum(c.dir, "S/s.m3u", {"s1.mp3"});
    TScanResult result = AddRoots(c.directory, c.roots, SplitRootText(c.dir / "S|"), false);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(c.tags.opens, 1);
    EXPECT_EQ(c.directory.List.Count(), 4u);  // c.b4s stays until a rescan
    EXPECT_EQ(c.roots.Folders(), (Names{c.dir / "R", c.dir / "S"}));
}

TEST(Roots, RemoveRootLeavesSimilarlyNamedFolders) {
    TDirectory directory;
    TRootList roots;
    roots.Assign({"/d/Music", "/d/Music2"});
    for (const char* path : {"/d/Music/a.m3u", "/d/Music2/b.m3u", "/d/Music/X/c.m3u"})
        directory.FindOrAddAlbum(path);
    int told = 0;
    directory.OnAlbumRemoving = [&](const Tm3u&) { ++told; };
    EXPECT_EQ(RemoveRoot(directory, roots, "/d/Music"), 2u);
    EXPECT_EQ(told, 2);
    ASSERT_EQ(directory.List.Count(), 1u);
    EXPECT_EQ(directory.List.Key(0), "/d/Music2/b.m3u");
    EXPECT_EQ(roots.Folders(), (Names{"/d/Music2"}));
}

TEST(Roots, MoveRootRewritesKeys) {
    TDirectory directory;
    TRootList roots;
    roots.Assign({"/c/Old", "/c/Older"});
    directory.FindOrAddAlbum("/c/Old/A/x.m3u");
    directory.FindOrAddAlbum("/c/Older/y.m3u");
    directory.List[0].AddTrack("/c/Old/A/1.mp3", false);
    MoveRoot(directory, roots, "/c/Old", "/d/New");
    EXPECT_EQ(directory.List.IndexOf("/d/New/A/x.m3u"), 0u);
    EXPECT_FALSE(directory.List.IndexOf("/c/Old/A/x.m3u"));
    EXPECT_EQ(directory.List[0].Tracks.Key(0), "/d/New/A/1.mp3");
    EXPECT_EQ(directory.List.Key(1), "/c/Older/y.m3u");
    EXPECT_EQ(roots.Folders(), (Names{"/c/Older", "/d/New"}));
}

TEST(AlbumList, FindOrAddMarksRekeyAndRemove) {
    TDirectory directory;
    directory.FindOrAddAlbum("/m/a.m3u");
    directory.FindOrAddAlbum("/m/b.m3u");
    directory.List[0].ScanMark = TScanMark::NotFoundYet;
    EXPECT_EQ(directory.FindOrAddAlbum("/m/a.m3u"), 0u);
    EXPECT_EQ(directory.List[0].ScanMark, TScanMark::KnownBefore);  // known before the scan
    EXPECT_EQ(directory.FindOrAddAlbum("/m/c.m3u"), 2u);
    EXPECT_EQ(directory.List[2].ScanMark, TScanMark::None);  // new

    Tm3u* b = directory.List.At(1);
    b->PlaylistPath = "/m/b2.m3u";
    directory.RekeyAlbum(b);
    EXPECT_EQ(directory.List.Find("/m/b2.m3u"), b);
    directory.RemoveAlbum(b);
    Tm3u stranger("/m/x.m3u");
    directory.RemoveAlbum(&stranger);
    EXPECT_EQ(directory.List.Count(), 2u);
    EXPECT_EQ(directory.List.Find("/m/b2.m3u"), nullptr);
}

TEST(AlbumList, WholeListOperations) {
    TDirectory directory;
    for (const char* path : {"/m/a.m3u", "/m/b.m3u"}) {
        Tm3u& album = directory.List[directory.FindOrAddAlbum(path)];
        album.PlayCount = 3;
        album.LastPlayed = "20200101000000";
        album.CachedCover = "jpeg";
    }
    int dropped = 0;
    directory.OnCachedCoverDropped = [&] { ++dropped; };
    directory.DropAllCachedCovers();
    directory.ResetPlayCounts();
    directory.ClearLastPlayed();
    EXPECT_EQ(dropped, 2);
    for (const auto& entry : directory.List) {
        EXPECT_EQ(entry.object->PlayCount, 0);
        EXPECT_EQ(entry.object->LastPlayed, "");
        EXPECT_EQ(entry.object->CachedCover, "");
    }
}

TEST(AlbumList, StoredFormRoundTripAndDamage) {
    ScannedCollection c;
    c.Album("R/B/b.pls").CachedCover = "cover";
    TLoadSave out;
    out.OpenWriteToMemory();
    c.directory.WriteAlbums(out, c.dir.Path() + "/");
    const std::string bytes = out.Bytes();
    out.OpenBytes({});
    EXPECT_EQ(bytes.find(c.dir.Path()), std::string::npos);  // relative to the base

    TDirectory read;
    TLoadSave in;
    in.OpenBytes(bytes);
    TProgress progress;
    read.ReadAlbums(in, "/elsewhere/", &progress);
    EXPECT_EQ(progress.Total(), 3);
    EXPECT_EQ(progress.Done(), 3);
    ASSERT_EQ(read.List.Count(), 3u);
    EXPECT_EQ(read.List.Key(1), "/elsewhere/R/B/b.pls");
    EXPECT_EQ(read.List[1].PlaylistPath, "/elsewhere/R/B/b.pls");
    EXPECT_EQ(read.List[1].CachedCover, "cover");
    EXPECT_EQ(read.List[0].Tracks.Key(1), "/elsewhere/R/A/a2.mp3");
    EXPECT_EQ(read.List[0].Artist, "Band A");

    TDirectory truncated;
    TLoadSave cut;
    cut.OpenBytes(bytes.substr(0, bytes.size() - 10));
    EXPECT_THROW(truncated.ReadAlbums(cut, ""), EMyFileError);
    EXPECT_EQ(truncated.List.Count(), 3u);  // the damaged last album is kept as far as read
    EXPECT_EQ(truncated.List[1].Artist, "Band B");
}

TEST(AlbumStatus, SyncCyclesThroughThreeValues) {
    EXPECT_EQ(NextStatus(TAlbumStatus::Red), TAlbumStatus::Orange);
    EXPECT_EQ(NextStatus(TAlbumStatus::Orange), TAlbumStatus::Green);
    EXPECT_EQ(NextStatus(TAlbumStatus::Green), TAlbumStatus::Red);
    Tm3u a, b;
    SetStatusOfAll({&a, &b}, TAlbumStatus::Green);
    EXPECT_EQ(a.Status, TAlbumStatus::Green);
    EXPECT_EQ(b.Status, TAlbumStatus::Green);
}

}  // namespace
