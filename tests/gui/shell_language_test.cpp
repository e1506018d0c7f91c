// Applying a language file to the main window and its dialogs.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <set>

#include "gui/common/Prompts.h"
#include "gui/common/Translate.h"
#include "gui/shell/CommandTable.h"
#include "gui/shell/Utips.h"
#include "shell_fixture.h"

namespace {
// Position (from 1) of a language in the menu.
int MenuPosition(const std::string& name) {
    const auto list = MenuLanguages();
    const auto it = std::find(list.begin(), list.end(), name);
    return it == list.end() ? 0 : int(it - list.begin()) + 1;
}

// Texts the program writes as it runs (counts, times, the playing song, the
// picture panel's message) and the product's name.
const QStringList kChangingTexts{"FormMain.LabelAlbumCount",
                                 "FormMain.LabelTime",
                                 "FormMain.LabelBitRate",
                                 "FormMain.PanelImage",
                                 "FormRemoteCommander",
                                 "FormRemoteCommander.LabelTime",
                                 "FormRemoteCommander.LabelBitRate",
                                 "FormAbout.LabelProduct"};

// The message keys the program looks up, as its sources name them.
std::set<std::string> MessageKeysInSources() {
    std::set<std::string> keys;
    const QString sources = QString(MAVELO_TEST_DATA) + "/../../src";
    const QRegularExpression call(R"re((?:LangText|Lang)\(\s*"([A-Za-z0-9]+)")re");
    QDirIterator files(sources, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto& match : call.globalMatch(text))
            keys.insert(match.captured(1).toStdString());
    }
    return keys;
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

    // English needs no file: the menu always offers it, and choosing it
    // gives every window and message its English text back.
    void englishIsAlwaysOfferedAndGivesTheEnglishTextsBack() {
        home_->WriteLanguage("Zzlang",
                             "Global.MenuFile=&Fichier\n"
                             "FormMain.ActionFileNew.Caption=&Nouvelle liste\n"
                             "FormTip.SpeedButtonNext.Caption=Suivant\n"
                             "FormTip.Caption=Astuces\n");
        Start();
        const int english = MenuPosition("English");
        QVERIFY(english > 0);
        QAction* englishCommand = Window().Commands().LanguageAction(english);
        QVERIFY(englishCommand->isVisible());
        QCOMPARE(englishCommand->text(), QString("English"));
        const QString tipTitle = Window().FormTip().windowTitle();
        Window().Commands().LanguageAction(MenuPosition("Zzlang"))->trigger();
        QCOMPARE(Window().Action(TCommandId::FileNew)->text(), QString("&Nouvelle liste"));
        englishCommand->trigger();
        QCOMPARE(CurrentLanguage(), std::string("English"));
        QVERIFY(englishCommand->isChecked());
        QCOMPARE(Window().Commands().Menu("MenuFile")->title(), QString("&File"));
        QCOMPARE(Window().Action(TCommandId::FileNew)->text(), QString("&New list"));
        QCOMPARE(Window().Action(TCommandId::FileNew)->toolTip(), QString("New list"));
        QCOMPARE(ButtonText(&Window().FormTip(), "SpeedButtonNext"), QString("Next tip"));
        QCOMPARE(Window().FormTip().windowTitle(), tipTitle);
        QCOMPARE(LangText("MenuFile", "&File"), std::string("&File"));
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
        // The 107 messages of the first version, the three later ones about
        // list files that could not be saved or were damaged, the two of a scan
        // that missed roots or could not read everything, and the seven about
        // what could not be played or opened and the Yes/No buttons, and the
        // five of files that could not be written and albums without disc id,
        // and the one of folders whose changes cannot be followed, and the two
        // of a scan that can be cancelled (Cancel and its note), and the one of
        // a picture file that could not be deleted, and the three page names of
        // the options window, and the two of what could not be played from the
        // desktop's media controls.
        QCOMPARE(messages.size(), size_t(134));
        for (const char* key : {"CouldNotSaveList", "DamagedMvoFile", "LoseUnsavedList",
                                "RootMissing", "ScanUnreadable", "WatchIncomplete",
                                "ScanCancelled", "Cancel", "CouldNotDeleteFile", "ConfigGeneral",
                                "ConfigAudio", "ConfigInternet"})
            QVERIFY2(messages.count(key), key);
        for (const auto& info : CommandTable()) QVERIFY2(captions.count(info.name), info.name);
    }

    // Every message the program asks for, and every caption of every window
    // that takes part in a language change, has its French line.
    void shippedFrenchFileCoversEveryWindowAndMessage() {
        const QString path = QString(MAVELO_BIN_DIR) + "/lang/French.lng";
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        std::set<std::string> messages;
        std::set<QString> controls;  // "Window.control" and "Window" for its title
        for (const QByteArray& text : file.readAll().split('\n')) {
            const LangLine line = ParseLangLine(text.toStdString());
            if (line.isComment || !line.hasEquals || line.elements.size() < 2) continue;
            const QString window = QString::fromStdString(line.section);
            if (line.section == "Global")
                messages.insert(line.elements[1]);
            else if (line.elements.size() == 2)
                controls.insert(window);
            else
                controls.insert(
                    window + "." +
                    QString::fromStdString(line.elements[line.elements.size() - 2]).toLower());
        }

        QStringList missing;
        for (const std::string& key : MessageKeysInSources())
            if (!messages.count(key)) missing << QString::fromStdString(key);

        Start();
        for (const auto& name : TranslatedWindowNames()) {
            QWidget* window = nullptr;
            for (QWidget* widget : QApplication::allWidgets())
                if (widget->isWindow() && widget->objectName().toStdString() == name)
                    window = widget;
            if (!window) continue;  // not built yet
            const QString section = QString::fromStdString(name);
            if (!window->windowTitle().isEmpty() && section != "FormMain" &&
                !kChangingTexts.contains(section) && !controls.count(section))
                missing << section;
            for (QWidget* child : window->findChildren<QWidget*>()) {
                if (child->window() != window || child->objectName().isEmpty()) continue;
                if (kChangingTexts.contains(section + "." + child->objectName())) continue;
                QString text;
                if (auto* label = qobject_cast<QLabel*>(child)) text = label->text();
                if (auto* button = qobject_cast<QAbstractButton*>(child)) text = button->text();
                // A tool button shows its command, which has a line of its own.
                if (auto* tool = qobject_cast<QToolButton*>(child); tool && tool->defaultAction())
                    continue;
                if (auto* box = qobject_cast<QGroupBox*>(child)) text = box->title();
                if (!text.contains(QRegularExpression("[A-Za-z]{2}"))) continue;
                if (!controls.count(section + "." + child->objectName().toLower()))
                    missing << section + "." + child->objectName() + " (" + text + ")";
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join("\n")));
    }

    // The filter and selection boxes show their own entries whole in French.
    void toolbarBoxesShowTheirOwnEntriesWhole() {
        Start();
        QVERIFY(MenuPosition("French") > 0);
        Window().SetLanguage("French", true);
        const struct {
            const char* name;
            int ownEntries;
        } boxes[] = {{"CBSel", 1}, {"CBPrefs", 2}};
        for (const auto& b : boxes) {
            auto* box = Window().findChild<QComboBox*>(b.name);
            QVERIFY(box);
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.rect = box->rect();
            const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                             QStyle::SC_ComboBoxEditField, box);
            QVERIFY(box->count() >= b.ownEntries);
            for (int i = 0; i < b.ownEntries; ++i)
                QVERIFY2(field.width() >= box->fontMetrics().horizontalAdvance(box->itemText(i)),
                         qPrintable(box->itemText(i)));
        }
        QCOMPARE(Window().findChild<QComboBox*>("CBSel")->itemText(0),
                 QString("* Aucune sélection *"));
    }

    // The question boxes' buttons speak the chosen language.
    void questionButtonsSpeakTheLanguage() {
        home_->WriteLanguage("Zzlang", "Global.Yes=&Oui\nGlobal.No=&Non\n");
        Start();
        Window().SetLanguage("Zzlang", true);
        QStringList captions;
        QTimer::singleShot(0, [&captions] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QAbstractButton* button : box->buttons()) captions << button->text();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == "&Non") button->click();
        });
        TPrompts prompts(&Window());
        QVERIFY(!prompts.Confirm("?"));
        captions.sort();
        QCOMPARE(captions, QStringList({"&Non", "&Oui"}));
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
