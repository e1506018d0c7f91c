// The options window inside the program: the Options command, the views,
// the list file, the player's sound and the playlist builder's button.
#include <QtTest>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplitter>

#include <filesystem>
#include <functional>

#include "collection/Um3u_obj.h"
#include "core/IniFile.h"
#include "gui/builder/BuilderController.h"
#include "gui/builder/Ulistbuilder.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListViews.h"
#include "gui/options/OptionsController.h"
#include "gui/options/Uconfig.h"
#include "gui/player/PlayerController.h"
#include "gui/shell/CommandTable.h"
#include "listpage_fixture.h"

namespace {
// Plays the user's part in the windows opened modally: `edit` for the
// options window, closed with "Close"; `builder` for the playlist builder.
class TOptionsPrompts : public TScriptedPrompts {
  public:
    std::function<void(TFormConfig&)> edit;
    std::function<void(QDialog&)> builder;

    int RunModal(QDialog& dialog) override {
        modals << dialog.objectName();
        if (auto* form = qobject_cast<TFormConfig*>(&dialog)) {
            form->show();
            if (edit) edit(*form);
            form->findChild<QPushButton*>("SpeedButtonOk")->click();
            return form->result();
        }
        if (builder) builder(dialog);
        return QDialog::Rejected;
    }
};
}  // namespace

class OptionsMainWindowTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<ListHome> home_;
    std::unique_ptr<TApplication> app_;
    TOptionsPrompts* prompts_ = nullptr;

    TSettings& Settings() { return app_->Session().Settings; }
    TCatalogue& Catalogue() { return app_->Session().Catalogue; }
    QAction* Options() { return app_->Window().Action(TCommandId::EditOptions); }

    // `ini`: the whole settings file instead of the test home's.
    bool Start(const std::string& settings = "", const std::string& ini = "") {
        home_ = std::make_unique<ListHome>(settings);
        if (!ini.empty()) home_->Dir().File("mavelo.ini", ini);
        WriteCollection(home_->Dir(), "music", SmallCollection());
        auto prompts = std::make_unique<TOptionsPrompts>();
        prompts_ = prompts.get();
        prompts_->laterAnswer = false;
        app_ = std::make_unique<TApplication>(std::move(prompts));
        app_->Window().show();
        if (!QTest::qWaitForWindowExposed(&app_->Window())) return false;
        return QTest::qWaitFor([this] { return app_->FirstActivationDone(); }, 5000);
    }
    void OpenCollection() {
        app_->List().Scans().NewList({home_->Dir() / "music"});
        Catalogue().ListModified = false;
    }

  private slots:
    void init() { qputenv("SDL_AUDIODRIVER", "dummy"); }
    void cleanup() {
        app_.reset();
        home_.reset();
    }

    void theCommandIsOfferedWithoutAList() {
        QVERIFY(Start());
        QVERIFY(Options()->isEnabled());
        QCOMPARE(Options()->shortcut(), QKeySequence("Ctrl+T"));
        QVERIFY(!Options()->icon().isNull());
        QTest::keyClick(&app_->Window(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(prompts_->modals, QStringList({"FormConfig"}));
        QCOMPARE(app_->Options().Window()->parentWidget(), &app_->Window());
    }

    void aLastPlayedCountRebuildsOnlyTheLastPlayedChart() {
        QVERIFY(Start());
        OpenCollection();
        QSignalSpy refills(&app_->List().Views(), &TListViews::ViewRefilled);
        prompts_->edit = [](TFormConfig& form) {
            form.findChild<QSpinBox*>("SpinEditLPA")->setValue(2);
        };
        Options()->trigger();
        QCOMPARE(refills.count(), 0);
        QCOMPARE(Settings().LastPlayedCount, 2);

        app_->Window().Action(TCommandId::ListLastPlayed)->trigger();
        QCOMPARE(Catalogue().View.Count(), size_t(0));  // nothing played yet
        for (size_t i = 0; i < Catalogue().Albums().Count(); ++i)
            Catalogue().Albums()[i].LastPlayed = "2024010100000" + std::to_string(i);
        refills.clear();
        prompts_->edit = [](TFormConfig& form) {
            form.findChild<QSpinBox*>("SpinEditLPA")->setValue(3);
        };
        Options()->trigger();
        QCOMPARE(refills.count(), 1);
        QCOMPARE(Catalogue().View.Count(), size_t(3));
        QVERIFY(!Catalogue().ListModified);
    }

    void clearingTheLastPlayedEmptiesTheChart() {
        QVERIFY(Start());
        OpenCollection();
        for (size_t i = 0; i < Catalogue().Albums().Count(); ++i)
            Catalogue().Albums()[i].LastPlayed = "2024010100000" + std::to_string(i);
        app_->Window().Action(TCommandId::ListLastPlayed)->trigger();
        QCOMPARE(Catalogue().View.Count(), Catalogue().Albums().Count());
        prompts_->edit = [](TFormConfig& form) {
            form.findChild<QPushButton*>("SpeedButtonLPA")->click();
        };
        Options()->trigger();
        QCOMPARE(Catalogue().View.Count(), size_t(0));
        QVERIFY(Catalogue().ListModified);
        QVERIFY(app_->Window().windowTitle().endsWith(" *"));
    }

    void cachingOffMakesTheNextSaveSmaller() {
        QVERIFY(Start());
        OpenCollection();
        for (size_t i = 0; i < Catalogue().Albums().Count(); ++i)
            Catalogue().Albums()[i].CachedCover = std::string(3000, char('a' + i));
        const std::string file = home_->Dir() / "list.mvo";
        Catalogue().CurrentFile = file;
        QVERIFY(app_->List().Files().SaveCurrentFile());
        const auto before = std::filesystem::file_size(file);

        prompts_->edit = [](TFormConfig& form) {
            form.findChild<QCheckBox*>("CheckBoxCacheCovers")->setChecked(false);
        };
        Options()->trigger();
        QVERIFY(Catalogue().ListModified);
        QVERIFY(app_->List().Files().SaveCurrentFile());
        const auto after = std::filesystem::file_size(file);
        QVERIFY2(after + 6 * 3000 <= before,
                 qPrintable(QString("%1 -> %2").arg(before).arg(after)));
    }

    void aFailedSoundSetUpIsReportedAsThePlayerDoes() {
        QVERIFY(Start());
        TSettings values = Settings();
        values.OutputType = 999;  // no such output
        TOptionMarks marks;
        marks.SoundChanged = true;
        app_->Options().Apply(values, marks);
        QVERIFY2(!prompts_->errors.isEmpty(), "no error shown");
        QCOMPARE(Settings().OutputType, 999);

        // A good output again: sound is back.
        values.OutputType = 1;
        prompts_->errors.clear();
        app_->Options().Apply(values, marks);
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join(",")));
        QVERIFY(app_->Player().Sound().Available());
    }

    void theBuildersOptionsButtonOpensTheOptions() {
        QVERIFY(Start());
        OpenCollection();
        QString formatInBuilder;
        prompts_->builder = [&](QDialog& builder) {
            auto* button = builder.findChild<QPushButton*>("ButtonOptions");
            QVERIFY(button && button->isVisibleTo(&builder));
            button->click();
            formatInBuilder =
                QString::fromStdString(static_cast<TFormListBuilder&>(builder).ListFormat());
        };
        prompts_->edit = [](TFormConfig& form) {
            form.findChild<QLineEdit*>("EditListFileName")->setText("%year %album");
        };
        prompts_->modals.clear();
        app_->Window().Action(TCommandId::ToolsPlaylistBuilder)->trigger();
        QCOMPARE(prompts_->modals, QStringList({"FormListBuilder", "FormConfig"}));
        QCOMPARE(formatInBuilder, QString("%year %album"));
        QCOMPARE(Settings().ListFormat, std::string("%year %album"));
    }

    void theTracksHeightIsAppliedAndKept() {
        QVERIFY(Start("", "[Window]\nShowSplashScreen=0\nHeight=800\nTracksHeight=150\n[Tips]\nShowTips=0\n"
                          "[Internet]\nCheckUpdates=0\n"));
        auto* splitter = app_->Window().findChild<QSplitter*>("SplitterRight");
        QVERIFY(splitter);
        QTRY_COMPARE(splitter->sizes().value(0), 150);
        app_->Window().resize(900, 900);  // the player takes what the pane gains
        QTest::qWait(50);
        QTRY_COMPARE(splitter->sizes().value(0), 150);

        splitter->setSizes({90, splitter->height() - 90});
        app_->Window().close();
        TIniFile ini;
        QVERIFY(ini.Load(home_->Dir() / "mavelo.ini"));
        QCOMPARE(ini.ReadInteger("Window", "TracksHeight", 0), 90);
    }
};

QTEST_MAIN(OptionsMainWindowTest)
#include "options_mainwindow_test.moc"
