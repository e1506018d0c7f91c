// The covers management window and the replacement window on their own:
// browsing, removing, viewing another file, merging, and the answers of the
// replacement window.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "collection/Um3u_obj.h"
#include "covers/CoverTransfer.h"
#include "covers/Ucov_obj.h"
#include "covers_fixture.h"
#include "gui/common/DropPan.h"
#include "gui/covers/Ucovers.h"
#include "gui/covers/Upicrep.h"

namespace {
// A database file of the albums' pictures.
void WriteDb(const std::string& path, const TDirectory& albums) {
    TCoverDb db;
    AddAllAlbumCovers(albums, db);
    QVERIFY(WriteCoverDbFile(path, db, false));
}

// A database of many artists with large thumbnails, so that reading and
// writing it take a while.
void WriteLargeDb(const std::string& path, int artists) {
    TCoverDb db;
    const std::string thumbnail(200000, 'x');
    for (int a = 0; a < artists; ++a) {
        auto artist = std::make_unique<TArtist>();
        artist->Name = "Artist " + std::to_string(1000 + a);
        auto cover = std::make_unique<TCover>();
        cover->AlbumTitle = "Album";
        cover->Offset = int32_t(db.Thumbnails.size());
        cover->Size = int32_t(thumbnail.size());
        db.Thumbnails += thumbnail;
        artist->Covers.Add("album", std::move(cover));
        db.Artists.Add("artist" + std::to_string(1000 + a), std::move(artist));
    }
    QVERIFY(WriteCoverDbFile(path, db, false));
}
}  // namespace

class CoversWindowsTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<TScriptedPrompts> prompts;
    std::unique_ptr<TScriptedCoverPrompts> coverPrompts;
    std::unique_ptr<TFormCoversManagement> window;
    TDirectory albums;

    std::string Home() { return *dir / "home"; }
    std::string LocalDb() { return Home() + "/mavelo.cdb"; }
    QStringList Rows(QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        dir->Folder("home");
        prompts = std::make_unique<TScriptedPrompts>();
        coverPrompts = std::make_unique<TScriptedCoverPrompts>();
        window = std::make_unique<TFormCoversManagement>(*prompts, *coverPrompts);
        albums.List.Clear();
        AddAlbum(albums, *dir, "a1", "Abba", "Waterloo", "red_600x600.jpg");
        AddAlbum(albums, *dir, "a2", "ABBA", "Arrival", "blue_300x100.jpg");
        AddAlbum(albums, *dir, "b", "Beatles", "Help", "green_100x300.jpg");
        WriteDb(LocalDb(), albums);
    }
    void cleanup() { window.reset(); }

    void browsesArtistsAndAlbumsInKeyOrder() {
        window->Start(Home(), 0);
        QCOMPARE(window->windowTitle(), "Local CoversDB");
        QCOMPARE(Rows(window->Artists()), (QStringList{"Abba", "Beatles"}));
        QCOMPARE(Rows(window->Albums()), (QStringList{"Arrival", "Waterloo"}));
        QCOMPARE(window->QualityLabel()->text(), "Normal quality (128x128) small size");
        QCOMPARE(window->Picture()->Picture().size(), QSize(128, 128));
        window->Artists()->setCurrentRow(1);
        QCOMPARE(Rows(window->Albums()), QStringList{"Help"});
        QCOMPARE(window->Picture()->Picture().size(), QSize(100, 100));
    }

    void savesTheCoverBytesUnchanged() {
        window->Start(Home(), 0);
        prompts->saveFile = QString::fromStdString(*dir / "saved.jpg");
        window->SaveCoverButton()->click();
        TCoverDb db;
        ReadCoverDbFile(LocalDb(), db);
        QCOMPARE(FileBytes(*dir / "saved.jpg"),
                 db.CoverBytes(*db.FindCover("abba", "arrival").Cover));
    }

    void removalsAreWrittenOnceWhenTheWindowCloses() {
        window->Start(Home(), 0);
        window->open();
        coverPrompts->okAnswers = {false, true, true};
        window->RemoveAlbumButton()->click();  // closed without OK: kept
        QCOMPARE(Rows(window->Albums()), (QStringList{"Arrival", "Waterloo"}));
        window->RemoveAlbumButton()->click();
        QCOMPARE(Rows(window->Albums()), QStringList{"Waterloo"});
        window->Artists()->setCurrentRow(1);
        window->RemoveAlbumButton()->click();  // the last album takes its artist along
        QCOMPARE(Rows(window->Artists()), QStringList{"Abba"});
        QVERIFY(window->Modified());
        const std::string before = FileBytes(LocalDb());
        window->close();
        QVERIFY(FileBytes(LocalDb()) != before);
        QCOMPARE(FileBytes(LocalDb() + ".bak"), before);
        TCoverDb db;
        QVERIFY(ReadCoverDbFile(LocalDb(), db));
        QCOMPARE(db.CoverCount(), size_t(1));
        QVERIFY(db.FindCover("Abba", "Waterloo").Cover);
        // Closed again without changes: not written again.
        std::filesystem::remove(LocalDb() + ".bak");
        window->Start(Home(), 0);
        window->open();
        window->close();
        QVERIFY(!std::filesystem::exists(LocalDb() + ".bak"));
    }

    void viewingAnotherFileNeverWritesIt() {
        const std::string other = *dir / "other.cdb";
        std::filesystem::copy_file(LocalDb(), other);
        window->Start(Home(), 0);
        window->OpenDatabase(other);
        QVERIFY(window->Viewing());
        QCOMPARE(window->windowTitle(), "CoversDB : viewing other.cdb");
        QVERIFY(window->RemoveAlbumButton()->isHidden());
        QVERIFY(window->RemoveArtistButton()->isHidden());
        QVERIFY(!window->ImportAction()->isEnabled());
        QVERIFY(window->OpenLocalAction()->isEnabled());
        window->SpeedButtonDelArtistClick();
        QVERIFY(!window->Modified());
        window->OpenLocalAction()->trigger();
        QVERIFY(!window->Viewing());
        QVERIFY(!window->RemoveAlbumButton()->isHidden());

        // A file beside it whose name differs only in letter case is another file.
        std::filesystem::copy_file(LocalDb(), Home() + "/MAVELO.CDB");
        window->OpenDatabase(Home() + "/MAVELO.CDB");
        QVERIFY(window->Viewing());
    }

    void mergeAddsNewCoversAndWritesTheLocalFile() {
        TDirectory more;
        AddAlbum(more, *dir, "c", "Cure", "Wish", "red_600x600.jpg");
        AddAlbum(more, *dir, "d", "abba", "waterloo!", "green_100x300.jpg");  // a different picture
        WriteDb(*dir / "more.cdb", more);
        window->Start(Home(), 0);
        coverPrompts->replaceAnswers = {{TReplaceAnswer::No, false}};
        prompts->openFile = QString::fromStdString(*dir / "more.cdb");
        window->ImportAction()->trigger();
        QCOMPARE(prompts->informed, QStringList{"1 covers added or updated"});
        QCOMPARE(coverPrompts->offers.size(), size_t(1));
        QCOMPARE(coverPrompts->offers[0].Album, "Waterloo");
        QVERIFY(!window->Modified());  // written and read back
        QCOMPARE(Rows(window->Artists()), (QStringList{"Abba", "Beatles", "Cure"}));
        TCoverDb db;
        QVERIFY(ReadCoverDbFile(LocalDb(), db));
        QVERIFY(!db.CoverBytes(*db.FindCover("Cure", "Wish").Cover).empty());
    }

    void mergeThatAddsNothingLeavesTheFileAlone() {
        window->Start(Home(), 0);
        const auto stamp = std::filesystem::last_write_time(LocalDb());
        prompts->openFile = QString::fromStdString(LocalDb());
        window->ImportAction()->trigger();
        QCOMPARE(prompts->informed, QStringList{"Nothing updated"});
        QCOMPARE(std::filesystem::last_write_time(LocalDb()), stamp);
        QVERIFY(!std::filesystem::exists(LocalDb() + ".bak"));

        // A file of another version: the version message, then nothing updated.
        std::ofstream(*dir / "old.cdb", std::ios::binary)
            << std::string("\xe8\x03\0\0\0\0\0\0\0\0\0\0", 12);
        prompts->openFile = QString::fromStdString(*dir / "old.cdb");
        window->ImportAction()->trigger();
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY(prompts->errors[0].contains("version is wrong"));
        QCOMPARE(prompts->informed.last(), "Nothing updated");
    }

    void damagedLocalFileIsShownAsAnErrorAndNeverWritten() {
        const std::string whole = FileBytes(LocalDb());
        std::filesystem::resize_file(LocalDb(), whole.size() - 5);
        const std::string damaged = FileBytes(LocalDb());
        window->Start(Home(), 0);
        window->open();
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY2(prompts->errors[0].startsWith(
                     QString::fromStdString("Could not read file " + LocalDb() + ": ")),
                 qPrintable(prompts->errors[0]));
        QVERIFY(prompts->informed.isEmpty());
        // Nothing half-read is offered for removal, and nothing is written back.
        QCOMPARE(window->Artists()->count(), 0);
        QVERIFY(window->RemoveArtistButton()->isHidden());
        QVERIFY(!window->ImportAction()->isEnabled());
        window->SpeedButtonDelArtistClick();
        window->close();
        QCOMPARE(FileBytes(LocalDb()), damaged);
        QVERIFY(!std::filesystem::exists(LocalDb() + ".bak"));

        // A damaged file to merge is named; the local file stays as it is.
        WriteDb(LocalDb(), albums);
        const std::string local = FileBytes(LocalDb());
        const std::string other = *dir / "other.cdb";
        std::filesystem::copy_file(LocalDb(), other);
        std::filesystem::resize_file(other, local.size() - 5);
        prompts->errors.clear();
        window->Start(Home(), 0);
        window->MergeFile(other);
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY(prompts->errors[0].startsWith(
            QString::fromStdString("Could not read file " + other + ": ")));
        QCOMPARE(FileBytes(LocalDb()), local);
    }

    void clicksDuringTheWorkChangeNothing() {
        // The window reads and writes off its thread and keeps handling
        // events meanwhile; clicks that arrive then must not touch the
        // database being written.
        WriteLargeDb(LocalDb(), 60);
        int whileBusy = 0;
        QTimer clicker;
        clicker.setInterval(0);
        connect(&clicker, &QTimer::timeout, this, [&] {
            if (!window->Busy()) return;
            ++whileBusy;
            window->RemoveArtistButton()->click();
            window->SpeedButtonDelArtistClick();
            window->SpeedButtonDelAlbumClick();
            window->ActionCDBOpenLocalExecute();
            window->close();
        });
        clicker.start();
        window->Start(Home(), 0);
        window->open();
        QCOMPARE(window->Database()->Artists.Count(), size_t(60));
        window->SpeedButtonDelArtistClick();  // now a removal that counts
        QCOMPARE(window->Database()->Artists.Count(), size_t(59));
        window->close();
        clicker.stop();
        QVERIFY(whileBusy > 0);
        QVERIFY(!window->isVisible());
        TCoverDb db;
        QVERIFY(ReadCoverDbFile(LocalDb(), db));
        QCOMPARE(db.Artists.Count(), size_t(59));
        QCOMPARE(db.CoverBytes(*db.FindCover("Artist 1059", "Album").Cover).size(), size_t(200000));
    }

    void replacementWindowShowsTheOfferAndAnswers() {
        TFormPictureReplace form;
        const struct {
            const char* button;
            TReplaceAnswer answer;
        } cases[] = {{"ButtonYes", TReplaceAnswer::Yes},
                     {"ButtonNo", TReplaceAnswer::No},
                     {"ButtonStop", TReplaceAnswer::Stop}};
        for (const auto& c : cases) {
            form.Prepare({"Abba", "Arrival", "", FileBytes(CoverFixture("blue_300x100.jpg"))},
                         false);
            QCOMPARE(form.ArtistLabel()->text(), "Abba");
            QCOMPARE(form.AlbumLabel()->text(), "Arrival");
            QVERIFY(form.CurrentPicture()->pixmap().isNull());
            QCOMPARE(form.OfferedPicture()->pixmap().size(), QSize(128, 42));
            QVERIFY(!form.ApplyForAllBox()->isChecked());
            form.ApplyForAllBox()->setChecked(true);
            form.findChild<QPushButton*>(c.button)->click();
            QCOMPARE(form.Answer(), c.answer);
            QVERIFY(form.ApplyForAll());
        }
        // Closing the window any other way is Stop; a broken picture leaves its box empty.
        form.Prepare({"A", "B", "not a jpeg", "neither"}, true);
        QVERIFY(form.ApplyForAllBox()->isChecked());
        QVERIFY(form.OfferedPicture()->pixmap().isNull());
        form.reject();
        QCOMPARE(form.Answer(), TReplaceAnswer::Stop);
    }
};

QTEST_MAIN(CoversWindowsTest)
#include "covers_windows_test.moc"
