#include "core/FolderWatcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "TempDir.h"

namespace fs = std::filesystem;

namespace {
// The changes of one step, read right after it: inotify queues an event when
// the call that causes it returns, so no waiting is needed.
struct Step {
    const char* what;
    std::function<void(const TempDir&)> change;
    std::vector<std::string> expected;  // folders relative to the root, "" = the root
};

std::set<std::string> Relative(const TFolderChanges& changes, const TempDir& dir) {
    std::set<std::string> out;
    for (const auto& folder : changes.folders) out.insert(folder.substr(dir.Path().size() + 1));
    return out;
}

std::set<std::string> Expected(const std::vector<std::string>& folders) {
    std::set<std::string> out;
    for (const auto& f : folders) out.insert(f.empty() ? "" : f + "/");
    return out;
}
}  // namespace

TEST(FolderWatcher, ReportsTheFoldersWhoseContentsChanged) {
    TempDir dir, outside;
    dir.File("artist/album/a.m3u", "01.mp3\n");
    dir.File("artist/album/01.mp3", "x");
    dir.Folder("other");
    TFolderWatcher watcher;
    const TWatchResult watched = watcher.Watch({dir.Path() + "/"});
    ASSERT_TRUE(watched.ok) << watched.error;
    EXPECT_EQ(watched.folders, 4u);  // root, artist, album, other

    const Step steps[] = {
        {"a new file",
         [](const TempDir& d) { d.File("artist/album/b.m3u", "x"); },
         {"artist/album"}},
        {"a file written",
         [](const TempDir& d) { d.File("artist/album/01.mp3", "yy"); },
         {"artist/album"}},
        {"a file removed",
         [](const TempDir& d) { fs::remove(d / "artist/album/b.m3u"); },
         {"artist/album"}},
        {"a file renamed between folders",
         [](const TempDir& d) { fs::rename(d / "artist/album/01.mp3", d / "other/01.mp3"); },
         {"artist/album", "other"}},
        {"a new folder with a file",
         [](const TempDir& d) { d.File("artist/new/c.m3u", "x"); },
         {"artist", "artist/new"}},
        {"a file in the new folder, watched since",
         [](const TempDir& d) { d.File("artist/new/d.m3u", "x"); },
         {"artist/new"}},
        {"a folder moved in from outside the roots",
         [&outside](const TempDir& d) {
             outside.File("moved/e.m3u", "x");
             fs::rename(outside / "moved", d / "moved");
         },
         {"", "moved"}},
        {"a file in the moved-in folder",
         [](const TempDir& d) { d.File("moved/f.m3u", "x"); },
         {"moved"}},
        {"nothing under the roots", [&outside](const TempDir&) { outside.File("g.m3u", "x"); }, {}},
    };
    for (const Step& step : steps) {
        step.change(dir);
        const TFolderChanges changes = watcher.ReadChanges();
        EXPECT_EQ(Relative(changes, dir), Expected(step.expected)) << step.what;
        EXPECT_FALSE(changes.overflow) << step.what;
    }
}

TEST(FolderWatcher, ARemovedFolderIsReportedAndForgotten) {
    TempDir dir;
    dir.File("album/a.m3u", "x");
    TFolderWatcher watcher;
    ASSERT_TRUE(watcher.Watch({dir.Path()}).ok);
    EXPECT_EQ(watcher.WatchedFolders(), 2u);
    fs::remove_all(dir / "album");
    EXPECT_EQ(Relative(watcher.ReadChanges(), dir), Expected({"", "album"}));
    EXPECT_EQ(watcher.WatchedFolders(), 1u);
}

TEST(FolderWatcher, AMissingRootIsReportedAndTheOthersWatched) {
    TempDir dir;
    TFolderWatcher watcher;
    const TWatchResult result = watcher.Watch({dir / "gone", dir.Path()});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("gone"), std::string::npos);
    EXPECT_EQ(result.folders, 1u);
    dir.File("a.m3u", "x");
    EXPECT_EQ(Relative(watcher.ReadChanges(), dir), Expected({""}));
}

TEST(FolderWatcher, WatchingAgainReplacesTheRoots) {
    TempDir first, second;
    TFolderWatcher watcher;
    watcher.Watch({first.Path()});
    watcher.Watch({second.Path()});
    watcher.ReadChanges();  // the removal notices of the old watches
    first.File("a.m3u", "x");
    EXPECT_TRUE(watcher.ReadChanges().folders.empty());
    second.File("a.m3u", "x");
    EXPECT_EQ(watcher.ReadChanges().folders, std::set<std::string>{second.Path() + "/"});
}

TEST(ChangeCollector, HandsOverOnceQuietAndMergesFoldersUnderOthers) {
    TChangeCollector collector(3000);
    collector.Add({{"/m/a/", "/m/b/x/"}, false}, 1000);
    collector.Add({{"/m/a/cd1/", "/m/ab/"}, false}, 2500);
    EXPECT_TRUE(collector.Take(5000).folders.empty());  // 2.5 s after the last change
    const TFolderChanges taken = collector.Take(5500);
    EXPECT_EQ(taken.folders, (std::set<std::string>{"/m/a/", "/m/ab/", "/m/b/x/"}));
    EXPECT_FALSE(collector.Pending());
    EXPECT_TRUE(collector.Take(9000).folders.empty());

    collector.Add({{}, false}, 9000);  // nothing changed: nothing pending
    EXPECT_FALSE(collector.Pending());
    collector.Add({{}, true}, 9000);
    EXPECT_TRUE(collector.Take(12000).overflow);
}
