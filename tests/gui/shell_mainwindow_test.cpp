// The main window's start-up and shutdown around mavelo.ini, its title bar
// and command states, the tool bar layout, busy mode and closing by signal.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMetaMethod>
#include <QTest>
#include <QToolBar>

#include <csignal>

#include "core/Settings.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/CommandTable.h"
#include "gui/shell/SignalClose.h"
#include "gui/shell/ToolbarLayout.h"
#include "gui/shell/Ucommands.h"
#include "gui/shell/Usplash.h"
#include "gui/shell/Utoolbars.h"
#include "shell_fixture.h"

namespace {
bool SplashShown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<TFormSplash*>(widget) && widget->isVisible()) return true;
    return false;
}

// Band ids in the order the window shows them: by row, then from the left.
std::vector<int> ScreenOrder(TToolbarBands& bands) {
    std::vector<int> ids;
    for (int id = 0; id < bands.BandCount(); ++id)
        if (bands.BandVisible(id)) ids.push_back(id);
    std::sort(ids.begin(), ids.end(), [&](int a, int b) {
        QPoint pa = bands.Band(a)->pos(), pb = bands.Band(b)->pos();
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return ids;
}

// Whether anything listens to a signal of the object (Qt keeps that question
// to the object itself).
struct TSignalPeek : QObject {
    static bool Connected(const QObject* object, const QMetaMethod& signal) {
        return static_cast<const TSignalPeek*>(object)->isSignalConnected(signal);
    }
};
bool SignalConnected(const QObject* object, const QMetaMethod& signal) {
    return TSignalPeek::Connected(object, signal);
}

bool ButtonShown(TToolbarBands& bands, const QString& name) {
    for (int id = 0; id < bands.BandCount(); ++id)
        for (const auto& button : bands.Buttons(id))
            if (button.name == name) return button.slot->isVisible();
    return false;
}
}  // namespace

class ShellMainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartWithoutSettingsWritesEveryKeyWithItsDefault() {
        ShellHome home;
        {
            MainUnderTest window;
            QCOMPARE(window->size(), QSize(800, 600));
            window->close();
        }
        const TIniFile written = home.Ini();
        TIniFile expected;
        TSettings().Write(expected);
        for (const auto& section : expected.Sections())
            for (const auto& key : expected.ReadSection(section)) {
                const std::string where = section + "/" + key;
                QVERIFY2(written.ValueExists(section, key), where.c_str());
                QCOMPARE(written.ReadString(section, key, "?"),
                         expected.ReadString(section, key, "!"));
            }
        QCOMPARE(written.ReadString("ToolBar", "ToolBarName4", ""), std::string("ToolBarTools"));
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarIndex4", -1), 6);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarWidth1", -1), 231);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolButtonFileLoad", -1), 1);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolButtonFileNew", -1), 0);
        QCOMPARE(written.ReadString("Window", "CurrentLanguage", ""), std::string("English"));
    }

    void splashValueTwoShowsNoSplashAndIsWrittenBackAsZero() {
        ShellHome home;
        home.Dir().File("mavelo.ini", "[Window]\nShowSplashScreen=2\nWidth=abc\n");
        {
            MainUnderTest window;
            QVERIFY(!SplashShown());
            QCOMPARE(window->width(), 800);
            window->close();
        }
        QCOMPARE(home.Ini().ReadString("Window", "ShowSplashScreen", ""), std::string("0"));
    }

    void splashShowsUntilTheFirstActivationEnds() {
        ShellHome home;
        home.Dir().File("mavelo.ini", "[Tips]\nShowTips=0\n");
        MainUnderTest window;
        QVERIFY(SplashShown());
        window->show();
        QTRY_VERIFY(window.FirstActivationDone());
        QVERIFY(!SplashShown());
        window->close();
    }

    void unknownSectionsAndKeysSurviveTheExit() {
        ShellHome home;
        home.WriteIni("Mystery=42\n[Plugin]\nColour=blue\n");
        {
            MainUnderTest window;
            window->close();
        }
        const TIniFile written = home.Ini();
        QCOMPARE(written.ReadString("Plugin", "Colour", ""), std::string("blue"));
        QCOMPARE(written.ReadString("Tips", "Mystery", ""), std::string("42"));
    }

    void windowSettingsAreReadAndWrittenBack() {
        ShellHome home;
        home.WriteIni("[Sort]\nSortString=GAY\nYearAsc=1\n", "Width=900\nHeight=650\n");
        {
            MainUnderTest window;
            QCOMPARE(window->size(), QSize(900, 650));
            QVERIFY(window->Action(TCommandId::ListGAY)->isChecked());
            QVERIFY(window->Action(TCommandId::ListYearAsc)->isChecked());
            window->Action(TCommandId::ListYGA)->trigger();
            window->Action(TCommandId::ListYearAsc)->trigger();
            QVERIFY(!window->Action(TCommandId::ListGAY)->isChecked());
            window->close();
        }
        const TIniFile written = home.Ini();
        QCOMPARE(written.ReadString("Sort", "SortString", ""), std::string("YGA"));
        QCOMPARE(written.ReadString("Sort", "YearAsc", ""), std::string("0"));
        QCOMPARE(written.ReadInteger("Window", "Width", 0), 900);
    }

    void titleShowsTheListAndItsChanges() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Mavelo v1.00.01 [No file]"));
        window.Catalogue().ListModified = true;
        window->UpdateTitleAndCommands();
        QCOMPARE(window->windowTitle(), QString("Mavelo v1.00.01 [No file] *"));
        QVERIFY(!window->Action(TCommandId::FileSave)->isEnabled());  // no file name yet
        window.Catalogue().CurrentFile = "/music/rock.mvo";
        window->UpdateTitleAndCommands();
        QCOMPARE(window->windowTitle(), QString("Mavelo v1.00.01 [/music/rock.mvo] *"));
        QVERIFY(window->Action(TCommandId::FileSave)->isEnabled());
        window.Catalogue().ListModified = false;
        window->UpdateTitleAndCommands();
        QCOMPARE(window->windowTitle(), QString("Mavelo v1.00.01 [/music/rock.mvo]"));
        QVERIFY(!window->Action(TCommandId::FileSave)->isEnabled());
        window->close();
    }

    void withNoListTheListCommandsAreDisabled() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        using C = TCommandId;
        for (C id : {C::FileNew, C::FileLoad, C::FileAutoScan})
            QVERIFY2(window->Action(id)->isEnabled(), qPrintable(window->Action(id)->objectName()));
        for (C id : {C::FileSave, C::EditSearch, C::ListFilter, C::AlbumEdit, C::SelectionNew})
            QVERIFY2(!window->Action(id)->isEnabled(),
                     qPrintable(window->Action(id)->objectName()));
        window->close();
    }

    void builtInToolbarLayoutIsOneRowWithTheMarkedButtons() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        TToolbarBands& bands = window->Toolbars();
        QCOMPARE(ScreenOrder(bands), (std::vector<int>{0, 1, 2, 3, 5, 6, 4}));
        const int y = bands.Band(0)->pos().y();
        for (int id = 0; id < bands.BandCount(); ++id) QCOMPARE(bands.Band(id)->pos().y(), y);
        QVERIFY(ButtonShown(bands, "ToolButtonFileLoad"));
        QVERIFY(!ButtonShown(bands, "ToolButtonFileNew"));
        QVERIFY(ButtonShown(bands, "ToolButtonListBrowseOptions"));
        QVERIFY(!ButtonShown(bands, "ToolButtonListFullScreen"));
        window->close();
    }

    void storedToolbarLayoutIsRestored() {
        ShellHome home;
        home.WriteIni(
            "[ToolBar]\n"
            "ToolBarIndex4=0\n"          // Tools first
            "ToolBarIndex0=-1\n"         // File keeps its place
            "ToolBarVisible2=0\n"        // Filter hidden
            "ToolBarBreak3=1\n"          // Edit starts a second row
            "ToolBarVisible5=-1\n"       // Album stays shown
            "ToolButtonFileNew=1\n"      // shown
            "ToolButtonFileLoad=0\n"     // hidden
            "ToolButtonEditNext=-3\n"    // built-in: shown
            "ToolButtonListBatch=7\n");  // only 1 means shown
        auto window = StartMainWindow();
        QVERIFY(window);
        TToolbarBands& bands = window->Toolbars();
        QCOMPARE(ScreenOrder(bands), (std::vector<int>{4, 0, 1, 3, 5, 6}));
        QVERIFY(!bands.BandVisible(2));
        // File keeps its built-in new-row mark, which counts now that it is not first.
        QVERIFY(bands.Band(0)->pos().y() > bands.Band(4)->pos().y());
        QCOMPARE(bands.Band(1)->pos().y(), bands.Band(0)->pos().y());
        QVERIFY(bands.Band(3)->pos().y() > bands.Band(0)->pos().y());
        QCOMPARE(bands.Band(5)->pos().y(), bands.Band(3)->pos().y());
        QVERIFY(ButtonShown(bands, "ToolButtonFileNew"));
        QVERIFY(!ButtonShown(bands, "ToolButtonFileLoad"));
        QVERIFY(ButtonShown(bands, "ToolButtonEditNext"));
        QVERIFY(!ButtonShown(bands, "ToolButtonListBatch"));
        window->close();

        const TIniFile written = home.Ini();
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarIndex4", -1), 0);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarIndex0", -1), 1);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarVisible2", -1), 0);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarBreak3", -1), 1);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarBreak0", -1), 1);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolBarBreak1", -1), 0);
        QCOMPARE(written.ReadInteger("ToolBar", "ToolButtonListBatch", -1), 0);
    }

    void bandHiddenInTheToolbarsWindowStaysHiddenAfterARestart() {
        ShellHome home;
        home.WriteIni();
        {
            auto window = StartMainWindow();
            QVERIFY(window);
            window->Action(TCommandId::ToolsToolbars)->trigger();
            TFormToolbars& form = window->FormToolbars();
            QVERIFY(form.isVisible());
            QCOMPARE(form.ToolbarList()->currentRow(), 1);              // Selection
            form.ToolbarList()->item(0)->setCheckState(Qt::Unchecked);  // File
            QVERIFY(!window->Toolbars().BandVisible(0));
            window->close();
        }
        auto window = StartMainWindow();
        QVERIFY(window);
        QVERIFY(!window->Toolbars().BandVisible(0));
        QVERIFY(window->Toolbars().BandVisible(1));
        window->close();
    }

    void menuBarCommandHidesTheMenuBarAndIsCheckedAtEveryStart() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        QAction* command = window->Action(TCommandId::ToolsViewMenuBar);
        QVERIFY(command->isChecked());
        command->trigger();
        QVERIFY(!window->menuBar()->isVisible());
        command->trigger();
        QVERIFY(window->menuBar()->isVisible());
        window->close();
    }

    void busyModeDropsInputAndDisablesTheMenuBar() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        auto* edit = new QLineEdit(window.get());
        edit->show();
        edit->setFocus();
        {
            TBusyGuard outer(window->Busy());
            {
                TBusyGuard inner(window->Busy());
                QTest::keyClicks(edit, "ab");
            }
            QVERIFY(!window->menuBar()->isEnabled());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QTest::keyClicks(edit, "cd");
        }
        QVERIFY(window->menuBar()->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(edit->text(), QString());
        QTest::keyClicks(edit, "ef");
        QCOMPARE(edit->text(), QString("ef"));
        window->close();
    }

    void closingWhileBusyWaitsForTheOperationToEnd() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        window->SetBusyMode(true);
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(!home.Ini().SectionExists("ToolBar"));
        window->SetBusyMode(false);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(home.Ini().SectionExists("ToolBar"));
    }

    void closingBeforeTheFirstActivationSkipsIt() {
        ShellHome home;
        home.WriteIni();
        MainUnderTest window;
        window->show();  // the first activation is queued
        window->close();
        QTest::qWait(50);
        QVERIFY(!window.FirstActivationDone());
        QVERIFY(home.Ini().SectionExists("ToolBar"));
    }

    void terminationSignalClosesTheWindowAndWritesTheSettings() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        TSignalCloser closer(window.get());
        std::raise(SIGTERM);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(home.Ini().SectionExists("ToolBar"));
    }

    // A command the user can reach does something: every command that some
    // state enables has a handler behind it.
    void everyCommandThatCanBeEnabledHasAHandler() {
        ShellHome home;
        home.WriteIni();
        auto window = StartMainWindow();
        QVERIFY(window);
        TCommandState everything;
        everything.listOpen = everything.hasFileName = everything.modified = true;
        everything.hasAlbumRows = everything.albumCurrent = everything.trackCurrent = true;
        everything.selectionChosen = everything.selectionEditMode = true;
        QStringList idle;
        for (const auto& info : CommandTable()) {
            if (!RuleEnables(info.rule, everything)) continue;
            QAction* action = window->Commands().Action(QString(info.name));
            QVERIFY(action);
            const bool handled =
                SignalConnected(action, QMetaMethod::fromSignal(&QAction::triggered)) ||
                SignalConnected(action, QMetaMethod::fromSignal(&QAction::toggled));
            if (!handled) idle << info.name;
        }
        QCOMPARE(idle, QStringList());
        // A command that waits for its window stays disabled in every state.
        for (const auto& info : CommandTable())
            if (info.rule == TEnableRule::NotYet)
                QVERIFY(!window->Commands().Action(QString(info.name))->isEnabled());
    }
};

QTEST_MAIN(ShellMainWindowTest)
#include "shell_mainwindow_test.moc"
