// The small windows of the shell (tips, tool bars, new version) and the
// logic behind them: update check, tool bar band order.
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QToolBar>

#include "core/Settings.h"
#include "gui/shell/ToolbarLayout.h"
#include "gui/shell/Ucommands.h"
#include "gui/shell/UpdateCheck.h"
#include "gui/shell/Usplash.h"
#include "gui/shell/Utips.h"
#include "gui/shell/Utoolbars.h"
#include "gui/shell/Uversion.h"

namespace {
std::vector<std::string> Tips(int count) {
    std::vector<std::string> tips;
    for (int i = 0; i < count; ++i) tips.push_back("tip " + std::to_string(i));
    return tips;
}

// An update site that counts requests and answers with a fixed reply.
struct FakeSite {
    long status = 200;
    std::string body = "v1.00.01";
    std::vector<std::string> urls;
    THttpGet Getter() {
        return [this](const std::string& url, long) {
            urls.push_back(url);
            return HttpResult{status, body, ""};
        };
    }
};

TSettings SiteSettings(int lastCheck) {
    TSettings settings;
    settings.Mavelo = "http://updates.example";
    settings.LastCheck = lastCheck;
    return settings;
}
}  // namespace

class ShellWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    // Tips window ----------------------------------------------------------
    void tipNumberBeyondTheLastShowsTheFirstTip() {
        TFormTip form;
        form.Prepare(Tips(10), 12, true);
        QCOMPARE(form.ShownTip(), QString("tip 0"));
        QCOMPARE(form.TipNumber(), 0);
    }

    void nextTipWrapsAroundAndIsRemembered() {
        TFormTip form;
        form.Prepare(Tips(3), 2, true);
        QCOMPARE(form.ShownTip(), QString("tip 2"));
        form.findChild<QPushButton*>("SpeedButtonNext")->click();
        QCOMPARE(form.ShownTip(), QString("tip 0"));
        QCOMPARE(form.TipNumber(), 0);
    }

    void closeTakesTheCheckBoxButTheCloseBoxDoesNot() {
        TFormTip form;
        form.Prepare(Tips(2), 0, true);
        auto* dontShow = form.findChild<QCheckBox*>("CheckBoxDontShow");
        QVERIFY(!dontShow->isChecked());
        dontShow->setChecked(true);
        form.reject();  // the window's close box
        QVERIFY(form.ShowTips());
        form.findChild<QPushButton*>("SpeedButtonClose")->click();
        QVERIFY(!form.ShowTips());
    }

    void escapeIsClose() {
        TFormTip form;
        form.Prepare(Tips(2), 0, true);
        form.show();
        form.findChild<QCheckBox*>("CheckBoxDontShow")->setChecked(true);
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.ShowTips());
        QVERIFY(!form.isVisible());
    }

    void noTipsShowsNothing() {
        TFormTip form;
        form.Prepare({}, 4, true);
        QCOMPARE(form.ShownTip(), QString());
        form.findChild<QPushButton*>("SpeedButtonNext")->click();
        QCOMPARE(form.TipNumber(), 0);
    }

    // Splash ----------------------------------------------------------------
    void splashPaintsItsPictureOnItsFixedArea() {
        TFormSplash splash;
        QCOMPARE(splash.size(), QSize(300, 113));
        QImage image(splash.size(), QImage::Format_RGB32);
        splash.render(&image);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 20, "the splash is one flat area");
    }

    // Tool bars window -----------------------------------------------------
    void toolbarsWindowListsBandsAndButtonsAndColoursTheChosenBand() {
        QMainWindow window;
        TCommands commands(&window);
        TToolbarBands bands(&window, commands);
        TFormToolbars form(bands, &window);
        form.show();
        QListWidget* toolbars = form.ToolbarList();
        QCOMPARE(toolbars->count(), 7);
        QStringList names;
        for (int row = 0; row < toolbars->count(); ++row) names << toolbars->item(row)->text();
        QCOMPARE(names,
                 QStringList({"File", "Selection", "Filter", "Edit", "List", "Album", "Tools"}));
        QCOMPARE(toolbars->currentRow(), 1);
        QCOMPARE(form.ButtonList()->count(), 6);
        QCOMPARE(form.ButtonList()->item(0)->text(), QString("Create a selection"));
        QVERIFY(bands.Band(1)->styleSheet().contains("#D1E6EF"));
        QVERIFY(bands.Band(0)->styleSheet().contains("#F5F5F5"));

        toolbars->setCurrentRow(4);                                // List
        form.ButtonList()->item(0)->setCheckState(Qt::Unchecked);  // Update batch process
        QVERIFY(!bands.Buttons(6)[0].slot->isVisible());
        QVERIFY(bands.Band(6)->styleSheet().contains("#D1E6EF"));

        form.findChild<QPushButton*>("SpeedButtonClose")->click();
        for (int id = 0; id < bands.BandCount(); ++id)
            QVERIFY(bands.Band(id)->styleSheet().contains("#F5F5F5"));
    }

    // Band order -----------------------------------------------------------
    void builtInBandOrder() {
        QCOMPARE(BuiltInBandOrder(), (std::vector<int>{0, 1, 2, 3, 5, 6, 4}));
    }

    void moveBand_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("to the front") << 4 << 0 << QList<int>{4, 0, 1, 2, 3, 5, 6};
        QTest::newRow("to the back") << 0 << 6 << QList<int>{1, 2, 3, 5, 6, 4, 0};
        QTest::newRow("past the end") << 1 << 40 << QList<int>{0, 2, 3, 5, 6, 4, 1};
        QTest::newRow("same place") << 3 << 3 << QList<int>{0, 1, 2, 3, 5, 6, 4};
    }
    void moveBand() {
        QFETCH(int, id);
        QFETCH(int, index);
        QFETCH(QList<int>, expected);
        std::vector<int> order = BuiltInBandOrder();
        MoveBand(order, id, index);
        QCOMPARE(QList<int>(order.begin(), order.end()), expected);
    }

    // The places the layout writes (band id -> position) bring back the same
    // order, whichever order it was.
    void savedBandOrderComesBack_data() {
        QTest::addColumn<QList<int>>("saved");
        QTest::newRow("built-in") << QList<int>{0, 1, 2, 3, 5, 6, 4};
        QTest::newRow("reversed") << QList<int>{4, 6, 5, 3, 2, 1, 0};
        QTest::newRow("two swapped pairs") << QList<int>{3, 2, 0, 1, 4, 5, 6};
        QTest::newRow("rotated") << QList<int>{2, 3, 5, 6, 4, 0, 1};
        QTest::newRow("interleaved") << QList<int>{6, 0, 4, 1, 5, 2, 3};
    }
    void savedBandOrderComesBack() {
        QFETCH(QList<int>, saved);
        std::vector<int> places(saved.size());
        for (int position = 0; position < saved.size(); ++position)
            places[saved[position]] = position;
        std::vector<int> order = BuiltInBandOrder();
        PlaceBands(order, places);
        QCOMPARE(QList<int>(order.begin(), order.end()), saved);
    }

    void bandsWithoutAStoredPlaceKeepTheirOrder() {
        std::vector<int> order = BuiltInBandOrder();
        PlaceBands(order, {-1, -1, -1, -1, 0, -1, -1});
        QCOMPARE(order, (std::vector<int>{4, 0, 1, 2, 3, 5, 6}));
    }

    void hiddenBandsKeepTheirPlacesWhenVisibleOnesMove() {
        // Bands 2 and 5 hidden; the user put 6 first on screen.
        QCOMPARE(MergeVisibleOrder({0, 1, 2, 3, 5, 6, 4}, {6, 0, 1, 3, 4}),
                 (std::vector<int>{6, 0, 2, 1, 5, 3, 4}));
    }

    // Update check ---------------------------------------------------------
    void dayNumbersCountFrom2000() {
        QCOMPARE(DayNumber(2000, 1, 1), 0);
        QCOMPARE(DayNumber(2000, 3, 1), 60);  // 2000 is a leap year
        QCOMPARE(DayNumber(2001, 1, 1), 366);
    }

    void checkRunsOnlyAfterAWeek_data() {
        QTest::addColumn<int>("daysSinceLastCheck");
        QTest::addColumn<bool>("requested");
        QTest::newRow("7 days") << 7 << false;
        QTest::newRow("8 days") << 8 << true;
        QTest::newRow("never checked") << 9000 << true;
    }
    void checkRunsOnlyAfterAWeek() {
        QFETCH(int, daysSinceLastCheck);
        QFETCH(bool, requested);
        FakeSite site;
        const int today = 9000;
        TSettings settings = SiteSettings(today - daysSinceLastCheck);
        const TUpdateCheckResult result = CheckForUpdate(settings, today, site.Getter());
        QCOMPARE(result.requested, requested);
        QCOMPARE(site.urls.size(), size_t(requested ? 1 : 0));
        if (requested) {
            QCOMPARE(site.urls[0], std::string("http://updates.example/version/latest.txt"));
            QCOMPARE(settings.LastCheck, today);
        }
    }

    void answerMustEqualTheVersionExactly_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("newer");
        QTest::newRow("same") << "v1.00.01" << false;
        QTest::newRow("line break after it") << "v1.00.01\n" << true;
        QTest::newRow("other case") << "V1.00.01" << true;
        QTest::newRow("newer") << "v1.00.02" << true;
    }
    void answerMustEqualTheVersionExactly() {
        QFETCH(QString, body);
        QFETCH(bool, newer);
        FakeSite site;
        site.body = body.toStdString();
        TSettings settings = SiteSettings(0);
        const TUpdateCheckResult result = CheckForUpdate(settings, 100, site.Getter());
        QCOMPARE(result.newerVersion, newer);
        QCOMPARE(result.latest, body.toStdString());
    }

    void failedRequestIsRetriedAtTheNextStart() {
        FakeSite site;
        site.status = 404;
        TSettings settings = SiteSettings(10);
        const TUpdateCheckResult result = CheckForUpdate(settings, 100, site.Getter());
        QVERIFY(result.requested);
        QVERIFY(!result.newerVersion);
        QCOMPARE(settings.LastCheck, 10);
    }

    void noCheckWhenSwitchedOffOrWithoutSite() {
        FakeSite site;
        TSettings off = SiteSettings(0);
        off.CheckUpdates = false;
        TSettings noSite = SiteSettings(0);
        noSite.Mavelo.clear();
        QVERIFY(!CheckForUpdate(off, 100, site.Getter()).requested);
        QVERIFY(!CheckForUpdate(noSite, 100, site.Getter()).requested);
        QVERIFY(site.urls.empty());
    }

    void newVersionWindowShowsTheSiteWithoutScheme() {
        QCOMPARE(SiteWithoutScheme("http://updates.example"), std::string("updates.example"));
        QCOMPARE(SiteWithoutScheme("https://updates.example"), std::string("updates.example"));
        TFormVersion form;
        form.Prepare("v2.00.00", "https://updates.example/a&b");
        QCOMPARE(form.findChild<QLabel*>("LabelVersionLatest")->text(), QString("v2.00.00"));
        const QString link = form.findChild<QLabel*>("LabelSite")->text();
        QVERIFY(link.contains("href=\"https://updates.example/a&amp;b\""));
        QVERIFY(link.contains(">updates.example/a&amp;b<"));
    }
};

QTEST_MAIN(ShellWindowsTest)
#include "shell_windows_test.moc"
