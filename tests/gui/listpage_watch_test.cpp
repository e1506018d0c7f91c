// Folders changed on disk under the roots of the open list: after a quiet
// time a fast scan of just those folders brings new albums in and drops
// removed ones; nothing while the setting is off or before a busy window is
// free again.
#include <QAction>
#include <QDialog>
#include <QTest>

#include <filesystem>

#include "gui/list/FolderWatch.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/shell/ShellPort.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"

namespace {
constexpr int kQuietMs = 50;
// Long enough for the quiet time and a scan to have happened several times.
constexpr int kSettleMs = 600;

AlbumOnDisk NewAlbum() {
    return {"Pink Floyd/Animals",
            "animals.m3u",
            "Pink Floyd",
            "Animals",
            "Rock",
            1977,
            {{"01.mp3", "Dogs"}, {"02.mp3", "Sheep"}}};
}
}  // namespace

class ListPageWatchTest : public ListPageTestCase {
    Q_OBJECT

  private:
    TFolderWatchCommands* watch_ = nullptr;

    // The small collection as a new list, with the setting as given.
    bool StartWatching(bool setting) {
        home_ = std::make_unique<ListHome>(std::string("[Performance]\nWatchFolders=") +
                                           (setting ? "1" : "0") + "\n");
        root_ = home_->Dir() / "music";
        WriteCollection(home_->Dir(), "music", SmallCollection());
        if (!ui_.Start()) return false;
        watch_ = ui_.List().findChild<TFolderWatchCommands*>();
        if (!watch_) return false;
        watch_->SetQuietMs(kQuietMs);
        ui_.List().Scans().NewList({root_});
        return ui_.Catalogue().Albums().Count() == 6;
    }
    const Tm3u* Find(const std::string& relative) {
        return ui_.Catalogue().Directory.List.Find(root_ + "/" + relative);
    }
    const std::string kNewPlaylist = "Pink Floyd/Animals/animals.m3u";

  private slots:
    void cleanup() {
        watch_ = nullptr;
        Finish();
    }

    void addedAlbumFolderAppearsAfterTheQuietTime() {
        QVERIFY(StartWatching(true));
        QCOMPARE(watch_->WatchedRoots(), std::vector<std::string>{root_});
        Tm3u* known = const_cast<Tm3u*>(Find("Queen/live.m3u"));
        QVERIFY(known);
        known->PlayCount = 7;
        ui_.Catalogue().ListModified = false;

        WriteCollection(home_->Dir(), "music", {NewAlbum()});
        QTRY_VERIFY_WITH_TIMEOUT(Find(kNewPlaylist) != nullptr, 5000);
        const Tm3u& added = *Find(kNewPlaylist);
        QCOMPARE(added.Artist.str(), std::string("Pink Floyd"));
        QCOMPARE(added.Tracks.Count(), size_t(2));
        QCOMPARE(ui_.Catalogue().Albums().Count(), size_t(7));
        QCOMPARE(Find("Queen/live.m3u"), known);  // the same album, values kept
        QCOMPARE(known->PlayCount, 7);
        QVERIFY(ui_.Catalogue().ListModified);
        QCOMPARE(ui_.List().Views().Page().AlbumRows(), 7);
        QVERIFY(ui_.prompts->errors.isEmpty());
    }

    void removedAlbumFolderDisappears() {
        QVERIFY(StartWatching(true));
        QVERIFY(Find("Beatles/Help/help.m3u"));
        std::filesystem::remove_all(root_ + "/Beatles/Help");
        QTRY_VERIFY_WITH_TIMEOUT(Find("Beatles/Help/help.m3u") == nullptr, 5000);
        QCOMPARE(ui_.Catalogue().Albums().Count(), size_t(5));
        QVERIFY(Find("Beatles/Abbey Road/abbey.m3u"));
        QCOMPARE(ui_.List().Views().Page().AlbumRows(), 5);
    }

    void settingOffFollowsNothing() {
        QVERIFY(StartWatching(false));
        QVERIFY(watch_->WatchedRoots().empty());
        WriteCollection(home_->Dir(), "music", {NewAlbum()});
        QTest::qWait(kSettleMs);
        QVERIFY(Find(kNewPlaylist) == nullptr);
        QCOMPARE(ui_.Catalogue().Albums().Count(), size_t(6));
    }

    void busyWindowPutsTheScanOff_data() {
        QTest::addColumn<bool>("dialog");
        QTest::newRow("another scan") << false;
        QTest::newRow("a dialog") << true;
    }
    void busyWindowPutsTheScanOff() {
        QFETCH(bool, dialog);
        QVERIFY(StartWatching(true));
        {
            std::unique_ptr<TShellBusy> busy;
            std::unique_ptr<QDialog> modal;
            if (dialog) {
                modal = std::make_unique<QDialog>(&ui_.Window());
                modal->setModal(true);
                modal->show();
            } else {
                busy = std::make_unique<TShellBusy>(ui_.Window());
            }
            WriteCollection(home_->Dir(), "music", {NewAlbum()});
            QTest::qWait(kSettleMs);
            QVERIFY(Find(kNewPlaylist) == nullptr);
        }
        QTRY_VERIFY_WITH_TIMEOUT(Find(kNewPlaylist) != nullptr, 5000);
    }

    void watchFollowsTheListAndTheSetting() {
        QVERIFY(StartWatching(true));
        ui_.Catalogue().ListModified = false;  // closing asks nothing
        ui_.Window().Action(TCommandId::FileClose)->trigger();
        QVERIFY(watch_->WatchedRoots().empty());
        WriteCollection(home_->Dir(), "music", {NewAlbum()});
        QTest::qWait(kSettleMs);
        QVERIFY(ui_.Catalogue().Albums().Empty());

        ui_.List().Scans().NewList({root_});
        QCOMPARE(watch_->WatchedRoots(), std::vector<std::string>{root_});
        ui_.app->Session().Settings.WatchFolders = false;
        ui_.app->Session().NotifyChanged();
        QVERIFY(watch_->WatchedRoots().empty());
    }
};

QTEST_MAIN(ListPageWatchTest)
#include "listpage_watch_test.moc"
