// The builder's file operations on a temporary fixture tree, with their
// failures: targets that exist, read-only folders, files that cannot move.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TempDir.h"
#include "Unprivileged.h"
#include "builder/BuilderCommands.h"
#include "builder/CreatePlaylists.h"
#include "core/FileSystem.h"

namespace {

namespace fs = std::filesystem;

// The tag reader of these tests: values from the file name ("artist_album").
bool FakeTags(Tmp3& track) {
    track.Artist = "Band";
    track.Album = "Record";
    track.Year = 2001;
    track.TagKind = TTagKind::ID3v2;
    return true;
}

class BuilderCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tools.ReadTags = FakeTags;
        for (const char* name : {"A/1.mp3", "A/2.mp3", "A/3.mp3", "A/o1.mp3", "A/o2.mp3",
                                 "Elsewhere/e.mp3", "B/keep.txt"})
            dir.File(name, name);
        Playlist("A/a.m3u", {"1.mp3", "2.mp3", "3.mp3", dir / "Elsewhere/e.mp3"});
    }
    void Playlist(const std::string& name, const std::vector<std::string>& entries) {
        std::string text;
        for (const auto& e : entries) text += e + "\r\n";
        dir.File(name, text);
    }
    std::vector<std::string> Entries(const std::string& name) {
        Tm3u album{TSharedText(dir / name)};
        album.ReadPlaylist(false);
        std::vector<std::string> paths;
        for (size_t i = 0; i < album.Tracks.Count(); ++i) paths.push_back(album.Tracks[i].Path);
        return paths;
    }
    std::unique_ptr<BuilderNode> Scan() {
        auto root = MakeRootNode(dir.Path());
        TBuilderScanner().ScanFolderNode(*root);
        return root;
    }

    TempDir dir;
    TBuilderTools tools;
};

TEST_F(BuilderCommandsTest, NewPlaylistFileNameKeepsTheChosenFormat) {
    const std::tuple<std::string, TPlaylistType, std::string> cases[] = {
        {"My Album.pls", TPlaylistType::M3U, "My Album.m3u"},
        {"My Album.B4S", TPlaylistType::PLS, "My Album.pls"},
        {"x.mp3", TPlaylistType::B4S, "x.mp3.b4s"},
        {"Name.M3U", TPlaylistType::M3U, "Name.m3u"},
        {"Name", TPlaylistType::M3U, "Name.m3u"},
    };
    for (const auto& [typed, format, expected] : cases)
        EXPECT_EQ(NewPlaylistFileName(typed, format), expected) << typed;
}

TEST_F(BuilderCommandsTest, CreatePlaylistFromOrphansAndNeverOverwritesUnasked) {
    auto root = Scan();
    BuilderNode* folderA = root->ChildByPath(dir / "A");
    ASSERT_NE(folderA, nullptr);
    TCreateSource source = GatherCreateSource({folderA}, KindFolder);
    EXPECT_EQ(source.Folder, dir / "A");
    EXPECT_EQ(source.Files, (std::vector<std::string>{dir / "A/o1.mp3", dir / "A/o2.mp3"}));
    auto album = AlbumFromFiles(source.Files, tools);
    EXPECT_EQ(album->FormatAlbumName("%artist - %album (%year)"), "Band - Record (2001)");

    const std::string path = dir / "A/new.m3u";
    ASSERT_TRUE(CreatePlaylist(*album, path, TPlaylistType::M3U, false));
    EXPECT_EQ(Entries("A/new.m3u"), source.Files);
    // A second playlist of that name replaces it only when the user agreed.
    auto other = AlbumFromFiles({dir / "A/1.mp3"}, tools);
    const std::string before = dir.Read("A/new.m3u");
    EXPECT_FALSE(CreatePlaylist(*other, path, TPlaylistType::M3U, false));
    EXPECT_EQ(dir.Read("A/new.m3u"), before);
    EXPECT_TRUE(CreatePlaylist(*other, path, TPlaylistType::M3U, true));
    EXPECT_EQ(Entries("A/new.m3u"), (std::vector<std::string>{dir / "A/1.mp3"}));
}

TEST_F(BuilderCommandsTest, CreatePlaylistInReadOnlyFolderFails) {
    RunUnprivileged({dir.Path()}, [&] {
        chmod((dir / "A").c_str(), 0555);
        auto album = AlbumFromFiles({dir / "A/o1.mp3"}, tools);
        EXPECT_FALSE(CreatePlaylist(*album, dir / "A/new.m3u", TPlaylistType::M3U, false));
        chmod((dir / "A").c_str(), 0755);
        EXPECT_FALSE(FileExists(dir / "A/new.m3u"));
    });
}

TEST_F(BuilderCommandsTest, RemoveAndMoveTracks) {
    ASSERT_TRUE(RemoveTracks(dir / "A/a.m3u", {dir / "A/2.MP3"}, tools));  // A-Z folded
    EXPECT_EQ(Entries("A/a.m3u"), (std::vector<std::string>{dir / "A/1.mp3", dir / "A/3.mp3",
                                                            dir / "Elsewhere/e.mp3"}));
    struct Case {
        std::string entry;
        bool up;
        bool written;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"A/1.mp3", true, false, {"A/1.mp3", "A/3.mp3", "Elsewhere/e.mp3"}},
        {"A/3.mp3", true, true, {"A/3.mp3", "A/1.mp3", "Elsewhere/e.mp3"}},
        {"A/3.mp3", false, true, {"A/1.mp3", "A/3.mp3", "Elsewhere/e.mp3"}},
        {"Elsewhere/e.mp3", false, false, {"A/1.mp3", "A/3.mp3", "Elsewhere/e.mp3"}},
        {"A/none.mp3", true, false, {"A/1.mp3", "A/3.mp3", "Elsewhere/e.mp3"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveTrack(dir / "A/a.m3u", dir / c.entry, c.up, tools), c.written) << c.entry;
        std::vector<std::string> expected;
        for (const auto& name : c.order) expected.push_back(dir / name);
        EXPECT_EQ(Entries("A/a.m3u"), expected) << c.entry << (c.up ? " up" : " down");
    }
}

TEST_F(BuilderCommandsTest, AddFilesAppendsOrInsertsInOrder) {
    ASSERT_TRUE(AddFilesToPlaylist(dir / "A/a.m3u", {dir / "A/o1.mp3", dir / "A/o2.mp3"},
                                   dir / "A/1.mp3", tools));
    EXPECT_EQ(Entries("A/a.m3u"), (std::vector<std::string>{
                                      dir / "A/1.mp3", dir / "A/o1.mp3", dir / "A/o2.mp3",
                                      dir / "A/2.mp3", dir / "A/3.mp3", dir / "Elsewhere/e.mp3"}));
    // Appending a file already there adds nothing.
    ASSERT_TRUE(AddFilesToPlaylist(dir / "A/a.m3u", {dir / "A/2.mp3"}, "", tools));
    EXPECT_EQ(Entries("A/a.m3u").size(), 6u);
}

TEST_F(BuilderCommandsTest, RenamingAFileKeepsItsExtension) {
    dir.File("A/track.mp3", "t");
    auto root = Scan();
    struct Case {
        std::string text;
        TRenameOutcome outcome;
    };
    const Case cases[] = {
        {"song.wav", TRenameOutcome::Ignored},  // the extension changed
        {"a.mp3", TRenameOutcome::Ignored},     // not longer than 5 characters
        {"o1.mp3", TRenameOutcome::Failed},     // taken: never replaced
        {"Song.MP3", TRenameOutcome::Done},
    };
    for (const Case& c : cases) {
        BuilderNode* node = root->FindByPath(FileExists(dir / "A/track.mp3") ? dir / "A/track.mp3"
                                                                             : dir / "A/Song.MP3");
        ASSERT_NE(node, nullptr);
        TRenameResult result = RenameNode(*root, *node, c.text, tools);
        EXPECT_EQ(result.Outcome, c.outcome) << c.text;
        if (c.outcome == TRenameOutcome::Failed) {
            EXPECT_EQ(result.Failure.Message(),
                      "Could not rename " + dir / "A/track.mp3" + " to " + dir / "A/o1.mp3");
        }
    }
    EXPECT_TRUE(FileExists(dir / "A/Song.MP3"));
    EXPECT_EQ(dir.Read("A/o1.mp3"), "A/o1.mp3");
    EXPECT_NE(root->FindByPath(dir / "A/Song.MP3"), nullptr);
}

TEST_F(BuilderCommandsTest, RenamingAnEntryRewritesItsPlaylist) {
    auto root = Scan();
    BuilderNode* entry = root->FindByPath(dir / "A/2.mp3");
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->Kind, KindEntry);
    EXPECT_EQ(RenameNode(*root, *entry, "second.mp3", tools).Outcome, TRenameOutcome::Done);
    EXPECT_EQ(Entries("A/a.m3u")[1], dir / "A/second.mp3");
    EXPECT_EQ(entry->Parent->Children[1]->Path, dir / "A/second.mp3");
}

TEST_F(BuilderCommandsTest, RenamingAFolderMovesThePathsBelowOnly) {
    dir.File("A2/x.mp3", "");
    auto root = Scan();
    BuilderNode* a = root->ChildByPath(dir / "A");
    ASSERT_EQ(RenameNode(*root, *a, "Renamed", tools).Outcome, TRenameOutcome::Done);
    EXPECT_EQ(a->Path, dir / "Renamed");
    EXPECT_NE(root->FindByPath(dir / "Renamed/a.m3u"), nullptr);
    EXPECT_NE(root->FindByPath(dir / "Renamed/o1.mp3"), nullptr);
    EXPECT_NE(root->FindByPath(dir / "A2/x.mp3"), nullptr);  // "A2" is not inside "A"
    // Onto an existing folder: refused, nothing changes.
    BuilderNode* b = root->ChildByPath(dir / "B");
    TRenameResult taken = RenameNode(*root, *b, "A2", tools);
    EXPECT_EQ(taken.Outcome, TRenameOutcome::Failed);
    EXPECT_EQ(taken.Failure.Key, "CouldNotMove");
    EXPECT_TRUE(FileExists(dir / "B/keep.txt"));
}

TEST_F(BuilderCommandsTest, PictureRenamedOntoPlaylistAskedBeforeReplacing) {
    dir.File("A/scan.jpg", "new");
    dir.File("A/a.jpg", "old");
    EXPECT_FALSE(PictureOntoPlaylist(dir / "A/scan.jpg", dir / "A/a.m3u", false));
    EXPECT_EQ(dir.Read("A/a.jpg"), "old");
    EXPECT_TRUE(PictureOntoPlaylist(dir / "A/scan.jpg", dir / "A/a.m3u", true));
    EXPECT_EQ(dir.Read("A/a.jpg"), "new");
    EXPECT_FALSE(FileExists(dir / "A/scan.jpg"));
}

TEST_F(BuilderCommandsTest, ImageConvertedOntoPlaylistKeepsTheImage) {
    dir.File("A/scan.bmp", "BM");
    auto convert = [](const std::string&) { return std::string("\xFF\xD8jpeg"); };
    ASSERT_TRUE(ImageOntoPlaylist(dir / "A/scan.bmp", dir / "A/a.m3u", convert, false));
    EXPECT_EQ(dir.Read("A/a.jpg"), "\xFF\xD8jpeg");
    EXPECT_TRUE(FileExists(dir / "A/scan.bmp"));
    auto broken = [](const std::string&) { return std::string(); };
    TBuilderResult failed = ImageOntoPlaylist(dir / "A/scan.bmp", dir / "A/a.m3u", broken, true);
    EXPECT_EQ(failed.Key, "CouldNotConvert");
    EXPECT_EQ(dir.Read("A/a.jpg"), "\xFF\xD8jpeg");  // the old picture stays
}

TEST_F(BuilderCommandsTest, DropRules) {
    dir.File("A/Sub/s.mp3", "");
    dir.File("B/b.m3u", "");
    dir.File("A/p.jpg", "");
    auto root = Scan();
    auto at = [&](const std::string& name) { return root->FindByPath(dir / name); };
    struct Case {
        std::string dragged;
        int32_t cls;
        std::string target;
        TDropAction action;
    };
    const Case cases[] = {
        {"A", KindFolder, "A/Sub", TDropAction::None},  // into itself
        {"A", KindFolder, "B", TDropAction::MoveIntoFolder},
        {"A", KindFolder, "", TDropAction::None},  // the root: the dragged node's parent
        {"A/a.m3u", KindPlaylist, "B", TDropAction::MoveAlbum},
        {"A/a.m3u", KindPlaylist, "A", TDropAction::None},
        {"A/o1.mp3", KindOrphan, "B", TDropAction::MoveIntoFolder},
        {"A/o1.mp3", KindOrphan, "A/a.m3u", TDropAction::AppendToPlaylist},
        {"A/o1.mp3", SelectionOrphans, "A/2.mp3", TDropAction::InsertAfterEntry},
        {"A/o1.mp3", KindOrphan, "B/b.m3u", TDropAction::None},  // another folder's playlist
        {"A/p.jpg", KindPicture, "A/a.m3u", TDropAction::PictureToPlaylist},
        {"A/p.jpg", KindPicture, "A/o1.mp3", TDropAction::None},
        {"A/2.mp3", KindEntry, "B", TDropAction::None},  // entries are not dragged
    };
    for (const Case& c : cases) {
        BuilderNode* dragged = at(c.dragged);
        BuilderNode* target = c.target.empty() ? root.get() : at(c.target);
        ASSERT_TRUE(dragged && target) << c.dragged << " " << c.target;
        EXPECT_EQ(DropActionFor(c.cls, *dragged, target), c.action)
            << c.dragged << " -> " << c.target;
    }
}

TEST_F(BuilderCommandsTest, MoveAlbumMovesItsOwnFilesAndWritesBeforeDeleting) {
    TMoveAlbumResult moved = MoveAlbum(dir / "A/a.m3u", dir / "B", tools);
    ASSERT_TRUE(moved.ok);
    EXPECT_EQ(moved.NewPath, dir / "B/a.m3u");
    EXPECT_FALSE(FileExists(dir / "A/a.m3u"));
    EXPECT_EQ(Entries("B/a.m3u"),
              (std::vector<std::string>{dir / "B/1.mp3", dir / "B/2.mp3", dir / "B/3.mp3",
                                        dir / "Elsewhere/e.mp3"}));
    EXPECT_EQ(dir.Read("B/1.mp3"), "A/1.mp3");
    EXPECT_TRUE(FileExists(dir / "Elsewhere/e.mp3"));
    EXPECT_TRUE(FileExists(dir / "A/o1.mp3"));  // orphans stay
}

TEST_F(BuilderCommandsTest, MoveAlbumRefusedWhenTheTargetHasThatPlaylist) {
    dir.File("B/a.m3u", "theirs\r\n");
    TMoveAlbumResult moved = MoveAlbum(dir / "A/a.m3u", dir / "B", tools);
    EXPECT_FALSE(moved.ok);
    EXPECT_EQ(moved.Failure.Key, "CouldNotMove");
    EXPECT_EQ(dir.Read("B/a.m3u"), "theirs\r\n");
    EXPECT_TRUE(FileExists(dir / "A/1.mp3"));
}

TEST_F(BuilderCommandsTest, MoveAlbumIntoReadOnlyFolderKeepsEverything) {
    RunUnprivileged({dir.Path()}, [&] {
        chmod((dir / "B").c_str(), 0555);
        TMoveAlbumResult moved = MoveAlbum(dir / "A/a.m3u", dir / "B", tools);
        chmod((dir / "B").c_str(), 0755);
        EXPECT_FALSE(moved.ok);
        EXPECT_EQ(moved.FailedTracks.size(), 3u);
        EXPECT_TRUE(FileExists(dir / "A/a.m3u"));
        EXPECT_EQ(Entries("A/a.m3u")[0], dir / "A/1.mp3");
        EXPECT_TRUE(FileExists(dir / "A/1.mp3"));
    });
}

TEST_F(BuilderCommandsTest, MovesNeverReplaceAndCopiedMovesVerifyFirst) {
    // A taken name is a failure for files and folders.
    EXPECT_EQ(MoveFileOrFolder(dir / "A/1.mp3", dir / "A/2.mp3").Key, "CouldNotMove");
    EXPECT_EQ(dir.Read("A/2.mp3"), "A/2.mp3");
    EXPECT_FALSE(MoveFileOrFolder(dir / "A", dir / "B"));
    // The copying move (used across file systems) ends with one file, whole.
    ASSERT_TRUE(MoveFileByCopying(dir / "A/1.mp3", dir / "B/1.mp3"));
    EXPECT_FALSE(FileExists(dir / "A/1.mp3"));
    EXPECT_EQ(dir.Read("B/1.mp3"), "A/1.mp3");
    EXPECT_FALSE(MoveFileByCopying(dir / "A/2.mp3", dir / "B/1.mp3"));
    EXPECT_TRUE(FileExists(dir / "A/2.mp3"));
    EXPECT_FALSE(MoveFileByCopying(dir / "A", dir / "C"));  // folders never
    std::vector<std::string> inB;
    for (const auto& e : fs::directory_iterator(dir / "B")) inB.push_back(e.path().filename());
    std::sort(inB.begin(), inB.end());
    EXPECT_EQ(inB, (std::vector<std::string>{"1.mp3", "keep.txt"}));  // no copy left behind
}

TEST_F(BuilderCommandsTest, CopiedMoveIntoReadOnlyFolderKeepsTheSource) {
    RunUnprivileged({dir.Path()}, [&] {
        chmod((dir / "B").c_str(), 0555);
        EXPECT_FALSE(MoveFileByCopying(dir / "A/1.mp3", dir / "B/1.mp3"));
        chmod((dir / "B").c_str(), 0755);
        EXPECT_EQ(dir.Read("A/1.mp3"), "A/1.mp3");
    });
}

TEST_F(BuilderCommandsTest, CreateMissingPlaylistsOnlyWhereNoneIs) {
    dir.File("C/c1.mp3", "");
    dir.File("D/d1.ogg", "");
    auto root = Scan();
    // A has a playlist already (its orphans stay orphans); C and D get one, and
    // so does Elsewhere: a playlist of another folder naming its file is not its own.
    TProgress progress;
    TCreatePlaylistsReport report =
        CreateMissingPlaylists(*root, "%artist - %album", TPlaylistType::PLS, tools, &progress);
    EXPECT_EQ(report.Created,
              (std::vector<std::string>{dir / "C/Band - Record.pls", dir / "D/Band - Record.pls",
                                        dir / "Elsewhere/Band - Record.pls"}));
    EXPECT_EQ(progress.Total(), 3);
    EXPECT_EQ(progress.Done(), 3);
    EXPECT_EQ(Entries("D/Band - Record.pls"), (std::vector<std::string>{dir / "D/d1.ogg"}));
    EXPECT_FALSE(FileExists(dir / "A/Band - Record.pls"));

    // Cancelled after the first folder: the rest keep none.
    dir.File("E/e1.mp3", "");
    dir.File("F/f1.mp3", "");
    root = Scan();
    // Cancelled once the first folder is done: a tag reader that asks for it.
    TProgress stopping;
    TBuilderTools cancelling = tools;
    cancelling.ReadTags = [&](Tmp3& track) {
        if (ExtractFileName(track.Path) == "e1.mp3") stopping.Cancel();
        return tools.ReadTags ? tools.ReadTags(track) : false;
    };
    report = CreateMissingPlaylists(*root, "%album", TPlaylistType::M3U, cancelling, &stopping);
    EXPECT_TRUE(report.Cancelled);
    EXPECT_EQ(report.Created, (std::vector<std::string>{dir / "E/Record.m3u"}));
    EXPECT_FALSE(FileExists(dir / "F/Record.m3u"));
}

// The whole operation follows folder links only inside the root, each
// folder once: two links to a parent end, a link that makes a loop adds no
// level, and a link out of the root gets no playlist written through it.
TEST_F(BuilderCommandsTest, CreatePlaylistsUnderStaysInsideTheRootWhateverTheLinks) {
    TempDir outside;
    outside.File("Far/far.mp3", "");
    dir.File("G/g1.mp3", "");
    ASSERT_EQ(symlink(dir.Path().c_str(), (dir / "G/up1").c_str()), 0);
    ASSERT_EQ(symlink(dir.Path().c_str(), (dir / "G/up2").c_str()), 0);
    ASSERT_EQ(symlink((dir / "G").c_str(), (dir / "G/self").c_str()), 0);
    ASSERT_EQ(symlink((outside / "Far").c_str(), (dir / "out").c_str()), 0);
    TProgress progress;
    const TCreatePlaylistsReport report =
        CreatePlaylistsUnder(dir.Path(), "%album", TPlaylistType::M3U, tools, progress);
    EXPECT_FALSE(report.Cancelled);
    EXPECT_TRUE(report.Failures.empty());
    EXPECT_TRUE(FileExists(dir / "G/Record.m3u"));
    EXPECT_FALSE(FileExists(outside / "Far/Record.m3u"));
    for (const auto& path : report.Created)
        EXPECT_EQ(path.rfind(dir.Path() + "/", 0), 0u) << path;
    EXPECT_EQ(report.Created.size(), std::set<std::string>(report.Created.begin(),
                                                           report.Created.end()).size());
}

}  // namespace
