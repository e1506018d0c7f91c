// The list page's windows and boxes at work on a small collection: the
// search window, the filter window's presets and files, the pick window, the
// selection commands, the keyboard, and a language file reaching the windows.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>

#include "collection/Um3u_obj.h"
#include "gui/common/DesktopOpen.h"
#include "gui/common/HelpViewer.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/DetailsPanel.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListRoles.h"
#include "gui/list/ListViews.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/SearchCommands.h"
#include "gui/list/TrackGrid.h"
#include "gui/list/Ufilter.h"
#include "gui/list/Ufilteradd.h"
#include "gui/list/Usearch.h"
#include "listpage_fixture.h"
#include "views/Catalogue.h"

class ListPageWindowsTest : public ListPageTestCase {
    Q_OBJECT

  private:
    TCatalogue& Catalogue() { return ui_.Catalogue(); }
    TListViews& Views() { return ui_.List().Views(); }
    TListPage& Page() { return Views().Page(); }
    TFormFilter& Filter() { return Views().FormFilter(); }
    QCheckBox* Box(QWidget* window, const char* name) {
        return window->findChild<QCheckBox*>(name);
    }
    void ChooseSelection(const QString& name) {
        QComboBox& box = Views().SelectionBox();
        box.setCurrentIndex(box.findText(name));
        emit box.activated(box.currentIndex());
    }

  private slots:
    void init() {
        QVERIFY(StartOnCollection(true));
        ui_.Catalogue().ListModified = false;
    }
    void cleanup() { Finish(); }

    void searchWindowControls() {
        TFormSearch& form = ui_.List().Search().Form();
        form.Prepare({"x", 1, 0});  // fields 0 shows all four boxes checked
        for (const char* name :
             {"CheckBoxArtist", "CheckBoxAlbum", "CheckBoxSong", "CheckBoxFiles"})
            QVERIFY(Box(&form, name)->isChecked());
        QVERIFY(Box(&form, "CheckBoxString")->isChecked());
        Box(&form, "CheckBoxWords")->click();  // the two modes exclude each other
        QVERIFY(!Box(&form, "CheckBoxString")->isChecked());
        Box(&form, "CheckBoxWords")->click();  // neither: words only
        Box(&form, "CheckBoxArtist")->click();
        Box(&form, "CheckBoxFiles")->click();
        const TSearchSettings settings = form.Settings();
        QCOMPARE(settings.Mode, 0);
        QCOMPARE(settings.Fields, SearchAlbum | SearchTrack);
    }

    void firstSearchNextAsksForTheTextFirst() {
        TFormSearch& form = ui_.List().Search().Form();
        QTimer::singleShot(0, &form, [&form] {
            form.EditString()->setText("live");
            form.accept();
        });
        ui_.Window().Action(TCommandId::EditNext)->trigger();
        QCOMPARE(Page().CurrentRow(), 2);
        // All four boxes unchecked: nothing can match, at once.
        QTimer::singleShot(0, &form, [this, &form] {
            for (const char* name :
                 {"CheckBoxArtist", "CheckBoxAlbum", "CheckBoxSong", "CheckBoxFiles"})
                Box(&form, name)->setChecked(false);
            form.accept();
        });
        ui_.Window().Action(TCommandId::EditSearch)->trigger();
        QCOMPARE(ui_.prompts->informed.size(), 1);
        QTimer::singleShot(0, &form, [this, &form] {
            QVERIFY(Box(&form, "CheckBoxSong")->isChecked());
            form.reject();
        });
        ui_.Window().Action(TCommandId::EditSearch)->trigger();
    }

    void presetsOfTheFilterWindow() {
        TFormFilter& filter = Filter();
        filter.show();
        filter.Memo(TPickField::Genre)->setPlainText("rock");
        ui_.prompts->textAnswers = {QString(), QString("Rock")};
        filter.NewPreset();  // an empty name
        filter.NewPreset();
        const TFilterList& presets = Catalogue().Filters.Presets;
        QCOMPARE(presets.Count(), size_t(2));
        QCOMPARE(presets.Presets[0].Name, std::string("New preferences"));
        QCOMPARE(presets.ChosenIndex, 1);
        QVERIFY(ui_.Catalogue().ListModified);  // the list file keeps the presets

        filter.Apply();
        // Both presets equal the applied filter: the box shows the later one.
        QCOMPARE(Views().FilterBox().currentText(), QString("Rock"));
        QCOMPARE(Page().AlbumRows(), 4);

        filter.Clear();
        filter.Presets()->setCurrentRow(0);
        filter.ReadPreset();
        QCOMPARE(filter.Memo(TPickField::Genre)->toPlainText(), QString("rock"));

        // A filter file keeps the presets; loading applies its edited filter.
        const QString file = QString::fromStdString(home_->Dir() / "rock.mvf");
        filter.SaveFilterFile(file);
        filter.Presets()->setCurrentRow(1);
        filter.DeletePreset();
        QCOMPARE(presets.Count(), size_t(1));
        QCOMPARE(Views().FilterBox().count(), 3);
        Views().ChooseFilterBoxEntry(0);
        QCOMPARE(Page().AlbumRows(), 6);
        filter.LoadFilterFile(file);
        QCOMPARE(presets.Count(), size_t(2));
        QCOMPARE(Page().AlbumRows(), 4);
        QVERIFY(ui_.Catalogue().ListModified);

        // A damaged file changes nothing and says why.
        home_->Dir().File("bad.mvf", std::string("\x01\x00", 2));
        filter.LoadFilterFile(QString::fromStdString(home_->Dir() / "bad.mvf"));
        QCOMPARE(ui_.prompts->errors.size(), 1);
        QCOMPARE(presets.Count(), size_t(2));
        QCOMPARE(Catalogue().Filters.Applied.Genre, std::string("rock"));
    }

    void pickWindowAppendsChosenItems() {
        TFormFilter& filter = Filter();
        filter.Memo(TPickField::Artist)->setPlainText("abba");
        TFormFilterAdd& pick = Views().FormFilterAdd();
        QTimer::singleShot(0, &pick, [&pick] {
            QCOMPARE(pick.List()->count(), 3);  // ABBA, Queen, The Beatles
            pick.List()->item(1)->setSelected(true);
            pick.List()->item(2)->setSelected(true);
            pick.accept();
        });
        filter.Pick(TPickField::Artist);
        QCOMPARE(filter.Memo(TPickField::Artist)->toPlainText(), QString("abba;Queen;The Beatles"));
    }

    void selectionCommands() {
        QAction* create = ui_.Window().Action(TCommandId::SelectionNew);
        create->trigger();
        create->trigger();
        create->trigger();
        QCOMPARE(Views().SelectionBox().currentText(), QString("New selection 2"));
        QVERIFY(ui_.Catalogue().ListModified);

        // A change of letter case alone is refused; another name is taken.
        ChooseSelection("New selection");
        ui_.prompts->textAnswers = {QString("NEW SELECTION 1"), QString("Car")};
        ui_.Window().Action(TCommandId::SelectionRename)->trigger();
        QCOMPARE(Views().SelectionBox().currentText(), QString("New selection"));
        ui_.Window().Action(TCommandId::SelectionRename)->trigger();
        QCOMPARE(Views().SelectionBox().currentText(), QString("Car"));

        // In the edit mode, add all; then a filter keeps the selection chosen.
        ui_.Window().Action(TCommandId::SelectionEdit)->trigger();
        QVERIFY(ui_.Window().Action(TCommandId::SelectionAddAll)->isEnabled());
        ui_.Window().Action(TCommandId::SelectionAddAll)->trigger();
        QCOMPARE(Views().ChosenSelection()->Count(), size_t(6));
        Filter().Memo(TPickField::Artist)->setPlainText("queen");
        Filter().Apply();
        QCOMPARE(Views().SelectionBox().currentText(), QString("Car"));
        QCOMPARE(Page().AlbumRows(), 2);
        // Add all again with a member current: the shown albums leave, the hidden stay.
        ui_.Window().Action(TCommandId::SelectionAddAll)->trigger();
        QCOMPARE(Views().ChosenSelection()->Count(), size_t(4));

        // Choosing a selection removes the filter and leaves the edit mode,
        // with one rebuild of the view.
        QSignalSpy refills(&Views(), &TListViews::ViewRefilled);
        ChooseSelection("Car");
        QCOMPARE(refills.count(), 1);
        QVERIFY(Catalogue().Filters.Applied.IsEmpty());
        QVERIFY(!ui_.Window().Action(TCommandId::SelectionEdit)->isChecked());
        QCOMPARE(Page().AlbumRows(), 4);
        QCOMPARE(Views().FilterBox().currentIndex(), 0);

        ui_.prompts->confirmAnswers = {false, true};
        ui_.Window().Action(TCommandId::SelectionRemove)->trigger();
        QCOMPARE(Catalogue().Selections.Count(), size_t(3));
        ui_.Window().Action(TCommandId::SelectionRemove)->trigger();
        QCOMPARE(Catalogue().Selections.Count(), size_t(2));
        QCOMPARE(Views().SelectionBox().currentIndex(), 0);
        QVERIFY(!ui_.Window().Action(TCommandId::SelectionEdit)->isEnabled());
    }

    // A selection created while another is edited starts empty on screen too.
    void newSelectionWhileEditingAnotherShowsNoOldMarks() {
        ui_.Window().Action(TCommandId::SelectionNew)->trigger();
        QVERIFY(ui_.Window().Action(TCommandId::SelectionEdit)->isChecked());
        ui_.Window().Action(TCommandId::SelectionAddAll)->trigger();
        QCOMPARE(Views().ChosenSelection()->Count(), size_t(6));
        ui_.Window().Action(TCommandId::SelectionNew)->trigger();
        QCOMPARE(Views().SelectionBox().currentText(), QString("New selection 1"));
        QVERIFY(ui_.Window().Action(TCommandId::SelectionEdit)->isChecked());
        QCOMPARE(Views().ChosenSelection()->Count(), size_t(0));
        QCOMPARE(Page().AlbumRows(), 6);
        for (const Tm3u* album : Catalogue().View.Albums()) QVERIFY(!album->InSelection);
    }

    // However small the window, the album text and a few tracks stay in view.
    void smallWindowsKeepAlbumsAndTracksInView_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("640x420") << QSize(640, 420);
        QTest::newRow("400x300") << QSize(400, 300);
        QTest::newRow("980x640") << QSize(980, 640);
    }
    void smallWindowsKeepAlbumsAndTracksInView() {
        QFETCH(QSize, size);
        ui_.Window().resize(size);
        QTest::qWait(20);
        TAlbumGrid* grid = Page().Grid();
        const QRect window(QPoint(0, 0), ui_.Window().size());
        QVERIFY(window.contains(QRect(grid->mapTo(&ui_.Window(), QPoint(0, 0)), grid->size())));
        const int textLeft = grid->columnViewportPosition(ColumnText);
        QVERIFY(textLeft >= 0);
        QVERIFY2(grid->viewport()->width() - textLeft >= 140,
                 qPrintable(QString::number(grid->viewport()->width() - textLeft)));
        QVERIFY(grid->viewport()->height() >= 4 * 16);
        QTableView* tracks = Page().Tracks();
        QVERIFY(window.contains(QRect(tracks->mapTo(&ui_.Window(), QPoint(0, 0)), tracks->size())));
        QVERIFY2(tracks->viewport()->height() >= 4 * 14,
                 qPrintable(QString::number(tracks->viewport()->height())));
    }

    void keyboardOnTheGrid() {
        TAlbumGrid* grid = Page().Grid();
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_T);
        QCOMPARE(Page().CurrentRow(), 4);  // The Beatles
        QTest::keyClick(grid, Qt::Key_T);
        QCOMPARE(Page().CurrentRow(), 5);
        QTest::keyClick(grid, Qt::Key_T);
        QCOMPARE(Page().CurrentRow(), 4);  // wrapped
        QSignalSpy play(ui_.Window().Action(TCommandId::PlaylistPlayAlbum), &QAction::triggered);
        QSignalSpy add(ui_.Window().Action(TCommandId::PlaylistAddAlbum), &QAction::triggered);
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(play.count(), 1);
        QCOMPARE(add.count(), 1);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(Page().CurrentRow(), 5);
        // Home and End go to the first and last album, with or without Ctrl.
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int row;
        } moves[] = {{Qt::Key_Home, {}, 0},
                     {Qt::Key_End, {}, 5},
                     {Qt::Key_Home, Qt::ControlModifier, 0},
                     {Qt::Key_End, Qt::ControlModifier, 5}};
        for (const auto& move : moves) {
            Page().SetCurrentRow(2);
            QTest::keyClick(grid, move.key, move.modifiers);
            QCOMPARE(Page().CurrentRow(), move.row);
        }
        Page().SetCurrentRow(5);
        // Typing in a text field types there.
        Filter().show();
        QTest::keyClick(Filter().Memo(TPickField::Artist), Qt::Key_A);
        QCOMPARE(Page().CurrentRow(), 5);
    }

    void shortcutsReachTheirCommands() {
        ui_.Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ui_.Window()));
        QTest::keyClick(&ui_.Window(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(Page().TreeShown());
        QVERIFY(ui_.Window().Action(TCommandId::ListTree)->isChecked());
        QTest::keyClick(&ui_.Window(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!Page().TreeShown());
        QTest::keyClick(&ui_.Window(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(Filter().isVisible());
        // The menu bar keeps its letters for choosing a menu.
        QMenuBar* bar = ui_.Window().menuBar();
        bar->setFocus();
        const int row = Page().CurrentRow();
        QTest::keyClick(bar, Qt::Key_T);
        QCOMPARE(Page().CurrentRow(), row);
    }

    void languageReachesTheListWindows() {
        home_->Dir().File("Test.lng",
                          "FormFilter.SpeedButtonClear.Caption=Effacer\n"
                          "FormSearch.ButtonOk.Caption=Chercher\n"
                          "FormMain.LabelAlbums.Caption=ALBUMS\n"
                          "Global.NoSelection=* Aucune *\n"
                          "Global.NoFilter=* Aucun filtre *\n");
        ListLanguageFilesIn({home_->Dir().Path() + "/"});
        ui_.Window().SetLanguage("Test", true);
        QCOMPARE(Filter().findChild<QPushButton*>("SpeedButtonClear")->text(), QString("Effacer"));
        QCOMPARE(ui_.List().Search().Form().findChild<QPushButton*>("ButtonOk")->text(),
                 QString("Chercher"));
        QCOMPARE(ui_.Window().findChild<QLabel*>("LabelAlbums")->text(), QString("ALBUMS"));
        QCOMPARE(Views().SelectionBox().itemText(0), QString("* Aucune *"));
        QCOMPARE(Views().FilterBox().itemText(0), QString("* Aucun filtre *"));
    }

    // Help that the desktop cannot open is shown in the program's own help
    // window, never silently dropped.
    void helpThatCannotBeOpenedShowsInTheHelpWindow() {
        const auto saved = DesktopUrlOpener();
        QList<QUrl> asked;
        DesktopUrlOpener() = [&](const QUrl& url) {
            asked << url;
            return false;
        };
        ui_.Window().Action(TCommandId::HelpHelp)->trigger();
        DesktopUrlOpener() = saved;
        QVERIFY(ui_.prompts->errors.isEmpty());
        THelpViewer* viewer = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = qobject_cast<THelpViewer*>(w); v && v->isVisible()) viewer = v;
        QVERIFY(viewer);
        QCOMPARE(viewer->CurrentPage().fileName(), QString("list.htm"));
        viewer->close();
    }

    // A picture file dragged from the desktop onto the details panel becomes
    // the current album's picture and shows at once.
    void droppedPictureBecomesTheAlbumPicture() {
        TDetailsPanel* details = Page().Details();
        Tm3u* album = Page().CurrentAlbum();
        QVERIFY(album && details->acceptDrops());
        QCOMPARE(details->PictureArea()->text(), QString("Drag'n'drop here"));

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(MAVELO_TEST_DATA "/covers/red_600x600.jpg"),
                      QUrl::fromLocalFile(MAVELO_TEST_DATA "/covers")});
        // The drop goes where the drag entered.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(details, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(details, &drop);

        QVERIFY(!album->PictureFile().empty());
        QVERIFY(QFileInfo::exists(QString::fromStdString(album->PictureFile())));
        QVERIFY(ui_.prompts->errors.isEmpty());
        QVERIFY(details->PictureArea()->text().isEmpty());
        QVERIFY(!details->PictureArea()->pixmap().isNull());
    }
};

QTEST_MAIN(ListPageWindowsTest)
#include "listpage_windows_test.moc"
