// The player inside a window: commands from the queue grid, the player timer,
// play statistics, Jump, the progress bar, the volume sliders and the remote
// commander.  The catalogue is a stand-in album source; sound goes to SDL's
// silent dummy output.
#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include "TempDir.h"
#include "collection/Um3u_obj.h"
#include "core/Settings.h"
#include "gui/common/DesktopOpen.h"
#include "gui/player/Marquee.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/player/PlayerController.h"
#include "gui/player/PlayerPanel.h"
#include "gui/player/QueueGrid.h"
#include "gui/player/Uslidecover.h"
#include "gui/player/spectrum.h"
#include "player_rig.h"

namespace {
std::string Fixture(const std::string& name) {
    return std::string(MAVELO_TEST_DATA) + "/player/" + name;
}

class TFakeAlbums : public TPlayerAlbumSource {
  public:
    Tm3u* CurrentAlbum() override { return current; }
    Tmp3* CurrentTrack() override { return track; }
    std::vector<Tm3u*> ShownAlbums() override { return shown; }
    bool SelectAlbum(const std::string& artist, const std::string& album, const std::string& genre,
                     int32_t year) override {
        asked = artist + "|" + album + "|" + genre + "|" + std::to_string(year);
        return found;
    }
    void MarkListModified() override { ++modified; }

    Tm3u* current = nullptr;
    Tmp3* track = nullptr;
    std::vector<Tm3u*> shown;
    std::string asked;
    bool found = true;
    int modified = 0;
};

// An album of the given fixture files, tagged with one artist and album.
std::unique_ptr<Tm3u> MakeAlbum(const std::vector<std::string>& files) {
    auto album = std::make_unique<Tm3u>("/music/Artist - Album (2001).m3u");
    for (const auto& f : files) {
        Tmp3& track = album->Tracks[album->AddTrack(Fixture(f), false)];
        track.Title = f;
        track.Artist = "Artist";
        track.Album = "Album";
        track.Genre = "Rock";
        track.Year = 2001;
    }
    return album;
}
}  // namespace

class PlayerControllerTest : public QObject {
    Q_OBJECT
  private:
    TFakeAlbums albums;
    std::unique_ptr<TPlayerRig> rig;
    TPlayerController* player = nullptr;

    TQueueGrid* Grid() const { return player->Panel()->Grid(); }
    QString TimeText() const { return player->Panel()->TimeLabel()->text(); }

  private slots:
    void init() {
        qputenv("SDL_AUDIODRIVER", "dummy");
        albums = TFakeAlbums();
        rig = std::make_unique<TPlayerRig>(albums);
        player = rig->player;
        TSettings settings;
        settings.OutputType = TSoundSystem::OutputTypeOf("dummy");
        QVERIFY(player->InitSound(settings).empty());
        QVERIFY(player->Sound().Available());
        player->Start();
    }
    void cleanup() { rig.reset(); }

    void playAlbumFillsTheQueueAndCountsOnePlay() {
        auto album = MakeAlbum({"tone.wav", "tone.ogg"});
        albums.current = album.get();
        player->Action(TCommandId::PlaylistPlayAlbum)->trigger();
        QCOMPARE(player->Queue().Count(), size_t{2});
        QCOMPARE(player->Queue().Current, std::optional<size_t>(0));
        QCOMPARE(Grid()->SelectedRow(), 1);
        QCOMPARE(album->PlayCount, 1);
        QCOMPARE(album->LastPlayed.size(), size_t(14));
        QCOMPARE(albums.modified, 1);
        QCOMPARE(Grid()->Model().index(0, 2).data().toString(), QString("tone.wav"));
        QVERIFY(Grid()->Model().index(0, 2).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!Grid()->Model().index(1, 2).data(Qt::FontRole).value<QFont>().bold());
        QCOMPARE(player->Remote()->windowTitle(), QString("Artist - Album (2001)"));
        QCOMPARE(player->Remote()->Marquee()->Text(), QString("tone.wav - "));
        // Measured on the way in: the catalogue's track learnt its duration.
        QCOMPARE(album->Tracks[0].Duration, 2000);
    }

    void albumWhoseTracksAllFailCountsNoPlay() {
        TempDir dir;
        Tm3u album(dir / "a.m3u");
        album.AddTrack(dir / "missing.mp3", false);  // duration 0: measured, and missing
        albums.current = &album;
        player->Action(TCommandId::PlaylistAddAlbum)->trigger();
        QCOMPARE(player->Queue().Count(), size_t{0});
        QCOMPARE(album.PlayCount, 0);
        QCOMPARE(albums.modified, 0);
    }

    void timerAdvancesThroughTheQueueAndStopsAtItsEnd() {
        auto album = MakeAlbum({"tone.wav", "tone.mod"});
        albums.current = album.get();
        player->PlayAlbum();
        QVERIFY(player->Panel()->Spectrum() != nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(player->Queue().Current == 1u, 30000);
        QCOMPARE(Grid()->SelectedRow(), 2);
        QVERIFY(player->Panel()->Spectrum()->Active());
        QTRY_VERIFY_WITH_TIMEOUT(!player->Queue().Current, 30000);
        QCOMPARE(Grid()->SelectedRow(), 2);  // the last row stays selected
        QCOMPARE(TimeText(), QString("0:00 / 0:00"));
        QCOMPARE(player->Panel()->BitrateLabel()->text(), QString("- kb"));
        QTRY_VERIFY(!player->Panel()->Spectrum()->Active());
    }

    void emptyQueueCommandsChangeNothing() {
        using C = TCommandId;
        for (C id :
             {C::PlaylistPlay, C::PlaylistNext, C::PlaylistPrev, C::PlaylistPause, C::PlaylistStop})
            player->Action(id)->trigger();
        QCOMPARE(player->Queue().Current, std::optional<size_t>());
        QCOMPARE(TimeText(), QString("0:00 / 0:00"));
        QCOMPARE(player->Panel()->BitrateLabel()->text(), QString("- kb"));
    }

    void jumpAsksForThePlayingAlbumOrSaysWhy() {
        player->JumpToPlayingAlbum();
        QCOMPARE(rig->prompts.errors, QStringList{"No album is currently playing !"});
        auto album = MakeAlbum({"tone.ogg"});
        albums.current = album.get();
        player->PlayAlbum();
        player->JumpToPlayingAlbum();
        QCOMPARE(albums.asked, std::string("Artist|Album|Rock|2001"));
        QCOMPARE(rig->prompts.errors.size(), 1);
        albums.found = false;
        player->JumpToPlayingAlbum();
        QCOMPARE(rig->prompts.errors.last(), QString("I could not find the album"));
    }

    void clickInTheMiddleOfTheProgressBarSeeksHalfWay() {
        auto album = MakeAlbum({"tone.ogg"});
        albums.current = album.get();
        player->PlayAlbum();
        TSeekBar* bar = player->Panel()->Progress();
        bar->resize(200, 10);
        QCOMPARE(bar->maximum(), 2);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->contentsRect().width() / 2, 5));
        QCOMPARE(player->Queue().GetTimes().Position, 1);
    }

    void volumeSlidersFollowEachOther() {
        QSlider* main = player->Panel()->VolumeSlider();
        QSlider* remote = player->Remote()->VolumeSlider();
        main->setValue(128);
        QCOMPARE(remote->value(), 128);
        QCOMPARE(player->Queue().Volume, 128);
        QCOMPARE(main->toolTip(), QString("50 %"));
        remote->setValue(255);
        QCOMPARE(main->value(), 255);
        QCOMPARE(player->Queue().Volume, 255);
        QCOMPARE(remote->toolTip(), QString("100 %"));
        QCOMPARE(main->toolTip(), QString("50 %"));  // the remote's move does not echo back
    }

    void savedVolumeReachesTheQueueEvenAtTheSliderStart() {
        TPlayerRig rig2(albums);
        TPlayerController& fresh = *rig2.player;
        TSettings settings;
        settings.OutputType = TSoundSystem::OutputTypeOf("dummy");
        settings.Volume = 128;            // where the slider starts
        (void)fresh.InitSound(settings);  // the dummy output is taken
        QCOMPARE(fresh.Queue().Volume, 128);
    }

    void moveSwitchesShuffleOffAndKeepsTheBlockSelected() {
        auto album = MakeAlbum({"tone.wav", "tone.ogg", "tone.mp3"});
        for (const auto& entry : album->Tracks)
            entry.object->Duration = 2000;  // nothing to measure
        albums.current = album.get();
        player->AddAlbum();
        player->Panel()->ShuffleButton()->setChecked(true);
        QVERIFY(player->Queue().Shuffle);
        Grid()->SelectRange(2, 3);
        player->Action(TCommandId::PlaylistTrackUp)->trigger();
        QVERIFY(!player->Queue().Shuffle);
        QVERIFY(!player->Panel()->ShuffleButton()->isChecked());
        QCOMPARE(Grid()->Model().index(0, 2).data().toString(), QString("tone.ogg"));
        QCOMPARE(Grid()->Model().index(2, 2).data().toString(), QString("tone.wav"));
        int top = 0, bottom = 0;
        QVERIFY(Grid()->SelectedRange(top, bottom));
        QCOMPARE(std::make_pair(top, bottom), std::make_pair(1, 2));
        player->Action(TCommandId::PlaylistTrackUp)->trigger();  // already at the top
        QCOMPARE(Grid()->Model().index(0, 2).data().toString(), QString("tone.ogg"));

        Grid()->SelectRow(2);
        player->Action(TCommandId::PlaylistRemoveTrack)->trigger();
        QCOMPARE(player->Queue().Count(), size_t{2});
        QCOMPARE(Grid()->Model().index(1, 2).data().toString(), QString("tone.wav"));
    }

    void remoteCommanderWithoutTagsOrPicture() {
        auto album = MakeAlbum({"tone.ogg"});
        album->Tracks[0].Artist.clear();
        albums.current = album.get();
        player->PlayAlbum();
        QAction* show = player->Action(TCommandId::PlaylistRemoteCommander);
        show->setChecked(true);
        TFormRemoteCommander* remote = player->Remote();
        QVERIFY(remote->isVisible());
        QCOMPARE(remote->windowTitle(), QString("No track name"));
        QVERIFY(remote->Image()->isHidden());
        QCOMPARE(remote->CoverCaption()->text(), QString("No cover picture"));
        QVERIFY(remote->Marquee()->Scrolling());
        QVERIFY(remote->windowFlags() & Qt::WindowStaysOnTopHint);
        remote->close();  // the close box
        QVERIFY(!show->isChecked());
        QVERIFY(!remote->Marquee()->Scrolling());
    }

    // In a narrow pane the title gives way: numbers (of any size) and times
    // stay in view, and a click never scrolls the queue sideways.
    void queueGridFitsItsPane() {
        auto album = MakeAlbum({"tone.wav"});
        Tmp3& track = album->Tracks[0];
        track.Duration = 2000;
        track.Title = std::string(200, 'x');
        for (int i = 0; i < 12345; ++i) QVERIFY(player->Queue().Add("", track, false, false));
        player->RefreshQueueGrid();
        rig->shell.Window()->resize(400, 400);
        rig->shell.Window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig->shell.Window()));
        Grid()->setFixedWidth(170);
        QCoreApplication::processEvents();
        QFont bold = Grid()->font();
        bold.setBold(true);
        QVERIFY(Grid()->columnWidth(0) > QFontMetrics(bold).horizontalAdvance("12345"));
        const int width = Grid()->viewport()->width();
        QVERIFY(Grid()->columnWidth(0) + Grid()->columnWidth(1) + Grid()->columnWidth(2) <= width);
        const QRect title = Grid()->visualRect(Grid()->Model().index(2, 2));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, title.center());
        QCOMPARE(Grid()->SelectedRow(), 3);
        QCOMPARE(Grid()->horizontalScrollBar()->value(), 0);
        QCOMPARE(Grid()->columnViewportPosition(0), 0);
    }

    // Nothing plays: the user is told why, with the file to look at.
    void albumThatDoesNotPlaySaysWhy() {
        TempDir dir;
        Tm3u album(dir / "a.m3u");
        Tmp3& track = album.Tracks[album.AddTrack(dir / "gone.mp3", false)];
        albums.current = &album;
        for (int duration : {1000, 0}) {  // queued unmeasured / measured and refused
            rig->prompts.errors.clear();
            track.Duration = duration;
            player->PlayAlbum();
            QCOMPARE(rig->prompts.errors.size(), 1);
            QVERIFY(rig->prompts.errors[0].startsWith("The album could not be played:"));
            QVERIFY(rig->prompts.errors[0].contains(
                QString::fromStdString("File not found " + track.Path)));
        }
        albums.track = &track;
        rig->prompts.errors.clear();
        player->PlayTrack();
        QCOMPARE(rig->prompts.errors.size(), 1);
        QVERIFY(rig->prompts.errors[0].startsWith("The track could not be played:"));
        // An album that plays says nothing.
        rig->prompts.errors.clear();
        auto playable = MakeAlbum({"tone.wav"});
        albums.current = playable.get();
        player->PlayAlbum();
        QCOMPARE(player->Queue().Current, std::optional<size_t>(0));
        QVERIFY(rig->prompts.errors.isEmpty());
    }

    // Playing outside without a desktop program for the file says so and
    // counts no play.
    void externalPlayThatTheDesktopCannotOpenSaysSo() {
        const auto saved = DesktopUrlOpener();
        QList<QUrl> asked;
        bool opens = false;
        DesktopUrlOpener() = [&](const QUrl& url) {
            asked << url;
            return opens;
        };
        auto album = MakeAlbum({"tone.wav"});
        albums.current = album.get();
        albums.track = &album->Tracks[0];
        player->Action(TCommandId::PlaylistPlayAlbumExt)->trigger();
        player->Action(TCommandId::PlaylistPlayTrackExt)->trigger();
        opens = true;
        player->Action(TCommandId::PlaylistPlayAlbumExt)->trigger();
        DesktopUrlOpener() = saved;
        QCOMPARE(asked.size(), 3);
        QCOMPARE(asked[0].toLocalFile(), QString::fromStdString(album->PlaylistPath));
        QCOMPARE(asked[1].toLocalFile(), QString::fromStdString(album->Tracks[0].Path));
        QCOMPARE(rig->prompts.errors.size(), 2);
        QVERIFY(rig->prompts.errors[0].contains(QString::fromStdString(album->PlaylistPath)));
        QVERIFY(rig->prompts.errors[0].contains("xdg-open"));
        QVERIFY(rig->prompts.errors[1].contains(QString::fromStdString(album->Tracks[0].Path)));
        QCOMPARE(album->PlayCount, 1);  // the one that opened
        QCOMPARE(albums.modified, 1);
    }
};

QTEST_MAIN(PlayerControllerTest)
#include "player_controller_test.moc"
