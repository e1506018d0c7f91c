// The FreeDB windows and album commands against a CDDB server the test runs
// on 127.0.0.1: the editor's search, read and Apply, the batch, the single
// album update and the server's refusals.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "cddb_fixture.h"
#include "core/FileSystem.h"
#include "gui/cddb/CddbController.h"
#include "gui/cddb/FormBatch.h"
#include "gui/cddb/FormEdit.h"
#include "gui/cddb/FormFreeDB.h"

namespace {
using R = LocalHttpServer;

template <typename W>
W* Child(QWidget* window, const char* name) {
    auto* w = window->findChild<W*>(name);
    if (!w) qFatal("no child %s", name);
    return w;
}

QString ReadText(const std::string& path) {
    return QString::fromStdString(ReadWholeFile(path));
}

// A controller over the session with the test's server.
struct Setup {
    TempDir dir;
    CddbServer server;
    TSession session;
    TFakeShell shell;
    TScriptedPrompts prompts;
    Tm3u* current = nullptr;
    std::vector<Tm3u*> shown;
    std::unique_ptr<TCddbController> controller;

    Setup() {
        session.Settings.FreeDB = server.Url();
        session.Settings.FreeDBLogin = "tester";
        session.Settings.FreeDBHostName = "testhost";
        TCddbHooks hooks;
        hooks.currentAlbum = [this] { return current; };
        hooks.showAlbum = [this](Tm3u* a) { shown.push_back(a); };
        controller = std::make_unique<TCddbController>(session, shell, prompts, hooks);
    }
};
}  // namespace

class CddbWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void editorAppliesAChosenMatch();
    void editorShowsRefusalsAndKeepsTheFields();
    void editorStaysResponsiveWhileTheServerHangs();
    void batchUpdatesTheRedAlbums();
    void updateCommandShowsTheServersRefusal();
    void saveInfoRewritesThePlaylist();
    void picturePanelLoadsAndClearsThePicture();
    void scanAlbumRereadsTheTags();
    void builderPlaylistIsEditedWithTheBuildersFormat();
};

void CddbWindowsTest::editorAppliesAChosenMatch() {
    Setup s;
    s.server.Query = R::Ok(CddbReply("query_211_inexact.txt"));
    s.server.Reads["rock+14026c03"] = R::Ok(CddbReply("read_basic.txt"));
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    s.current = &album;
    s.session.Settings.DefaultTagging = 2;
    TFormEdit* editor = s.controller->Editor();
    auto* matches = Child<QTableWidget>(editor, "StringGridAlbums");
    auto* tracks = Child<QTableWidget>(editor, "StringGridTracks");
    auto* artist = Child<QLineEdit>(editor, "EditArtist");
    QString label;
    WhenReady([&] { return editor->isVisible() && !editor->Busy() && matches->rowCount() == 3; },
              [&] {
                  label = Child<QLabel>(editor, "LabelFreeDB")->text();
                  matches->setCurrentCell(1, 2);  // reads the first match
                  WhenReady([&] { return !editor->Busy() && artist->text() == "Artist One"; },
                            [&] {
                                tracks->item(0, 3)->setText("Edited");
                                Child<QPushButton>(editor, "SpeedButtonApply")->click();
                            });
              });
    s.shell.Action(TCommandId::AlbumEdit)->trigger();

    QCOMPARE(label, QString("2 albums were found on FreeDB"));
    const std::string folder = s.dir / "disc/";
    const std::string playlist = folder + "Artist One - First Album (1999).m3u";
    QCOMPARE(QString::fromStdString(album.PlaylistPath), QString::fromStdString(playlist));
    QVERIFY(FileExists(folder + "01 - Edited.mp3"));
    QVERIFY(FileExists(folder + "02 - Closing Time.mp3"));
    QVERIFY(!FileExists(folder + "list.m3u"));
    QVERIFY(ReadText(playlist).contains("02 - Closing Time.mp3"));
    // The album is found under its new key; the list must be saved.
    QCOMPARE(s.session.Catalogue.Directory.List.Find(playlist), &album);
    QVERIFY(s.session.Catalogue.ListModified);
    QCOMPARE(album.Status, TAlbumStatus::Orange);
    QCOMPARE(QString::fromStdString(album.Genre), QString("Rock"));
    Tmp3 first(folder + "01 - Edited.mp3");
    QVERIFY(first.ReadTags());
    QCOMPARE(QString::fromStdString(first.Title), QString("Edited"));
    QCOMPARE(first.Year, 1999);
    QCOMPARE(s.session.Settings.DefaultTagging, 2);
    QVERIFY(s.prompts.errors.isEmpty());
}

void CddbWindowsTest::editorShowsRefusalsAndKeepsTheFields() {
    Setup s;
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    album.SetInfo("Own Artist", 2000, "Jazz", "Own Album");
    TFormEdit editor(nullptr, nullptr);
    TEditInputs inputs;
    inputs.Server = s.server.Server();

    s.server.Query = R::Ok(CddbReply("query_500_refused.txt"));
    editor.Open(album, inputs);
    editor.show();
    auto* label = Child<QLabel>(&editor, "LabelFreeDB");
    QTRY_COMPARE(label->text(), QString("500 Unknown application"));

    // A match whose read the server refuses fills nothing.
    s.server.Query = R::Ok(CddbReply("query_211_inexact.txt"));
    editor.Open(album, inputs);
    auto* matches = Child<QTableWidget>(&editor, "StringGridAlbums");
    QTRY_VERIFY(!editor.Busy() && matches->rowCount() == 3);
    matches->setCurrentCell(2, 2);
    QTRY_VERIFY(label->text().startsWith("401 "));
    QCOMPARE(Child<QLineEdit>(&editor, "EditArtist")->text(), QString("Own Artist"));
    QCOMPARE(Child<QLineEdit>(&editor, "EditYear")->text(), QString("2000"));

    // FreeDB off: no request at all.
    const int requests = s.server.Requests();
    inputs.UseFreeDB = false;
    editor.Open(album, inputs);
    QCOMPARE(label->text(), QString("FreeDB search disabled"));
    QCOMPARE(matches->rowCount(), 1);
    QTest::qWait(50);
    QCOMPARE(s.server.Requests(), requests);
    editor.reject();
}

void CddbWindowsTest::editorStaysResponsiveWhileTheServerHangs() {
    Setup s;
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    s.server.Query = "";  // never answers
    TFormEdit editor(nullptr, nullptr);
    TEditInputs inputs;
    inputs.Server = s.server.Server();
    inputs.Server.QueryTimeoutMs = 300;
    editor.Open(album, inputs);
    editor.show();
    // The read time-out ends the search with the connection failure.
    auto* label = Child<QLabel>(&editor, "LabelFreeDB");
    QTRY_COMPARE(label->text(), QString("Could not connect to FreeDB"));

    // With a long time-out, events keep running during the request (a timer
    // fires while it is busy) and closing the editor ends the wait.
    inputs.Server.QueryTimeoutMs = 600000;
    bool closedWhileBusy = false;
    WhenReady([&] { return editor.Busy(); },
              [&] {
                  closedWhileBusy = true;
                  editor.reject();
              });
    editor.Open(album, inputs);
    QTRY_VERIFY(closedWhileBusy && !editor.Busy());
}

void CddbWindowsTest::batchUpdatesTheRedAlbums() {
    Setup s;
    s.server.Query = R::Ok(CddbReply("query_200_single.txt"));
    s.server.Reads["rock+14026c03"] = R::Ok(CddbReply("read_basic.txt"));
    Tm3u& red = AddDiscAlbum(s.session, s.dir, "red");
    Tm3u& green = AddDiscAlbum(s.session, s.dir, "green");
    green.Status = TAlbumStatus::Green;
    const std::string greenPath = green.PlaylistPath;
    TFormBatch* dialog = s.controller->BatchDialog();
    Child<QCheckBox>(dialog, "CheckBoxNormMp3")->setChecked(false);
    WhenReady([&] { return dialog->isVisible(); },
              [&] { Child<QPushButton>(dialog, "ButtonOk")->click(); });
    QSignalSpy changed(s.controller.get(), &TCddbController::albumChanged);
    QSignalSpy retagged(s.controller.get(), &TCddbController::albumsRetagged);
    s.shell.Action(TCommandId::ListBatch)->trigger();

    // The views show the album anew, then sort the retagged albums again.
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].value<Tm3u*>(), &red);
    QCOMPARE(retagged.count(), 1);

    QCOMPARE(red.Status, TAlbumStatus::Orange);
    QCOMPARE(QString::fromStdString(red.PlaylistPath),
             QString::fromStdString(s.dir / "red/Artist One - First Album (1999).m3u"));
    QVERIFY(FileExists(s.dir / "red/a.mp3"));  // track renaming was unticked
    QCOMPARE(s.session.Catalogue.Directory.List.Find(red.PlaylistPath), &red);
    QCOMPARE(QString::fromStdString(green.PlaylistPath), QString::fromStdString(greenPath));
    QCOMPARE(s.shown, std::vector<Tm3u*>{&red});
    QVERIFY(!s.controller->Progress()->isVisible());
    // The dialog keeps its choices for the next batch.
    QVERIFY(!Child<QCheckBox>(s.controller->BatchDialog(), "CheckBoxNormMp3")->isChecked());
}

void CddbWindowsTest::updateCommandShowsTheServersRefusal() {
    Setup s;
    s.server.Query = R::Ok(CddbReply("query_500_refused.txt"));
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    const std::string before = album.PlaylistPath;
    s.current = &album;
    s.shell.Action(TCommandId::AlbumFreeDB)->trigger();
    TFormFreeDB* progress = s.controller->Progress();
    QVERIFY(progress->isVisible());  // stays with its comment until closed
    QCOMPARE(progress->Comment(), QString("500 Unknown application"));
    QCOMPARE(progress->CancelCaption(), QString("Close"));
    QCOMPARE(album.Status, TAlbumStatus::Red);
    QCOMPARE(QString::fromStdString(album.PlaylistPath), QString::fromStdString(before));
    Child<QPushButton>(progress, "SpeedButtonCancel")->click();
    QVERIFY(!progress->isVisible());
}

void CddbWindowsTest::saveInfoRewritesThePlaylist() {
    Setup s;
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    s.current = &album;
    s.dir.File("disc/list.m3u", "a.mp3\n");  // b.mp3 still belongs to the album
    s.shell.Action(TCommandId::AlbumSaveInfo)->trigger();
    QVERIFY(ReadText(album.PlaylistPath).contains("b.mp3"));
    QCOMPARE(s.server.Requests(), 0);
}

void CddbWindowsTest::picturePanelLoadsAndClearsThePicture() {
    Setup s;
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    TFormEdit editor(nullptr, &s.prompts);
    TEditInputs inputs;
    inputs.UseFreeDB = false;
    editor.Open(album, inputs);
    auto* panel = Child<QLabel>(&editor, "PanelImage");
    QCOMPARE(panel->text(), QString("Drag'n'drop here"));
    const std::string picture = PicturePathFor(album.PlaylistPath);

    // A PNG goes through the image readers and is kept as a JPEG.
    s.prompts.openFile = QString(MAVELO_TEST_DATA) + "/covers/white_40x40.png";
    Child<QAction>(&editor, "ActionFDLoadImage")->trigger();
    QVERIFY(FileExists(picture));
    QCOMPARE(ReadWholeFile(picture).substr(0, 2), std::string("\xFF\xD8"));
    QCOMPARE(album.PictureState, TPictureState::Present);
    QVERIFY(!panel->pixmap().isNull());

    s.prompts.openFile = QString(MAVELO_TEST_DATA) + "/covers/missing.jpg";
    Child<QAction>(&editor, "ActionFDLoadImage")->trigger();
    QCOMPARE(s.prompts.errors.size(), 1);
    QVERIFY(FileExists(picture));  // the old picture stays

    Child<QAction>(&editor, "ActionFDDeleteImage")->trigger();
    QCOMPARE(s.prompts.questions, QStringList{"Are you sure ?"});
    QVERIFY(!FileExists(picture));
    QCOMPARE(panel->text(), QString("Drag'n'drop here"));
    editor.reject();
}

void CddbWindowsTest::scanAlbumRereadsTheTags() {
    Setup s;
    Tm3u& album = AddDiscAlbum(s.session, s.dir, "disc");
    s.current = &album;
    for (size_t i = 0; i < album.Tracks.Count(); ++i)
        QVERIFY(Tmp3(album.Tracks[i].Path)
                    .WriteTags(TId3Choice::V2, {"t", "New Artist", "New Album", "Folk", 2011}));
    s.session.Catalogue.ListModified = false;
    s.shell.Action(TCommandId::AlbumUpdate)->trigger();
    QCOMPARE(QString::fromStdString(album.Artist), QString("New Artist"));
    QCOMPARE(album.Year, 2011);
    QVERIFY(s.session.Catalogue.ListModified);
    QCOMPARE(s.shell.busy, 0);  // busy mode ended
    QCOMPARE(s.server.Requests(), 0);
}

// The playlist builder's "Edit details": an album outside the catalogue,
// renamed by the builder's album name format; the catalogue is not touched,
// and the folder, which the builder's tree holds, is not renamed.
void CddbWindowsTest::builderPlaylistIsEditedWithTheBuildersFormat() {
    Setup s;
    s.server.Query = R::Ok(CddbReply("query_202_none.txt"));
    const std::string folder = s.dir / "loose/";
    s.dir.File("loose/list.m3u", "a.mp3\r\nb.mp3\r\n");
    for (auto name : {"a.mp3", "b.mp3"})
        std::filesystem::copy_file(std::string(MAVELO_TEST_DATA) + "/tags/id3v1_v10.mp3",
                                   folder + name);
    Tm3u album{TSharedText(folder + "list.m3u")};
    album.Refresh(true);
    TFormEdit* editor = s.controller->Editor();
    bool folderRenameOffered = true;
    WhenReady([&] { return editor->isVisible() && !editor->Busy(); },
              [&] {
                  Child<QLineEdit>(editor, "EditArtist")->setText("Loose Band");
                  Child<QLineEdit>(editor, "EditAlbum")->setText("Found Tapes");
                  auto* renameFolder = Child<QCheckBox>(editor, "CheckBoxNormDir");
                  folderRenameOffered = renameFolder->isEnabled();
                  renameFolder->setChecked(true);
                  Child<QPushButton>(editor, "SpeedButtonApply")->click();
              });
    const std::string path = s.controller->EditPlaylist(album, "%album by %artist");
    QVERIFY(!folderRenameOffered);

    QCOMPARE(QString::fromStdString(path),
             QString::fromStdString(folder + "Found Tapes by Loose Band.m3u"));
    QVERIFY(FileExists(path));
    QVERIFY(!FileExists(folder + "list.m3u"));
    QVERIFY(s.session.Catalogue.Albums().Empty());
    QVERIFY(!s.session.Catalogue.ListModified);
    QVERIFY(s.prompts.errors.isEmpty());
}

QTEST_MAIN(CddbWindowsTest)
#include "cddb_windows_test.moc"
