// The builder tree of a fixture folder: grouping and order, orphans,
// pictures with and without playlist, entries outside the folder or missing,
// the view rules and the selection classes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "TempDir.h"
#include "builder/BuilderTree.h"

namespace {

// root/A: an album with everything a folder can hold; root/Only/Inner: a
// folder whose only content is a subfolder with an album; a hidden folder.
class BuilderTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.File("A/a.m3u", "1.mp3\r\n2.MP3\r\n" + (dir / "Other/o.mp3") + "\r\nmissing.mp3\r\n");
        for (const char* name :
             {"A/1.mp3", "A/2.mp3", "A/3.mp3", "A/x.WAV", "A/a.jpg", "A/b.jpg", "A/scan.bmp",
              "A/notes.txt", "Other/o.mp3", "Only/Inner/i.mp3", ".hidden/h.mp3"})
            dir.File(name, "");
        dir.File("Only/Inner/i.pls", "[playlist]\r\nFile1=i.mp3\r\n");
        root = MakeRootNode(dir.Path());
        TBuilderScanner scanner(view);
        ASSERT_TRUE(scanner.ScanFolderNode(*root));
    }
    BuilderNode& Child(BuilderNode& parent, const std::string& name) {
        for (auto& c : parent.Children)
            if (c->Name == name) return *c;
        ADD_FAILURE() << "no node " << name << " under " << parent.Path;
        return parent;
    }
    std::vector<std::string> Names(const BuilderNode& node) {
        std::vector<std::string> names;
        for (auto& c : node.Children) names.push_back(c->Name);
        return names;
    }

    TempDir dir;
    TBuilderView view;
    std::unique_ptr<BuilderNode> root;
};

TEST_F(BuilderTreeTest, GroupsChildrenByKindThenName) {
    EXPECT_EQ(Names(*root), (std::vector<std::string>{"A", "Only", "Other"}));  // hidden skipped
    BuilderNode& a = Child(*root, "A");
    // Playlists, pictures, images, orphans; an upper-case entry still names 2.mp3.
    EXPECT_EQ(Names(a),
              (std::vector<std::string>{"a.m3u", "a.jpg", "b.jpg", "scan.bmp", "3.mp3", "x.WAV"}));
    std::vector<int32_t> kinds;
    for (auto& c : a.Children) kinds.push_back(c->Kind);
    EXPECT_EQ(kinds, (std::vector<int32_t>{KindPlaylist, KindPicture, KindPicture, KindImage,
                                           KindOrphan, KindOrphan}));
    EXPECT_TRUE(a.HasPlaylist);
    EXPECT_TRUE(a.HasOrphans);
    EXPECT_FALSE(a.HasSubfolders);
    EXPECT_EQ(Child(a, "x.WAV").Path, dir / "A/x.WAV");
}

TEST_F(BuilderTreeTest, EntriesAndPicturesCarryTheirColourClass) {
    BuilderNode& a = Child(*root, "A");
    BuilderNode& playlist = Child(a, "a.m3u");
    ASSERT_EQ(playlist.Children.size(), 4u);
    struct Case {
        const BuilderNode* node;
        std::string colourClass;
        uint32_t colour;
        bool italic;
    };
    const Case cases[] = {
        {playlist.Children[0].get(), "entry", 0x484848, false},
        {playlist.Children[2].get(), "entry-outside", 0x484848, true},
        {playlist.Children[3].get(), "entry-missing", 0xFF0000, false},
        {&playlist, "playlist", 0x000053, false},
        {&Child(a, "a.jpg"), "picture", 0x00009B, false},
        {&Child(a, "b.jpg"), "picture-alone", 0xFF0000, false},
        {&Child(a, "scan.bmp"), "image", 0xC0C0C0, false},
        {&Child(a, "3.mp3"), "orphan", 0x397171, false},
    };
    for (const Case& c : cases) {
        const TBuilderNodeStyle style = NodeStyle(*c.node);
        EXPECT_EQ(style.ColourClass, c.colourClass) << c.node->Path;
        EXPECT_EQ(style.Colour, c.colour) << c.node->Path;
        EXPECT_EQ(style.Italic, c.italic) << c.node->Path;
    }
    EXPECT_EQ(NodeStyle(*playlist.Children[0]).FontSize, 7);
    EXPECT_EQ(playlist.Children[2]->Path, dir / "Other/o.mp3");
    // An entry elsewhere does not make the file of that folder named.
    EXPECT_EQ(Child(Child(*root, "Other"), "o.mp3").Kind, KindOrphan);
}

TEST_F(BuilderTreeTest, FolderOfSubfoldersShowsAlbumIconAndStaysExpanded) {
    TBuilderView listsOff;
    listsOff.Lists = false;
    TBuilderScanner scanner(listsOff);
    ASSERT_TRUE(scanner.ScanFolderNode(*root));
    BuilderNode& only = Child(*root, "Only");
    EXPECT_EQ(NodeStyle(only).Icon, 1);
    EXPECT_TRUE(only.Expanded);
    EXPECT_FALSE(Child(*root, "A").Expanded);
    EXPECT_EQ(NodeStyle(Child(*root, "Other")).Icon, 0);
    EXPECT_EQ(scanner.FoldersScanned(), 5u);  // root, A, Only, Inner, Other
    EXPECT_EQ(CountBuilderFolders(dir.Path()), 5u);
}

TEST_F(BuilderTreeTest, ViewSwitchesGiveEachKindItsRule) {
    TBuilderView v;
    v.Tracks = true;
    v.Orphans = false;
    v.Pictures = false;
    v.Lists = false;
    ApplyViewSwitches(*root, v);
    BuilderNode& a = Child(*root, "A");
    EXPECT_TRUE(Child(a, "a.m3u").Expanded);
    EXPECT_FALSE(Child(a, "3.mp3").Visible);
    EXPECT_FALSE(Child(a, "a.jpg").Visible);
    EXPECT_TRUE(Child(a, "scan.bmp").Visible);
    EXPECT_FALSE(a.Expanded);
    EXPECT_TRUE(root->Expanded);  // has subfolders
}

TEST_F(BuilderTreeTest, CancelledScanLeavesTheRestUnscanned) {
    TProgress progress;
    TBuilderScanner counted;
    counted.progress = &progress;
    ASSERT_TRUE(counted.ScanFolderNode(*root));
    EXPECT_EQ(progress.Done(), 5);
    progress.Cancel();
    TBuilderScanner stopped;
    stopped.progress = &progress;
    EXPECT_FALSE(stopped.ScanFolderNode(*root));
    EXPECT_TRUE(root->Children.empty());
}

// Folder links: each folder is shown once however links loop, and a link is
// followed only to a folder inside the root.
TEST_F(BuilderTreeTest, FolderLinksEndAndStayInsideTheRoot) {
    TempDir outside;
    outside.File("Far/far.mp3", "");
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // link, target (relative)
        std::vector<std::string> rootChildren;
        std::vector<std::string> aChildren;
    } cases[] = {
        {"two links to the parent", {{"A/up1", ""}, {"A/up2", ""}},
         {"A", "Only", "Other"}, {"a.m3u", "a.jpg", "b.jpg", "scan.bmp", "3.mp3", "x.WAV"}},
        {"one link to itself", {{"A/self", "A"}},
         {"A", "Only", "Other"}, {"a.m3u", "a.jpg", "b.jpg", "scan.bmp", "3.mp3", "x.WAV"}},
        {"a link to a sibling, shown once", {{"A/inner", "Only/Inner"}},
         {"A", "Only", "Other"},
         {"a.m3u", "a.jpg", "b.jpg", "scan.bmp", "3.mp3", "x.WAV", "inner"}},
        {"a link out of the root", {{"A/far", "@Far"}},
         {"A", "Only", "Other"}, {"a.m3u", "a.jpg", "b.jpg", "scan.bmp", "3.mp3", "x.WAV"}},
    };
    for (const auto& t : cases) {
        for (const auto& [link, target] : t.links) {
            const std::string to =
                target.starts_with("@") ? outside / target.substr(1) : dir / target;
            ASSERT_EQ(symlink(to.c_str(), (dir / link).c_str()), 0) << t.what;
        }
        root = MakeRootNode(dir.Path());
        TBuilderScanner scanner;
        ASSERT_TRUE(scanner.ScanFolderNode(*root)) << t.what;
        EXPECT_EQ(Names(*root), t.rootChildren) << t.what;
        EXPECT_EQ(Names(Child(*root, "A")), t.aChildren) << t.what;
        EXPECT_EQ(root->FindByPath(outside / "Far/far.mp3"), nullptr) << t.what;
        size_t deepest = 0;
        root->ForEach([&](BuilderNode& node) {
            size_t depth = 0;
            for (const BuilderNode* n = &node; n->Parent; n = n->Parent) ++depth;
            deepest = std::max(deepest, depth);
        });
        EXPECT_LE(deepest, 4u) << t.what;  // root/Only/Inner/i.pls/i.mp3 at most
        EXPECT_EQ(CountBuilderFolders(dir.Path()), scanner.FoldersScanned()) << t.what;
        for (const auto& [link, target] : t.links) std::remove((dir / link).c_str());
    }
}

TEST_F(BuilderTreeTest, SelectionClasses) {
    BuilderNode& a = Child(*root, "A");
    BuilderNode& playlist = Child(a, "a.m3u");
    BuilderNode* e0 = playlist.Children[0].get();
    BuilderNode* e1 = playlist.Children[1].get();
    BuilderNode* o1 = &Child(a, "3.mp3");
    BuilderNode* o2 = &Child(a, "x.WAV");
    BuilderNode* p1 = &Child(a, "a.jpg");
    BuilderNode* p2 = &Child(a, "b.jpg");
    BuilderNode* other = &Child(Child(*root, "Other"), "o.mp3");
    struct Case {
        std::vector<BuilderNode*> selected;
        int32_t expected;
    };
    const Case cases[] = {
        {{}, SelectionNothing},
        {{&a}, KindFolder},
        {{o1}, KindOrphan},
        {{e0, e1}, SelectionEntries},
        {{o2, o1}, SelectionOrphans},
        {{o1, other}, SelectionNotUsable},  // another parent
        {{o1, e0}, SelectionNotUsable},     // another kind
        {{p1, p2}, SelectionNotUsable},
        {{&a, root.get()}, SelectionNotUsable},
        {{&playlist, e0}, SelectionNotUsable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectionClass(c.selected, c.selected.empty() ? nullptr : c.selected.front()),
                  c.expected);
}

// The scan answers from the folder's listing what single file system queries
// would: which entries exist, which audio files no playlist names (letter
// case aside), the order of names that differ only in case, links, pipes,
// and a playlist longer than one read.
TEST(BuilderScanTest, ListingAnswersAsFileSystemQueries) {
    TempDir dir;
    for (const char* name : {"Al/a.mp3", "Al/B.mp3", "Al/b.mp3", "Al/c.mp3", "Al/d.mp3", "Al/e.mp3",
                             "Al/notes.txt", "Al/sub/x.mp3", "Other/y.mp3"})
        dir.File(name, "");
    ASSERT_EQ(mkfifo((dir / "Al/fifo.mp3").c_str(), 0600), 0);
    ASSERT_EQ(symlink("../Other/y.mp3", (dir / "Al/link.mp3").c_str()), 0);
    ASSERT_EQ(symlink("nowhere.mp3", (dir / "Al/dead.mp3").c_str()), 0);
    struct Case {
        std::string entry;  // as the playlist names it
        bool found;
    };
    const Case cases[] = {
        {"a.mp3", true},
        {"notes.txt", true},  // a plain file of no shown kind
        {"sub", false},       // a folder
        {"sub/x.mp3", true},  // below the folder
        {"../Other/y.mp3", true},
        {"fifo.mp3", false},  // a pipe is no file
        {"link.mp3", true},   // a link to a file
        {"dead.mp3", false},
        {"missing.mp3", false},
        {"C.MP3", false},           // no such file, yet c.mp3 counts as named
        {dir / "AL/e.mp3", false},  // the folder in other letters: e.mp3 counts as named
    };
    std::string playlist;
    for (const Case& c : cases) playlist += c.entry + "\n";
    dir.File("Al/list.m3u", playlist);
    std::string longList;
    for (int i = 0; i < 6000; ++i) longList += "track" + std::to_string(i) + ".mp3\n";
    dir.File("Other/long.m3u", longList);

    auto root = MakeRootNode(dir.Path());
    ASSERT_TRUE(TBuilderScanner().ScanFolderNode(*root));
    const BuilderNode* al = root->ChildByPath(dir / "Al");
    ASSERT_NE(al, nullptr);
    const BuilderNode* list = al->ChildByPath(dir / "Al/list.m3u");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Children.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(list->Children[i]->FileFound, cases[i].found) << cases[i].entry;

    std::vector<std::string> orphans;
    for (const auto& child : al->Children)
        if (child->Kind == KindOrphan) orphans.push_back(child->Name);
    EXPECT_EQ(orphans, (std::vector<std::string>{"B.mp3", "b.mp3", "d.mp3"}));

    // The same playlist read alone names the same files.
    BuilderNode alone;
    alone.Kind = KindPlaylist;
    alone.Path = list->Path;
    TReferencedSet referenced;
    PlaylistEntries(alone, referenced);
    ASSERT_EQ(alone.Children.size(), list->Children.size());
    for (size_t i = 0; i < alone.Children.size(); ++i) {
        EXPECT_EQ(alone.Children[i]->Path, list->Children[i]->Path);
        EXPECT_EQ(alone.Children[i]->FileFound, list->Children[i]->FileFound)
            << alone.Children[i]->Path;
    }
    std::string folded = dir / "AL/e.mp3";  // the referenced set folds letter case
    for (char& c : folded) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    EXPECT_EQ(referenced.count(folded), 1u);

    const BuilderNode* other = root->ChildByPath(dir / "Other");
    ASSERT_NE(other, nullptr);
    const BuilderNode* longNode = other->ChildByPath(dir / "Other/long.m3u");
    ASSERT_NE(longNode, nullptr);
    EXPECT_EQ(longNode->Children.size(), 6000u);
    EXPECT_EQ(longNode->Children.back()->Name, "track5999.mp3");
}

TEST(BuilderFileKindTest, ByExtensionInAnyCase) {
    const std::pair<const char*, int32_t> cases[] = {
        {"x.M3U", KindPlaylist},
        {"x.pls", KindPlaylist},
        {"x.b4s", KindPlaylist},
        {"x.JPG", KindPicture},
        {"x.jpeg", -1},
        {"x.Png", KindImage},
        {"x.tif", KindImage},
        {"x.wav", KindOrphan},
        {"x.APE", KindOrphan},
        {"x.flac", KindOrphan},
        {"x.Opus", KindOrphan},
        {"x.m4a", KindOrphan},
        {"x.oga", KindOrphan},
        {"x.flacc", -1},
        {"mp3", -1},
        {".mp3", KindOrphan},
        {"x.mp3.bak", -1},
        {"x.tar.m3u", KindPlaylist},
        {"x.m3u/y", -1},
        {"d.mp3/x", -1},
        {"x.", -1},
        {"x.mp", -1},
    };
    for (const auto& [name, kind] : cases) EXPECT_EQ(BuilderFileKind(name), kind) << name;
}

}  // namespace
