// The playlist builder window over a fixture folder: the tree and its looks,
// the commands offered per selection, creating a playlist through the new
// playlist dialog, removing and reordering entries, renaming by editing, the
// batch creation, and the controller behind the Tools command.
#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "TempDir.h"
#include "core/FileSystem.h"
#include "core/Ulang.h"
#include "gui/builder/BuilderController.h"
#include "gui/builder/Ulistbuilder.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/common/Translate.h"
#include "gui/shell/ShellPort.h"
#include "scripted_prompts.h"

namespace {

bool FakeTags(Tmp3& track) {
    track.Artist = "Band";
    track.Album = "Record";
    track.Year = 1999;
    track.TagKind = TTagKind::ID3v2;
    return true;
}

std::string Entries(const std::string& playlist) {
    Tm3u album{TSharedText(playlist)};
    album.ReadPlaylist(false);
    std::string names;
    for (size_t i = 0; i < album.Tracks.Count(); ++i)
        names += ExtractFileName(album.Tracks[i].Path) + " ";
    return names;
}

}  // namespace

class BuilderWindowTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<TScriptedPrompts> prompts;
    std::unique_ptr<TFormListBuilder> form;

    void Select(const std::vector<std::string>& names) {
        form->Tree()->clearSelection();
        for (const auto& name : names) {
            QTreeWidgetItem* item = form->ItemOf(*dir / name);
            QVERIFY2(item, name.c_str());
            item->setSelected(true);
            form->Tree()->setCurrentItem(item, 0, QItemSelectionModel::Select);
        }
    }
    bool Offered(const char* action) { return form->Command(action)->isVisible(); }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        dir->File("A/a.m3u", "1.mp3\r\n2.mp3\r\n3.mp3\r\nmissing.mp3\r\n");
        for (const char* name : {"A/1.mp3", "A/2.mp3", "A/3.mp3", "A/o1.mp3", "A/o2.mp3", "A/a.jpg",
                                 "A/stray.jpg", "B/b1.mp3", "B/b2.ogg"})
            dir->File(name, name);
        prompts = std::make_unique<TScriptedPrompts>();
        TBuilderTools tools;
        tools.ReadTags = FakeTags;
        form = std::make_unique<TFormListBuilder>(nullptr, *prompts, tools);
        form->SetRoots({dir->Path()});
        form->Open();
    }

    void treeShowsKindsAndColours() {
        QTreeWidgetItem* stray = form->ItemOf(*dir / "A/stray.jpg");
        QTreeWidgetItem* picture = form->ItemOf(*dir / "A/a.jpg");
        QTreeWidgetItem* missing = form->ItemOf(*dir / "A/missing.mp3");
        QVERIFY(stray && picture && missing);
        QCOMPARE(stray->foreground(0).color(), QColor(0xFF0000));
        QCOMPARE(picture->foreground(0).color(), QColor(0x00009B));
        QCOMPARE(missing->foreground(0).color(), QColor(0xFF0000));
        QCOMPARE(missing->font(0).pointSize(), 7);
        QVERIFY(form->ItemOf(*dir / "A/o1.mp3"));
        // "Orphans" off hides them; "Tracks" on switches "Lists" on again.
        auto* orphans = form->findChild<QCheckBox*>("CheckBoxOrphans");
        orphans->setChecked(false);
        QVERIFY(form->ItemOf(*dir / "A/o1.mp3")->isHidden());
        auto* lists = form->findChild<QCheckBox*>("CheckBoxList");
        lists->setChecked(false);
        form->findChild<QCheckBox*>("CheckBoxTrack")->setChecked(true);
        QVERIFY(lists->isChecked());
        QVERIFY(form->ItemOf(*dir / "A/a.m3u")->isExpanded());
    }

    // The details panel: a picture's preview with its size, nothing for a
    // .jpg that holds no picture; an audio file's length and size once asked.
    void detailsPanelShowsPicturesAndAudioFiles() {
        std::filesystem::copy_file(MAVELO_TEST_DATA "/covers/blue_300x100.jpg",
                                   *dir / "B/cover.jpg");
        TBuilderTools tools;
        tools.ReadTags = FakeTags;
        tools.MeasureTrack = [](Tmp3& track) { track.Duration = 245000; };
        form = std::make_unique<TFormListBuilder>(nullptr, *prompts, tools);
        form->SetRoots({dir->Path()});
        form->Open();
        auto* preview = form->findChild<QLabel*>("LabelPreview");
        auto* audio = form->findChild<QLabel*>("LabelAudioInfo");

        Select({"B/cover.jpg"});
        QVERIFY(!preview->isHidden());
        QCOMPARE(preview->text(), QString("300x100 , 0 kb"));  // 424 bytes
        Select({"A/stray.jpg"});
        QVERIFY(preview->isHidden());
        Select({"B/b1.mp3"});
        QVERIFY(audio->isHidden());  // "Audio file info" starts off
        form->findChild<QCheckBox*>("CheckBoxAudioInfo")->setChecked(true);
        QVERIFY(!audio->isHidden());
        QCOMPARE(audio->text(), QString("4:05 , 0 Mb"));
        form->findChild<QCheckBox*>("CheckBoxPreview")->setChecked(false);
        Select({"B/cover.jpg"});
        QVERIFY(preview->isHidden());
        QVERIFY(audio->isHidden());
    }

    void commandsOfferedBySelection() {
        struct Case {
            std::vector<std::string> selected;
            std::vector<const char*> offered;
        };
        const std::vector<Case> cases = {
            {{"A"}, {"ActionPLBPlaylistCreate"}},
            {{"B"}, {"ActionPLBPlaylistCreate"}},
            {{"A/o1.mp3", "A/o2.mp3"}, {"ActionPLBPlaylistCreate"}},
            {{"A/a.m3u"}, {"ActionPLBPlaylistDelete"}},
            {{"A/1.mp3"}, {"ActionPLBTrackRemove", "ActionPLBTrackMoveDown"}},
            {{"A/2.mp3"},
             {"ActionPLBTrackRemove", "ActionPLBTrackMoveUp", "ActionPLBTrackMoveDown"}},
            {{"A/1.mp3", "A/2.mp3"}, {"ActionPLBTrackRemove"}},
            {{"A/a.jpg"}, {"ActionPLBPictureRemove"}},
            {{"A/a.jpg", "A/stray.jpg"}, {}},
        };
        const char* all[] = {"ActionPLBPlaylistCreate", "ActionPLBPlaylistDelete",
                             "ActionPLBTrackRemove",    "ActionPLBTrackMoveUp",
                             "ActionPLBTrackMoveDown",  "ActionPLBPictureRemove"};
        for (const Case& c : cases) {
            Select(c.selected);
            for (const char* action : all) {
                const bool expected =
                    std::find_if(c.offered.begin(), c.offered.end(), [&](const char* a) {
                        return std::string(a) == action;
                    }) != c.offered.end();
                QVERIFY2(Offered(action) == expected,
                         (std::string(action) + " for " + c.selected.front()).c_str());
            }
        }
    }

    void createPlaylistFromOrphans() {
        QString proposed;
        form->askNewList = [&](const QString& name) {
            proposed = name;
            return std::optional<TNewListChoice>({"Mine.pls", TPlaylistType::M3U});
        };
        Select({"A/o1.mp3", "A/o2.mp3"});
        form->Command("ActionPLBPlaylistCreate")->trigger();
        QCOMPARE(proposed, QString("Band - Record (1999)"));
        QCOMPARE(Entries(*dir / "A/Mine.m3u"), std::string("o1.mp3 o2.mp3 "));
        QCOMPARE(form->NodeOf(form->Tree()->currentItem())->Path, *dir / "A/Mine.m3u");
        QVERIFY(!form->ItemOf(*dir / "A/o1.mp3") ||
                form->NodeOf(form->ItemOf(*dir / "A/o1.mp3"))->Kind == KindEntry);
        // The same name again: asked, and kept when the user says no.
        prompts->laterAnswer = false;
        Select({"B"});
        form->Command("ActionPLBPlaylistCreate")->trigger();  // B/Mine.m3u: new, no question
        QCOMPARE(prompts->questions.size(), 0);
        Select({"A/3.mp3"});  // an entry: an empty playlist in its folder, after the question
        form->Command("ActionPLBPlaylistCreate")->trigger();
        QCOMPARE(prompts->questions.size(), 1);
        QCOMPARE(Entries(*dir / "A/Mine.m3u"), std::string("o1.mp3 o2.mp3 "));
    }

    // Ctrl+P creates a playlist whenever something is selected, also where
    // the menu does not offer the command (a playlist or an entry: an empty
    // playlist in its folder); with nothing selected it does nothing.
    void ctrlPCreatesAPlaylistWheneverSomethingIsSelected() {
        int asked = 0;
        form->askNewList = [&](const QString&) {
            ++asked;
            return std::optional<TNewListChoice>({"Mine.m3u", TPlaylistType::M3U});
        };
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const struct {
            std::vector<std::string> selected;
            bool offered;
            int asked;
        } cases[] = {
            {{"A/o1.mp3"}, true, 1},
            {{"A/a.m3u"}, false, 1},
            {{"A/1.mp3"}, false, 1},
            {{}, false, 0},
        };
        for (const auto& c : cases) {
            const std::string what = c.selected.empty() ? "nothing" : c.selected[0];
            asked = 0;
            Select(c.selected);
            QCOMPARE(Offered("ActionPLBPlaylistCreate"), c.offered);
            form->Tree()->setFocus();
            QTest::keyClick(form->Tree(), Qt::Key_P, Qt::ControlModifier);
            QVERIFY2(asked == c.asked, what.c_str());
        }
        QVERIFY(FileExists(*dir / "A/Mine.m3u"));
    }

    // The shipped French file reaches the label over the folder tree too.
    void frenchFileTranslatesTheLabelOverTheFolders() {
        std::ifstream in(MAVELO_TEST_DATA "/../../share/lang/French.lng");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        QVERIFY(!lines.empty());
        LangLines() = lines;
        TranslateForm(form.get());
        LangLines().clear();
        auto* label = form->findChild<QLabel*>("LabelRootDirs");
        QVERIFY(label);
        QCOMPARE(label->text(), QString("Répertoires à parcourir"));
    }

    void entriesRemovedAndMoved() {
        Select({"A/2.mp3"});
        form->Command("ActionPLBTrackMoveUp")->trigger();
        QCOMPARE(Entries(*dir / "A/a.m3u"), std::string("2.mp3 1.mp3 3.mp3 missing.mp3 "));
        QCOMPARE(form->NodeOf(form->Tree()->currentItem())->Path, *dir / "A/2.mp3");
        Select({"A/1.mp3", "A/missing.mp3"});
        form->Command("ActionPLBTrackRemove")->trigger();
        QCOMPARE(Entries(*dir / "A/a.m3u"), std::string("2.mp3 3.mp3 "));
        QVERIFY(form->NodeOf(form->ItemOf(*dir / "A/1.mp3"))->Kind == KindOrphan);
    }

    void renameByEditingAndDeleteAsked() {
        QTreeWidgetItem* orphan = form->ItemOf(*dir / "A/o1.mp3");
        orphan->setText(0, "first.wav");  // the extension must stay: ignored
        QCoreApplication::processEvents();
        QVERIFY(FileExists(*dir / "A/o1.mp3"));
        QCOMPARE(form->ItemOf(*dir / "A/o1.mp3")->text(0), QString("o1.mp3"));
        form->ItemOf(*dir / "A/o1.mp3")->setText(0, "o2.mp3");  // taken
        QCoreApplication::processEvents();
        QCOMPARE(prompts->informed.size(), 1);
        QVERIFY(prompts->informed[0].startsWith("Could not rename"));
        form->ItemOf(*dir / "A/o1.mp3")->setText(0, "First.mp3");
        QCoreApplication::processEvents();
        QVERIFY(FileExists(*dir / "A/First.mp3"));
        QVERIFY(form->ItemOf(*dir / "A/First.mp3"));

        prompts->laterAnswer = false;
        Select({"A/a.m3u"});
        form->Command("ActionPLBPlaylistDelete")->trigger();
        QVERIFY(FileExists(*dir / "A/a.m3u"));
        prompts->laterAnswer = true;
        form->Command("ActionPLBPlaylistDelete")->trigger();
        QVERIFY(!FileExists(*dir / "A/a.m3u"));
    }

    void dropsMoveFilesAndMakePictures() {
        BuilderNode* folderB = form->NodeOf(form->ItemOf(*dir / "B"));
        Select({"A/o1.mp3", "A/o2.mp3"});
        QVERIFY(form->CanDropOn(folderB));
        QVERIFY(!form->CanDropOn(form->NodeOf(form->ItemOf(*dir / "A"))));  // their own folder
        form->DropOn(folderB);
        QVERIFY(FileExists(*dir / "B/o1.mp3") && FileExists(*dir / "B/o2.mp3"));
        QVERIFY(!FileExists(*dir / "A/o1.mp3"));

        // An image onto a playlist of its folder: converted, the image kept;
        // the existing picture is replaced only after the question.
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(QString::fromStdString(*dir / "A/scan.png")));
        form->SetRoots({dir->Path()});
        form->Open();
        prompts->laterAnswer = false;
        Select({"A/scan.png"});
        form->DropOn(form->NodeOf(form->ItemOf(*dir / "A/a.m3u")));
        QCOMPARE(prompts->questions.size(), 1);
        QCOMPARE(QString::fromStdString(ReadWholeFile(*dir / "A/a.jpg")), QString("A/a.jpg"));
        prompts->laterAnswer = true;
        Select({"A/scan.png"});
        form->DropOn(form->NodeOf(form->ItemOf(*dir / "A/a.m3u")));
        QVERIFY(ReadWholeFile(*dir / "A/a.jpg").rfind("\xFF\xD8", 0) == 0);
        QVERIFY(FileExists(*dir / "A/scan.png"));

        // A playlist dropped on a folder takes its own files along.
        Select({"A/a.m3u"});
        form->DropOn(form->NodeOf(form->ItemOf(*dir / "B")));
        QCOMPARE(Entries(*dir / "B/a.m3u"), std::string("1.mp3 2.mp3 3.mp3 missing.mp3 "));
        QVERIFY(FileExists(*dir / "B/1.mp3") && !FileExists(*dir / "A/a.m3u"));
        QCOMPARE(form->NodeOf(form->Tree()->currentItem())->Path, *dir / "B/a.m3u");
    }

    void editDetailsThroughTheEditor() {
        Select({"A/a.m3u"});
        QVERIFY(!Offered("ActionPLBPlaylistEdit"));  // no editor: nothing to offer
        form->editDetails = [&](Tm3u& album, std::string& format) {
            format = "%album";
            const std::string renamed = *dir / "A/Edited.m3u";
            RenameWithoutReplacing(album.PlaylistPath, renamed);
            return renamed;
        };
        Select({"A/a.m3u"});
        QVERIFY(Offered("ActionPLBPlaylistEdit"));
        form->Command("ActionPLBPlaylistEdit")->trigger();
        QCOMPARE(form->ListFormat(), std::string("%album"));
        QCOMPARE(form->NodeOf(form->Tree()->currentItem())->Path, *dir / "A/Edited.m3u");
    }

    void createAllPlaylistsForFoldersWithout() {
        form->CreateAllPlaylists();
        QCOMPARE(Entries(*dir / "B/Band - Record (1999).m3u"), std::string("b1.mp3 b2.ogg "));
        QVERIFY(!FileExists(*dir / "A/Band - Record (1999).m3u"));  // A has its playlist
    }

    // The batch runs off the window thread: the window goes on with its
    // events, shows the progress, and Cancel (or Escape) stops it after the
    // folder it works on, leaving the dialog open.
    void createAllRunsOffTheWindowThreadAndCancels_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void createAllRunsOffTheWindowThreadAndCancels() {
        QFETCH(bool, byEscape);
        for (const char* name : {"C/c1.mp3", "D/d1.mp3", "E/e1.mp3"}) dir->File(name, name);
        std::atomic<bool> open{false};
        std::atomic<int> reads{0};
        const std::thread::id windowThread = std::this_thread::get_id();
        std::atomic<bool> readOnWindowThread{false};
        TBuilderTools tools;
        tools.ReadTags = [&](Tmp3& track) {
            if (std::this_thread::get_id() == windowThread) readOnWindowThread = true;
            while (!open) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ++reads;
            return FakeTags(track);
        };
        form = std::make_unique<TFormListBuilder>(nullptr, *prompts, tools);
        form->SetRoots({dir->Path()});
        form->show();
        form->Open();
        int ticksWhileHeld = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            auto* cancel = form->findChild<QPushButton*>("ButtonCancel");
            if (!form->IsRunning() || open || !cancel->isVisible()) return;
            if (++ticksWhileHeld < 3) return;
            QVERIFY(!form->Tree()->isEnabled());
            if (byEscape)
                QTest::keyClick(form.get(), Qt::Key_Escape);
            else
                QTest::mouseClick(cancel, Qt::LeftButton);
            open = true;
        });
        timer.start(5);
        form->CreateAllPlaylists();
        timer.stop();
        QVERIFY(ticksWhileHeld >= 3);
        QVERIFY(!readOnWindowThread);
        QVERIFY(form->isVisible());  // Escape cancelled the work, not the window
        QVERIFY(!form->IsRunning());
        QVERIFY(form->Tree()->isEnabled());
        QVERIFY(FileExists(*dir / "B/Band - Record (1999).m3u"));  // the folder it worked on
        for (const char* stopped : {"C", "D", "E"})
            QVERIFY2(!FileExists(*dir / (std::string(stopped) + "/Band - Record (1999).m3u")),
                     stopped);
        form->hide();
    }

    void controllerRunsOnTheToolsCommand() {
        TSession session;
        session.Catalogue.Roots.Add(dir->Path());
        TFakeShell shell;
        TScriptedPrompts controllerPrompts;
        int fastScans = 0;
        TBuilderHooks hooks;
        hooks.fastScan = [&] { ++fastScans; };
        TBuilderController controller(session, shell, controllerPrompts, hooks);
        shell.Action(TCommandId::ToolsPlaylistBuilder)->trigger();
        QCOMPARE(controllerPrompts.modals, QStringList{"FormListBuilder"});
        QVERIFY(controller.Window()->ItemOf(*dir / "B/b1.mp3"));
        QCOMPARE(fastScans, 1);
        QCOMPARE(controllerPrompts.questions.size(), 1);
    }

    void cleanup() {
        form.reset();
        prompts.reset();
        dir.reset();
    }
};

QTEST_MAIN(BuilderWindowTest)
#include "builder_window_test.moc"
