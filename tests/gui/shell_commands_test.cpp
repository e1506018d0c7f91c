// The command table as actions: menu layout, enabling rules, recent-file and
// language entries, sort marks.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "gui/shell/CommandTable.h"
#include "gui/shell/Ucommands.h"

Q_DECLARE_METATYPE(TEnableRule)

namespace {
// Names of a menu's entries, "-" for separators; hidden entries included.
QStringList Entries(QMenu* menu) {
    QStringList names;
    for (QAction* action : menu->actions())
        names << (action->isSeparator() ? QString("-") : action->objectName());
    return names;
}

TCommandState NoList() {
    return {};
}

TCommandState ListWithCurrentTrack() {
    TCommandState s;
    s.listOpen = s.hasAlbumRows = s.albumCurrent = s.trackCurrent = true;
    return s;
}
}  // namespace

class ShellCommandsTest : public QObject {
    Q_OBJECT
    QMainWindow window_;
    TCommands* commands_ = nullptr;

    bool Enabled(const char* name) { return commands_->Action(name)->isEnabled(); }

  private slots:
    void init() {
        window_.menuBar()->clear();
        delete commands_;
        commands_ = new TCommands(&window_);
        commands_->BuildMenuBar(window_.menuBar());
    }

    void menusStandInOrderWithTheirCaptions() {
        QStringList titles, names;
        for (QAction* action : window_.menuBar()->actions()) {
            titles << action->text();
            names << action->menu()->objectName();
        }
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&List", "&Album", "&Selection",
                                      "&PlayList", "&Tools", "&Help"}));
        QCOMPARE(names, QStringList({"MenuFile", "MenuEdit", "MenuList", "MenuAlbum",
                                     "MenuSelection", "MenuPlayList", "MenuTools", "MenuHelp"}));
    }

    void fileMenuEndsWithTheRecentFiles() {
        const QStringList entries = Entries(commands_->Menu("MenuFile"));
        QCOMPARE(entries.mid(0, 12),
                 QStringList({"ActionFileNew", "ActionFileLoad", "ActionFileSave",
                              "ActionFileSaveAs", "ActionFileClose", "-", "ActionFileExport",
                              "ActionFileAutoScan", "-", "ActionFileExit", "-", "ActionFileMRU1"}));
        QCOMPARE(entries.size(), 18);
        QCOMPARE(entries.last(), QString("ActionFileMRU7"));
    }

    void editMenuHasTheLanguagesAfterOptionsAndASeparator() {
        const QStringList entries = Entries(commands_->Menu("MenuEdit"));
        QCOMPARE(entries.mid(0, 6), QStringList({"ActionEditSearch", "ActionEditNext", "-",
                                                 "ActionEditOptions", "-", "ActionEditLang1"}));
        QCOMPARE(entries.size(), 5 + kLanguageCommands);
    }

    void listMenuEndsWithTheSortCommands() {
        const QStringList entries = Entries(commands_->Menu("MenuList"));
        QCOMPARE(entries.mid(entries.size() - 10),
                 QStringList({"-", "ActionListMostPlayed", "ActionListLastPlayed", "ActionListAYG",
                              "ActionListAGY", "ActionListYAG", "ActionListYGA", "ActionListGAY",
                              "ActionListGYA", "ActionListYearAsc"}));
    }

    void everyTableCommandIsInExactlyOneMenu() {
        QStringList all;
        for (QAction* menuAction : window_.menuBar()->actions()) all << Entries(menuAction->menu());
        for (const auto& info : CommandTable()) QCOMPARE(all.count(info.name), 1);
    }

    void captionsShortcutsAndHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("new") << "ActionFileNew"
                             << "&New list"
                             << "Ctrl+N";
        QTest::newRow("save as") << "ActionFileSaveAs"
                                 << "Save list &as ..."
                                 << "";
        QTest::newRow("next") << "ActionEditNext"
                              << "Search &next ..."
                              << "F3";
        QTest::newRow("batch") << "ActionListBatch"
                               << "Update batc&h process"
                               << "Ctrl+Shift+U";
        QTest::newRow("full scan") << "ActionListUpdate"
                                   << "Scan c&urrent list"
                                   << "Ctrl+F5";
        QTest::newRow("paste") << "ActionAlbumPasteImage"
                               << "Paste i&mage"
                               << "Ctrl+Shift+V";
        QTest::newRow("previous") << "ActionPlaylistPrev"
                                  << "Prev&ious"
                                  << "F6";
        QTest::newRow("pause") << "ActionPlaylistPause"
                               << "Paus&e"
                               << "F10";
        QTest::newRow("menu bar") << "ActionToolsViewMenuBar"
                                  << "View &menu bar"
                                  << "Ctrl+M";
        QTest::newRow("help") << "ActionHelpHelp"
                              << "&Help"
                              << "F1";
    }
    void captionsShortcutsAndHints() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QAction* action = commands_->Action(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), QKeySequence(shortcut));
        QCOMPARE(action->toolTip(), QString(caption).remove('&'));
    }

    void picturesExceptSortTreeLanguageAndRecentFiles() {
        QVERIFY(!commands_->Action(TCommandId::FileNew)->icon().isNull());
        QVERIFY(!commands_->Action(TCommandId::ToolsToolbars)->icon().isNull());
        for (const char* name : {"ActionListAYG", "ActionListTree", "ActionEditLang1",
                                 "ActionFileMRU1", "ActionListYearAsc"})
            QVERIFY2(commands_->Action(name)->icon().isNull(), name);
    }

    void ruleTable_data() {
        QTest::addColumn<TEnableRule>("rule");
        QTest::addColumn<int>(
            "flags");  // listOpen, selection, edit, rows, album, track, file, modified
        QTest::addColumn<bool>("enabled");
        auto row = [](const char* tag, TEnableRule rule, const char* flags, bool enabled) {
            QTest::newRow(tag) << rule << QString(flags).toInt(nullptr, 2) << enabled;
        };
        row("always with nothing", TEnableRule::Always, "00000000", true);
        row("save: name and changes", TEnableRule::SaveList, "00000011", true);
        row("save: changes without a name or a list", TEnableRule::SaveList, "00000001", false);
        row("save: a new list without a name", TEnableRule::SaveList, "10000001", true);
        row("save: name without changes", TEnableRule::SaveList, "00000010", false);
        row("list open", TEnableRule::ListOpen, "10000000", true);
        row("selection without list", TEnableRule::Selection, "01000000", false);
        row("selection", TEnableRule::Selection, "11000000", true);
        row("edit mode without selection", TEnableRule::SelectionEdit, "10100000", false);
        row("edit mode", TEnableRule::SelectionEdit, "11100000", true);
        row("album without rows", TEnableRule::Album, "10001000", false);
        row("album without list", TEnableRule::Album, "00011000", false);
        row("album", TEnableRule::Album, "10011000", true);
        row("rows without current album", TEnableRule::AlbumRows, "10010000", true);
        row("track without album", TEnableRule::Track, "10010100", false);
        row("track", TEnableRule::Track, "10011100", true);
        row("not built yet, whatever the state", TEnableRule::NotYet, "11111111", false);
    }
    void ruleTable() {
        QFETCH(TEnableRule, rule);
        QFETCH(int, flags);
        QFETCH(bool, enabled);
        auto bit = [&](int n) { return (flags >> (7 - n)) & 1; };
        TCommandState s;
        s.listOpen = bit(0);
        s.selectionChosen = bit(1);
        s.selectionEditMode = bit(2);
        s.hasAlbumRows = bit(3);
        s.albumCurrent = bit(4);
        s.trackCurrent = bit(5);
        s.hasFileName = bit(6);
        s.modified = bit(7);
        QCOMPARE(RuleEnables(rule, s), enabled);
    }

    void withNoListOnlyTheListFreeCommandsAreEnabled() {
        commands_->ApplyStates(NoList());
        for (const char* name : {"ActionFileNew", "ActionFileLoad", "ActionFileAutoScan",
                                 "ActionFileExit", "ActionPlaylistPlay", "ActionListTree",
                                 "ActionListAYG", "ActionToolsToolbars", "ActionHelpAbout"})
            QVERIFY2(Enabled(name), name);
        for (const char* name :
             {"ActionFileSave", "ActionFileSaveAs", "ActionEditSearch", "ActionListFilter",
              "ActionAlbumEdit", "ActionAlbumRemove", "ActionSelectionNew",
              "ActionPlaylistPlayAlbum", "ActionPlaylistAddAll", "ActionPlaylistPlayTrack"})
            QVERIFY2(!Enabled(name), name);
    }

    void aCurrentTrackEnablesAlbumAndTrackCommands() {
        commands_->ApplyStates(ListWithCurrentTrack());
        for (const char* name : {"ActionAlbumRemove", "ActionPlaylistAddAll",
                                 "ActionPlaylistPlayTrack", "ActionListFilter"})
            QVERIFY2(Enabled(name), name);
        for (const char* name : {"ActionAlbumEdit", "ActionListBatch", "ActionEditOptions"})
            QVERIFY2(Enabled(name), name);
        QVERIFY(!Enabled("ActionFileSave"));
        QVERIFY(!Enabled("ActionSelectionRename"));
    }

    void disablingTheSelectionEditCommandEndsTheEditMode() {
        TCommandState s = ListWithCurrentTrack();
        s.selectionChosen = true;
        commands_->ApplyStates(s);
        commands_->Action(TCommandId::SelectionEdit)->setChecked(true);
        s.selectionChosen = false;
        commands_->ApplyStates(s);
        QVERIFY(!commands_->Action(TCommandId::SelectionEdit)->isChecked());
    }

    void recentFilesShowFileNamesOnly() {
        commands_->ShowRecentFiles({"/music/rock.mvo", "/a/b/Jazz & Blues.mvo", "classic.mvo"});
        QCOMPARE(commands_->RecentFileAction(0)->text(), QString("rock.mvo"));
        QCOMPARE(commands_->RecentFileAction(1)->text(), QString("Jazz && Blues.mvo"));
        for (int i = 1; i <= kRecentFileCommands; ++i)
            QCOMPARE(commands_->Action(QString("ActionFileMRU%1").arg(i))->isVisible(), i <= 3);
    }

    void onlyTheFirst25LanguagesGetAnEntry() {
        std::vector<std::string> names;
        for (int i = 0; i < 30; ++i) names.push_back("Lang" + std::to_string(100 + i));
        commands_->ShowLanguages(names);
        QCOMPARE(commands_->LanguageAction(25)->text(), QString("Lang124"));
        QVERIFY(commands_->LanguageAction(25)->isVisible());
        commands_->ShowLanguages({"Deutsch", "French"});
        QVERIFY(commands_->LanguageAction(2)->isVisible());
        QVERIFY(!commands_->LanguageAction(3)->isVisible());
    }

    void languageMarkMovesAndCanBeRemoved() {
        commands_->ShowLanguages({"Deutsch", "French", "Italiano"});
        commands_->CheckLanguage(2, 3);
        commands_->CheckLanguage(3, 3);
        QVERIFY(!commands_->LanguageAction(2)->isChecked());
        QVERIFY(commands_->LanguageAction(3)->isChecked());
        commands_->CheckLanguage(0, 3);
        QVERIFY(!commands_->LanguageAction(3)->isChecked());
    }

    void languageCommandReportsItsPosition() {
        QSignalSpy chosen(commands_, &TCommands::LanguageChosen);
        commands_->ShowLanguages({"Deutsch", "French"});
        commands_->LanguageAction(2)->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].toInt(), 2);
    }

    void sortMarkFollowsTheSortString() {
        commands_->CheckSortOrder("GYA");
        QVERIFY(commands_->Action(TCommandId::ListGYA)->isChecked());
        commands_->CheckSortOrder("MostPlayed");
        QVERIFY(commands_->Action(TCommandId::ListMostPlayed)->isChecked());
        QVERIFY(!commands_->Action(TCommandId::ListGYA)->isChecked());
        commands_->CheckSortOrder("Nonsense");
        for (const auto& info : CommandTable())
            if (info.check == TCheckKind::SortOrder)
                QVERIFY(!commands_->Action(info.name)->isChecked());
    }

    void shortcutsWorkWithTheMenuBarHidden() {
        QVERIFY(window_.actions().contains(commands_->Action(TCommandId::FileLoad)));
    }
};

QTEST_MAIN(ShellCommandsTest)
#include "shell_commands_test.moc"
