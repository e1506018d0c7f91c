// The covers management window and the replacement window on their own:
// browsing, removing, viewing another file, merging, and the answers of the
// replacement window.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

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
    QCOMPARE(WriteCoverDbFile(path, db, false), std::string());
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
        QVERIFY(ReadCoverDbFile(LocalDb(), db).read);
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
        QVERIFY(ReadCoverDbFile(LocalDb(), db).read);
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
