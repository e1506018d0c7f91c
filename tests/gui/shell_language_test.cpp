// Applying a language file to the main window and its dialogs.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <set>

#include "gui/common/Translate.h"
#include "gui/shell/CommandTable.h"
#include "gui/shell/Utips.h"
#include "shell_fixture.h"

namespace {
// Position (from 1) of a language in the menu.
int MenuPosition(const std::string& name) {
    const auto& list = LangList();
    const auto it = std::find(list.begin(), list.end(), name);
    return it == list.end() ? 0 : int(it - list.begin()) + 1;
}

QString ButtonText(QWidget* window, const char* name) {
    auto* button = window->findChild<QAbstractButton*>(name);
    return button ? button->text() : QString("<missing %1>").arg(name);
}
}  // namespace

class ShellLanguageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellHome> home_;
    MainUnderTest window_{nullptr};

    TFormMain& Window() { return *window_.get(); }
    void Start() {
        window_ = StartMainWindow();
        QVERIFY(window_);
    }

  private slots:
    void init() {
        home_ = std::make_unique<ShellHome>();
        home_->WriteIni();
    }
    void cleanup() {
        if (window_) window_->close();
        window_.reset();
        home_.reset();
    }

    void languageChangesMenuDialogAndMessages() {
        home_->WriteLanguage("Zzlang",
                             "Global.MenuFile=&Fichier\n"
                             "Global.NoFileLoaded=Aucun fichier\n"
                             "FormTip.SpeedButtonNext.Caption=Suivant\n"
                             "FormTip.Caption=Astuces\n"
                             "tips.1=Premier conseil\n");
        Start();
        Window().Commands().LanguageAction(MenuPosition("Zzlang"))->trigger();
        QCOMPARE(Window().Commands().Menu("MenuFile")->title(), QString("&Fichier"));
        QCOMPARE(Window().windowTitle(), QString("Mavelo v1.00.01 [Aucun fichier]"));
        QCOMPARE(ButtonText(&Window().FormTip(), "SpeedButtonNext"), QString("Suivant"));
        QCOMPARE(Window().FormTip().windowTitle(), QString("Astuces"));
        QCOMPARE(Window().TipsList(), std::vector<std::string>{"Premier conseil"});
        QCOMPARE(CurrentLanguage(), std::string("Zzlang"));
        QVERIFY(Window().Commands().LanguageAction(MenuPosition("Zzlang"))->isChecked());
    }

    void storedLanguageIsAppliedAtTheFirstActivation() {
        home_->WriteLanguage("Zzlang", "Global.MenuHelp=&Aide\n");
        home_->WriteIni("", "CurrentLanguage=Zzlang\n");
        Start();
        QCOMPARE(Window().Commands().Menu("MenuHelp")->title(), QString("&Aide"));
        Window().close();
        QCOMPARE(home_->Ini().ReadString("Window", "CurrentLanguage", ""), std::string("Zzlang"));
    }

    void actionCaptionAlsoSetsItsHintWithoutAmpersand() {
        home_->WriteLanguage("Zzlang", "FormMain.ActionFileNew.Caption=&Nouvelle liste\n");
        Start();
        Window().SetLanguage("Zzlang", true);
        QAction* command = Window().Action(TCommandId::FileNew);
        QCOMPARE(command->text(), QString("&Nouvelle liste"));
        QCOMPARE(command->toolTip(), QString("Nouvelle liste"));
        auto* button = Window().findChild<QToolButton*>("ToolButtonFileNew");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QString("Nouvelle liste"));
    }

    void namesMatch_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact") << "FormTip.SpeedButtonNext.Caption=Suivant"
                               << "Suivant";
        QTest::newRow("control and property in any case")
            << "FormTip.speedbuttonnext.CAPTION=Suivant"
            << "Suivant";
        QTest::newRow("window name in lower case") << "formtip.SpeedButtonNext.Caption=Suivant"
                                                   << "Next tip";
        QTest::newRow("no equals sign") << "FormTip.SpeedButtonNext.Caption"
                                        << "Next tip";
        QTest::newRow("unknown control") << "FormTip.SpeedButtonNope.Caption=Suivant"
                                         << "Next tip";
        QTest::newRow("unknown property") << "FormTip.SpeedButtonNext.Colour=Suivant"
                                          << "Next tip";
        QTest::newRow("comment") << "/FormTip.SpeedButtonNext.Caption=Suivant"
                                 << "Next tip";
        QTest::newRow("hint") << "FormTip.SpeedButtonNext.Hint=Suivant"
                              << "Next tip";
    }
    void namesMatch() {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        home_->WriteLanguage("Zzlang", line.toStdString() + "\n");
        Start();
        Window().SetLanguage("Zzlang", true);
        QCOMPARE(ButtonText(&Window().FormTip(), "SpeedButtonNext"), expected);
    }

    void hintLineSetsTheToolTip() {
        home_->WriteLanguage("Zzlang", "FormTip.SpeedButtonNext.Hint=Conseil suivant\n");
        Start();
        Window().SetLanguage("Zzlang", true);
        QCOMPARE(Window().FormTip().findChild<QPushButton*>("SpeedButtonNext")->toolTip(),
                 QString("Conseil suivant"));
    }

    void laterLineForTheSamePropertyWins() {
        home_->WriteLanguage("Zzlang",
                             "FormTip.SpeedButtonNext.Caption=Un\n"
                             "FormTip.SpeedButtonNext.Caption=Deux\n");
        Start();
        Window().SetLanguage("Zzlang", true);
        QCOMPARE(ButtonText(&Window().FormTip(), "SpeedButtonNext"), QString("Deux"));
    }

    void aLanguageWithoutALineKeepsTheTextOfThePreviousOne() {
        home_->WriteLanguage("Zza",
                             "FormTip.SpeedButtonNext.Caption=Suivant\nGlobal.MenuFile=F1\n");
        home_->WriteLanguage("Zzb", "Global.MenuEdit=E2\n");
        Start();
        Window().SetLanguage("Zza", true);
        Window().SetLanguage("Zzb", true);
        QCOMPARE(ButtonText(&Window().FormTip(), "SpeedButtonNext"), QString("Suivant"));
        // Menu captions come from messages: a missing key gives the English default.
        QCOMPARE(Window().Commands().Menu("MenuFile")->title(), QString("&File"));
        QCOMPARE(Window().Commands().Menu("MenuEdit")->title(), QString("E2"));
    }

    void missingLanguageFileChangesNothing() {
        home_->WriteLanguage("Zza", "Global.MenuFile=F1\n");
        Start();
        Window().SetLanguage("Zza", true);
        Window().SetLanguage("Nowhere", true);
        QCOMPARE(CurrentLanguage(), std::string("Zza"));
        QCOMPARE(Window().Commands().Menu("MenuFile")->title(), QString("F1"));
        for (int i = 1; i <= kLanguageCommands; ++i)
            QVERIFY(!Window().Commands().LanguageAction(i)->isChecked());
    }

    void linesOfTheMainWindowDoNotReachItsDialogs() {
        home_->WriteLanguage("Zzlang", "FormMain.SpeedButtonNext.Caption=Wrong\n");
        Start();
        Window().SetLanguage("Zzlang", true);
        QCOMPARE(ButtonText(&Window().FormTip(), "SpeedButtonNext"), QString("Next tip"));
    }

    void playerButtonsShowPicturesOnly() {
        home_->WriteLanguage("Zzlang",
                             "FormMain.SpeedButtonPlay.Caption=Jouer\n"
                             "FormMain.SpeedButtonShuffle.Caption=Hasard\n");
        Start();
        // The player panel's buttons, or stand-ins while there is none.
        for (const char* name : {"SpeedButtonPlay", "SpeedButtonShuffle"})
            if (!FindComponent(&Window(), name))
                (new QPushButton(name, &Window()))->setObjectName(name);
        Window().SetLanguage("Zzlang", true);
        QCOMPARE(FindComponent(&Window(), "SpeedButtonPlay")->property("text").toString(),
                 QString());
        QCOMPARE(FindComponent(&Window(), "SpeedButtonShuffle")->property("text").toString(),
                 QString("S"));
    }

    void shippedFrenchFileTranslatesEveryMessageAndCommand() {
        const std::string path = std::string(MAVELO_BIN_DIR) + "/lang/French.lng";
        QVERIFY2(QFile::exists(QString::fromStdString(path)), path.c_str());
        LangLines().clear();
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        std::set<std::string> messages, captions;
        for (const QByteArray& text : file.readAll().split('\n')) {
            const LangLine line = ParseLangLine(text.toStdString());
            if (line.isComment || !line.hasEquals || line.elements.size() < 2) continue;
            if (line.section == "Global") QVERIFY(messages.insert(line.elements[1]).second);
            if (line.section == "FormMain" && line.elements.back() == "Caption")
                captions.insert(line.elements[1]);
        }
        // The 107 messages of the first version and the three later ones
        // about list files that could not be saved or were damaged.
        QCOMPARE(messages.size(), size_t(110));
        for (const char* key : {"CouldNotSaveList", "DamagedMvoFile", "LoseUnsavedList"})
            QVERIFY2(messages.count(key), key);
        for (const auto& info : CommandTable()) QVERIFY2(captions.count(info.name), info.name);
    }

    void windowsAreTranslatedInTheirFixedOrder() {
        TTranslationRegistry registry;
        QWidget tip, main, toolbars;
        tip.setObjectName("FormTip");
        main.setObjectName("FormMain");
        toolbars.setObjectName("FormToolbars");
        registry.Register(&toolbars);
        registry.Register(&tip);
        registry.Register(&main);
        QCOMPARE(registry.InOrder(), (std::vector<QWidget*>{&main, &tip, &toolbars}));
        QCOMPARE(TranslatedWindowNames().size(), size_t(23));
    }
};

QTEST_MAIN(ShellLanguageTest)
#include "shell_language_test.moc"
