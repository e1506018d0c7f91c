// The covers commands of the main window through their controller: album
// pictures from files, drops and the clipboard, cached covers, and the covers
// database export and import, with scripted questions.
#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>

#include <filesystem>

#include "collection/Um3u_obj.h"
#include "covers/Thumbnail.h"
#include "covers/Ucov_obj.h"
#include "covers_fixture.h"
#include "gui/common/DropPan.h"
#include "gui/covers/CoversController.h"
#include "gui/covers/Ucovers.h"

class CoversControllerTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<TSession> session;
    std::unique_ptr<TFakeShell> shell;
    std::unique_ptr<TScriptedPrompts> prompts;
    std::unique_ptr<TScriptedCoverPrompts> coverPrompts;
    std::unique_ptr<TCoversController> covers;
    Tm3u* current = nullptr;
    int pictureSignals = 0;

    Tm3uList& Albums() { return session->Catalogue.Directory.List; }
    TDirectory& Catalogue() { return session->Catalogue.Directory; }
    std::string Path(const std::string& name) { return *dir / name; }
    std::string LocalDb() { return Path("home/mavelo.cdb"); }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        dir->Folder("home");
        session = std::make_unique<TSession>();
        shell = std::make_unique<TFakeShell>();
        prompts = std::make_unique<TScriptedPrompts>();
        coverPrompts = std::make_unique<TScriptedCoverPrompts>();
        covers = std::make_unique<TCoversController>(*session, *shell, *prompts, *coverPrompts,
                                                     [this] { return current; });
        covers->ProgramFolderPath = Path("home");
        connect(covers.get(), &TCoversController::PictureChanged, this,
                [this] { ++pictureSignals; });
        AddAlbum(Catalogue(), *dir, "a", "Abba", "Arrival", "red_600x600.jpg");
        AddAlbum(Catalogue(), *dir, "b", "Beatles", "Help", "blue_300x100.jpg");
        current = &AddAlbum(Catalogue(), *dir, "c", "Cure", "Disintegration");
        pictureSignals = 0;
        Catalogue().OnCachedCoverDropped = [this] { session->MarkModified(); };
    }
    void cleanup() {
        Catalogue().OnCachedCoverDropped = {};
        covers.reset();
        QGuiApplication::clipboard()->clear();
    }

    void loadImageCopiesJpegAndConvertsOtherFormatsAtQuality90() {
        const struct {
            const char* fixture;
            bool copied;
        } cases[] = {
            {"green_100x300.jpg", true}, {"yellow_64x48.bmp", false}, {"white_40x40.png", false}};
        for (const auto& c : cases) {
            prompts->openFile = QString::fromStdString(CoverFixture(c.fixture));
            session->Catalogue.ListModified = false;
            shell->Trigger(TCommandId::AlbumLoadImage);
            QCOMPARE(prompts->lastFolder.toStdString(), Path("c/"));
            const std::string written = FileBytes(Path("c/list.jpg"));
            if (c.copied) {
                QCOMPARE(written, FileBytes(CoverFixture(c.fixture)));
            } else {
                QCOMPARE(FirstQuantisationValue(written), 3);  // quality 90
                int w = 0, h = 0;
                QVERIFY(JpegSize(written, w, h));
                QCOMPARE(QSize(w, h), QImage(prompts->openFile).size());
            }
            QCOMPARE(current->PictureState, TPictureState::Present);
            QVERIFY(session->Catalogue.ListModified);
        }
        QCOMPARE(pictureSignals, 3);
        QVERIFY(prompts->errors.isEmpty());
    }

    void loadImageFailuresAndCancelling() {
        prompts->openFile = "";  // cancelled
        shell->Trigger(TCommandId::AlbumLoadImage);
        QCOMPARE(pictureSignals, 0);

        Tm3u& abba = Albums()[0];
        current = &abba;
        abba.CachedCover = "cached";
        const std::string junk = dir->File("junk.gif", "GIF89a broken");
        prompts->openFile = QString::fromStdString(junk);
        shell->Trigger(TCommandId::AlbumLoadImage);
        QCOMPARE(prompts->errors, QStringList{"Could not read file " + prompts->openFile});
        QCOMPARE(abba.PictureState, TPictureState::Present);
        QVERIFY(abba.CachedCover.empty());
        QCOMPARE(FileBytes(Path("a/list.jpg")), FileBytes(CoverFixture("red_600x600.jpg")));

        current = nullptr;
        prompts->openFile = QString::fromStdString(CoverFixture("red_600x600.jpg"));
        shell->Trigger(TCommandId::AlbumLoadImage);
        QCOMPARE(prompts->errors.size(), 1);
    }

    void pasteTakesTheClipboardPicture() {
        QGuiApplication::clipboard()->clear();
        current->CachedCover = "cached";
        shell->Trigger(TCommandId::AlbumPasteImage);
        QCOMPARE(prompts->errors, QStringList{"Could not paste image !"});
        QVERIFY(current->CachedCover.empty());
        QCOMPARE(current->PictureState, TPictureState::Missing);

        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QGuiApplication::clipboard()->setImage(image);
        shell->Trigger(TCommandId::AlbumPasteImage);
        QCOMPARE(current->PictureState, TPictureState::Present);
        const std::string written = FileBytes(Path("c/list.jpg"));
        QCOMPARE(FirstQuantisationValue(written), 3);
        QCOMPARE(prompts->errors.size(), 1);

        // JPEG data on the clipboard is taken unchanged.
        auto* mime = new QMimeData;
        const std::string jpeg = FileBytes(CoverFixture("green_100x300.jpg"));
        mime->setData("image/jpeg", QByteArray::fromStdString(jpeg));
        QGuiApplication::clipboard()->setMimeData(mime);
        shell->Trigger(TCommandId::AlbumPasteImage);
        QCOMPARE(FileBytes(Path("c/list.jpg")), jpeg);
    }

    void deleteAsksFirst() {
        current = &Albums()[0];
        prompts->confirmAnswers = {false, true};
        shell->Trigger(TCommandId::AlbumDeleteImage);
        QVERIFY(std::filesystem::exists(Path("a/list.jpg")));
        QCOMPARE(current->PictureState, TPictureState::Present);
        shell->Trigger(TCommandId::AlbumDeleteImage);
        QVERIFY(!std::filesystem::exists(Path("a/list.jpg")));
        QCOMPARE(current->PictureState, TPictureState::Missing);
        QCOMPARE(prompts->questions, (QStringList{"Are you sure ?", "Are you sure ?"}));
    }

    void deleteThatFailsSaysSo() {
        // A folder where the picture file should be cannot be removed.
        current = &Albums()[0];
        std::filesystem::remove(Path("a/list.jpg"));
        dir->File("a/list.jpg/keep", "x");
        shell->Trigger(TCommandId::AlbumDeleteImage);
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY(prompts->errors[0].startsWith(
            QString::fromStdString("Could not delete file " + Path("a/list.jpg") + ": ")));
        QCOMPARE(current->PictureState, TPictureState::Present);
        QVERIFY(std::filesystem::exists(Path("a/list.jpg/keep")));
    }

    void damagedLocalDatabaseIsNeverWrittenBack() {
        shell->Trigger(TCommandId::ListExportCoToCdb);
        covers->Management()->close();
        std::filesystem::remove(LocalDb() + ".bak");
        // The file stops partway through the thumbnails.
        const std::string whole = FileBytes(LocalDb());
        std::filesystem::resize_file(LocalDb(), whole.size() - 10);
        const std::string damaged = FileBytes(LocalDb());
        prompts->informed.clear();
        const QString expected =
            QString::fromStdString("Could not read file " + LocalDb() + ": ");
        for (TCommandId command : {TCommandId::ListExportCoToCdb, TCommandId::ListImportFromCdb}) {
            prompts->errors.clear();
            shell->Trigger(command);
            QCOMPARE(prompts->errors.size(), 1);
            QVERIFY2(prompts->errors[0].startsWith(expected), qPrintable(prompts->errors[0]));
            QVERIFY(prompts->errors[0].contains("stops partway"));
        }
        QVERIFY(prompts->informed.isEmpty());  // neither "already up to date" nor a count
        QCOMPARE(FileBytes(LocalDb()), damaged);
        QVERIFY(!std::filesystem::exists(LocalDb() + ".bak"));
        QCOMPARE(shell->busy, 0);
    }

    void dropUsesTheFirstExistingFile() {
        const QStringList dropped =
            TDropPanel::ExistingFiles({QString::fromStdString(Path("a")),
                                       QString::fromStdString(CoverFixture("green_100x300.jpg")),
                                       QString::fromStdString(CoverFixture("red_600x600.jpg")),
                                       QString::fromStdString(Path("none.jpg"))});
        QCOMPARE(dropped.size(), 2);
        covers->PanelImageDropped(dropped);
        QCOMPARE(FileBytes(Path("c/list.jpg")), FileBytes(CoverFixture("green_100x300.jpg")));
        // Only a folder: nothing is left to use.
        covers->PanelImageDropped(TDropPanel::ExistingFiles({QString::fromStdString(Path("b"))}));
        QCOMPARE(pictureSignals, 1);
        current = nullptr;
        covers->PanelImageDropped(dropped);
        QCOMPARE(pictureSignals, 1);
    }

    void cachedCoversAreBuiltWhenShownAndAllAtOnce() {
        Tm3u& abba = Albums()[0];
        session->Settings.CacheCovers = false;
        QCOMPARE(covers->AlbumPicture(&abba).size(), QSize(600, 600));  // the picture file
        shell->Trigger(TCommandId::ListCacheCovers);
        QVERIFY(abba.CachedCover.empty());
        QVERIFY(covers->AlbumPicture(&Albums()[2]).isNull());

        // Showing a cover not cached yet changes nothing: the list stays as
        // it was until covers are cached on purpose.
        session->Settings.CacheCovers = true;
        session->Catalogue.ListModified = false;
        QCOMPARE(covers->AlbumPicture(&abba).size(), QSize(128, 128));
        QVERIFY(!session->Catalogue.ListModified);
        QVERIFY(abba.CachedCover.empty());
        shell->Trigger(TCommandId::ListCacheCovers);
        QVERIFY(!abba.CachedCover.empty());
        QVERIFY(!Albums()[1].CachedCover.empty());
        QVERIFY(session->Catalogue.ListModified);
        QCOMPARE(shell->busy, 0);
        QVERIFY(shell->busyCalls > 0);
    }

    void saveQuestionOnlyWhenCoversWait() {
        covers->AskToCacheCovers();
        QCOMPARE(prompts->questions.size(), 1);
        QVERIFY(!Albums()[0].CachedCover.empty());  // Yes cached them
        covers->AskToCacheCovers();
        QCOMPARE(prompts->questions.size(), 1);
        Albums()[0].CachedCover.clear();
        prompts->confirmAnswers = {false};
        covers->AskToCacheCovers();
        QVERIFY(Albums()[0].CachedCover.empty());
    }

    void exportToTheLocalDatabase() {
        shell->Trigger(TCommandId::ListExportCoToCdb);
        QCOMPARE(prompts->informed,
                 (QStringList{"The CoversDB file is empty or of a wrong version. Covers will be "
                              "exported now.",
                              "2 covers added or updated"}));
        QVERIFY(covers->Management() && covers->Management()->isVisible());  // opened after
        covers->Management()->close();
        QVERIFY(std::filesystem::exists(LocalDb()));
        prompts->informed.clear();
        shell->Trigger(TCommandId::ListExportCoToCdb);
        QCOMPARE(prompts->informed, QStringList{"The local CoversDB was already up to date"});
        QVERIFY(std::filesystem::exists(LocalDb() + ".bak"));  // rewritten all the same

        // A changed picture is offered for replacement.
        std::filesystem::copy_file(CoverFixture("green_100x300.jpg"), Path("a/list.jpg"),
                                   std::filesystem::copy_options::overwrite_existing);
        coverPrompts->replaceAnswers = {{TReplaceAnswer::Yes, false}};
        prompts->informed.clear();
        shell->Trigger(TCommandId::ListExportCoToCdb);
        QCOMPARE(coverPrompts->offers.size(), size_t(1));
        QCOMPARE(coverPrompts->offers[0].Offered, FileBytes(Path("a/list.jpg")));
        QCOMPARE(prompts->informed, QStringList{"1 covers added or updated"});
    }

    void exportToAnotherFileRefusesTheLocalName() {
        prompts->saveFile = QString::fromStdString(Path("elsewhere/MAVELO.cdb"));
        shell->Trigger(TCommandId::ListExportCoToFile);
        QCOMPARE(prompts->errors, QStringList{"Cannot overwrite the default covers database"});
        prompts->saveFile = QString::fromStdString(Path("other.cdb"));
        shell->Trigger(TCommandId::ListExportCoToFile);
        TCoverDb db;
        QVERIFY(ReadCoverDbFile(Path("other.cdb"), db));
        QCOMPARE(db.CoverCount(), size_t(2));
        QVERIFY(prompts->informed.isEmpty());
    }

    void importFromTheLocalDatabase() {
        coverPrompts->choices = {TCoverPrompts::TChoice::Yes};
        shell->Trigger(TCommandId::ListImportFromCdb);
        QCOMPARE(prompts->errors, QStringList{"No local CoversDB found !"});

        shell->Trigger(TCommandId::ListExportCoToCdb);
        covers->Management()->close();
        std::filesystem::remove(Path("a/list.jpg"));
        Albums()[0].PictureState = TPictureState::Missing;
        // Cancel does nothing; Yes imports for the cover-less album only.
        coverPrompts->choices = {TCoverPrompts::TChoice::Cancel, TCoverPrompts::TChoice::Yes};
        coverPrompts->replaceAnswers = {{TReplaceAnswer::Yes, false}};
        prompts->informed.clear();
        session->Catalogue.ListModified = false;
        shell->Trigger(TCommandId::ListImportFromCdb);
        QVERIFY(coverPrompts->offers.empty());
        shell->Trigger(TCommandId::ListImportFromCdb);
        QCOMPARE(coverPrompts->offers.size(), size_t(1));
        QVERIFY(coverPrompts->offers[0].Current.empty());
        QCOMPARE(Albums()[0].PictureState, TPictureState::Present);
        QCOMPARE(prompts->informed, QStringList{"1 covers added or updated"});
        QVERIFY(session->Catalogue.ListModified);

        prompts->informed.clear();
        shell->Trigger(TCommandId::ListImportFromCdb);
        QCOMPARE(prompts->informed, QStringList{"Nothing updated !"});

        // One album: no question, no message.
        std::filesystem::copy_file(CoverFixture("green_100x300.jpg"), Path("b/list.jpg"),
                                   std::filesystem::copy_options::overwrite_existing);
        current = &Albums()[1];
        coverPrompts->replaceAnswers = {{TReplaceAnswer::No, false}};
        pictureSignals = 0;
        shell->Trigger(TCommandId::AlbumImportCover);
        QCOMPARE(pictureSignals, 0);
        QCOMPARE(coverPrompts->offers.back().Album, "Help");
        coverPrompts->replaceAnswers = {{TReplaceAnswer::Yes, false}};
        shell->Trigger(TCommandId::AlbumImportCover);
        QCOMPARE(pictureSignals, 1);
        QCOMPARE(prompts->informed.size(), 1);
    }

    void managementOffersTheExportFirst() {
        prompts->confirmAnswers = {false};
        shell->Trigger(TCommandId::ToolsCoversMgt);
        QCOMPARE(prompts->informed, QStringList{"You should export your covers !"});
        QVERIFY(!std::filesystem::exists(LocalDb()));
        covers->Management()->close();

        prompts->informed.clear();
        shell->Trigger(TCommandId::ToolsCoversMgt);  // Yes: exported, the window shows it
        QVERIFY(std::filesystem::exists(LocalDb()));
        QCOMPARE(covers->Management()->Artists()->count(), 2);
        QCOMPARE(shell->registered.size(), size_t(1));
        covers->Management()->close();
    }
};

QTEST_MAIN(CoversControllerTest)
#include "covers_controller_test.moc"
