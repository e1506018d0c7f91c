// Scans from the window run on a worker thread: the status bar shows the
// folders done out of the total with a bar and Cancel, the window keeps
// handling its events, and a cancelled scan leaves the catalogue as it was.
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <tuple>

#include "collection/Udir_obj.h"
#include "gui/list/CdCommands.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/shell/BusyMode.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"

namespace {

// Holds the scan's tag reads until opened, so that a test sees the scan
// while it runs; notes whether a read ran on the window's thread.
struct TagGate {
    std::atomic<bool> open{false};
    std::atomic<bool> readOnWindowThread{false};
    std::atomic<int> reads{0};
    std::thread::id windowThread = std::this_thread::get_id();

    TTagReader Reader() {
        return [this](Tmp3& track) {
            if (std::this_thread::get_id() == windowThread) readOnWindowThread = true;
            while (!open) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ++reads;
            return track.ReadTags();
        };
    }
};

// What the catalogue holds, album by album: the object, its key, the scanned
// values, the user's values and the tracks.
using AlbumState =
    std::tuple<const Tm3u*, std::string, std::string, std::string, int, TAlbumStatus, int, size_t>;

std::vector<AlbumState> StateOf(const TCatalogue& catalogue) {
    std::vector<AlbumState> state;
    for (const auto& entry : catalogue.Albums()) {
        const Tm3u& a = *entry.object;
        state.emplace_back(&a, entry.key.str(), a.Artist.str(), a.Album.str(), a.Year, a.Status,
                           a.PlayCount, a.Tracks.Count());
    }
    return state;
}

}  // namespace

class ListPageScanTest : public ListPageTestCase {
    Q_OBJECT

  private:
    TCatalogue& Catalogue() { return ui_.Catalogue(); }
    template <typename T>
    T* Child(const char* name) {
        return ui_.Window().findChild<T*>(name);
    }
    bool ScanShowsItsTotal() {
        auto* bar = Child<QProgressBar>("ProgressBar");
        return ui_.Window().Busy().IsBusy() && bar->isVisible() && bar->maximum() > 0;
    }
    // A click on Cancel as the window system delivers it: to the window
    // first, which busy mode would drop, not straight to the button.
    void ClickCancel() {
        auto* button = Child<QPushButton>("ScanCancel");
        QWindow* window = ui_.Window().windowHandle();
        const QPoint at = button->mapTo(&ui_.Window(), button->rect().center());
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    }
    // Changes on disk that a rescan would take: one album gone, one new.
    void ChangeTheCollection() {
        std::filesystem::remove(root_ + "/Misc/loose.m3u");
        WriteCollection(home_->Dir(), "music",
                        {{"New", "new.m3u", "Nina", "Fresh", "Pop", 2001, {{"01.mp3", "One"}}}});
    }

  private slots:
    void init() { QVERIFY(StartOnCollection(true)); }
    void cleanup() { Finish(); }

    void scanShowsTheTotalAndRunsOffTheWindowThread() {
        TagGate gate;
        Catalogue().Directory.TagReader = gate.Reader();
        int ticksWhileHeld = 0;
        QStringList texts;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (!ScanShowsItsTotal()) return;
            // The scan waits in a tag read: only a free window thread gets here.
            if (gate.reads == 0) ++ticksWhileHeld;
            texts << Child<QLabel>("StatusScan")->text();
            auto* bar = Child<QProgressBar>("ProgressBar");
            QCOMPARE(bar->maximum(), 9);  // the root and its eight folders
            QVERIFY(bar->isTextVisible());
            QVERIFY(bar->text().endsWith('%'));
            QVERIFY(Child<QPushButton>("ScanCancel")->isVisible());
            if (ticksWhileHeld >= 3) gate.open = true;
        });
        timer.start(5);
        ui_.List().Scans().Rescan(true);
        timer.stop();

        QVERIFY(ticksWhileHeld >= 3);
        QVERIFY(!gate.readOnWindowThread);
        QVERIFY(gate.reads > 0);
        QVERIFY(!texts.isEmpty());
        for (const QString& text : texts)
            QVERIFY2(QRegularExpression("^[0-9] / 9 scanned directories$").match(text).hasMatch(),
                     qPrintable(text));
        QVERIFY(!ui_.Window().Busy().IsBusy());
        QVERIFY(!Child<QPushButton>("ScanCancel")->isVisible());
        QVERIFY(!Child<QProgressBar>("ProgressBar")->isVisible());
        QCOMPARE(Child<QLabel>("StatusScan")->text(), QString("9 scanned directories"));
        QCOMPARE(Catalogue().Albums().Count(), size_t(6));
    }

    void cancelLeavesTheCatalogueAsItWas_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void cancelLeavesTheCatalogueAsItWas() {
        QFETCH(bool, byEscape);
        Catalogue().Albums()[0].Status = TAlbumStatus::Green;
        Catalogue().Albums()[1].PlayCount = 7;
        Catalogue().ListModified = false;
        ChangeTheCollection();
        const std::vector<AlbumState> before = StateOf(Catalogue());
        const std::vector<std::string> roots = Catalogue().Roots.Folders();

        TagGate gate;
        Catalogue().Directory.TagReader = gate.Reader();
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (!ScanShowsItsTotal() || gate.open) return;
            // Input reaches Cancel although busy mode drops the window's input.
            if (byEscape)
                QTest::keyClick(&ui_.Window(), Qt::Key_Escape);
            else
                ClickCancel();
            gate.open = true;
        });
        timer.start(5);
        ui_.List().Scans().Rescan(true);
        timer.stop();

        QVERIFY(gate.open);
        QVERIFY(StateOf(Catalogue()) == before);
        QVERIFY(Catalogue().Roots.Folders() == roots);
        QVERIFY(!Catalogue().ListModified);
        QCOMPARE(Page().AlbumRows(), int(before.size()));

        // The same scan run to its end takes the changes and keeps the
        // albums found again, with the user's values.
        Catalogue().Directory.TagReader = {};
        const Tm3u* rated = std::get<0>(before[0]);
        ui_.List().Scans().Rescan(true);
        QVERIFY(Catalogue().ListModified);
        QCOMPARE(Catalogue().Albums().Count(), before.size());  // one gone, one new
        QVERIFY(!Catalogue().Directory.List.Find(root_ + "/Misc/loose.m3u"));
        QVERIFY(Catalogue().Directory.List.Find(root_ + "/New/new.m3u"));
        QCOMPARE(Catalogue().Albums()[0].Status, TAlbumStatus::Green);
        QCOMPARE(&Catalogue().Albums()[0], rated);
        QCOMPARE(Catalogue().Albums()[1].PlayCount, 7);
    }

    void cancelledNewRootIsNotAdded() {
        const std::string other = home_->Dir().Folder("other");
        WriteCollection(home_->Dir(), "other", SmallCollection());
        const std::vector<AlbumState> before = StateOf(Catalogue());
        TagGate gate;
        Catalogue().Directory.TagReader = gate.Reader();
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (!ScanShowsItsTotal() || gate.open) return;
            ClickCancel();
            gate.open = true;
        });
        timer.start(5);
        ui_.List().Scans().AddRoots({other});
        timer.stop();
        QVERIFY(gate.open);
        QVERIFY(StateOf(Catalogue()) == before);
        QVERIFY(!Catalogue().Roots.Contains(other));
    }

    void discScanRunsOffTheWindowThreadAndCancels() {
        const std::string disc = home_->Dir().Folder("disc");
        WriteCollection(home_->Dir(), "disc", SmallCollection());
        const std::vector<AlbumState> before = StateOf(Catalogue());
        const std::vector<std::string> roots = Catalogue().Roots.Folders();
        const std::string file = Catalogue().CurrentFile;

        TagGate gate;
        Catalogue().Directory.TagReader = gate.Reader();
        bool cancel = true;
        int ticksWhileHeld = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (!ScanShowsItsTotal() || gate.open) return;
            if (gate.reads == 0) ++ticksWhileHeld;
            if (cancel) ClickCancel();
            if (ticksWhileHeld >= 3 || cancel) gate.open = true;
        });
        timer.start(5);
        QVERIFY(!ui_.List().Cd().OpenCd(disc));
        QVERIFY(gate.open);
        QVERIFY(StateOf(Catalogue()) == before);
        QVERIFY(Catalogue().Roots.Folders() == roots);
        QCOMPARE(Catalogue().CurrentFile, file);
        QVERIFY(!ui_.Window().Busy().IsBusy());

        // Not cancelled, the disc's albums replace the list's.
        cancel = false;
        gate.open = false;
        gate.reads = 0;
        QVERIFY(ui_.List().Cd().OpenCd(disc));
        timer.stop();
        QVERIFY(ticksWhileHeld >= 3);
        QVERIFY(!gate.readOnWindowThread);
        QCOMPARE(Catalogue().Roots.Folders(), std::vector<std::string>{disc});
        QVERIFY(Catalogue().CurrentFile.empty());
        QCOMPARE(Page().AlbumRows(), int(SmallCollection().size()));
    }

  private:
    TListPage& Page() { return ui_.List().Views().Page(); }
};

QTEST_MAIN(ListPageScanTest)
#include "listpage_scan_test.moc"
