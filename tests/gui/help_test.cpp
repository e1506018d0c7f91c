// Help: every topic has a shipped page whose links lead to shipped pages, and
// the program's own help window shows a page when no browser can be started.
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "core/ProgramFolder.h"
#include "core/Ucommon.h"
#include "gui/common/Help.h"
#include "gui/common/HelpViewer.h"

namespace {
QString ReadPage(const std::string& page) {
    QFile file(QString::fromStdString(FindResource("help/" + page)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// A program of that name on PATH that prints `output`.
void FakeProgram(const QString& folder, const QString& name, const QString& output) {
    QFile file(folder + "/" + name);
    file.open(QIODevice::WriteOnly);
    file.write(("#!/bin/sh\necho '" + output + "'\n").toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

THelpViewer* OpenViewer() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<THelpViewer*>(widget); viewer && viewer->isVisible())
            return viewer;
    return nullptr;
}
}  // namespace

class HelpTest : public QObject {
    Q_OBJECT
  private slots:
    void everyTopicHasAPageWithATitle() {
        for (int topic = 1; topic <= 14; ++topic) {
            const std::string page = HelpTopicPage(topic);
            const QString text = ReadPage(page);
            QVERIFY2(!text.isEmpty(), page.c_str());
            QVERIFY2(text.contains(QRegularExpression("<title>Mavelo - [^<]+</title>")),
                     page.c_str());
            QVERIFY2(text.contains("<h1>"), page.c_str());
        }
    }

    void linksBetweenPagesLeadToShippedPages() {
        const QRegularExpression link(QStringLiteral("href=\"([a-z]+\\.htm)\""));
        for (int topic = 1; topic <= 14; ++topic) {
            const std::string page = HelpTopicPage(topic);
            for (const auto& match : link.globalMatch(ReadPage(page))) {
                const std::string target = match.captured(1).toStdString();
                QVERIFY2(!FindResource("help/" + target).empty(), (page + " -> " + target).c_str());
            }
        }
    }

    void browserDetection_data() {
        QTest::addColumn<QStringList>("programs");  // "name=output" on PATH
        QTest::addColumn<QString>("browserVariable");
        QTest::addColumn<bool>("canShow");
        QTest::newRow("nothing") << QStringList{} << "" << false;
        QTest::newRow("xdg-open without a browser")
            << QStringList{"xdg-open=", "xdg-mime="} << "" << false;
        QTest::newRow("xdg-open, no query program") << QStringList{"xdg-open="} << "" << false;
        QTest::newRow("xdg-open with a default for HTML")
            << QStringList{"xdg-open=", "xdg-mime=firefox.desktop"} << "" << true;
        QTest::newRow("xdg-open and a Debian browser link")
            << QStringList{"xdg-open=", "xdg-mime=", "x-www-browser="} << "" << true;
        QTest::newRow("BROWSER set") << QStringList{} << "lynx" << true;
    }
    void browserDetection() {
        QFETCH(QStringList, programs);
        QFETCH(QString, browserVariable);
        QFETCH(bool, canShow);
        QTemporaryDir bin;
        for (const QString& program : programs)
            FakeProgram(bin.path(), program.section('=', 0, 0), program.section('=', 1));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        qputenv("BROWSER", browserVariable.toUtf8());
        const bool result = DesktopCanShowHtml();
        qputenv("PATH", oldPath);
        QCOMPARE(result, canShow);
    }

    void withoutABrowserTheHelpWindowShowsThePage() {
        // No program to hand the page to: the desktop cannot open it.
        qputenv("PATH", "/nonexistent");
        qputenv("BROWSER", "");
        ShowHelpTopic(7);
        THelpViewer* viewer = OpenViewer();
        QVERIFY(viewer);
        QVERIFY(viewer->CurrentPage().toLocalFile().endsWith("help/filter.htm"));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Mavelo - Filters"));
        QVERIFY(viewer->Browser()->toPlainText().contains("1980-1990"));

        // A second topic reuses the window; its links and Back work.
        ShowHelpTopic(10);
        QCOMPARE(OpenViewer(), viewer);
        viewer->Browser()->setSource(QUrl("picrep.htm"));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Mavelo - Picture replacement"));
        QVERIFY(viewer->Browser()->isBackwardAvailable());
        viewer->Browser()->backward();
        QVERIFY(viewer->CurrentPage().toLocalFile().endsWith("help/cdbmanage.htm"));
        viewer->close();
    }

    void topicsOutsideTheTableOpenNothing() {
        qputenv("PATH", "/nonexistent");
        for (int topic : {0, 15, -1}) {
            ShowHelpTopic(topic);
            QVERIFY(!OpenViewer());
        }
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
