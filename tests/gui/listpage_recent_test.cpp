// Choosing a recent file while the open list must first be saved: saving puts
// that list's name at the top of the recent files, which shifts the entries
// (or moves them to new memory).  The chosen file is the one that opens.  The
// sanitizer build of scripts/test runs this test under AddressSanitizer too.
#include <QAction>

#include "gui/list/ListFileCommands.h"
#include "gui/list/ScanCommands.h"
#include "gui/shell/Ucommands.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"

class ListPageRecentTest : public ListPageTestCase {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(StartOnCollection(false)); }
    void cleanup() { Finish(); }

    void chosenRecentFileOpensAfterTheOpenListIsSaved_data() {
        QTest::addColumn<int>("saved");   // lists in the recent files before
        QTest::addColumn<int>("chosen");  // menu position (1 is the top)
        // Two entries: the third one needs new memory for the list.
        QTest::newRow("recent files grow") << 2 << 2;
        // Three entries: the fourth one shifts them in place.
        QTest::newRow("recent files shift") << 3 << 2;
        QTest::newRow("the last entry") << 3 << 3;
        QTest::newRow("the top entry") << 3 << 1;
    }
    void chosenRecentFileOpensAfterTheOpenListIsSaved() {
        QFETCH(int, saved);
        QFETCH(int, chosen);
        for (int i = 0; i < saved; ++i)
            QVERIFY(!SavedList("list" + std::to_string(i) + ".mvo").empty());
        const std::vector<std::string> recent = ui_.app->Session().Settings.RecentFiles;
        QCOMPARE(int(recent.size()), saved);
        const std::string wanted = recent[size_t(chosen - 1)];

        // A new, unnamed list: opening another one names and saves it first.
        ui_.List().Scans().NewList({root_});
        QVERIFY(ui_.Catalogue().ListModified);
        const std::string fresh = home_->Dir() / "fresh.mvo";
        ui_.prompts->saveFile = QString::fromStdString(fresh);
        ui_.Window().Commands().RecentFileAction(chosen - 1)->trigger();

        QCOMPARE(ui_.Catalogue().CurrentFile, wanted);
        QVERIFY(!ui_.Catalogue().ListModified);
        QCOMPARE(ui_.app->Session().Settings.RecentFiles.front(), wanted);
        QVERIFY(ui_.prompts->errors.isEmpty());
    }
};

QTEST_MAIN(ListPageRecentTest)
#include "listpage_recent_test.moc"
