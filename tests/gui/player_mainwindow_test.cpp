// The player inside the main window with the list page: playing the current
// album from the album grid, Jump back to the playing album, and the queue
// saved at exit and restored at the next start.
#include <QtTest>

#include <QAction>
#include <QHeaderView>
#include <QProgressBar>
#include <QTimer>

#include "collection/Um3u_obj.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/player/PlayerController.h"
#include "gui/player/PlayerPanel.h"
#include "gui/player/QueueGrid.h"
#include "gui/shell/BusyMode.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"

class PlayerMainWindowTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<ListHome> home_;
    ListWindowUnderTest ui_;

    TListPage& Page() const { return ui_.List().Views().Page(); }
    TPlayerController& Player() const { return ui_.app->Player(); }
    Tm3u* AlbumTitled(const std::string& title) const {
        TViewList& view = ui_.List().Views().Catalogue().View;
        for (size_t row = 0; row < view.Count(); ++row)
            if (view[row].Album == title) return &view[row];
        return nullptr;
    }

  private slots:
    void init() {
        qputenv("SDL_AUDIODRIVER", "dummy");
        home_ = std::make_unique<ListHome>();
        WriteCollection(home_->Dir(), "music", SmallCollection());
        QVERIFY(ui_.Start());
        ui_.List().Scans().NewList({home_->Dir() / "music"});
        ui_.Catalogue().ListModified = false;
    }
    void cleanup() {
        ui_.app.reset();
        home_.reset();
    }

    void playAlbumFromTheGridQueuesItsTracksAndCountsThePlay() {
        Tm3u* help = AlbumTitled("Help!");
        QVERIFY(help);
        // The fixture tracks hold no sound: with a duration they are queued
        // unmeasured (they then simply do not start).
        for (const auto& entry : help->Tracks) entry.object->Duration = 1000;
        Page().SetCurrentAlbum(help);
        ui_.Window().Action(TCommandId::PlaylistPlayAlbum)->trigger();
        const TPlayList& queue = Player().Queue();
        QCOMPARE(queue.Count(), size_t{2});
        QCOMPARE(queue.Song(0).Track.Title, std::string("Help!"));
        QCOMPARE(queue.Song(1).Track.Title, std::string("Yesterday"));
        QCOMPARE(help->PlayCount, 1);
        QVERIFY(!help->LastPlayed.empty());
        QVERIFY(ui_.Catalogue().ListModified);
        QCOMPARE(Player().Panel()->Grid()->Model().rowCount(), 2);
    }

    void jumpSelectsThePlayingAlbum() {
        Tm3u* gold = AlbumTitled("Gold");
        // Mark a song started as if it played.
        Page().SetCurrentAlbum(gold);
        for (const auto& entry : gold->Tracks) entry.object->Duration = 1000;
        ui_.Window().Action(TCommandId::PlaylistAddAlbum)->trigger();
        QCOMPARE(Player().Queue().Count(), size_t{2});
        Player().Queue().Song(0).Started = true;

        // A grid of three visible rows, scrolled to the top: the album found
        // (the second row) becomes the top visible row.
        TAlbumGrid* grid = Page().Grid();
        grid->setFixedHeight(grid->verticalHeader()->defaultSectionSize() * 3 +
                             2 * grid->frameWidth());
        QCoreApplication::processEvents();
        Page().SetCurrentAlbum(AlbumTitled("Live"));
        grid->scrollToTop();
        QCOMPARE(grid->rowAt(0), 0);
        QCOMPARE(Page().CurrentAlbum()->Album, std::string("Live"));
        ui_.Window().Action(TCommandId::PlaylistJump)->trigger();
        QCOMPARE(Page().CurrentAlbum(), gold);
        QCOMPARE(grid->rowAt(0), Page().CurrentRow());
        Player().Queue().Song(0).Started = false;
    }

    void queueIsSavedAtExitAndReadAtTheNextStart() {
        Page().SetCurrentAlbum(AlbumTitled("Abbey Road"));
        for (const auto& entry : Page().CurrentAlbum()->Tracks) entry.object->Duration = 1000;
        ui_.Window().Action(TCommandId::PlaylistAddAlbum)->trigger();
        ui_.prompts->confirmAnswers = {true};  // close without naming the new list
        ui_.Window().close();
        ui_.app.reset();
        QVERIFY(FileExists(home_->Dir() / "mavelo.els"));
        QVERIFY(ui_.Start());
        QCOMPARE(Player().Queue().Count(), size_t{2});
        QCOMPARE(Player().Queue().Song(1).Track.Title, std::string("Golden Slumbers"));
        QCOMPARE(Player().Panel()->Grid()->Model().rowCount(), 2);
    }

    void addAllAlbumsShowsItsProgressAndResetsIt() {
        auto* bar = ui_.Window().findChild<QProgressBar*>("ProgressBar");
        QVERIFY(bar);
        TViewList& view = ui_.List().Views().Catalogue().View;
        for (size_t row = 0; row < view.Count(); ++row)
            for (const auto& entry : view[row].Tracks) entry.object->Duration = 1000;
        InstallPumpEventsHook();  // adding lets pending events run, as in the program
        bool shownWhileAdding = false;
        QTimer::singleShot(0, bar, [&] { shownWhileAdding = bar->isVisible(); });
        ui_.Window().Action(TCommandId::PlaylistAddAll)->trigger();
        QCOMPARE(Player().Queue().Count(), size_t{9});
        QVERIFY(shownWhileAdding);
        QVERIFY(!bar->isVisible());
        QCOMPARE(bar->value(), bar->minimum() - 1);  // reset
    }
};

QTEST_MAIN(PlayerMainWindowTest)
#include "player_mainwindow_test.moc"
