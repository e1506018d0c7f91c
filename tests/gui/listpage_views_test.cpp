// What the list page's views show, decided without a window: the folder
// tree's shape, the find-by-first-letter walk, the album text and marks.
#include <QFontMetrics>
#include <QSet>
#include <QTest>

#include <memory>

#include "collection/Um3u_obj.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/FolderTree.h"
#include "gui/list/ListPage.h"

namespace {
struct Albums {
    std::vector<std::unique_ptr<Tm3u>> owned;
    std::vector<Tm3u*> rows;
    Tm3u& Add(const std::string& path, const std::string& artist = "x") {
        owned.push_back(std::make_unique<Tm3u>(path));
        owned.back()->Artist = artist;
        rows.push_back(owned.back().get());
        return *owned.back();
    }
};

void Lines(const TFolderNode& node, int depth, QStringList& lines) {
    for (const auto& child : node.children) {
        lines << QString(depth, '.') + QString::fromStdString(child->name);
        Lines(*child, depth + 1, lines);
    }
}

QStringList TreeOf(const std::vector<std::string>& roots, const std::vector<std::string>& paths,
                   bool hideOneFolder) {
    Albums albums;
    for (const auto& path : paths) albums.Add(path);
    TFolderTree tree;
    tree.Build(roots, albums.rows, hideOneFolder);
    QStringList lines;
    Lines(tree.Top(), 0, lines);
    return lines;
}
}  // namespace

class ListPageViewsTest : public QObject {
    Q_OBJECT
  private slots:
    void folderTree_data() {
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<QStringList>("paths");  // in view order
        QTest::addColumn<bool>("hideOneFolder");
        QTest::addColumn<QStringList>("tree");
        QTest::newRow("albums before subfolders, folders sorted")
            << QStringList{"/m"} << QStringList{"/m/A/B/y.m3u", "/m/A/x.m3u", "/m/C/z.m3u"} << false
            << QStringList{"/m", ".A", "..x.m3u", "..B", "...y.m3u", ".C", "..z.m3u"};
        QTest::newRow("a folder with one album and no subfolder gives way")
            << QStringList{"/m"} << QStringList{"/m/A/B/y.m3u", "/m/A/x.m3u", "/m/C/z.m3u"} << true
            << QStringList{"/m", ".z.m3u", ".A", "..y.m3u", "..x.m3u"};
        QTest::newRow("view order among albums of one folder")
            << QStringList{"/m"} << QStringList{"/m/A/2.m3u", "/m/A/1.m3u"} << true
            << QStringList{"/m", ".A", "..2.m3u", "..1.m3u"};
        QTest::newRow("names that differ in case are two folders")
            << QStringList{"/m"} << QStringList{"/m/rock/a.m3u", "/m/Rock/b.m3u"} << false
            << QStringList{"/m", ".Rock", "..b.m3u", ".rock", "..a.m3u"};
        QTest::newRow("an album under no root is left out")
            << QStringList{"/m"} << QStringList{"/other/a.m3u", "/m2/b.m3u", "/m/c.m3u"} << false
            << QStringList{"/m", ".c.m3u"};
        QTest::newRow("a root with one album gives way to the top level")
            << QStringList{"/b", "/a"} << QStringList{"/b/x.m3u", "/a/y.m3u", "/a/z.m3u"} << true
            << QStringList{"x.m3u", "/a", ".y.m3u", ".z.m3u"};
        QTest::newRow("empty folders stay, roots sorted")
            << QStringList{"/z", "/a"} << QStringList{} << true << QStringList{"/a", "/z"};
    }
    void folderTree() {
        QFETCH(QStringList, roots);
        QFETCH(QStringList, paths);
        QFETCH(bool, hideOneFolder);
        QFETCH(QStringList, tree);
        std::vector<std::string> r, p;
        for (const auto& s : roots) r.push_back(s.toStdString());
        for (const auto& s : paths) p.push_back(s.toStdString());
        QCOMPARE(TreeOf(r, p, hideOneFolder), tree);
    }

    void folderTreeFindsEachAlbumsNode() {
        Albums albums;
        Tm3u& shown = albums.Add("/m/A/x.m3u");
        Tm3u& outside = albums.Add("/n/y.m3u");
        TFolderTree tree;
        tree.Build({"/m"}, albums.rows, false);
        const TFolderNode* node = tree.NodeOf(&shown);
        QVERIFY(node);
        QCOMPARE(node->kind, TFolderNode::Album);
        QCOMPARE(node->path, std::string("/m/A/x.m3u"));
        QCOMPARE(node->parent->path, std::string("/m/A/"));
        QVERIFY(!tree.NodeOf(&outside));
    }

    void findByFirstLetter_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<char>("key");
        QTest::addColumn<int>("row");
        // Artists: "", Bach, bob, Cher, Beck.
        QTest::newRow("from the row after the current one") << 1 << 'b' << 2;
        QTest::newRow("wraps to the first rows") << 4 << 'b' << 1;
        QTest::newRow("capitals fold") << 0 << 'C' << 3;
        QTest::newRow("only the current row matches") << 3 << 'c' << -1;
        QTest::newRow("no current row") << -1 << 'b' << 1;
        QTest::newRow("a punctuation mark does nothing") << 0 << '!' << -1;
        QTest::newRow("nobody begins with it") << 0 << 'z' << -1;
    }
    void findByFirstLetter() {
        QFETCH(int, current);
        QFETCH(char, key);
        QFETCH(int, row);
        Albums albums;
        for (const char* artist : {"", "Bach", "bob", "Cher", "Beck"})
            albums.Add("/m/a.m3u", artist);
        QCOMPARE(FindRowByFirstLetter(albums.rows, current, key), row);
    }

    void albumTextPieces() {
        Tm3u album("/music/A/the_name.m3u");
        album.Artist = "Artist";
        album.Album = "Title";
        album.Year = 1999;
        auto pieces = AlbumTextPieces(album);
        QCOMPARE(PlainText(pieces), QString("Artist Title (1999)"));
        QVERIFY(pieces[0].bold);
        QCOMPARE(pieces[0].color, ListColors::kArtist);
        QCOMPARE(pieces[2].color, ListColors::kGrey);
        album.Year = 0;  // no parentheses for an unknown year
        QCOMPARE(PlainText(AlbumTextPieces(album)), QString("Artist Title "));
        album.Artist.clear();  // the playlist's name, grey: bold in the grid, normal in the tree
        pieces = AlbumTextPieces(album);
        QCOMPARE(PlainText(pieces), QString("the_name"));
        QVERIFY(pieces[0].bold);
        QCOMPARE(pieces[0].color, ListColors::kGrey);
        QVERIFY(!AlbumTextPieces(album, false)[0].bold);
    }

    void marksKeepTheirColours() {
        QCOMPARE(StatusMark(TAlbumStatus::Red).color, QColor(0xFF, 0x00, 0x00));
        QCOMPARE(StatusMark(TAlbumStatus::Orange).color, QColor(0xFF, 0xC4, 0x88));
        QCOMPARE(StatusMark(TAlbumStatus::Green).color, QColor(0x00, 0x80, 0x00));
        QCOMPARE(TagKindMark(TTagKind::None).color, QColor(0x80, 0x00, 0x00));
        QCOMPARE(TagKindMark(TTagKind::ID3v2).color, QColor(0x00, 0x00, 0xFF));
        QCOMPARE(TagKindMark(TTagKind::WMA).color, QColor(0x80, 0x00, 0x80));
        QVERIFY(TagKindMark(TTagKind::ID3v1).text != TagKindMark(TTagKind::ID3v2).text);
        Tm3u album("/m/x.m3u");
        QCOMPARE(PictureMark(album).color, QColor(0x80, 0x00, 0x00));
        // Every mark has a glyph in the desktop's default font.
        QList<TMark> marks{StatusMark(TAlbumStatus::Red), PictureMark(album)};
        QSet<QString> kindTexts;
        for (int32_t kind = 0; kind <= static_cast<int32_t>(LastTagKind); ++kind) {
            marks << TagKindMark(static_cast<TTagKind>(kind));
            kindTexts << marks.back().text;
        }
        // Every kind of tag has a mark of its own.
        QCOMPARE(kindTexts.size(), static_cast<int>(LastTagKind) + 1);
        marks << TMark{SelectionMark(true), {}} << TMark{SelectionMark(false), {}};
        const QFontMetrics metrics{QFont()};
        for (const TMark& mark : marks)
            QVERIFY2(metrics.inFontUcs4(mark.text.toUcs4().front()),
                     qPrintable(QString::number(mark.text.toUcs4().front(), 16)));
        QCOMPARE(TrackNumberText(3), QString("03"));
        QCOMPARE(TrackNumberText(12), QString("12"));
    }
};

QTEST_MAIN(ListPageViewsTest)
#include "listpage_views_test.moc"
