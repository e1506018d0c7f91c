// The spectrum view's drawing and the queue grid's cell texts.
#include <QtTest>

#include "gui/player/QueueGrid.h"
#include "gui/player/spectrum.h"

namespace {
// Levels chosen by the test instead of the sound system.
class TFakeFeed : public TSpectrumFeed {
  public:
    bool Available() const override { return available; }
    void SetAnalysis(bool on) override { analysing = on; }
    TSpectrumAnalyzer::Bands Levels() override { return bands; }

    bool available = true;
    bool analysing = false;
    TSpectrumAnalyzer::Bands bands{};
};
}  // namespace

class PlayerSpectrumTest : public QObject {
    Q_OBJECT
  private:
    TFakeFeed feed;
    std::unique_ptr<TMiniSpectrum> view;
    const QRgb background = qRgb(240, 240, 240);

    QRgb At(int x, int y) const { return view->BackImage().pixel(x, y); }

  private slots:
    void init() {
        feed = TFakeFeed();
        view = std::make_unique<TMiniSpectrum>(&feed);
        view->Color = QColor(background);
        view->resize(130, 40);
    }

    void gradientRowsRunFromRedOverYellowToGreen() {
        const QImage g = TMiniSpectrum::MakeGradient();
        QCOMPARE(g.size(), QSize(8, 32));
        QCOMPARE(g.pixel(0, 0), qRgb(255, 16, 0));
        QCOMPARE(g.pixel(3, 15), qRgb(255, 255, 0));
        QCOMPARE(g.pixel(6, 16), qRgb(239, 255, 0));
        QCOMPARE(g.pixel(0, 31), qRgb(0, 255, 0));
        QCOMPARE(g.pixel(7, 10), qRgb(0, 0, 0));
    }

    void inactiveOrSoundlessFrameShowsOnlyTheGrid() {
        feed.bands.fill(1.0f);
        view->resize(20, 40);
        for (bool soundThere : {true, false}) {
            feed.available = soundThere;
            view->SetActive(!soundThere);  // inactive with sound, active without it
            view->DrawFrame();
            for (int x : {0, 8, 16}) QCOMPARE(At(x, 5), view->GridColor.rgb());
            QCOMPARE(At(3, 5), background);
            QCOMPARE(At(19, 5), background);
            QCOMPARE(At(3, 32), view->GridColor.rgb());  // horizontal line at height - 8
            QCOMPARE(At(3, 30), background);             // no bar
        }
    }

    void activationSwitchesTheAnalysisOnlyWithSound() {
        view->SetActive(true);
        QVERIFY(feed.analysing);
        view->SetActive(false);
        QVERIFY(!feed.analysing);
        feed.available = false;
        view->SetActive(true);
        QVERIFY(!feed.analysing);
        QVERIFY(view->Active());
    }

    void levelsAreScaledAndBarsStandOnRow32() {
        view->SetActive(true);
        view->GridWidth = view->GridHeight = 1000;  // keep the grid out of the way
        feed.bands[4 * 8 + 2] = 0.125f;             // 0.5 after the scale of 4: 16 pixels
        feed.bands[4 * 16] = 0.3f;                  // 1.2, cut to 1.0: a full bar
        view->DrawFrame();
        QCOMPARE(At(8, 16), qRgb(239, 255, 0));  // top row of the half bar: gradient row 16
        QCOMPARE(At(8, 15), background);
        QCOMPARE(At(14, 31), qRgb(0, 255, 0));
        QCOMPARE(At(15, 31), qRgb(0, 0, 0));  // the gap between bars
        QCOMPARE(At(16, 0), qRgb(255, 16, 0));
        QCOMPARE(At(16, 32), background);  // nothing below row 31
        QCOMPARE(At(1, 31), background);

        view->SetStyle(0);  // one pixel per band
        view->DrawFrame();
        QCOMPARE(At(8, 16), qRgb(239, 255, 0));
        QCOMPARE(At(9, 31), background);
        QCOMPARE(At(16, 0), qRgb(255, 16, 0));
    }

    void queueCellTexts() {
        const std::pair<int, QString> rows[] = {{1, "01"}, {9, "09"}, {10, "10"}, {100, "100"}};
        for (const auto& [row, text] : rows) QCOMPARE(QueueRowNumber(row), text);
        const std::pair<int, QString> durations[] = {
            {0, "0:00"}, {65800, "1:05"}, {249000, "4:09"}, {3600000, "60:00"}};
        for (const auto& [ms, text] : durations) QCOMPARE(QueueDuration(ms), text);
    }
};

QTEST_MAIN(PlayerSpectrumTest)
#include "player_spectrum_test.moc"
