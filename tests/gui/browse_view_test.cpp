// The browse page at work in the program as the application object builds
// it: the wall shows the view list, the mouse, the wheel and the keys move
// the current album, covers are decoded once per time they come into view,
// and the browse options window edits the look live and keeps presets in
// the settings file.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

#include "browse/Ubrowse_obj.h"
#include "collection/Um3u_obj.h"
#include "core/IniFile.h"
#include "gui/browse/BrowseController.h"
#include "gui/browse/BrowseView.h"
#include "gui/browse/Ubrowseoptions.h"
#include "gui/list/DetailsPanel.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/shell/MainPanels.h"
#include "listpage_fixture.h"

namespace {
// Small panels in a known grid: 2 columns and 2 rows of 100 x 100 panels
// with no space fill 200 x 200 plus the scroll bar.
constexpr const char* kSmallPanels =
    "[Browse]\nPresetsCount=1\n[BrowsePreset_1]\nWidth=100\nHeight=100\nSpace=0\n";
}  // namespace

class BrowseViewTest : public ListPageTestCase {
    Q_OBJECT
  private:
    TBrowseController& Browse() { return ui_.app->Browse(); }
    TBrowseView& View() { return *Browse().View(); }
    TListPage& Page() { return ui_.List().Views().Page(); }
    TCatalogue& Catalogue() { return ui_.Catalogue(); }
    QAction* Action(TCommandId id) { return ui_.Window().Action(id); }

    bool StartBrowsing(const std::string& settings = kSmallPanels) {
        home_ = std::make_unique<ListHome>(settings);
        root_ = home_->Dir() / "music";
        WriteCollection(home_->Dir(), "music", SmallCollection());
        if (!ui_.Start()) return false;
        ui_.List().Scans().NewList({root_});
        Action(TCommandId::ListBrowse)->trigger();
        return ui_.Window().Panels().CurrentPage() == TMainPanels::BrowsePage;
    }
    // The wall sized to hold `columns` x `rows` small panels.
    void SizeWall(int columns, int rows) {
        TBrowseView& view = View();
        const int scrollBar = view.ScrollBar()->sizeHint().width();
        view.setMinimumSize(0, 0);
        view.setFixedSize(columns * 100 + scrollBar, rows * 100);
        QCoreApplication::processEvents();
    }
    QPoint CentreOf(int panel) { return View().PanelRect(panel).center(); }
    Tm3u* Shown(size_t index) { return Catalogue().View.Albums()[index]; }
    std::vector<Tm3u*> PanelAlbums() {
        std::vector<Tm3u*> albums;
        for (const auto& panel : View().Panels())
            if (panel.visible) albums.push_back(panel.album);
        return albums;
    }

  private slots:
    void cleanup() { Finish(); }

    void commandsAreEnabledWithPictures() {
        QVERIFY(StartBrowsing());
        for (TCommandId id :
             {TCommandId::ListBrowse, TCommandId::ListBrowseOptions, TCommandId::ListRightPanel}) {
            QAction* action = Action(id);
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
            QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        }
        QCOMPARE(Action(TCommandId::ListBrowse)->shortcut(), QKeySequence("Ctrl+B"));
        QVERIFY(Action(TCommandId::ListBrowse)->isChecked());
        // Back to the list and again: the page follows the command.
        Action(TCommandId::ListBrowse)->trigger();
        QCOMPARE(ui_.Window().Panels().CurrentPage(), int(TMainPanels::ListPage));
        QVERIFY(!Action(TCommandId::ListBrowse)->isChecked());
    }

    void wallShowsTheViewListInItsOrder() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        QCOMPARE(View().Grid(), (TBrowseGrid{2, 2}));
        // Six albums, two a row, two rows: three rows in all, maximum 2.
        QCOMPARE(View().ScrollMaximum(), 2);
        QVERIFY(View().ScrollBar()->isVisible());
        QCOMPARE(PanelAlbums(), (std::vector<Tm3u*>{Shown(0), Shown(1), Shown(2), Shown(3)}));
        View().ScrollBar()->setValue(2);
        QCOMPARE(PanelAlbums(), (std::vector<Tm3u*>{Shown(2), Shown(3), Shown(4), Shown(5)}));
        // Texts of a panel: artist, album, year (none for year 0).
        const TCoverPanel& panel = View().Panels()[0];
        QCOMPARE(panel.artist, QString::fromStdString(Shown(2)->Artist.str()));
        QCOMPARE(panel.title, QString::fromStdString(Shown(2)->Album.str()));
        const TCoverPanel& loose = View().Panels()[3];
        QCOMPARE(loose.year, Shown(5)->Year ? QString::number(Shown(5)->Year) : QString());

        // Wider than the list needs: one row, no scroll bar, panels beyond hidden.
        SizeWall(8, 3);
        QCOMPARE(View().ScrollMaximum(), 1);
        QVERIFY(!View().ScrollBar()->isVisible());
        QCOMPARE(PanelAlbums().size(), size_t(6));
        QCOMPARE(View().Panels().size(), size_t(24));
        // Narrower than one panel: still one column.
        View().setFixedSize(40, 250);
        QCoreApplication::processEvents();
        QCOMPARE(View().Grid(), (TBrowseGrid{1, 2}));
        // An empty view list hides every panel and the scroll bar.
        ui_.List().Views().EmptyViews();
        QVERIFY(PanelAlbums().empty());
        QVERIFY(!View().ScrollBar()->isVisible());
    }

    void coversAreDecodedOncePerTimeInView() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        View().ReloadAll();
        const size_t start = View().CoversDecoded();
        // Colouring, filling and laying out again decode nothing.
        View().BrowseColours();
        View().BrowseFill();
        View().BrowseRefresh();
        QCOMPARE(View().CoversDecoded(), start);
        // One row down: two albums stay in view (in other panels), two come in.
        View().ScrollBar()->setValue(2);
        QCOMPARE(View().CoversDecoded(), start + 2);
        // Back up: the two that left come in again.
        View().ScrollBar()->setValue(1);
        QCOMPARE(View().CoversDecoded(), start + 4);
        // An album with a new picture is loaded again, the others are not.
        Browse().AlbumChanged(Shown(1));
        QCOMPARE(View().CoversDecoded(), start + 5);
    }

    void editedAlbumShowsItsNewValues() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        const size_t decoded = View().CoversDecoded();
        Shown(0)->Artist = "Renamed";
        Shown(0)->Year = 0;
        ui_.List().Views().RefillAlbumGrid();
        QCOMPARE(View().Panels()[0].artist, QString("Renamed"));
        QCOMPARE(View().Panels()[0].year, QString());
        QCOMPARE(View().CoversDecoded(), decoded);
    }

    void mouseSelectsAndPlays() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        QTest::mouseClick(&View(), Qt::LeftButton, {}, CentreOf(3));
        QCOMPARE(Page().CurrentAlbum(), Shown(3));
        QVERIFY(View().hasFocus());
        // The current album's panel has the selected colour, the others the plain one.
        const TBrowseDetails& look = Browse().Presets().Current();
        QCOMPARE(View().Panels()[3].colour, ToQColor(look.SelectedPanelColor));
        QCOMPARE(View().Panels()[0].colour, ToQColor(look.PanelColor));
        // A right click selects too.
        QTest::mouseClick(&View(), Qt::RightButton, {}, CentreOf(1));
        QCOMPARE(Page().CurrentAlbum(), Shown(1));
        // Between panels (the background) nothing changes.
        QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(View().width() - 30, 5));
        QCOMPARE(Page().CurrentAlbum(), Shown(1));

        QSignalSpy played(Action(TCommandId::PlaylistPlayAlbum), &QAction::triggered);
        QTest::mouseDClick(&View(), Qt::LeftButton, {}, CentreOf(2));
        QCOMPARE(Page().CurrentAlbum(), Shown(2));
        QCOMPARE(played.count(), 1);
    }

    void wheelMovesOneRow() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        QVERIFY(!View().WheelStep(1));  // up at position 1: nothing
        QCOMPARE(View().Position(), 1);
        QVERIFY(View().WheelStep(-1));
        QCOMPARE(View().Position(), 2);
        QVERIFY(!View().WheelStep(-1));  // at the maximum
        // The wheel over another part of the window scrolls the wall too.
        QWidget* other = ui_.Window().Panels().RightPane();
        QWheelEvent up(QPointF(5, 5), other->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(other, &up);
        QCOMPARE(View().Position(), 1);
    }

    void browseKeyboard() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        View().setFocus();
        Page().SetCurrentRow(0);
        const struct {
            Qt::Key key;
            int row;  // 0-based row afterwards
        } steps[] = {{Qt::Key_Right, 1}, {Qt::Key_Down, 3}, {Qt::Key_Down, 5},
                     {Qt::Key_Down, 5},  {Qt::Key_Left, 4}, {Qt::Key_Up, 2},
                     {Qt::Key_Home, 0},  {Qt::Key_Left, 0}, {Qt::Key_PageDown, 4},
                     {Qt::Key_End, 5},   {Qt::Key_PageUp, 1}, {Qt::Key_Up, 1}};
        for (const auto& step : steps) {
            QTest::keyClick(&View(), step.key);
            QCOMPARE(Page().CurrentRow(), step.row);
            // The current album is always in view.
            const auto albums = PanelAlbums();
            QVERIFY(std::find(albums.begin(), albums.end(), Page().CurrentAlbum()) !=
                    albums.end());
        }
        QVERIFY(View().hasFocus());
        QSignalSpy played(Action(TCommandId::PlaylistPlayAlbum), &QAction::triggered);
        QTest::keyClick(&View(), Qt::Key_Return);
        QTest::keyClick(&View(), Qt::Key_Space);
        QCOMPARE(played.count(), 2);
    }

    void letterJumpBringsTheAlbumIntoView() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 1);
        Page().SetCurrentRow(0);
        QCOMPARE(View().Position(), 1);
        // "q": the first Queen album, the fourth or fifth row of the view.
        QTest::keyClick(&View(), Qt::Key_Q);
        Tm3u* current = Page().CurrentAlbum();
        QVERIFY(current && current->Artist.str() == "Queen");
        const auto albums = PanelAlbums();
        QVERIFY(std::find(albums.begin(), albums.end(), current) != albums.end());
        QVERIFY(View().Position() > 1);
    }

    void selectionMarksInEditMode() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        for (const auto& panel : View().Panels()) QCOMPARE(panel.mark, 0);
        Action(TCommandId::SelectionNew)->trigger();
        QVERIFY(Action(TCommandId::SelectionEdit)->isChecked());
        for (const auto& panel : View().Panels())
            if (panel.visible) QCOMPARE(panel.mark, 1);
        // A press on the mark adds the album to the selection.
        const QRect rect = View().PanelRect(2);
        QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(rect.left() + 8, rect.bottom() - 9));
        QCOMPARE(Page().CurrentAlbum(), Shown(2));
        QVERIFY(Shown(2)->InSelection);
        QCOMPARE(View().Panels()[2].mark, 2);
        // Another current album: the member shows the in-selection colour.
        QTest::mouseClick(&View(), Qt::LeftButton, {}, CentreOf(0));
        const TBrowseDetails& look = Browse().Presets().Current();
        QCOMPARE(View().Panels()[2].colour, ToQColor(look.InSelectionPanelColor));
    }

    void picturesFromClipboardAndDrop() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(red);
        // A right click alone does not paste.
        QTest::mouseClick(&View(), Qt::RightButton, {}, CentreOf(1));
        QVERIFY(Shown(1)->PictureFile().empty());
        QTest::mouseClick(&View(), Qt::RightButton, Qt::ControlModifier, CentreOf(1));
        QVERIFY(!Shown(1)->PictureFile().empty());
        QVERIFY(!View().Panels()[1].cover.isNull());

        // A picture file dropped on a panel.
        const std::string file = home_->Dir() / "blue.png";
        QImage blue(30, 20, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(QString::fromStdString(file)));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(CentreOf(2), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&View(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(CentreOf(2), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&View(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(QPointF(CentreOf(2)), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&View(), &drop);
        QCOMPARE(Page().CurrentAlbum(), Shown(2));
        QVERIFY(!Shown(2)->PictureFile().empty());
        QVERIFY(!View().Panels()[2].cover.isNull());
        QVERIFY(ui_.prompts->errors.isEmpty());
    }

    void rightPanelHidesAndIsKept() {
        QVERIFY(StartBrowsing());
        QVERIFY(ui_.Window().Panels().RightPane()->isVisible());
        Action(TCommandId::ListRightPanel)->trigger();
        QVERIFY(!ui_.Window().Panels().RightPane()->isVisible());
        // A page change keeps it hidden.
        Action(TCommandId::ListBrowse)->trigger();
        QVERIFY(!ui_.Window().Panels().RightPane()->isVisible());
        ui_.Window().close();
        TIniFile ini;
        ini.Load(home_->Dir() / "mavelo.ini");
        QCOMPARE(ini.ReadString("Browse", "FullScreen", ""), std::string("1"));
    }

    void optionsEditTheLookLive() {
        QVERIFY(StartBrowsing());
        SizeWall(2, 2);
        Action(TCommandId::ListBrowseOptions)->trigger();
        TFormBrowseOptions& form = Browse().Options();
        QVERIFY(form.isVisible());
        QVERIFY(!form.isModal());
        auto* width = form.findChild<QSpinBox*>("SEPanelWidth");
        QCOMPARE(width->value(), 100);
        QCOMPARE(width->minimum(), 100);
        QCOMPARE(width->maximum(), 400);
        width->setValue(205);  // two columns need 410 now: one fits
        QCOMPARE(Browse().Presets().Current().Width, 205);
        QCOMPARE(View().Grid().columns, 1);

        form.ChooseColor = [](const QColor&, const QString&) { return QColor(10, 20, 30); };
        QTest::mouseClick(form.findChild<QWidget*>("ShapeBackground"), Qt::LeftButton);
        QCOMPARE(Browse().Presets().Current().BackgroundColor, BrowseRgb(10, 20, 30));
        form.ChooseColor = [](const QColor&, const QString&) { return std::nullopt; };
        QTest::mouseClick(form.findChild<QWidget*>("ShapePanel"), Qt::LeftButton);
        QCOMPARE(Browse().Presets().Current().PanelColor, TBrowseDetails{}.PanelColor);
        QCOMPARE(View().Panels()[1].colour, ToQColor(TBrowseDetails{}.PanelColor));

        form.ChooseFont = [](const TBrowseFont& font, const QString&) {
            TBrowseFont chosen = font;
            chosen.Size = 13;
            chosen.Italic = true;
            return std::optional<TBrowseFont>(chosen);
        };
        QTest::mouseClick(form.findChild<QPushButton*>("ButtonYear"), Qt::LeftButton);
        QCOMPARE(Browse().Presets().Current().YearFont.Size, 13);
        QVERIFY(Browse().Presets().Current().YearFont.Italic);
        form.findChild<QCheckBox*>("CheckArtist")->click();
        QVERIFY(!Browse().Presets().Current().Artist3D);
        form.findChild<QCheckBox*>("CheckPanelBorder")->click();
        QVERIFY(!Browse().Presets().Current().PanelBorder);
        // Opening it again while shown keeps the one window.
        Action(TCommandId::ListBrowseOptions)->trigger();
        QVERIFY(form.isVisible());
        form.findChild<QPushButton*>("SpeedButtonClose")->click();
        QVERIFY(!form.isVisible());
    }

    void presetCommandsAndTheirMessages() {
        QVERIFY(StartBrowsing());
        TFormBrowseOptions& form = Browse().Options();
        Action(TCommandId::ListBrowseOptions)->trigger();
        auto* list = form.findChild<QListWidget*>("ListBoxPresets");
        TScriptedPrompts& prompts = *ui_.prompts;

        // Without a chosen preset: the message, and nothing done.
        list->setCurrentRow(-1);
        form.SpeedButtonOverwriteClick();
        form.SpeedButtonLoadClick();
        form.SpeedButtonDeleteClick();
        QCOMPARE(prompts.errors, QStringList({"No selected browse mode preset !",
                                              "No browse mode preset is selected !",
                                              "No browse mode preset is selected !"}));
        prompts.errors.clear();

        prompts.textAnswers = {QString("Wide"), QString("WIDE"), std::nullopt};
        form.SpeedButtonNewClick();
        form.SpeedButtonNewClick();  // the same name in other letters
        form.SpeedButtonNewClick();  // cancelled
        QCOMPARE(prompts.errors,
                 QStringList({"This browse mode preset name already exists"}));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Wide"));

        // Change the look, then load the preset back.
        form.findChild<QSpinBox*>("SEPanelSpace")->setValue(20);
        list->setCurrentRow(0);
        form.SpeedButtonLoadClick();
        QCOMPARE(Browse().Presets().Current().Space, 0);
        QCOMPARE(form.findChild<QSpinBox*>("SEPanelSpace")->value(), 0);

        // Overwrite asks first; No keeps the preset.
        form.findChild<QSpinBox*>("SEPanelSpace")->setValue(7);
        prompts.confirmAnswers = {false, true};
        form.SpeedButtonOverwriteClick();
        QCOMPARE(Browse().Presets()[1].Details.Space, 0);
        form.SpeedButtonOverwriteClick();
        QCOMPARE(Browse().Presets()[1].Details.Space, 7);
        QCOMPARE(prompts.questions.count("Are you sure ?"), 2);

        prompts.textAnswers = {QString("Dark")};
        form.SpeedButtonNewClick();
        ui_.Window().close();
        TIniFile ini;
        ini.Load(home_->Dir() / "mavelo.ini");
        QCOMPARE(ini.ReadInteger("Browse", "PresetsCount", 0), 3);
        QCOMPARE(ini.ReadString("BrowsePreset_2", "PresetName", ""), std::string("Wide"));
        QCOMPARE(ini.ReadInteger("BrowsePreset_2", "Space", -1), 7);
        QCOMPARE(ini.ReadString("BrowsePreset_3", "PresetName", ""), std::string("Dark"));
        QCOMPARE(ini.ReadInteger("BrowsePreset_1", "Space", -1), 7);
    }

    void deleteAsksFirst() {
        QVERIFY(StartBrowsing(std::string(kSmallPanels) +
                              "[BrowsePreset_2]\nPresetName=Old\n[BrowsePreset_3]\n"));
        // The count says 1: sections beyond it are not presets.
        QCOMPARE(Browse().Presets().Count(), size_t(1));
        TScriptedPrompts& prompts = *ui_.prompts;
        TFormBrowseOptions& form = Browse().Options();
        prompts.textAnswers = {QString("One"), QString("Two")};
        form.SpeedButtonNewClick();
        form.SpeedButtonNewClick();
        auto* list = form.findChild<QListWidget*>("ListBoxPresets");
        list->setCurrentRow(0);
        prompts.confirmAnswers = {false, true};
        form.SpeedButtonDeleteClick();
        QCOMPARE(list->count(), 2);
        form.SpeedButtonDeleteClick();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Two"));
        ui_.Window().close();
        TIniFile ini;
        ini.Load(home_->Dir() / "mavelo.ini");
        QCOMPARE(ini.ReadInteger("Browse", "PresetsCount", 0), 2);
        QVERIFY(!ini.SectionExists("BrowsePreset_3"));
    }

    void sameBackgroundInTheListView() {
        QVERIFY(StartBrowsing(std::string(kSmallPanels) +
                              "BackgroundColor=255\nbrowseSetListBackColor=1\n"));
        QCOMPARE(Page().Details()->palette().color(QPalette::Window), QColor(255, 0, 0));
        Action(TCommandId::ListBrowseOptions)->trigger();
        Browse().Options().findChild<QCheckBox*>("CheckBoxListViewColor")->click();
        QCOMPARE(Page().Details()->palette().color(QPalette::Window), QColor(Qt::white));
    }
};

QTEST_MAIN(BrowseViewTest)
#include "browse_view_test.moc"
