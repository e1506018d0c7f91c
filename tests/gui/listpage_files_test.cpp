// List file commands and the commands that scan or change the roots: what
// the user is told when a list cannot be read or written, the save that
// happens (without a question) before another list replaces a modified one,
// and the root directory dialog.
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "collection/UIo.h"
#include "core/PumpEvents.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/CdCommands.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/Ufilter.h"
#include "gui/list/Urootdirs.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/SignalClose.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

class ListPageFilesTest : public ListPageTestCase {
    Q_OBJECT

  private:
    TCatalogue& Catalogue() { return ui_.Catalogue(); }
    // What the list file keeps of statuses, selections and presets.
    static QString StoredValues(const TCatalogue& catalogue) {
        QStringList values;
        for (const auto& entry : catalogue.Albums())
            values << QString::fromStdString(entry.object->PlaylistPath) + "=" +
                          QString::number(static_cast<int>(entry.object->Status));
        values.sort();
        for (const auto& selection : catalogue.Selections.List()) {
            QStringList members;
            for (const Tm3u* album : selection->Albums())
                members << QString::fromStdString(album->PlaylistPath);
            members.sort();
            values << QString::fromStdString(selection->Name) + ": " + members.join(", ");
        }
        for (const auto& preset : catalogue.Filters.Presets.Presets)
            values << QString::fromStdString(preset.Name + "=" + preset.Filter.Artist);
        return values.join("\n");
    }
    TListPage& Page() { return ui_.List().Views().Page(); }

  private slots:
    void init() { QVERIFY(StartOnCollection(false)); }
    void cleanup() { Finish(); }

    void wrongVersionIsRefusedWithItsMessage() {
        TLoadSave stream;
        const std::string path = home_->Dir() / "old.mvo";
        stream.OpenWrite(path);
        stream.WriteInteger(1005);
        stream.WriteInteger(0);
        stream.Finish();
        ui_.List().Files().LoadFile(path);
        QCOMPARE(ui_.prompts->errors, QStringList({"Incorrect file format or version !"}));
        QCOMPARE(Catalogue().Albums().Count(), size_t(0));
        QCOMPARE(ui_.Catalogue().CurrentFile, path);  // the next start tries it again
    }

    void damagedListKeepsWhatWasReadAndSaysSoOnce() {
        const std::string path = SavedList("cat.mvo");
        QVERIFY(!path.empty());
        std::filesystem::resize_file(path, std::filesystem::file_size(path) * 2 / 3);
        ui_.List().Files().LoadFile(path);
        const size_t read = Catalogue().Albums().Count();
        QVERIFY(read > 0 && read < 6);
        QCOMPARE(ui_.prompts->errors.size(), 1);
        QVERIFY(ui_.prompts->errors[0].contains(QString::number(read)));
        QVERIFY(ui_.prompts->errors[0].contains(QString::fromStdString(path)));
        QCOMPARE(Page().AlbumRows(), int(read));
        QVERIFY(!ui_.Catalogue().ListModified);
    }

    void failedSaveNamesTheFileAndKeepsTheListModified() {
        ui_.List().Scans().NewList({root_});
        const std::string path = home_->Dir() / "missing-folder/cat.mvo";
        ui_.prompts->saveFile = QString::fromStdString(path);
        QVERIFY(!ui_.List().Files().ActionFileSaveExecute());
        QCOMPARE(ui_.prompts->errors.size(), 1);
        QVERIFY(ui_.prompts->errors[0].contains(QString::fromStdString(path)));
        QVERIFY(ui_.Catalogue().ListModified);
        QVERIFY(ui_.Window().windowTitle().endsWith(" *"));
    }

    // Close, load, a recent file, a new list and a disc all save a modified
    // list first; when that write fails the list stays as it was.
    void listWhoseSaveFailedIsNotReplaced_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"close", "load", "recent", "new", "disc"})
            QTest::newRow(command) << QString(command);
    }
    void listWhoseSaveFailedIsNotReplaced() {
        QFETCH(QString, command);
        const std::string other = SavedList("other.mvo");
        QVERIFY(!other.empty());
        ui_.List().Scans().NewList({root_});
        Page().SetCurrentRow(1);
        ui_.List().Scans().ActionAlbumRemoveExecute();  // confirmed
        const std::string unwritable = home_->Dir() / "missing-folder/cat.mvo";
        ui_.Catalogue().CurrentFile = unwritable;
        ui_.prompts->openFile = QString::fromStdString(other);
        TListFileCommands& files = ui_.List().Files();
        if (command == "close") ui_.Window().Action(TCommandId::FileClose)->trigger();
        if (command == "load") ui_.Window().Action(TCommandId::FileLoad)->trigger();
        if (command == "recent") files.OpenRecentFile(other);
        if (command == "new") ui_.List().Scans().NewList({root_});
        if (command == "disc") QVERIFY(!ui_.List().Cd().OpenCd(root_));
        QCOMPARE(ui_.prompts->errors.size(), 1);
        QCOMPARE(ui_.Catalogue().CurrentFile, unwritable);
        QVERIFY(ui_.Catalogue().ListModified);
        QCOMPARE(Page().AlbumRows(), 5);
    }

    void modifiedListIsSavedBeforeAnotherIsLoaded() {
        const std::string first = SavedList("first.mvo");
        const std::string second = SavedList("second.mvo");
        ui_.List().Files().LoadFile(first);
        Page().SetCurrentRow(1);
        ui_.List().Scans().ActionAlbumRemoveExecute();  // confirmed
        QCOMPARE(Page().AlbumRows(), 5);
        QVERIFY(ui_.Catalogue().ListModified);
        ui_.prompts->openFile = QString::fromStdString(second);
        ui_.Window().Action(TCommandId::FileLoad)->trigger();
        QCOMPARE(ui_.Catalogue().CurrentFile, second);
        QCOMPARE(Page().AlbumRows(), 6);
        ui_.List().Files().LoadFile(first);
        QCOMPARE(Page().AlbumRows(), 5);  // the removal was saved
        QVERIFY(ui_.prompts->errors.isEmpty());
    }

    // With no list open the grid says what to do next; its button opens a
    // list file, and the hint goes with the list open and comes back when
    // the list is closed.
    void emptyWindowSaysWhatToDoNext() {
        auto* hint = ui_.Window().findChild<QWidget*>("PanelFirstRun");
        QVERIFY(hint && hint->isVisible());  // the first start
        const std::string path = SavedList("cat.mvo");
        QVERIFY(!hint->isVisible());
        ui_.List().Files().ActionFileCloseExecute();
        QVERIFY(hint->isVisible());
        auto* folders = hint->findChild<QPushButton*>("ButtonFirstRunFolders");
        QCOMPARE(folders->text(), QString("Choose music folders..."));
        ui_.prompts->openFile = QString::fromStdString(path);
        QTest::mouseClick(hint->findChild<QPushButton*>("ButtonFirstRunOpen"), Qt::LeftButton);
        QCOMPARE(ui_.Catalogue().CurrentFile, path);
        QVERIFY(!hint->isVisible());
        ui_.Window().Action(TCommandId::FileClose)->trigger();
        QVERIFY(hint->isVisible());
    }

    // A new list's scan ends by asking for the list's name, suggested in the
    // music folder; declined, Save on the unnamed list asks again.
    void newListAsksForItsNameAtOnce() {
        const QString music = QString::fromStdString(home_->Dir().Folder("Music"));
        // The desktop names the music folder in user-dirs.dirs.
        const QString config = QString::fromStdString(home_->Dir().File(
            "config/user-dirs.dirs", "XDG_MUSIC_DIR=\"" + music.toStdString() + "\"\n"));
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFileInfo(config).path().toUtf8());
        ui_.List().Scans().NewList({root_});
        qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(ui_.prompts->saveStart, music + "/mavelo.mvo");
        QVERIFY(ui_.Catalogue().CurrentFile.empty());
        QAction* save = ui_.Window().Action(TCommandId::FileSave);
        QVERIFY(save->isEnabled());
        const std::string path = home_->Dir() / "named.mvo";
        ui_.prompts->saveFile = QString::fromStdString(path);
        save->trigger();
        QCOMPARE(ui_.Catalogue().CurrentFile, path);
        QVERIFY(!ui_.Catalogue().ListModified);
        QVERIFY(!save->isEnabled());
    }

    // A list file named on the command line opens instead of the last one.
    void listNamedAtStartIsOpened() {
        const std::string named = SavedList("named.mvo");
        const std::string last = SavedList("last.mvo");
        ui_.Window().close();
        ui_.app.reset();
        QVERIFY(home_->Dir().Read("mavelo.ini").find("CurrentFile=" + last) != std::string::npos);
        QVERIFY(ui_.Start(named));
        QCOMPARE(ui_.Catalogue().CurrentFile, named);
        QCOMPARE(Page().AlbumRows(), 6);
        QVERIFY(!ui_.Catalogue().ListModified);
        QVERIFY(!ui_.Window().Action(TCommandId::FileSave)->isEnabled());
        QVERIFY(ui_.prompts->errors.isEmpty());
    }

    void closingTheWindowSavesTheModifiedList() {
        const std::string path = SavedList("cat.mvo");
        ui_.List().Views().ChangeStatusOfAll();  // current album 0 -> all albums 1
        QVERIFY(ui_.Catalogue().ListModified);
        ui_.Window().close();
        ui_.app.reset();
        TCatalogue reloaded;
        int32_t quality = 0;
        std::vector<std::string> recent;
        QVERIFY(LoadList(path, reloaded, quality, recent).Complete());
        for (const auto& entry : reloaded.Albums())
            QCOMPARE(entry.object->Status, TAlbumStatus::Orange);
        const std::string ini = home_->Dir().Read("mavelo.ini");
        QVERIFY(ini.find("CurrentFile=" + path) != std::string::npos);
    }

    // Closing after a failed save, or after the name of a new list was not
    // given, asks before the changes are lost: No keeps the window and the
    // modified list, Yes closes; a signal closes unasked, with no message box
    // (the log says what failed) and no file dialog (a new list goes to a
    // recovery file in the program folder).
    void closingWithAListThatCannotBeSaved_data() {
        QTest::addColumn<bool>("unnamed");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("bySignal");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("errors");
        QTest::newRow("kept open") << false << false << false << false << 1 << 1;
        QTest::newRow("closed anyway") << false << true << false << true << 1 << 1;
        QTest::newRow("by a signal") << false << false << true << true << 0 << 0;
        QTest::newRow("no name given, kept open") << true << false << false << false << 1 << 0;
        QTest::newRow("no name given, closed anyway") << true << true << false << true << 1 << 0;
        QTest::newRow("no name, by a signal") << true << false << true << true << 0 << 0;
    }
    void closingWithAListThatCannotBeSaved() {
        QFETCH(bool, unnamed);
        QFETCH(bool, answer);
        QFETCH(bool, bySignal);
        QFETCH(bool, closes);
        QFETCH(int, questions);
        QFETCH(int, errors);
        ui_.List().Scans().NewList({root_});
        if (!unnamed) ui_.Catalogue().CurrentFile = home_->Dir() / "missing-folder/cat.mvo";
        ui_.prompts->saveFile.clear();  // the Save as window is cancelled
        QVERIFY(ui_.Catalogue().ListModified);
        ui_.prompts->questions.clear();
        ui_.prompts->confirmAnswers = {answer};
        if (bySignal) ui_.Window().setProperty(kClosingBySignal, true);
        ui_.prompts->dialogFilters.clear();
        QCOMPARE(ui_.Window().close(), closes);
        QCOMPARE(ui_.prompts->errors.size(), errors);
        QCOMPARE(ui_.prompts->questions.size(), questions);
        QCOMPARE(ui_.prompts->dialogFilters.size(), unnamed && !bySignal ? 1 : 0);
        if (questions > 0)
            QCOMPARE(ui_.prompts->questions.last(),
                     QString("The list could not be saved. Close anyway and lose its changes ?"));
        if (!closes) {
            QVERIFY(ui_.Catalogue().ListModified);
            QCOMPARE(Page().AlbumRows(), 6);
        }
    }

    // The desktop ends the session (SIGTERM): a new list with covers not yet
    // cached is saved without a question or a file dialog, to a recovery
    // file in the program folder that the next start opens.
    void terminationSignalSavesANewListWithoutQuestions() {
        std::filesystem::copy_file(MAVELO_TEST_DATA "/covers/blue_300x100.jpg",
                                   root_ + "/Abba/Gold/gold.jpg");
        ui_.prompts->laterAnswer = false;  // the covers are not cached now
        ui_.List().Scans().NewList({root_});  // the name is not given
        QVERIFY(ui_.Catalogue().ListModified);
        QVERIFY(ui_.Catalogue().CurrentFile.empty());
        QVERIFY(CoversNeedCaching(ui_.Catalogue().Directory, true));
        ui_.prompts->questions.clear();
        ui_.prompts->dialogFilters.clear();

        TSignalCloser closer(&ui_.Window());
        std::raise(SIGTERM);
        QTRY_VERIFY(!ui_.Window().isVisible());

        QVERIFY(ui_.prompts->questions.isEmpty());
        QVERIFY(ui_.prompts->dialogFilters.isEmpty());
        QVERIFY(ui_.prompts->errors.isEmpty());
        std::vector<std::string> recovered;
        for (const auto& entry : std::filesystem::directory_iterator(home_->Dir().Path()))
            if (entry.path().filename().string().starts_with("recovered-"))
                recovered.push_back(entry.path().string());
        QCOMPARE(recovered.size(), size_t(1));
        TCatalogue reloaded;
        int32_t quality = 0;
        std::vector<std::string> recent;
        QVERIFY(LoadList(recovered[0], reloaded, quality, recent).Complete());
        QCOMPARE(reloaded.Albums().Count(), size_t(6));
        QVERIFY(home_->Dir().Read("mavelo.ini").find("CurrentFile=" + recovered[0]) !=
                std::string::npos);
    }

    void statusClickCyclesTheStatus() {
        SavedList("cat.mvo");
        TAlbumGrid* grid = Page().Grid();
        const QRect cell = grid->visualRect(grid->model()->index(2, 2));
        const Tm3u* album = Catalogue().View.Albums()[2];
        for (TAlbumStatus expected :
             {TAlbumStatus::Orange, TAlbumStatus::Green, TAlbumStatus::Red}) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(album->Status, expected);
        }
        QCOMPARE(Page().CurrentRow(), 2);
    }

    // Every change that the list file keeps marks the list modified, so that
    // closing the window saves it.
    void changesTheListFileKeepsAreSavedAtExit_data() {
        QTest::addColumn<QString>("change");
        for (const char* change :
             {"status click", "member click", "select album", "add all", "remove all", "new preset",
              "renamed preset", "overwritten preset"})
            QTest::newRow(change) << QString(change);
    }
    void changesTheListFileKeepsAreSavedAtExit() {
        QFETCH(QString, change);
        const std::string path = SavedList("cat.mvo");
        ui_.Window().Action(TCommandId::SelectionNew)->trigger();  // in the edit mode
        TFormFilter& filter = ui_.List().Views().FormFilter();
        ui_.prompts->textAnswers = {QString("mine")};
        filter.NewPreset();
        QVERIFY(ui_.List().Files().ActionFileSaveExecute());
        QVERIFY(!ui_.Catalogue().ListModified);

        TAlbumGrid* grid = Page().Grid();
        auto click = [grid](int row, int column) {
            const QRect cell = grid->visualRect(grid->model()->index(row, column));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        };
        Page().SetCurrentRow(1);
        if (change == "status click") click(2, 2);
        if (change == "member click") click(2, 0);
        if (change == "select album")
            ui_.Window().Action(TCommandId::SelectionSelectAlbum)->trigger();
        if (change == "add all") ui_.Window().Action(TCommandId::SelectionAddAll)->trigger();
        if (change == "remove all") {
            click(1, 0);  // the current album is a member: all go
            QVERIFY(ui_.List().Files().ActionFileSaveExecute());
            ui_.Window().Action(TCommandId::SelectionAddAll)->trigger();
        }
        filter.Presets()->setCurrentRow(0);
        if (change == "new preset") {
            ui_.prompts->textAnswers = {QString("yours")};
            filter.NewPreset();
        }
        if (change == "renamed preset") {
            ui_.prompts->textAnswers = {QString("ours")};
            filter.RenamePreset();
        }
        if (change == "overwritten preset") {
            filter.Memo(TPickField::Artist)->setPlainText("ABBA");
            filter.WritePreset();
        }
        QVERIFY(ui_.Catalogue().ListModified);
        QVERIFY(ui_.Window().windowTitle().endsWith(" *"));
        const QString before = StoredValues(Catalogue());
        ui_.Window().close();
        ui_.app.reset();
        TCatalogue reloaded;
        int32_t quality = 0;
        std::vector<std::string> recent;
        QVERIFY(LoadList(path, reloaded, quality, recent).Complete());
        QCOMPARE(StoredValues(reloaded), before);
    }

    // Through the dialog the folders reach the list as they are named, also
    // when a name holds a "|".
    void newListThroughTheRootDialog_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("command");
        QTest::newRow("new list") << "music"
                                  << "ActionFileNew";
        QTest::newRow("new list, a bar in the name") << "rock|pop"
                                                     << "ActionFileNew";
        QTest::newRow("added root, a bar in the name") << "a|b|"
                                                       << "ActionListAddRoot";
    }
    void newListThroughTheRootDialog() {
        QFETCH(QString, folder);
        QFETCH(QString, command);
        const std::string root = home_->Dir() / folder.toStdString();
        WriteCollection(home_->Dir(), folder.toStdString(), SmallCollection());
        if (command == "ActionListAddRoot") ui_.List().Scans().NewList({root_});
        TFormRootDirs& dialog = ui_.List().Scans().FormRootDirs();
        dialog.PickFolder = [root](const QString&) { return QString::fromStdString(root); };
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.AddDirectory();
            dialog.Ok();
        });
        ui_.Window()
            .Action(command == "ActionListAddRoot" ? TCommandId::ListAddRoot : TCommandId::FileNew)
            ->trigger();
        std::vector<std::string> roots{root};
        if (command == "ActionListAddRoot") roots.push_back(root_);
        std::vector<std::string> folders = Catalogue().Roots.Folders();
        std::sort(roots.begin(), roots.end());
        std::sort(folders.begin(), folders.end());
        QCOMPARE(folders, roots);
        QCOMPARE(Page().AlbumRows(), 6 * int(roots.size()));
    }

    void scanRunsBusyWhileTheWindowKeepsGoing() {
        InstallPumpEventsHook();
        int ticksWhileBusy = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (ui_.Window().Busy().IsBusy()) ++ticksWhileBusy;
        });
        timer.start(0);
        ui_.List().Scans().NewList({root_});
        timer.stop();
        SetPumpEventsHook({});
        QVERIFY(ticksWhileBusy > 0);
        QVERIFY(!ui_.Window().Busy().IsBusy());
        // The root and its eight folders; the count stays after the scan.
        QCOMPARE(ui_.Window().findChild<QLabel*>("StatusScan")->text(),
                 QString("9 scanned directories"));
        QCOMPARE(ui_.Window().findChild<QLabel*>("StatusText")->text(),
                 QString::fromStdString(Catalogue().View.Albums()[0]->PlaylistPath));
    }

    void discWithItsOwnListOrWithout() {
        // A disc carrying an auto-launch list loads it...
        const std::string disc = home_->Dir().Folder("disc");
        WriteCollection(home_->Dir(), "disc/music", SmallCollection());
        ui_.List().Scans().NewList({disc});
        ui_.prompts->saveFile = QString::fromStdString(disc + "/cat.cmo");
        QVERIFY(ui_.List().Files().ActionFileSaveExecute());
        ui_.List().Files().CloseList();
        QVERIFY(ui_.List().Cd().OpenCd(disc));
        QCOMPARE(ui_.Catalogue().CurrentFile, disc + "/cat.cmo");
        QCOMPARE(Page().AlbumRows(), 6);
        // ...one without is scanned into a new list that has no file name.
        QVERIFY(ui_.List().Cd().OpenCd(root_));
        QVERIFY(ui_.Catalogue().CurrentFile.empty());
        QVERIFY(ui_.Catalogue().ListModified);
        QCOMPARE(Catalogue().Roots.Folders(), std::vector<std::string>{root_});
        QCOMPARE(Page().AlbumRows(), 6);
        // A disc without albums changes nothing.
        QVERIFY(!ui_.List().Cd().OpenCd(home_->Dir().Folder("blank")));
        QCOMPARE(Catalogue().Roots.Folders(), std::vector<std::string>{root_});
    }

    void arrivingDiscIsOpened() {
        const std::string table = home_->Dir() / "mountinfo";
        home_->Dir().File("mountinfo", "");
        ui_.List().Cd().UseMountTable(table);
        ui_.List().Cd().PollNewMedia();
        QCOMPARE(Page().AlbumRows(), 0);
        home_->Dir().File("mountinfo", "40 1 11:0 / " + root_ + " ro - udf /dev/sr0 ro\n");
        ui_.List().Cd().PollNewMedia();
        QCOMPARE(Page().AlbumRows(), 6);
        QCOMPARE(Catalogue().Roots.Folders(), std::vector<std::string>{root_});
    }

    void newListWithoutAlbumsSaysSo() {
        const std::string empty = home_->Dir().Folder("empty");
        ui_.List().Scans().NewList({empty});
        QCOMPARE(ui_.prompts->informed, QStringList({"No album found !"}));
        QVERIFY(ui_.Catalogue().ListModified);
        QVERIFY(ui_.Catalogue().CurrentFile.empty());
    }

    void rootDialogModes() {
        TFormRootDirs& dialog = ui_.List().Scans().FormRootDirs();
        dialog.PickFolder = [](const QString&) { return QString("/new/folder"); };
        // Add mode: a root of the list cannot be taken back, a new folder can.
        dialog.Prepare(TFormRootDirs::AddMode, {"/music"});
        dialog.RemoveDirectory();
        QCOMPARE(dialog.List()->count(), 1);
        dialog.AddDirectory();
        dialog.AddDirectory();
        dialog.RemoveDirectory();
        dialog.Ok();
        QCOMPARE(dialog.ResultCode(), int(TFormRootDirs::Added));
        QCOMPARE(dialog.NewFolders(), std::vector<std::string>{"/new/folder"});
        // Change mode: the last root cannot be removed.
        dialog.Prepare(TFormRootDirs::ChangeMode, {"/music"});
        dialog.RemoveDirectory();
        QCOMPARE(dialog.ResultCode(), int(TFormRootDirs::NoResult));
        dialog.Prepare(TFormRootDirs::ChangeMode, {"/a", "/b"});
        dialog.List()->setCurrentRow(1);
        dialog.RemoveDirectory();
        QCOMPARE(dialog.ResultCode(), int(TFormRootDirs::Removed));
        QCOMPARE(dialog.ChosenIndex(), 1);
        dialog.Prepare(TFormRootDirs::ChangeMode, {"/a", "/b"});
        dialog.MoveDirectory();
        QCOMPARE(dialog.ResultCode(), int(TFormRootDirs::Moved));
        QCOMPARE(dialog.MovedTo(), std::string("/new/folder"));
    }

    void movedAndRemovedRoots() {
        ui_.List().Scans().NewList({root_});
        const std::string moved = home_->Dir() / "moved";
        std::filesystem::rename(root_, moved);
        ui_.List().Scans().MoveRoot(root_, moved);
        QCOMPARE(Catalogue().Roots.Folders(), std::vector<std::string>{moved});
        QVERIFY(Catalogue().Directory.List.Find(moved + "/Abba/Gold/gold.m3u"));
        ui_.List().Scans().Rescan(true);  // the albums are found at their new place
        QCOMPARE(Page().AlbumRows(), 6);
        ui_.List().Scans().RemoveRoot(moved);
        QCOMPARE(Page().AlbumRows(), 0);
        QVERIFY(Catalogue().Roots.Folders().empty());
    }
};

QTEST_MAIN(ListPageFilesTest)
#include "listpage_files_test.moc"
