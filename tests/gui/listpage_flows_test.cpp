// The main flows of the list page on a small collection: a new list, the
// tree, a filter, a selection in the edit mode, search, and a list saved,
// closed and loaded again.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "gui/list/AlbumGrid.h"
#include "gui/list/FolderTreeModel.h"
#include "gui/list/FolderTreeView.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/SearchCommands.h"
#include "gui/list/TrackGrid.h"
#include "gui/list/Ufilter.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"

namespace {
// The album text of every grid row.
QStringList GridRows(const TListPage& page) {
    QStringList rows;
    auto* model = page.Grid()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 4).data().toString().trimmed();
    return rows;
}

// Each node's text, indented two blanks per level, in tree order.
void TreeLines(const TFolderNode& node, int depth, QStringList& lines) {
    for (const auto& child : node.children) {
        lines << QString(depth * 2, ' ') + QString::fromStdString(child->name);
        TreeLines(*child, depth + 1, lines);
    }
}
}  // namespace

class ListPageFlowsTest : public ListPageTestCase {
    Q_OBJECT

  private:
    TListPage& Page() { return ui_.List().Views().Page(); }
    TCatalogue& Catalogue() { return ui_.Catalogue(); }

    const QStringList kAllRows{"loose",
                               "ABBA Gold (1992)",
                               "Queen Live (1986)",
                               "Queen Studio (1980)",
                               "The Beatles Abbey Road (1969)",
                               "The Beatles Help! (1965)"};

  private slots:
    void init() { QVERIFY(StartOnCollection(true)); }
    void cleanup() { Finish(); }

    void newListShowsEveryAlbumInSortOrder() {
        QCOMPARE(GridRows(Page()), kAllRows);
        QVERIFY(ui_.Catalogue().ListModified);
        QVERIFY(ui_.Catalogue().CurrentFile.empty());
        QCOMPARE(Page().CurrentRow(), 0);
        QVERIFY(ui_.prompts->informed.isEmpty());
        // The playlist builder comes first; no fast scan is offered, as the
        // new list's full scan follows.
        QCOMPARE(ui_.prompts->modals, QStringList{"FormListBuilder"});
        QVERIFY(ui_.prompts->questions.isEmpty());
        QCOMPARE(ui_.Window().windowTitle(), QString("Mavelo v1.00.01 [No file] *"));
        QCOMPARE(ui_.Window().findChild<QLabel*>("LabelAlbumCount")->text(), QString("6"));
    }

    void sortCommandsReorderTheGrid() {
        ui_.Window().Action(TCommandId::ListYAG)->trigger();
        QCOMPARE(GridRows(Page()).first(), QString("ABBA Gold (1992)"));
        QCOMPARE(GridRows(Page()).last(), QString("loose"));  // year 0 is the oldest
        ui_.Window().Action(TCommandId::ListYearAsc)->trigger();
        QCOMPARE(GridRows(Page()).first(), QString("loose"));
        QVERIFY(ui_.Window().Action(TCommandId::ListYAG)->isChecked());
        QVERIFY(!ui_.Window().Action(TCommandId::ListAYG)->isChecked());
    }

    void treeShowsFoldersWithAlbumsFirst() {
        ui_.Window().Action(TCommandId::ListTree)->trigger();
        QVERIFY(Page().TreeShown());
        QStringList lines;
        TreeLines(Page().TreeModel()->Tree().Top(), 0, lines);
        // Folders holding one album and no subfolder give way to their parent.
        const QStringList expected{QString::fromStdString(root_),
                                   "  loose.m3u",
                                   "  Abba",
                                   "    gold.m3u",
                                   "  Beatles",
                                   "    abbey.m3u",
                                   "    help.m3u",
                                   "  Queen",
                                   "    live.m3u",
                                   "    studio.m3u"};
        QCOMPARE(lines, expected);
        // The tree follows the grid's current album, and moves it.
        Page().SetCurrentRow(4);
        QCOMPARE(Page().Tree()->currentIndex().siblingAtColumn(4).data().toString(),
                 QString("The Beatles Abbey Road (1969)"));
        const QModelIndex gold = Page().TreeModel()->IndexOf(Catalogue().View.Albums()[1]);
        Page().Tree()->setCurrentIndex(gold);
        QCOMPARE(Page().CurrentRow(), 1);
    }

    void filterWindowNarrowsTheGridAndMarksTheList() {
        ui_.Catalogue().ListModified = false;
        TFormFilter& filter = ui_.List().Views().FormFilter();
        ui_.Window().Action(TCommandId::ListFilter)->trigger();
        QVERIFY(filter.isVisible());
        filter.Memo(TPickField::Artist)->setPlainText("  beatles;queen \n");
        filter.Memo(TPickField::Year)->setPlainText("-1980");
        filter.Apply();
        QCOMPARE(GridRows(Page()),
                 QStringList({"Queen Studio (1980)", "The Beatles Abbey Road (1969)",
                              "The Beatles Help! (1965)"}));
        QVERIFY(ui_.Catalogue().ListModified);
        QCOMPARE(Catalogue().Filters.Applied.Artist, std::string("beatles;queen"));
        QCOMPARE(ui_.List().Views().FilterBox().currentText(), QString("* Current settings *"));
        // The filter box's first entry takes the filter away again.
        ui_.List().Views().ChooseFilterBoxEntry(0);
        QCOMPARE(GridRows(Page()), kAllRows);
    }

    void selectionEditModeAddsClickedAlbums() {
        ui_.Window().Action(TCommandId::SelectionNew)->trigger();
        TListViews& views = ui_.List().Views();
        QCOMPARE(views.SelectionBox().currentText(), QString("New selection"));
        QVERIFY(ui_.Window().Action(TCommandId::SelectionEdit)->isChecked());
        QVERIFY(!Page().Grid()->isColumnHidden(0));
        QCOMPARE(GridRows(Page()).size(), kAllRows.size());  // all albums, none checked

        // A click on the Sel mark of two rows; the second click takes one back.
        auto clickSel = [this](int row) {
            TAlbumGrid* grid = Page().Grid();
            const QRect cell = grid->visualRect(grid->model()->index(row, 0));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        };
        clickSel(1);
        clickSel(4);
        clickSel(1);
        const TSelection* selection = views.ChosenSelection();
        QVERIFY(selection);
        QCOMPARE(selection->Count(), size_t(1));
        QVERIFY(Catalogue().View.Albums()[4]->InSelection);
        QVERIFY(!Catalogue().View.Albums()[1]->InSelection);

        // Out of the edit mode the view holds the members only.
        ui_.Window().Action(TCommandId::SelectionEdit)->trigger();
        QVERIFY(Page().Grid()->isColumnHidden(0));
        QCOMPARE(GridRows(Page()), QStringList({"The Beatles Abbey Road (1969)"}));
        // Choosing no selection shows everything again.
        views.SelectionBox().setCurrentIndex(0);
        emit views.SelectionBox().activated(0);
        QCOMPARE(GridRows(Page()), kAllRows);
    }

    void searchNextWalksAlbumsThenTracks() {
        TSearchCommands& search = ui_.List().Search();
        search.StartSearch({"gold", 0, SearchAlbum | SearchTrack});
        QCOMPARE(Page().CurrentRow(), 1);  // the album Gold
        QCOMPARE(Page().CurrentTrack(), 0);
        ui_.Window().Action(TCommandId::EditNext)->trigger();
        QCOMPARE(Page().CurrentRow(), 1);  // its track "Gold Rush"
        QCOMPARE(Page().CurrentTrack(), 1);
        ui_.Window().Action(TCommandId::EditNext)->trigger();
        QCOMPARE(Page().CurrentRow(), 4);  // "Golden Slumbers" on Abbey Road
        QCOMPARE(Page().CurrentTrack(), 1);
        QVERIFY(ui_.prompts->informed.isEmpty());
        ui_.Window().Action(TCommandId::EditNext)->trigger();
        QCOMPARE(ui_.prompts->informed.size(), 1);
        QVERIFY(ui_.prompts->informed[0].startsWith("Nothing found !"));
        ui_.Window().Action(TCommandId::EditNext)->trigger();
        QCOMPARE(Page().CurrentRow(), 1);  // and it starts over
    }

    void savedListLoadsAgainWithTheSameGrid() {
        ui_.Window().Action(TCommandId::ListGAY)->trigger();
        const QStringList before = GridRows(Page());
        const std::string path = home_->Dir() / "lists/cat.mvo";
        home_->Dir().Folder("lists");
        ui_.prompts->saveFile = QString::fromStdString(path);
        QVERIFY(ui_.List().Files().ActionFileSaveExecute());
        QCOMPARE(ui_.Catalogue().CurrentFile, path);
        QVERIFY(!ui_.Catalogue().ListModified);

        ui_.Window().Action(TCommandId::FileClose)->trigger();
        QVERIFY(GridRows(Page()).isEmpty());
        QVERIFY(ui_.Catalogue().CurrentFile.empty());
        QCOMPARE(ui_.Window().windowTitle(), QString("Mavelo v1.00.01 [No file]"));

        QVERIFY(ui_.Window().Commands().RecentFileAction(0)->isVisible());
        ui_.Window().Commands().RecentFileAction(0)->trigger();
        QCOMPARE(GridRows(Page()), before);
        QCOMPARE(ui_.Catalogue().CurrentFile, path);
        QVERIFY(!ui_.Catalogue().ListModified);
        QVERIFY(Page().Grid()->hasFocus() || !ui_.Window().isActiveWindow());
        QVERIFY(ui_.prompts->errors.isEmpty());
    }

    // After Apply in the album editor the grid and the track list are drawn
    // anew at once, not when a folder watch notices the renamed files later.
    void appliedAlbumEditIsShownAtOnce() {
        ui_.app->Session().Settings.UseFreeDB = false;
        Page().SetCurrentRow(1);  // ABBA Gold
        auto* editor = ui_.Window().findChild<QDialog*>("FormEdit");
        QVERIFY(editor);
        QSignalSpy gridDrawn(Page().Grid()->model(), &QAbstractItemModel::modelReset);
        QSignalSpy tracksDrawn(Page().Tracks()->model(), &QAbstractItemModel::modelReset);
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [editor, timer] {
            if (!editor->isVisible()) return;
            timer->stop();
            editor->findChild<QLineEdit*>("EditAlbum")->setText("Platinum");
            editor->findChild<QPushButton*>("SpeedButtonApply")->click();
        });
        timer->start(10);
        ui_.Window().Action(TCommandId::AlbumEdit)->trigger();

        QCOMPARE(GridRows(Page())[1], QString("ABBA Platinum (1992)"));
        QCOMPARE(Page().CurrentRow(), 1);
        QVERIFY(gridDrawn.count() >= 1);
        QVERIFY(tracksDrawn.count() >= 1);
        QVERIFY(ui_.prompts->errors.isEmpty());
    }
};

QTEST_MAIN(ListPageFlowsTest)
#include "listpage_flows_test.moc"
