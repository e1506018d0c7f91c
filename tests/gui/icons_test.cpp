// The command pictures: every command with a picture has a shipped one that
// draws at 1x and 2x when the desktop's icon theme lacks it.
#include <QIcon>
#include <QImage>
#include <QTest>

#include "gui/shell/CommandTable.h"
#include "gui/shell/Icons.h"

namespace {
// Share of pixels that are neither fully clear nor fully opaque; a picture
// with straight edges drawn on the pixel grid has few, one
// scaled from another size smears its edges and has many.
double BlurredShare(const QImage& image) {
    int partial = 0, drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha == 0) continue;
            ++drawn;
            if (alpha < 255) ++partial;
        }
    return drawn ? double(partial) / drawn : 1.0;
}
}  // namespace

class IconsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        // A theme that has none of the names: the shipped pictures must stand in.
        QIcon::setThemeSearchPaths({});
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
    }

    void everyCommandWithAPictureHasAShippedOne() {
        for (const TCommandInfo& info : CommandTable()) {
            if (!*info.themeIcon) continue;
            const QString name = QString::fromLatin1(info.themeIcon);
            QVERIFY2(!BundledIcon(name).isNull(), info.name);
            QVERIFY2(!CommandIcon(info).isNull(), info.name);
        }
    }

    void noLetterPlaceholdersLeft() {
        for (const TCommandInfo& info : CommandTable()) QVERIFY2(!*info.glyph, info.name);
    }

    void sharpAtOneAndTwoTimes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        for (const char* name : {"list-add", "list-remove", "view-grid", "media-playback-stop",
                                 "media-playback-pause"}) {
            QTest::newRow(QByteArray(name) + "@16") << name << 16;
            QTest::newRow(QByteArray(name) + "@32") << name << 32;
        }
    }
    void sharpAtOneAndTwoTimes() {
        QFETCH(QString, name);
        QFETCH(int, size);
        const QImage image = BundledIcon(name).pixmap(size, size).toImage();
        QCOMPARE(image.width(), size);
        QVERIFY2(BlurredShare(image) < 0.25, qPrintable(QString::number(BlurredShare(image))));
    }

    void unknownNameHasNoShippedPicture() {
        QVERIFY(BundledIcon(QStringLiteral("no-such-picture")).isNull());
    }

    void applicationPictureDrawsAtLargeSizes() {
        const QImage image = ApplicationIcon().pixmap(128, 128).toImage();
        QCOMPARE(image.width(), 128);
        QVERIFY(qAlpha(image.pixel(64, 64)) == 255);
    }
};

QTEST_MAIN(IconsTest)
#include "icons_test.moc"
