#include "views/ListFile.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "RecordBytes.h"
#include "SafeWriteCases.h"
#include "TempDir.h"
#include "Unprivileged.h"
#include "core/FileSystem.h"
#include "views/Catalogue.h"

namespace {
// One line per album with every stored value of the album and its tracks.
std::string Describe(const TCatalogue& catalogue) {
    std::ostringstream out;
    for (const auto& root : catalogue.Roots.Folders()) out << "root " << root << "\n";
    for (const auto& entry : catalogue.Albums()) {
        const Tm3u& a = *entry.object;
        out << entry.key << "|" << a.PlaylistPath << "|" << a.Artist << "|" << a.Album << "|"
            << a.Genre << "|" << a.Year << "|" << static_cast<int>(a.Status) << "|"
            << static_cast<int>(a.PictureState) << "|" << a.PlayCount << "|" << a.LastPlayed << "|"
            << a.CachedCover << "\n";
        for (const auto& t : a.Tracks) {
            const Tmp3& s = *t.object;
            out << "  " << t.key << "|" << s.Path << "|" << s.Title << "|" << s.Artist << "|"
                << s.Album << "|" << s.Genre << "|" << s.Year << "|" << static_cast<int>(s.TagKind)
                << "|" << s.Duration << "|" << s.Bitrate << "\n";
        }
    }
    const auto& f = catalogue.Filters;
    out << "applied " << f.Applied.Artist << "/" << f.Applied.Genre << "/" << f.Applied.Year
        << " edited " << f.Edited.Artist << "/" << f.Edited.Genre << "/" << f.Edited.Year
        << " chosen " << f.Presets.ChosenIndex << "\n";
    for (const auto& p : f.Presets.Presets)
        out << "preset " << p.Name << " " << p.Filter.Artist << "/" << p.Filter.Genre << "/"
            << p.Filter.Year << "\n";
    for (const auto& s : catalogue.Selections.List()) {
        out << "selection " << s->Name << ":";
        for (const Tm3u* a : s->Albums()) {
            const auto position = catalogue.Albums().IndexOfObject(a);
            out << " " << (position ? std::to_string(*position) : "-1");
        }
        out << "\n";
    }
    return out.str();
}

Tm3u& AddAlbum(TCatalogue& catalogue, const std::string& playlist,
               const std::vector<std::string>& trackPaths) {
    auto album = std::make_unique<Tm3u>(playlist);
    for (const auto& path : trackPaths) album->AddTrack(path, false);
    return catalogue.Directory.List[catalogue.Directory.List.Add(playlist, std::move(album))];
}

// The catalogue of the byte-level tests: two roots, one album with two
// tracks and a cached cover, a filter preset and a selection.
void FillSmallCatalogue(TCatalogue& catalogue, const std::string& folder) {
    catalogue.Roots.Add("/music/b");
    catalogue.Roots.Add("/music/a");
    Tm3u& album = AddAlbum(catalogue, folder + "Album/list.m3u",
                           {folder + "Album/01.mp3", folder + "Album/02.mp3"});
    album.Artist = "Artist";
    album.Album = "Title";
    album.Genre = "Rock";
    album.Year = 1999;
    album.Status = TAlbumStatus::Green;
    album.PictureState = TPictureState::Present;
    album.PlayCount = 3;
    album.LastPlayed = "20240102030405";
    album.CachedCover = std::string("\xFF\xD8jpeg\0bytes", 12);
    Tmp3& first = album.Tracks[0];
    first.Title = "One";
    first.Artist = "Artist";
    first.Album = "Title";
    first.Genre = "Rock";
    first.Year = 1999;
    first.TagKind = TTagKind::ID3v2;
    first.Duration = 61000;
    first.Bitrate = 192;
    album.Tracks[1].Title = "Two";
    catalogue.Filters.Applied.Artist = "art";
    catalogue.Filters.Edited.Year = "1990-";
    catalogue.Filters.Presets.AddAndChoose("Nineties", catalogue.Filters.Edited);
    catalogue.Selections.Create("Best");
    catalogue.Selections.Find("Best")->Add(&album);
}

// The bytes of that catalogue; `base` is removed from the stored paths and
// `roots` are the stored roots.
std::string SmallCatalogueBytes(const std::string& folder, const std::string& base,
                                const std::vector<std::string>& roots) {
    const std::string stored = folder.substr(base.size());
    RecordBytes bytes;
    bytes.Int(1006).Int(int32_t(roots.size()));
    for (const auto& root : roots) bytes.Str(root);
    // clang-format off
    bytes.Int(2)                                   // cover cache quality
        .Int(1).Str(stored + "Album/list.m3u")     // one album
        .Int(2)                                    // its two tracks
        .Str(stored + "Album/01.mp3")
            .Str("One").Str("Artist").Str("Title").Str("Rock").Int(1999)
            .Int(2).Int(61000).Int(192).Str("")
        .Str(stored + "Album/02.mp3")
            .Str("Two").Str("").Str("").Str("").Int(0)
            .Int(0).Int(0).Int(0).Str("")
        .Str("Artist").Str("Title").Str("Rock").Int(1999)
        .Int(2).Int(1).Int(3).Str("20240102030405")
        .Int(12).Raw(std::string("\xFF\xD8jpeg\0bytes", 12))
        // filter block: applied, edited (genre, artist, year), chosen, presets
        .Str("").Str("art").Str("")
        .Str("").Str("").Str("1990-")
        .Int(0)
        .Int(1).Str("Nineties").Str("").Str("").Str("1990-")
        // selections block
        .Int(1).Str("Best").Int(1).Int(0);
    // clang-format on
    return bytes;
}

class ListFileTest : public ::testing::Test {
  protected:
    TListLoadResult Load(const std::string& path, TCatalogue& into) {
        return LoadList(path, into, quality, recent);
    }
    TListSaveResult Save(const std::string& path, const TCatalogue& from) {
        return SaveList(path, from, 2, recent);
    }

    TempDir dir;
    int32_t quality = -1;
    std::vector<std::string> recent;
};
}  // namespace

TEST_F(ListFileTest, OrdinaryListBytes) {
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, "/music/a/");
    const std::string path = dir / "list.mvo";
    ASSERT_TRUE(Save(path, catalogue).saved);
    const std::string expected = SmallCatalogueBytes("/music/a/", "", {"/music/a", "/music/b"});
    EXPECT_EQ(dir.Read("list.mvo"), expected);

    // Reading the hand-built bytes gives the same catalogue back.
    dir.File("hand.mvo", expected);
    TCatalogue loaded;
    const TListLoadResult result = Load(dir / "hand.mvo", loaded);
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.albums, 1u);
    EXPECT_EQ(quality, 2);
    EXPECT_EQ(Describe(loaded), Describe(catalogue));
}

TEST_F(ListFileTest, BytesInMemoryReadAsTheFileWithoutBecomingARecentFile) {
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, "/music/a/");
    const std::string bytes = SmallCatalogueBytes("/music/a/", "", {"/music/a", "/music/b"});
    TCatalogue loaded;
    recent = {"/older.mvo"};
    const TListLoadResult result =
        LoadList(TReadSource::Bytes(bytes, "list.mvo"), loaded, quality, recent);
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(Describe(loaded), Describe(catalogue));
    EXPECT_EQ(recent, std::vector<std::string>{"/older.mvo"});

    // Cut short, the bytes read as a damaged file does: what came before stays.
    TCatalogue cut;
    const TListLoadResult damaged = LoadList(
        TReadSource::Bytes(bytes.substr(0, bytes.size() - 6), "list.mvo"), cut, quality, recent);
    EXPECT_EQ(damaged.status, TListLoadStatus::Damaged);
    EXPECT_EQ(damaged.albums, 1u);
    TCatalogue none;
    EXPECT_EQ(LoadList(TReadSource::Bytes(""), none, quality, recent).status,
              TListLoadStatus::Damaged);
}

TEST_F(ListFileTest, AutoLaunchListStoresPathsRelativeToItsFolder) {
    const std::string cd = dir.Folder("cd") + "/";
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, cd);
    ASSERT_TRUE(Save(cd + "cat.CMO", catalogue).saved);
    EXPECT_EQ(dir.Read("cd/cat.CMO"), SmallCatalogueBytes(cd, cd, {dir / "cd"}));

    // The disc mounted elsewhere: every path lies under the new folder.
    const std::string moved = dir.Folder("elsewhere/mnt") + "/";
    std::filesystem::copy_file(cd + "cat.CMO", moved + "cat.cmo");
    TCatalogue loaded;
    ASSERT_TRUE(Load(moved + "cat.cmo", loaded).Complete());
    EXPECT_EQ(loaded.Roots.Folders(), std::vector<std::string>{dir / "elsewhere/mnt"});
    ASSERT_EQ(loaded.Albums().Count(), 1u);
    const Tm3u& album = loaded.Albums()[0];
    EXPECT_EQ(loaded.Albums().Key(0), moved + "Album/list.m3u");
    EXPECT_EQ(album.PlaylistPath, moved + "Album/list.m3u");
    EXPECT_EQ(album.Tracks.Key(1), moved + "Album/02.mp3");
    EXPECT_EQ(album.Tracks[1].Path, moved + "Album/02.mp3");
    EXPECT_EQ(loaded.Selections.Find("best")->Albums(), std::vector<Tm3u*>{&loaded.Albums()[0]});
}

TEST_F(ListFileTest, RelativeNameOfAnAutoLaunchListUsesItsAbsoluteFolder) {
    EXPECT_EQ(ListKindOf("x/cat.Cmo"), TListKind::AutoLaunch);
    EXPECT_EQ(ListKindOf("x/cat.mvo"), TListKind::Ordinary);
    EXPECT_EQ(ListKindOf("cmo"), TListKind::Ordinary);
    EXPECT_EQ(ListBaseFolder("/a/b.mvo"), "");
    EXPECT_EQ(ListBaseFolder("/a/./c/../b.cmo"), "/a/");
    EXPECT_EQ(ListBaseFolder("b.cmo"), std::filesystem::current_path().string() + "/");
}

TEST_F(ListFileTest, WrongVersionReadsNothing) {
    dir.File("old.mvo", RecordBytes().Int(1005).Int(0).Int(0).Int(0));
    TCatalogue catalogue;
    AddAlbum(catalogue, "/stale/list.m3u", {});
    const TListLoadResult result = Load(dir / "old.mvo", catalogue);
    EXPECT_EQ(result.status, TListLoadStatus::WrongVersion);
    EXPECT_EQ(result.version, 1005);
    EXPECT_EQ(catalogue.Albums().Count(), 0u);
    EXPECT_TRUE(recent.empty());
}

TEST_F(ListFileTest, DamagedFilesKeepWhatWasReadAndSaySo) {
    TCatalogue catalogue;
    catalogue.Roots.Add("/music");
    for (int i = 0; i < 3; ++i) {
        Tm3u& album = AddAlbum(catalogue, "/music/" + std::to_string(i) + "/l.m3u",
                               {"/music/" + std::to_string(i) + "/1.mp3"});
        album.Artist = "Artist " + std::to_string(i);
    }
    catalogue.Filters.Presets.AddAndChoose("p", {});
    catalogue.Selections.Create("s");
    ASSERT_TRUE(Save(dir / "full.mvo", catalogue).saved);
    const std::string bytes = dir.Read("full.mvo");
    const size_t third = bytes.find("/music/2/l.m3u");
    ASSERT_NE(third, std::string::npos);

    struct Case {
        const char* name;
        size_t length;  // bytes kept
        TListLoadStatus status;
        size_t albums;
    } cases[] = {
        {"empty", 0, TListLoadStatus::Damaged, 0},
        {"version only", 4, TListLoadStatus::Damaged, 0},
        {"inside the third album", third + 20, TListLoadStatus::Damaged, 3},
        {"before the third album key", third - 4, TListLoadStatus::Damaged, 2},
        {"whole", bytes.size(), TListLoadStatus::Loaded, 3},
    };
    for (const auto& c : cases) {
        dir.File("cut.mvo", bytes.substr(0, c.length));
        TCatalogue loaded;
        recent.clear();
        const TListLoadResult result = Load(dir / "cut.mvo", loaded);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.albums, c.albums) << c.name;
        EXPECT_EQ(loaded.Albums().Count(), c.albums) << c.name;
        if (c.status == TListLoadStatus::Loaded) continue;
        EXPECT_FALSE(result.error.empty()) << c.name;
        EXPECT_TRUE(recent.empty()) << c.name;
        EXPECT_EQ(loaded.Filters.Presets.Count(), 0u) << c.name;
        EXPECT_EQ(loaded.Selections.Count(), 0u) << c.name;
        if (c.albums >= 2) {
            EXPECT_EQ(loaded.Albums()[1].Artist, "Artist 1") << c.name;
        }
    }
}

TEST_F(ListFileTest, SelectionPositionOutsideTheAlbumsEndsTheLoad) {
    const auto album = WrittenBytes([](TLoadSave& s) { Tm3u().WriteAlbumRecord(s, ""); });
    const auto filters = WrittenBytes([](TLoadSave& s) { TFilterState().WriteBlock(s); });
    // clang-format off
    const std::string bytes = RecordBytes()
        .Int(1006).Int(0).Int(0)
        .Int(1).Str("/m/l.m3u").Raw(album)
        .Raw(filters)
        .Int(2)
        .Str("ok").Int(1).Int(0)
        .Str("bad").Int(1).Int(1);
    // clang-format on
    dir.File("sel.mvo", bytes);
    TCatalogue loaded;
    const TListLoadResult result = Load(dir / "sel.mvo", loaded);
    EXPECT_EQ(result.status, TListLoadStatus::Damaged);
    EXPECT_EQ(result.albums, 1u);
    ASSERT_NE(loaded.Selections.Find("ok"), nullptr);
    EXPECT_EQ(loaded.Selections.Find("ok")->Count(), 1u);
}

TEST_F(ListFileTest, SaveReplacesSafelyKeepsABackupAndReportsFailure) {
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, "/music/a/");
    const std::string path = dir / "list.mvo";
    dir.File("list.mvo", "previous contents");
    ASSERT_TRUE(Save(path, catalogue).saved);
    EXPECT_EQ(dir.Read("list.mvo.bak"), "previous contents");
    EXPECT_FALSE(std::filesystem::exists(path + "~"));

    // A folder that cannot be written: the old file stays, the error is told.
    const std::string locked = dir.Folder("locked");
    dir.File("locked/list.mvo", "old");
    RunUnprivileged({dir.Path()}, [&] {
        chmod(locked.c_str(), 0500);
        catalogue.CurrentFile = locked + "/list.mvo";
        catalogue.ListModified = true;
        recent.clear();
        const TListSaveResult failed = SaveListFile(catalogue, 0, recent);
        chmod(locked.c_str(), 0700);
        EXPECT_FALSE(failed.saved);
        EXPECT_FALSE(failed.error.empty());
        EXPECT_TRUE(catalogue.ListModified) << "a failed save leaves the list modified";
        EXPECT_TRUE(recent.empty());
        EXPECT_EQ(dir.Read("locked/list.mvo"), "old");
    });

    catalogue.CurrentFile = dir / "missing/folder/list.mvo";
    EXPECT_FALSE(SaveListFile(catalogue, 0, recent).saved);

    catalogue.CurrentFile = path;
    EXPECT_TRUE(SaveListFile(catalogue, 0, recent).saved);
    EXPECT_FALSE(catalogue.ListModified);
}

static TWriterCase ListCase(const std::string& name) {
    auto save = [](const std::string& path) {
        TCatalogue catalogue;
        FillSmallCatalogue(catalogue, "/music/a/");
        std::vector<std::string> recent;
        return SaveList(path, catalogue, 2, recent).saved;
    };
    return {name, [](const std::string& path) { std::ofstream(path) << "previous list"; }, save,
            [](const std::string& path) {
                TCatalogue catalogue;
                int32_t quality = 0;
                std::vector<std::string> recent;
                return LoadList(path, catalogue, quality, recent).Complete() &&
                       catalogue.Albums().Count() == 1;
            }};
}

TEST_F(ListFileTest, EverySafeWriteCaseForBothListKinds) {
    CheckSafeWrites({ListCase("list.mvo"), ListCase("disc.cmo")});
}

TEST_F(ListFileTest, BackupIsACopyBesideTheFileTheNameLeadsTo) {
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, "/music/a/");
    // Through a link: the backup lies beside the real file, the link stays.
    const std::string real = dir.File("real/list.mvo", "previous contents");
    ASSERT_EQ(symlink("real/list.mvo", (dir / "link.mvo").c_str()), 0);
    ASSERT_TRUE(Save(dir / "link.mvo", catalogue).saved);
    EXPECT_EQ(dir.Read("real/list.mvo.bak"), "previous contents");
    EXPECT_FALSE(std::filesystem::exists(dir / "link.mvo.bak"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.mvo"));

    // A copy, not a second name: the next save leaves it alone.
    const std::string first = ReadWholeFile(real);
    catalogue.Roots.Add("/music/second");
    ASSERT_TRUE(Save(real, catalogue).saved);
    EXPECT_EQ(dir.Read("real/list.mvo.bak"), first);
    ASSERT_TRUE(Save(real, catalogue).saved);
    EXPECT_NE(dir.Read("real/list.mvo.bak"), first);

    // After a scan that missed roots the older backup stays.
    const std::string kept = dir.Read("real/list.mvo.bak");
    catalogue.Roots.Add("/music/third");
    ASSERT_TRUE(SaveList(real, catalogue, 2, recent, TBackupRule::KeepOld).saved);
    EXPECT_EQ(dir.Read("real/list.mvo.bak"), kept);
}

TEST_F(ListFileTest, OpenListFileAndCloseList) {
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, "/music/a/");
    ASSERT_TRUE(Save(dir / "a.mvo", catalogue).saved);

    catalogue.ListModified = true;
    EXPECT_EQ(OpenListFile(dir / "gone.mvo", catalogue, quality, recent).status,
              TListLoadStatus::Missing);
    EXPECT_EQ(catalogue.CurrentFile, "");
    EXPECT_EQ(catalogue.Albums().Count(), 0u);

    EXPECT_TRUE(OpenListFile(dir / "a.mvo", catalogue, quality, recent).Complete());
    EXPECT_EQ(catalogue.CurrentFile, dir / "a.mvo");
    EXPECT_FALSE(catalogue.ListModified);
    EXPECT_EQ(catalogue.Albums().Count(), 1u);

    catalogue.Filters.Edited.Artist = "kept";
    CloseList(catalogue);
    EXPECT_EQ(catalogue.Albums().Count(), 0u);
    EXPECT_EQ(catalogue.Roots.Count(), 0u);
    EXPECT_EQ(catalogue.Selections.Count(), 0u);
    EXPECT_EQ(catalogue.Filters.Presets.Count(), 0u);
    EXPECT_TRUE(catalogue.Filters.Applied.IsEmpty());
    EXPECT_EQ(catalogue.Filters.Edited.Artist, "kept");
    EXPECT_EQ(catalogue.CurrentFile, "");
}

TEST(RecentFiles, MostRecentFirstAtMostSevenExactPaths) {
    std::vector<std::string> recent;
    for (int i = 1; i <= 8; ++i) AddRecentFile(recent, "/l/" + std::to_string(i) + ".mvo");
    EXPECT_EQ(recent.size(), 7u);
    EXPECT_EQ(recent.front(), "/l/8.mvo");
    EXPECT_EQ(recent.back(), "/l/2.mvo") << "the oldest entry left";

    AddRecentFile(recent, "/l/6.mvo");  // the third entry moves to the top
    EXPECT_EQ(recent, (std::vector<std::string>{"/l/6.mvo", "/l/8.mvo", "/l/7.mvo", "/l/5.mvo",
                                                "/l/4.mvo", "/l/3.mvo", "/l/2.mvo"}));
    AddRecentFile(recent, "/L/6.mvo");  // another file on a case-sensitive system
    EXPECT_EQ(recent[0], "/L/6.mvo");
    EXPECT_EQ(recent[1], "/l/6.mvo");
}

TEST_F(ListFileTest, ScannedCollectionRoundTrip) {
    dir.File("music/A/One/list.m3u", "01 - a.mp3\n02 - b.mp3\n");
    dir.File("music/A/One/01 - a.mp3", "");
    dir.File("music/A/One/02 - b.mp3", "");
    dir.File("music/A/One/list.jpg", "picture");
    dir.File("music/A/Two/two.pls",
             "[playlist]\nFile1=x.ogg\nTitle1=Ex\nLength1=61\nNumberOfEntries=1\n");
    dir.File("music/B/Three/three.m3u", "#EXTM3U\n#EXTINF:200,Song\nsong.mp3\n");

    TCatalogue catalogue;
    // Tags made up from the file name, so that every track has values.
    catalogue.Directory.TagReader = [](Tmp3& track) {
        track.Artist = "Artist of " + ExtractFileName(track.Path);
        track.Album = "Album";
        track.Genre = "Genre";
        track.Year = 2001;
        track.TagKind = TTagKind::ID3v2;
        return true;
    };
    catalogue.Roots.Add(dir / "music/A");
    catalogue.Roots.Add(dir / "music/B");
    ASSERT_TRUE(Rescan(catalogue.Directory, catalogue.Roots, true, false).completed);
    ASSERT_EQ(catalogue.Albums().Count(), 3u);
    Tm3u& first = catalogue.Albums()[0];
    ASSERT_EQ(first.Tracks.Count(), 2u);
    ASSERT_EQ(first.PictureState, TPictureState::Present);
    first.MarkPlayed();
    first.CachedCover = "cover bytes";
    first.Status = TAlbumStatus::Orange;
    catalogue.Filters.Applied.Genre = "gen";
    catalogue.Filters.Presets.AddAndChoose("Pre", catalogue.Filters.Applied);
    catalogue.Selections.Create("Sel");
    catalogue.Selections.Find("Sel")->Add(&catalogue.Albums()[2]);
    catalogue.Selections.Find("Sel")->Add(&first);

    for (const char* name : {"round.mvo", "music/round.cmo"}) {
        ASSERT_TRUE(Save(dir / name, catalogue).saved) << name;
        TCatalogue loaded;
        ASSERT_TRUE(Load(dir / name, loaded).Complete()) << name;
        if (ListKindOf(name) == TListKind::AutoLaunch) {
            EXPECT_EQ(loaded.Roots.Folders(), std::vector<std::string>{dir / "music"});
            loaded.Roots = catalogue.Roots;
        }
        EXPECT_EQ(Describe(loaded), Describe(catalogue)) << name;
        EXPECT_EQ(recent.front(), dir / name);
    }
}

TEST_F(ListFileTest, AlbumsOutsideAnAutoLaunchListKeepFullPaths) {
    const std::string cd = dir.Folder("cd") + "/";
    TCatalogue catalogue;
    AddAlbum(catalogue, cd + "In/list.m3u", {cd + "In/1.mp3", "/srv/shared/2.mp3"});
    AddAlbum(catalogue, "/srv/other/list.m3u", {"/srv/other/1.mp3"});
    // A sibling whose name merely begins like the list's folder is outside too.
    AddAlbum(catalogue, dir / "cdx/list.m3u", {});
    ASSERT_TRUE(Save(cd + "cat.cmo", catalogue).saved);
    const std::string bytes = dir.Read("cd/cat.cmo");
    EXPECT_NE(bytes.find(RecordBytes().Str("In/list.m3u").Bytes()), std::string::npos);
    EXPECT_NE(bytes.find(RecordBytes().Str("/srv/other/list.m3u").Bytes()), std::string::npos);
    EXPECT_NE(bytes.find(RecordBytes().Str(dir / "cdx/list.m3u").Bytes()), std::string::npos);

    const std::string moved = dir.Folder("mnt") + "/";
    std::filesystem::copy_file(cd + "cat.cmo", moved + "cat.cmo");
    TCatalogue loaded;
    ASSERT_TRUE(Load(moved + "cat.cmo", loaded).Complete());
    ASSERT_EQ(loaded.Albums().Count(), 3u);
    EXPECT_EQ(loaded.Albums().Key(0), moved + "In/list.m3u");
    EXPECT_EQ(loaded.Albums()[0].Tracks.Key(0), moved + "In/1.mp3");
    EXPECT_EQ(loaded.Albums()[0].Tracks.Key(1), "/srv/shared/2.mp3");
    EXPECT_EQ(loaded.Albums().Key(1), "/srv/other/list.m3u");
    EXPECT_EQ(loaded.Albums()[1].PlaylistPath, "/srv/other/list.m3u");
    EXPECT_EQ(loaded.Albums()[1].Tracks[0].Path, "/srv/other/1.mp3");
    EXPECT_EQ(loaded.Albums().Key(2), dir / "cdx/list.m3u");
}

TEST_F(ListFileTest, CoversNeedCachingWhenAPictureHasNoCachedCover) {
    TCatalogue catalogue;
    Tm3u& album = AddAlbum(catalogue, dir / "a/list.m3u", {});
    EXPECT_FALSE(CoversNeedCaching(catalogue.Directory, true)) << "no picture";
    album.PictureState = TPictureState::Present;
    EXPECT_FALSE(CoversNeedCaching(catalogue.Directory, true)) << "the picture file is missing";
    dir.File("a/list.jpg", "jpeg");
    EXPECT_TRUE(CoversNeedCaching(catalogue.Directory, true));
    EXPECT_FALSE(CoversNeedCaching(catalogue.Directory, false)) << "caching is off";
    album.CachedCover = "thumbnail";
    EXPECT_FALSE(CoversNeedCaching(catalogue.Directory, true));
}

// Lists written by hand (tests/data/views/make_lists.py) come back byte for
// byte when loaded and saved, whatever the catalogue keeps in memory.
TEST_F(ListFileTest, LoadThenSaveGivesTheSameBytes) {
    for (const char* name : {"small.mvo", "varied.mvo"}) {
        const std::string fixture = std::string(MAVELO_TEST_DATA) + "/views/" + name;
        TCatalogue catalogue;
        ASSERT_TRUE(Load(fixture, catalogue).Complete()) << name;
        ASSERT_TRUE(SaveList(dir / name, catalogue, quality, recent).saved) << name;
        EXPECT_EQ(ReadWholeFile(dir / name), ReadWholeFile(fixture)) << name;
        // A list loaded again and edited the way a scan would leave it still
        // writes the values it holds.
        TCatalogue again;
        ASSERT_TRUE(Load(dir / name, again).Complete()) << name;
        EXPECT_EQ(Describe(again), Describe(catalogue)) << name;
    }
}

// A rescan that found nothing new leaves the list file as it was: the same
// file (not a rewritten copy), and the backup of the last real change.
TEST_F(ListFileTest, SaveIfChangedWritesOnlyAChangedList) {
    TCatalogue catalogue;
    FillSmallCatalogue(catalogue, "/music/a/");
    const std::string path = dir / "list.mvo";
    dir.File("list.mvo", "previous contents");
    const auto inode = [&] {
        struct stat st {};
        stat(path.c_str(), &st);
        return st.st_ino;
    };

    TListSaveResult first = SaveListIfChanged(path, catalogue, 2, recent);
    ASSERT_TRUE(first.saved);
    EXPECT_FALSE(first.unchanged);
    EXPECT_EQ(dir.Read("list.mvo.bak"), "previous contents");
    const std::string written = dir.Read("list.mvo");
    EXPECT_EQ(written, SmallCatalogueBytes("/music/a/", "", {"/music/a", "/music/b"}));

    const ino_t before = inode();
    TListSaveResult same = SaveListIfChanged(path, catalogue, 2, recent);
    ASSERT_TRUE(same.saved);
    EXPECT_TRUE(same.unchanged);
    EXPECT_EQ(inode(), before) << "an unchanged list is not written again";
    EXPECT_EQ(dir.Read("list.mvo"), written);
    EXPECT_EQ(dir.Read("list.mvo.bak"), "previous contents");

    // Any difference writes: a changed value, or a file that differs only in
    // its last byte or its length.
    const std::string lastByteChanged = written.substr(0, written.size() - 1) + "\x7f";
    for (const std::string& onDisk : {lastByteChanged, written + "x"}) {
        dir.File("list.mvo", onDisk);
        TListSaveResult rewritten = SaveListIfChanged(path, catalogue, 2, recent);
        ASSERT_TRUE(rewritten.saved);
        EXPECT_FALSE(rewritten.unchanged);
        EXPECT_EQ(dir.Read("list.mvo"), written);
        EXPECT_EQ(dir.Read("list.mvo.bak"), onDisk);
    }
    catalogue.Albums()[0].PlayCount = 4;
    EXPECT_FALSE(SaveListIfChanged(path, catalogue, 2, recent, TBackupRule::KeepOld).unchanged);
    EXPECT_NE(dir.Read("list.mvo"), written);
    EXPECT_EQ(dir.Read("list.mvo.bak"), written + "x") << "KeepOld keeps the older backup";

    // Nothing is ever written through what is not a regular file.
    const std::string pipe = dir / "pipe.mvo";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(SaveListIfChanged(pipe, catalogue, 2, recent).saved);
}

// A new list saved without a name when the program must end unasked: a name
// of its own in the given folder, never one that is there already.
TEST_F(ListFileTest, RecoveryListGetsAFreeNameInTheFolder) {
    const std::string folder = dir.Path() + "/";
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 11;
    local.tm_hour = 10;
    local.tm_min = 48;
    local.tm_sec = 5;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    EXPECT_EQ(RecoveryListPath(folder, when), folder + "recovered-20261211-104805.mvo");
    dir.File("recovered-20261211-104805.mvo", "an earlier one");
    dir.Folder("recovered-20261211-104805-2.mvo");
    ASSERT_EQ(symlink("nowhere", (dir / "recovered-20261211-104805-3.mvo").c_str()), 0);
    EXPECT_EQ(RecoveryListPath(folder, when), folder + "recovered-20261211-104805-4.mvo");
    EXPECT_EQ(dir.Read("recovered-20261211-104805.mvo"), "an earlier one");
}
